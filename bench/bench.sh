#!/usr/bin/env bash
# Times pendrik and ostavel against dd writing the same bytes in the same 512-byte writes, for
# 36 and 12000 months and for ostavel's largest page, and compares peak memory and page faults
# for 12 and 12000 months.
# Usage: bench/bench.sh [BUILD_DIR]   (default build; needs hyperfine and GNU time)
set -eu
build=$(realpath "${1:-build}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

# bench NAME COMMAND...: the command writes out.htm; dd copies what it wrote.
bench() {
	local name=$1
	shift
	"$@"
	mv out.htm same.htm
	hyperfine --shell=none --warmup 10 --runs 200 --export-markdown "$name.md" \
		--command-name "$name" "$*" \
		--command-name "dd, same bytes" "dd if=same.htm of=dd.htm ibs=1M obs=512 status=none"
	cmp same.htm out.htm
}
bench "pendrik 36" "$build/pendrik" 36 out.htm
bench "pendrik 12000" "$build/pendrik" 12000 out.htm
bench "ostavel 1701 120" "$build/ostavel" 1701 120 out.htm
cat "pendrik 36.md" "pendrik 12000.md" "ostavel 1701 120.md"

for months in 12 12000; do
	/usr/bin/time -f "$months months: peak memory %M KiB, %R page faults" \
		"$build/pendrik" "$months" out.htm
done
