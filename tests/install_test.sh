#!/usr/bin/env bash
# Installs a build into a fresh prefix and checks the programs and their manual pages there.
# Usage: install_test.sh BUILD_DIR VERSION
set -u
build=$1 version=$2
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
echo "1 passed, 0 failed"
