#!/usr/bin/env bash
# Times pendrik and ostavel against the bare writer (bench/bare_writer.cpp: the same number of
# bytes in 512-byte writes, nothing generated), for 36 and 12000 months and ostavel's largest
# pages, classic, modern (in English, Arabic and Japanese, each layout, with holidays, in
# another calendar and with a second one) and with 10000 events (lines, and an iCalendar
# file), and prints the ratios of the medians; counts
# instructions a month with callgrind where valgrind is installed; compares peak memory and
# page faults for 12 and 12000 months.
# Usage: bench/bench.sh [BUILD_DIR]   (default build; needs hyperfine, jq and GNU time)
set -eu
build=$(realpath "${1:-build}")
cmake --build "$build" --target pendrik ostavel bare_writer >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

# bench NAME COMMAND...: the command writes out.htm, the bare writer the same bytes.
bench() {
	local name=$1
	shift
	"$@"
	mv out.htm same.htm
	hyperfine --shell=none --warmup 10 --runs 300 --export-json "$name.json" \
		--command-name "$name" "$*" \
		--command-name "bare writer" "$build/bare_writer $(wc -c <same.htm) bare.htm" >/dev/null
	cmp same.htm out.htm
	jq -r '.results | "\(.[0].command): \(.[0].median * 1000 | . * 100 | round / 100) ms, " +
		"bare writer \(.[1].median * 1000 | . * 100 | round / 100) ms, " +
		"ratio \(.[0].median / .[1].median | . * 1000 | round / 1000)"' "$name.json"
}
bench "pendrik 36" "$build/pendrik" 36 out.htm
bench "pendrik 12000" "$build/pendrik" 12000 out.htm
bench "ostavel 1701 120" "$build/ostavel" 1701 120 out.htm
bench "ostavel -w 1701 120" "$build/ostavel" -w 1701 120 out.htm
# The same page in other languages: Arabic digits and right to left, Japanese.
bench "ostavel --lang ar-EG -w 1701 120" "$build/ostavel" --lang ar-EG -w 1701 120 out.htm
bench "ostavel --lang ja-JP -w 1701 120" "$build/ostavel" --lang ja-JP -w 1701 120 out.htm
# The layouts, the public holidays of a region, and pages in other calendars.
bench "ostavel --layout month 2000 120" "$build/ostavel" --layout month 2000 120 out.htm
bench "ostavel --layout poster 2000 120" "$build/ostavel" --layout poster 2000 120 out.htm
bench "ostavel --modern 2000 120" "$build/ostavel" --modern 2000 120 out.htm
bench "ostavel --holidays DE-BY 2000 120" "$build/ostavel" --holidays DE-BY 2000 120 out.htm
bench "ostavel --calendar persian 1379 120" "$build/ostavel" --calendar persian 1379 120 out.htm
bench "ostavel --second-calendar chinese 2000 120" "$build/ostavel" --second-calendar chinese 2000 120 out.htm
# 10000 events, half of them on days of the page's ten years, half every year.
awk 'BEGIN { srand(1); for (i = 0; i < 10000; i++) { m = 1 + int(rand() * 12); d = 1 + int(rand() * 28)
	if (i % 2) printf "%02d-%02d Every year %d\n", m, d, i
	else printf "%d-%02d-%02d Event <%d> & more\n", 1701 + int(rand() * 10), m, d, i } }' >events.txt
bench "ostavel -e EVENTS 1701 120" "$build/ostavel" -e events.txt 1701 120 out.htm
# 10000 events in one calendar file, 1000 of them every year, the rest timed ones on the page.
awk 'BEGIN { srand(2); printf "BEGIN:VCALENDAR\r\nVERSION:2.0\r\n"
	for (i = 0; i < 10000; i++) { m = 1 + int(rand() * 12); d = 1 + int(rand() * 28)
		printf "BEGIN:VEVENT\r\nUID:%d\r\nSUMMARY:Event %d\\, <b>\r\n", i, i
		if (i % 10 == 0) printf "DTSTART;VALUE=DATE:1700%02d%02d\r\nRRULE:FREQ=YEARLY\r\n", m, d
		else printf "DTSTART:%d%02d%02dT%02d3000Z\r\nDURATION:PT1H\r\n", 1701 + int(rand() * 10), m, d, int(rand() * 24)
		printf "END:VEVENT\r\n" }
	printf "END:VCALENDAR\r\n" }' >events.ics
bench "ostavel -e ICS 1701 120" "$build/ostavel" -e events.ics 1701 120 out.htm

# Instructions a month: the difference between 12000 and 12 months, over 11988 months.
if command -v valgrind >/dev/null; then
	count() {
		valgrind --tool=callgrind --callgrind-out-file=cg.out "$@" 2>&1 |
			sed -n 's/.*Collected : //p'
	}
	small=$(count "$build/pendrik" 12 out.htm) large=$(count "$build/pendrik" 12000 out.htm)
	echo "callgrind: $(((large - small) / 11988)) instructions a month"
fi

for months in 12 12000; do
	/usr/bin/time -f "$months months: peak memory %M KiB, %R page faults" \
		"$build/pendrik" "$months" out.htm
done
