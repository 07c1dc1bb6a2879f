#!/usr/bin/env bash
# Checks that the layers of src/ stand in a line: a file includes headers of its own folder and
# of the layers below its own, never of one beside or above it.
# Usage: layers.sh SOURCE_DIR
set -u
cd "$1/src" || exit 1
# From the bottom up; layers of one rank stand side by side.
declare -A rank=([platform]=0 [output]=1 [calendar]=2 [locale]=3 [events]=4 [holidays]=4 [classic]=5 [modern]=5 [cli]=6)
failed=0
for file in */*.h */*.cpp; do
	layer=${file%%/*}
	[[ -n ${rank[$layer]-} ]] || { echo "FAIL - $file: $layer is no layer"; failed=1; continue; }
	while read -r used; do
		if [[ -z ${rank[$used]-} || ${rank[$used]} -ge ${rank[$layer]} ]]; then
			echo "FAIL - $file includes $used/, which is not below $layer/"
			failed=1
		fi
	done < <(sed -n 's|^#include "\([a-z_]*\)/.*"$|\1|p' "$file")
done
[[ $failed == 0 ]] && echo "ok - every layer includes only those below it"
exit $failed
