#!/usr/bin/env bash
# The long run of the state-file fuzz test: random and mutated save states through the loader of
# a running emulator under AddressSanitizer and UndefinedBehaviorSanitizer (CI runs 2000).
#
#   scripts/fuzz-states.sh [COUNT]     COUNT state files, default 300000
set -euo pipefail
cd "$(dirname "$0")/.."
count=${1:-300000}
cmake --preset asan-ubsan >/dev/null
cmake --build --preset asan-ubsan --target test_host
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
WRENFOLD_STATE_FUZZ_COUNT=$count build/asan-ubsan/bin/test_host \
  --gtest_filter='StateFuzzTest.*'
