#!/usr/bin/env bash
# Times ostavel on large calendar files against the parse time of ical.js (npm, from the
# browser test's packages) for the same file, and gives ostavel's peak memory: 100,000 and
# 300,000 events over 60 years on a 12-month page, and 100,000 events all on that page.
# Usage: bench/large_calendar.sh [BUILD_DIR]   (default build; needs node and GNU time)
set -eu
here=$(realpath "$(dirname "$0")")
build=$(realpath "${1:-build}")
ical_js=$here/../tests/browser/node_modules/ical.js/dist/ical.min.js
cmake --build "$build" --target ostavel >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

# calendar EVENTS FIRST_YEAR YEARS [RULES]: EVENTS timed events spread over YEARS years; with
# RULES, one in ten weekly for a year and one in fifty yearly.
calendar() {
	awk -v n="$1" -v first="$2" -v years="$3" -v rules="${4-}" 'BEGIN { srand(3); printf "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//bench//EN\r\n"
	for (i = 0; i < n; i++) { y = first + int(rand() * years); m = 1 + int(rand() * 12); d = 1 + int(rand() * 28)
		printf "BEGIN:VEVENT\r\nUID:%d@bench\r\nDTSTAMP:20260101T000000Z\r\nSUMMARY:Event %d\\, with a name\r\n", i, i
		printf "DESCRIPTION:Some words about event %d that the page does not show\\, as apps write them.\r\n", i
		printf "LOCATION:Room %d\r\nDTSTART:%d%02d%02dT%02d3000Z\r\nDTEND:%d%02d%02dT%02d3000Z\r\n", i % 40, y, m, d, 8 + i % 10, y, m, d, 9 + i % 10
		if (rules && i % 10 == 0) printf "RRULE:FREQ=WEEKLY;COUNT=52\r\n"
		else if (rules && i % 50 == 1) printf "RRULE:FREQ=YEARLY\r\n"
		printf "END:VEVENT\r\n" }
	printf "END:VCALENDAR\r\n" }'
}

# median of five runs, in seconds, of a command
median() {
	for _ in 1 2 3 4 5; do
		/usr/bin/time -f %e "$@" 2>&1 >/dev/null | tail -n 1
	done | sort -n | sed -n 3p
}

# run NAME FILE MONTHS
run() {
	local name=$1 file=$2 months=$3
	local ours theirs memory
	ours=$(median "$build/ostavel" -e "$file" 2027 "$months" out.htm)
	memory=$(/usr/bin/time -f %M "$build/ostavel" -e "$file" 2027 "$months" out.htm 2>&1 >/dev/null | tail -n 1)
	theirs=$(median node -e "const ICAL = require('$ical_js'); ICAL.parse(require('fs').readFileSync('$file', 'utf8'));")
	echo "$name ($(($(wc -c <"$file") / 1048576)) MB): ostavel ${ours} s, $((memory / 1024)) MB; ical.js parse ${theirs} s;" \
		"ratio $(awk -v a="$ours" -v b="$theirs" 'BEGIN { printf "%.2f", a / b }')"
}

calendar 100000 1990 60 rules >100k.ics
calendar 300000 1990 60 rules >300k.ics
calendar 100000 2027 10 >page.ics
run "100,000 events over 60 years, 12 months" 100k.ics 12
run "300,000 events over 60 years, 12 months" 300k.ics 12
run "100,000 events on 120 months" page.ics 120
