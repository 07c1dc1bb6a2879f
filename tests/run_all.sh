#!/usr/bin/env bash
# Builds and runs every test: the native build with its unit, command-line, browser, install
# and lint tests; the same suite built with AddressSanitizer and UndefinedBehaviorSanitizer,
# and built with clang++; the Windows programs, cross-compiled with MinGW-w64, through the
# command-line tests under Wine; and the packages, built twice from clean clones of HEAD.
set -euo pipefail
cd "$(dirname "$0")/.."
# npm ls fails when the browser test's packages are missing or not the versions pinned. No
# install scripts: vnu-jar's would download a Java of its own.
npm ls --prefix tests/browser >/dev/null 2>&1 ||
	npm ci --prefix tests/browser --ignore-scripts --no-audit --no-fund
cmake --workflow --preset test
cmake --workflow --preset sanitize
cmake --workflow --preset clang
cmake --workflow --preset windows
bash tests/package_test.sh .
