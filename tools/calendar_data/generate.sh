#!/usr/bin/env bash
# Writes the calendar tables to src/calendar/calendar_data.cpp, or to the path given (to compare
# fresh tables with the ones committed): the Chinese and Korean years from date-chinese, pinned
# in package-lock.json and installed here when missing, the Japanese eras and the Islamic
# calendars from the installed ICU. With --days, writes instead every day's fields in every
# calendar to DAYS and the days where ICU's Chinese and Korean calendars differ to DIFFERENCES
# (generate.cpp says how); check_days.sh compares them with src/calendar.
# Usage: tools/calendar_data/generate.sh [OUTPUT] | --days DAYS DIFFERENCES
#        (needs g++, pkg-config, libicu-dev, node and npm)
set -euo pipefail
here=$(dirname "$0")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
npm ls --prefix "$here" >/dev/null 2>&1 ||
	npm ci --prefix "$here" --ignore-scripts --no-audit --no-fund >&2
# The years that hold every day of 1700 ... 2511, with one after for the last one's length.
node "$here/lunisolar.mjs" 1699 2512 >"$work/lunisolar.txt"
# shellcheck disable=SC2046 # pkg-config gives several flags
g++ -std=c++20 -O2 -o "$work/generate" "$here/generate.cpp" \
	$(pkg-config --cflags --libs icu-i18n icu-uc)
if [[ ${1-} == --days ]]; then
	"$work/generate" days "$work/lunisolar.txt" "$3" >"$2"
	exit 0
fi
"$work/generate" table "$work/lunisolar.txt" >"$work/calendar_data.cpp"
cp "$work/calendar_data.cpp" "${1:-$here/../../src/calendar/calendar_data.cpp}"
