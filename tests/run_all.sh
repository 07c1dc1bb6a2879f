#!/usr/bin/env bash
# Builds and runs every test: the native build with its unit, command-line, install and lint
# tests, then the same suite built with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --workflow --preset test
cmake --workflow --preset sanitize
