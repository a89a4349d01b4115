#!/usr/bin/env bash
# Fingerprints everything the emulator puts out, so that a change meant to keep behaviour (a
# speed-up, a move of code) can be checked over every cartridge we have, not only over the
# golden frames of the test suite:
#   - every image under ../shared/testroms and our own cartridges, on each of the three CPU
#     cores: the hashes of several frames, the exit status and a hash of the whole WAV;
#   - the games of tests/frame_comparison/cartridges.txt with their input scripts (past the
#     title screens), the same way;
#   - the measurement suite's table (tests/conformance/run_testroms.sh) on the second and full
#     cores, with a hash of each cartridge's last frame.
#
#   scripts/compare-outputs.sh --save FILE      record the fingerprints of this checkout
#   scripts/compare-outputs.sh --against FILE   record them again and compare; exit 1 and
#                                               show the lines that differ when any do
#   --bin DIR   use the runner and cartridges already built in DIR (default: build the
#               release preset and use build/release/bin)
#   --jobs N    runs side by side (default: processors)
#
# Runs pass --no-battery, so no game.sav is read or left beside the shared cartridges.
set -uo pipefail
cd "$(dirname "$0")/.."

save=
against=
bin=
jobs=$(nproc 2>/dev/null || echo 1)
while [ $# -gt 0 ]; do
  case "$1" in
    --save) save=${2:?}; shift 2 ;;
    --against) against=${2:?}; shift 2 ;;
    --bin) bin=${2:?}; shift 2 ;;
    --jobs) jobs=${2:?}; shift 2 ;;
    -h | --help) sed -n '2,19p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "compare-outputs: unknown argument $1" >&2; exit 2 ;;
  esac
done
if [ -z "$save" ] && [ -z "$against" ]; then
  echo "compare-outputs: give --save FILE or --against FILE" >&2
  exit 2
fi

if [ -z "$bin" ]; then
  cmake --preset release >/dev/null || exit 1
  cmake --build --preset release --target wrenfold-headless demo_roms >/dev/null || exit 1
  bin=build/release/bin
fi
runner=$(realpath "$bin/wrenfold-headless")
testroms=../shared/testroms
frames=900
hash_frames=1,60,120,300,600,900

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One run: "LABEL CORE INPUT status=N frames... wav=HASH" on one line.
run_one() {
  local label=$1 rom=$2 core=$3 input=$4 out=$5
  local args=("$rom" --no-battery --frames "$frames" --hash-frames "$hash_frames" --core "$core"
    --verdict none --wav "$out.wav")
  [ "$input" != - ] && args+=(--input "$input")
  local hashes code
  hashes=$("$runner" "${args[@]}" 2>&1 | sed -n 's/^frame \([0-9]*\) hash /\1:/p' | paste -sd' ' -)
  code=${PIPESTATUS[0]}
  local wav=none
  [ -f "$out.wav" ] && wav=$(sha256sum "$out.wav" | cut -c1-16)
  rm -f "$out.wav"
  echo "$label $core $input status=$code $hashes wav=$wav" >"$out"
}
export -f run_one
export runner frames hash_frames

# The run list: label, image, core, input.
{
  for core in reference second full; do
    find "$testroms" -name '*.nes' 2>/dev/null | sort | while read -r rom; do
      echo "testroms/${rom#"$testroms"/} $rom $core -"
    done
    for rom in "$bin"/roms/*.nes; do
      [ -f "$rom" ] && echo "roms/$(basename "$rom") $rom $core -"
    done
  done
  # The games with their input scripts, on the core their line names.
  grep -v '^#' tests/frame_comparison/cartridges.txt | while read -r cartridge _ input core; do
    [ -n "$cartridge" ] && [ -n "${input:-}" ] && [ "$input" != - ] || continue
    case "$cartridge" in
      testroms/*) rom=$testroms/${cartridge#testroms/} ;;
      roms/*) rom=$bin/$cartridge ;;
      *) continue ;;
    esac
    [ -f "$rom" ] || continue
    [ -z "${core:-}" ] || [ "$core" = - ] && core=second
    echo "$cartridge $rom $core $input"
  done
} | awk '{ print NR, $0 }' >"$work/runs"

xargs -P "$jobs" -L 1 bash -c 'run_one "$2" "$3" "$4" "$5" "$0/run.$1"' "$work" <"$work/runs"
result=$work/result
for ((i = 1; i <= $(wc -l <"$work/runs"); ++i)); do cat "$work/run.$i"; done >"$result"

# The measurement suite: its table, and the last frame of each cartridge.
for core in second full; do
  WRENFOLD_CONFORMANCE_CORE=$core WRENFOLD_CONFORMANCE_JOBS=$jobs \
    WRENFOLD_CONFORMANCE_PNG=$work/png-$core \
    tests/conformance/run_testroms.sh "$runner" "$testroms" | sed "s/^/conformance $core: /" >>"$result"
  if [ -d "$work/png-$core" ]; then
    (cd "$work/png-$core" && sha256sum -- *.png | cut -c1-16,65- | sed "s/^/last frame $core: /") >>"$result"
  fi
done

if [ -n "$save" ]; then
  cp "$result" "$save"
  echo "compare-outputs: $(wc -l <"$save") lines written to $save"
  exit 0
fi
if diff "$against" "$result" >"$work/diff"; then
  echo "compare-outputs: all $(wc -l <"$result") lines as in $against"
  exit 0
fi
echo "compare-outputs: outputs differ from $against:"
cat "$work/diff"
exit 1
