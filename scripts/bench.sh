#!/usr/bin/env bash
# Speed benchmark: frames per second of wrenfold-headless --bench (rendering and sound
# synthesis on every frame, no pacing, one core) on the NROM, MMC1 and MMC3 images of the
# shared speed set and on our own cartridges, for the second CPU core (the default) and the full core,
# with the reference emulator measured in the same run on the same cartridges when
# ../shared/bench is there. Prints fps, the ratios and peak memory, then the host
# instructions per frame of both cores from callgrind when valgrind is installed.
#
#   scripts/bench.sh [--frames N] [--runs R] [--all] [--no-reference] [--no-callgrind]
#
#   --frames N      frames per run (default 3000)
#   --runs R        runs per cartridge; the median is shown (default 3)
#   --all           every image of the speed set, whatever its mapper
#   --no-reference  skip the reference emulator (no package is installed then)
#   --no-callgrind  skip the instruction counts
#
# The machines are noisy: compare the ratios of one run, not figures from different runs.
# The instruction counts are exact: the difference between a run of 600 and one of 300
# frames, divided by 300, so start-up is left out.
set -euo pipefail
cd "$(dirname "$0")/.."

frames=3000
runs=3
all_images=0
reference=1
callgrind=1
callgrind_frames=300
while [ $# -gt 0 ]; do
  case "$1" in
    --frames) frames=${2:?}; shift 2 ;;
    --runs) runs=${2:?}; shift 2 ;;
    --all) all_images=1; shift ;;
    --no-reference) reference=0; shift ;;
    --no-callgrind) callgrind=0; shift ;;
    -h | --help) sed -n '2,19p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
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

# Median fps and peak RSS of our runner with one core: "FPS KB", or nothing on a failure.
measure_ours() {
  local rom=$1 core=$2 line fps=() rss=()
  for ((run = 0; run < runs; ++run)); do
    line=$("${pin[@]}" "$runner" "$rom" --no-battery --bench --frames "$frames" --core "$core" \
      --verdict none | grep '^core=') || return 1
    fps+=("$(field fps <<<"$line")")
    rss+=("$(field peak_rss_kb <<<"$line")")
  done
  echo "$(printf '%s\n' "${fps[@]}" | median) $(printf '%s\n' "${rss[@]}" | sort -n | tail -n1)"
}

ratio_of() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }'; }

# Host instructions callgrind counts for a run of N frames.
instructions_for() {
  valgrind --tool=callgrind --callgrind-out-file="$work/callgrind.out" "$runner" "$1" --no-battery \
    --frames "$3" --core "$2" --verdict none 2>&1 | sed -n 's/.*Collected : \([0-9]*\).*/\1/p'
}

# Instructions per frame without start-up: the difference of two run lengths.
instructions_per_frame() {
  local short long
  short=$(instructions_for "$1" "$2" "$callgrind_frames")
  long=$(instructions_for "$1" "$2" $((callgrind_frames * 2)))
  [ -n "$short" ] && [ -n "$long" ] || { echo -; return; }
  echo $(((long - short) / callgrind_frames))
}

echo "wrenfold-headless --bench --frames $frames, median of $runs runs, pinned: ${pin[*]:-no}"
printf '\n%-34s %6s %11s %11s %9s %12s %7s %10s\n' CARTRIDGE MAPPER SECOND_FPS FULL_FPS \
  FULL/2ND NESTOPIA_FPS 2ND/NES PEAK_RSS
measured=()
for rom in "${cartridges[@]}"; do
  second_fps= full_fps=
  read -r second_fps second_kb < <(measure_ours "$rom" second) || true
  read -r full_fps full_kb < <(measure_ours "$rom" full) || true
  if [ -z "${second_fps:-}" ] || [ -z "${full_fps:-}" ]; then
    echo "bench: wrenfold-headless failed on $rom" >&2
    continue
  fi
  measured+=("$rom")
  peak_kb=$((second_kb > full_kb ? second_kb : full_kb))

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
      ratio=$(ratio_of "$second_fps" "$ref_fps")
      ref_fps=$(printf '%.0f' "$ref_fps")
    fi
  fi
  printf '%-34s %6s %11.0f %11.0f %9s %12s %7s %7.1f MB\n' "$(basename "$rom")" \
    "$(mapper_of "$rom")" "$second_fps" "$full_fps" "$(ratio_of "$full_fps" "$second_fps")" \
    "$ref_fps" "$ratio" "$(awk -v k="$peak_kb" 'BEGIN { print k / 1024 }')"
done
echo
echo "goal: at least 10000 fps on one core with every frame drawn; peak RSS under 32 MB;"
echo "the full core as fast as the second"

if [ "$callgrind" = 1 ] && command -v valgrind >/dev/null && [ ${#measured[@]} -gt 0 ]; then
  echo
  echo "host instructions per frame (callgrind, frames $callgrind_frames to $((callgrind_frames * 2)))"
  printf '\n%-34s %14s %14s %9s\n' CARTRIDGE SECOND_CORE FULL_CORE FULL/2ND
  for rom in "${measured[@]}"; do
    second_ir=$(instructions_per_frame "$rom" second)
    full_ir=$(instructions_per_frame "$rom" full)
    printf '%-34s %14s %14s %9s\n' "$(basename "$rom")" "$second_ir" "$full_ir" \
      "$(ratio_of "$full_ir" "$second_ir")"
  done
fi
