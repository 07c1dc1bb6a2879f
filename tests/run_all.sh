#!/usr/bin/env bash
# Builds and runs every test: the native build with its unit, command-line, browser, install
# and lint tests; the same suite built with AddressSanitizer and UndefinedBehaviorSanitizer;
# built with clang++, with the fuzz targets; built with clang++ and libc++; built for i386;
# the Windows programs, cross-compiled with MinGW-w64, through the command-line tests under
# Wine; and the packages, built twice from clean clones of HEAD.
set -euo pipefail
cd "$(dirname "$0")/.."
# npm ls fails when the browser test's packages are missing or not the versions pinned. No
# install scripts: vnu-jar's would download a Java of its own.
npm ls --prefix tests/browser >/dev/null 2>&1 ||
	npm ci --prefix tests/browser --ignore-scripts --no-audit --no-fund
for workflow in test sanitize clang libcxx i386 windows; do
	cmake --workflow --preset "$workflow"
done
bash tests/package_test.sh .
