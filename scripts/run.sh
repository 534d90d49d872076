#!/usr/bin/env bash
# The main job: install what is needed, build, and run qlxw (by default its overview) with the
# arguments given, e.g. scripts/run.sh --lang 2057 strings 74
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh build
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target qlxw  # the command and its libraries only: the tests are scripts/test.sh's
exec build/cli/qlxw "$@"
