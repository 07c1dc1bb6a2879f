#!/usr/bin/env bash
# Times pendrik against dd writing the same bytes in the same 512-byte writes, for 36 and
# 12000 months, and compares peak memory and page faults for 12 and 12000 months.
# Usage: bench/bench.sh [PROGRAM]   (default build/pendrik; needs hyperfine and GNU time)
set -eu
program=$(realpath "${1:-build/pendrik}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

for months in 36 12000; do
	"$program" "$months" same.htm
	hyperfine --shell=none --warmup 10 --runs 200 --export-markdown "$months.md" \
		--command-name "pendrik $months" "$program $months out.htm" \
		--command-name "dd, same bytes" "dd if=same.htm of=dd.htm ibs=1M obs=512 status=none"
	cmp same.htm out.htm
done
cat 36.md 12000.md

for months in 12 12000; do
	/usr/bin/time -f "$months months: peak memory %M KiB, %R page faults" "$program" "$months" out.htm
done
