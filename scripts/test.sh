#!/usr/bin/env bash
# Installs what is missing, builds everything with AddressSanitizer and UndefinedBehaviorSanitizer,
# runs every gating test through CTest, then gives every libFuzzer target a short pass.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset asan-ubsan >/dev/null
cmake --build --preset asan-ubsan
export QT_QPA_PLATFORM=offscreen SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
ctest --preset asan-ubsan -j"$(nproc)"
# A few seconds per reader; scripts/fuzz.sh runs them longer.
scripts/fuzz.sh "${WRENFOLD_FUZZ_SMOKE_SECONDS:-5}"
