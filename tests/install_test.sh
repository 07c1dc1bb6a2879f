#!/usr/bin/env bash
# Installs a build into a fresh prefix and checks the programs and their manual pages there.
# Usage: install_test.sh BUILD_DIR VERSION [EMULATOR]   (EMULATOR runs the programs, as qemu)
set -u
build=$1 version=$2 emulator=${3-}
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL - $*"; echo "0 passed, 1 failed"; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null || fail "cmake --install"
for program in pendrik ostavel; do
	[[ -x $prefix/bin/$program ]] || fail "no bin/$program"
	page=$prefix/share/man/man1/$program.1.gz
	[[ -f $page ]] || fail "no share/man/man1/$program.1.gz"
	zgrep -q "\"$program $version\"" "$page" || fail "$program.1 does not show version $version"
	warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
	[[ -z $warnings ]] || fail "man warns on $program.1: $warnings"
	for section in NAME SYNOPSIS DESCRIPTION ARGUMENTS "EXIT STATUS" EXAMPLES "SEE ALSO"; do
		zgrep -q "^\.SH \"\?$section\"\?$" "$page" || fail "no $section section in $program.1"
	done
done

# What bash offers for the last of the words after "ostavel", from the installed completion;
# the programs it runs are the installed ones, through the emulator where there is one.
path=$prefix/bin
if [[ -n $emulator ]]; then
	mkdir "$prefix/run" && path=$prefix/run
	printf '#!/bin/sh\nexec %q %q "$@"\n' "$emulator" "$prefix/bin/ostavel" >"$path/ostavel"
	chmod +x "$path/ostavel"
fi
offers() {
	(cd "$prefix" && PATH=$path:$PATH bash -c 'source "$1"; shift
		COMP_WORDS=(ostavel "$@"); COMP_CWORD=$#; _ostavel 2>/dev/null; printf "%s\n" "${COMPREPLY[@]}"' \
		_ share/bash-completion/completions/ostavel "$@")
}
[[ -f $prefix/share/bash-completion/completions/pendrik ]] || fail "no completion for pendrik"
[[ $(offers --lan) == --lang= ]] || fail "completion of --lan: $(offers --lan)"
offers --lang d | grep -qx de-DE || fail "completion of --lang d: $(offers --lang d | head -n 5)"
offers --calendar pe | grep -qx persian || fail "completion of --calendar pe: $(offers --calendar pe)"
offers --holidays DE-B | grep -qx DE-BY || fail "completion of --holidays DE-B: $(offers --holidays DE-B | head -n 5)"
[[ $(offers --layout p) == poster ]] || fail "completion of --layout p: $(offers --layout p)"
touch "$prefix/b.htm" "$prefix/a.txt" "$prefix/x.ics"
[[ $(offers -e "" | head -n 2) == $'x.ics\na.txt' ]] || fail "completion of -e: $(offers -e "")"
echo "1 passed, 0 failed"
