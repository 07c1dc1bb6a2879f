#!/usr/bin/env bash
# Builds and runs every test: the unit tests and the command line on the native build.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --workflow --preset test
