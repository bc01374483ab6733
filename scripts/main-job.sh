#!/usr/bin/env bash
# The main job of `make run`, given the release build folder.
set -euo pipefail
build=${1:-build/release}
"$build/bin/zedemo"
