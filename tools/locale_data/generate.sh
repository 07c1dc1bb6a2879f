#!/usr/bin/env bash
# Builds generate.cpp against the installed ICU and writes the locale table it makes to
# src/locale/locale_data.cpp, or to the path given (to compare a fresh table with the one committed);
# with the table, the license of its data, as ICU ships it, to tools/locale_data/LICENSE.
# Usage: tools/locale_data/generate.sh [OUTPUT]   (needs g++, pkg-config and libicu-dev)
set -euo pipefail
here=$(dirname "$0")
output=${1:-$here/../../src/locale/locale_data.cpp}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# shellcheck disable=SC2046 # pkg-config gives several flags
g++ -std=c++17 -O2 -o "$work/generate" "$here/generate.cpp" \
	$(pkg-config --cflags --libs icu-i18n icu-uc)
"$work/generate" >"$work/locale_data.cpp"
cp "$work/locale_data.cpp" "$output"
[[ $# -gt 0 ]] && exit 0
# The data's own license: the first part of ICU's, up to its third-party notices.
icu=$(pkg-config --variable=prefix icu-uc)/share/icu/$(pkg-config --modversion icu-uc)
sed "/^-\\{20,\\}$/,\$d" "$icu/LICENSE" >"$here/LICENSE"
