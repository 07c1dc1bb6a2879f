#!/usr/bin/env bash
# Every public holiday of every region from 2000 to 2040, as the program's table gives them
# (holiday_days), against date-holidays itself (tools/holiday_data/check.mjs).
# Usage: check_days.sh HOLIDAY_DAYS WORK_DIR
set -euo pipefail
here=$(dirname "$0")/../../tools/holiday_data
mkdir -p "$2"
npm ls --prefix "$here" >/dev/null 2>&1 ||
	npm ci --prefix "$here" --ignore-scripts --no-audit --no-fund >&2
"$1" 2000 2040 | LC_ALL=C sort -u >"$2/table.txt"
node "$here/check.mjs" 2000 2040 | LC_ALL=C sort -u >"$2/date-holidays.txt"
if ! cmp -s "$2/table.txt" "$2/date-holidays.txt"; then
	diff "$2/table.txt" "$2/date-holidays.txt" >"$2/diff.txt" || true
	head -n 40 "$2/diff.txt"
	echo "FAIL - $(grep -c '^[<>]' "$2/diff.txt") lines differ"
	exit 1
fi
echo "ok - $(wc -l <"$2/table.txt") days of public holidays, as date-holidays gives them"
