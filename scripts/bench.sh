#!/usr/bin/env bash
# Speed benchmark: frames per second of wrenfold-headless --bench (rendering and sound
# synthesis on every frame, no pacing, one core) on the NROM, MMC1 and MMC3 images of the
# shared speed set and on our own cartridges, with the reference core measured in the same run
# on the same cartridges when ../shared/bench is there. Prints fps, the ratio and peak memory,
# and with --callgrind the host instructions per frame.
#
#   scripts/bench.sh [--frames N] [--runs R] [--all] [--no-reference] [--callgrind]
#
#   --frames N      frames per run (default 3000)
#   --runs R        runs per cartridge; the median is shown (default 3)
#   --all           every image of the speed set, whatever its mapper
#   --no-reference  skip the reference core (no package is installed then)
#   --callgrind     also count host instructions per frame under valgrind's callgrind: the
#                   difference between a 360- and a 60-frame run over 300 frames, so start-up
#                   drops out; steady from run to run, unlike fps
#
# The machines are noisy: compare the ratios of one run, not fps from different runs; the
# instruction counts can be compared across runs.
set -euo pipefail
cd "$(dirname "$0")/.."

frames=3000
runs=3
all_images=0
reference=1
callgrind=0
while [ $# -gt 0 ]; do
  case "$1" in
    --frames) frames=${2:?}; shift 2 ;;
    --runs) runs=${2:?}; shift 2 ;;
    --all) all_images=1; shift ;;
    --no-reference) reference=0; shift ;;
    --callgrind) callgrind=1; shift ;;
    -h | --help) sed -n '2,20p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "bench: unknown argument $1" >&2; exit 2 ;;
  esac
done

shared=../shared
speed_set=$shared/testroms/bench
reference_source=$shared/bench/libretro_bench.c
reference_core=/usr/lib/x86_64-linux-gnu/libretro/nestopia_libretro.so

cmake --preset release >/dev/null
cmake --build --preset release --target wrenfold-headless >/dev/null
# The demo cartridges are optional: the target may not exist in every checkout.
cmake --build --preset release --target demo_roms >/dev/null 2>&1 || true
runner=build/release/bin/wrenfold-headless

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The reference side: the libretro timing tool built here (never copied into the tree) and
# Debian's build of an accurate core, installed on demand.
reference_tool=
if [ "$reference" = 1 ] && [ -f "$reference_source" ]; then
  if [ ! -f "$reference_core" ]; then
    sudo_cmd=()
    [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
    echo "bench: installing libretro-nestopia for the side-by-side figures"
    export DEBIAN_FRONTEND=noninteractive
    "${sudo_cmd[@]}" apt-get install -y -qq libretro-nestopia >/dev/null 2>&1 ||
      { "${sudo_cmd[@]}" apt-get update -qq && "${sudo_cmd[@]}" apt-get install -y -qq libretro-nestopia >/dev/null; } ||
      echo "bench: libretro-nestopia could not be installed; no reference figures" >&2
  fi
  if [ -f "$reference_core" ] && cc -O2 -o "$work/libretro_bench" "$reference_source" -ldl 2>/dev/null; then
    reference_tool=$work/libretro_bench
  fi
fi

# One core for every measured process, so the figures mean single-core speed.
pin=()
command -v taskset >/dev/null && pin=(taskset -c "$(($(nproc) - 1))")

mapper_of() {
  local bytes
  bytes=$(od -An -tu1 -j6 -N2 "$1" | tr -s ' ')
  read -r flags6 flags7 <<<"$bytes"
  echo $(((flags7 & 0xF0) | (flags6 >> 4)))
}

median() { sort -g | awk '{ v[NR] = $1 } END { if (NR) print v[int((NR + 1) / 2)] }'; }

field() { sed -n "s/.*$1=\([0-9.]*\).*/\1/p"; }

cartridges=()
if [ -d "$speed_set" ]; then
  for rom in "$speed_set"/*.nes; do
    [ -f "$rom" ] || continue
    case "$(mapper_of "$rom")" in
      0 | 1 | 4) cartridges+=("$rom") ;;
      *) [ "$all_images" = 1 ] && cartridges+=("$rom") ;;
    esac
  done
else
  echo "bench: $speed_set not found; only our own cartridges are measured" >&2
fi
for rom in build/release/bin/roms/*.nes; do
  [ -f "$rom" ] && cartridges+=("$rom")
done
if [ ${#cartridges[@]} -eq 0 ]; then
  echo "bench: no cartridges to measure" >&2
  exit 1
fi

if [ "$callgrind" = 1 ] && ! command -v valgrind >/dev/null; then
  echo "bench: valgrind is not installed; no instruction counts" >&2
  callgrind=0
fi

# Host instructions of a whole run of N frames under callgrind.
instructions_of() {
  local out=$work/callgrind.out
  valgrind --tool=callgrind --callgrind-out-file="$out" "$runner" "$1" --bench --frames "$2" \
    --verdict none >/dev/null 2>&1 || return 1
  sed -n 's/^summary: \([0-9]*\).*/\1/p' "$out"
}

echo "wrenfold-headless --bench --frames $frames, median of $runs runs, pinned: ${pin[*]:-no}"
printf '\n%-34s %7s %12s %12s %7s %10s %12s\n' CARTRIDGE MAPPER WRENFOLD_FPS NESTOPIA_FPS RATIO \
  PEAK_RSS INSTR/FRAME
for rom in "${cartridges[@]}"; do
  ours=()
  rss=()
  for ((run = 0; run < runs; ++run)); do
    line=$("${pin[@]}" "$runner" "$rom" --bench --frames "$frames" --verdict none | grep '^core=') || {
      echo "bench: wrenfold-headless failed on $rom" >&2
      continue 2
    }
    ours+=("$(field fps <<<"$line")")
    rss+=("$(field peak_rss_kb <<<"$line")")
  done
  our_fps=$(printf '%s\n' "${ours[@]}" | median)
  peak_kb=$(printf '%s\n' "${rss[@]}" | sort -n | tail -n1)

  ref_fps=-
  ratio=-
  if [ -n "$reference_tool" ]; then
    refs=()
    for ((run = 0; run < runs; ++run)); do
      line=$("${pin[@]}" "$reference_tool" "$reference_core" "$rom" "$frames" 2>/dev/null | grep '^core=') || break
      refs+=("$(field fps <<<"$line")")
    done
    if [ ${#refs[@]} -gt 0 ]; then
      ref_fps=$(printf '%s\n' "${refs[@]}" | median)
      ratio=$(awk -v a="$our_fps" -v b="$ref_fps" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }')
      ref_fps=$(printf '%.0f' "$ref_fps")
    fi
  fi
  per_frame=-
  if [ "$callgrind" = 1 ]; then
    short=$(instructions_of "$rom" 60) && long=$(instructions_of "$rom" 360) &&
      per_frame=$(((long - short) / 300))
  fi
  printf '%-34s %7s %12.0f %12s %7s %7.1f MB %12s\n' "$(basename "$rom")" "$(mapper_of "$rom")" \
    "$our_fps" "$ref_fps" "$ratio" "$(awk -v k="$peak_kb" 'BEGIN { print k / 1024 }')" "$per_frame"
done
echo
echo "goal: at least 10000 fps on one core with every frame drawn; peak RSS under 32 MB"
