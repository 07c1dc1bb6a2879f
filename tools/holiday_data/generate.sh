#!/usr/bin/env bash
# Writes the holiday table to src/holidays/holiday_data.cpp, or to the path given (to compare a
# fresh table with the one committed), from date-holidays as pinned in package-lock.json,
# installed here when missing. Usage: tools/holiday_data/generate.sh [OUTPUT] (needs node, npm)
set -euo pipefail
here=$(dirname "$0")
npm ls --prefix "$here" >/dev/null 2>&1 ||
	npm ci --prefix "$here" --ignore-scripts --no-audit --no-fund >&2
node "$here/generate.mjs" >"${1:-$here/../../src/holidays/holiday_data.cpp}.new"
mv "${1:-$here/../../src/holidays/holiday_data.cpp}.new" "${1:-$here/../../src/holidays/holiday_data.cpp}"
[[ $# -gt 0 ]] && exit 0
# The data's license, with the attributions it asks for, as date-holidays ships it.
{
	echo "ostavel's table of public holidays (src/holidays/holiday_data.cpp) is made from the data"
	echo "of npm date-holidays 3.37.0 by commenthol, https://github.com/commenthol/date-holidays,"
	echo "and is, as that data is, under CC BY-SA 3.0:"
	echo "http://creativecommons.org/licenses/by-sa/3.0/"
	echo
	cat "$here/node_modules/date-holidays/LICENSE"
} >"$here/LICENSE"
