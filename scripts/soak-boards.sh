#!/usr/bin/env bash
# The long board soak: every supported mapper number runs images of random bytes as program
# code for thousands of frames under AddressSanitizer and UndefinedBehaviorSanitizer, with
# random register writes (tests/emulator/host/board_soak_test.cpp; CI runs the same test with a
# few frames).
#
#   scripts/soak-boards.sh [--frames N] [--filter GTEST_PATTERN]
#
#   --frames N   frames per board and image (default 3000)
#   --filter P   only the soak cases matching P, e.g. '*Mapper19_*'
set -euo pipefail
cd "$(dirname "$0")/.."

frames=3000
filter='*'
while [ $# -gt 0 ]; do
  case "$1" in
    --frames) frames=${2:?}; shift 2 ;;
    --filter) filter=${2:?}; shift 2 ;;
    -h | --help) sed -n '2,10p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "soak-boards: unknown argument $1" >&2; exit 2 ;;
  esac
done

scripts/install-deps.sh
cmake --preset asan-ubsan >/dev/null
cmake --build --preset asan-ubsan --target test_host
export QT_QPA_PLATFORM=offscreen SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
export WRENFOLD_SOAK_FRAMES=$frames
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
build/asan-ubsan/bin/test_host --gtest_filter="AllBoards/BoardSoakTest.*${filter#\*}"
