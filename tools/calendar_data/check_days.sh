#!/usr/bin/env bash
# Checks src/calendar against ICU for every day of 1700 ... 2511 in every calendar, and against
# date-chinese for chinese and dangi: PRINTER (tests/calendar/calendar_days.cpp) must write what
# generate.sh --days writes, and the days where ICU's Chinese and Korean calendars differ from
# the astronomical ones must be those of icu_differences.txt.
# Usage: tools/calendar_data/check_days.sh PRINTER WORK_FOLDER
set -euo pipefail
here=$(dirname "$0")
printer=$1 work=$2
mkdir -p "$work"
bash "$here/generate.sh" --days "$work/icu_days.txt" "$work/icu_differences.txt"
"$printer" >"$work/calendar_days.txt"
status=0
if ! cmp -s "$work/icu_days.txt" "$work/calendar_days.txt"; then
	echo "check_days: src/calendar differs from ICU (<) on these days:" >&2
	diff "$work/icu_days.txt" "$work/calendar_days.txt" | head -20 >&2
	status=1
fi
if ! cmp -s "$here/icu_differences.txt" "$work/icu_differences.txt"; then
	echo "check_days: ICU's Chinese and Korean calendars differ on other days than before:" >&2
	diff "$here/icu_differences.txt" "$work/icu_differences.txt" | head -20 >&2
	status=1
fi
exit $status
