#!/usr/bin/env bash
# Builds generate.cpp against the installed ICU and writes the table of Windows time-zone names
# it makes to src/events/zone_data.cpp, or to the path given (to compare a fresh table with the
# one committed).
# Usage: tools/zone_data/generate.sh [OUTPUT]   (needs g++, pkg-config and libicu-dev)
set -euo pipefail
here=$(dirname "$0")
output=${1:-$here/../../src/events/zone_data.cpp}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# shellcheck disable=SC2046 # pkg-config gives several flags
g++ -std=c++17 -O2 -o "$work/generate" "$here/generate.cpp" \
	$(pkg-config --cflags --libs icu-i18n icu-uc)
"$work/generate" >"$work/zone_data.cpp"
cp "$work/zone_data.cpp" "$output"
