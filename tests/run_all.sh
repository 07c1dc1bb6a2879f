#!/usr/bin/env bash
# Builds and runs every test: the native build with its unit, command-line, install and lint
# tests; the same suite built with AddressSanitizer and UndefinedBehaviorSanitizer; and the
# Windows program, cross-compiled with MinGW-w64, through the command-line tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
[[ -d tests/browser/node_modules/playwright-core ]] ||
	npm ci --prefix tests/browser --no-audit --no-fund
cmake --workflow --preset test
cmake --workflow --preset sanitize
cmake --workflow --preset windows
