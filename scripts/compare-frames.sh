#!/usr/bin/env bash
# Compares our pictures with those of a reference emulator (Debian's libretro-nestopia core,
# run by our own compare-frames tool), frame by frame. A measurement, not a gate.
#
#   scripts/compare-frames.sh [--core CORE] ROM FRAMES [INPUT_SCRIPT]
#       one cartridge: prints the similarity of each listed frame (e.g. 300,600) and writes
#       side-by-side pictures to build/frame-comparison/<cartridge>/frame-N.png; --core runs
#       ours on that CPU core (reference, second or full) instead of the default
#   scripts/compare-frames.sh --all [--table FILE]
#       every cartridge: our own (build/.../bin/roms) and every image under ../shared/testroms,
#       with the frames, input and CPU core of tests/frame_comparison/cartridges.txt (the
#       "testroms/*" row gives the frames of the images it does not name), the reasons of
#       tests/frame_comparison/reasons.txt; writes the table (default
#       tests/frame_comparison/table.md) and the side-by-side pictures
#
#   --bin DIR   use the programs and cartridges already built in DIR (default: build the
#               release preset and use build/release/bin)
#   --out DIR   where the side-by-side pictures go (default build/frame-comparison)
#
# The similarity is the share of pixels, over the 232 lines our NTSC picture draws, whose
# colour number shows in the reference's palette as the reference's pixel; the palette is
# measured from the reference itself with our palette chart cartridge, for each colour
# emphasis of $2001, and our frame is compared under the emphasis it was shown with. Each of
# our frames is compared with the reference's frames N-2 to N+2 and the best is taken, since
# the two emulators may start a frame or two apart. A frame is "steady" when those five reference
# frames are alike. Verdicts: "same picture" from 0.98 on; otherwise the reason from
# reasons.txt, or "not explained yet". WRENFOLD_REFERENCE_CORE names another core. Exit status
# 77 when the core is not installed (apt-get install libretro-nestopia).
set -uo pipefail
cd "$(dirname "$0")/.."

# The comment above, from its second line to its last.
usage() {
  awk 'NR > 1 && /^#/ { sub(/^# ?/, ""); print; next } NR > 1 { exit }' scripts/compare-frames.sh
}

core=${WRENFOLD_REFERENCE_CORE:-/usr/lib/x86_64-linux-gnu/libretro/nestopia_libretro.so}
testroms=../shared/testroms
list=tests/frame_comparison/cartridges.txt
reasons=tests/frame_comparison/reasons.txt
table=tests/frame_comparison/table.md
threshold=0.98
bin=
out=build/frame-comparison
all=0
single_core=-
positional=()
while [ $# -gt 0 ]; do
  case "$1" in
    --all) all=1; shift ;;
    --table) table=${2:?}; shift 2 ;;
    --bin) bin=${2:?}; shift 2 ;;
    --out) out=${2:?}; shift 2 ;;
    --core) single_core=${2:?}; shift 2 ;;
    -h | --help) usage; exit 0 ;;
    -*) echo "compare-frames: unknown option $1" >&2; exit 2 ;;
    *) positional+=("$1"); shift ;;
  esac
done
if [ "$all" = 0 ] && [ ${#positional[@]} -lt 2 ]; then
  usage >&2
  exit 2
fi

if [ ! -f "$core" ]; then
  echo "compare-frames: the reference core $core is not installed (apt-get install libretro-nestopia); nothing compared"
  exit 77
fi
if [ -z "$bin" ]; then
  cmake --preset release >/dev/null || exit 2
  cmake --build --preset release --target wrenfold-headless compare-frames demo_roms >/dev/null || exit 2
  bin=build/release/bin
fi
runner=$bin/wrenfold-headless
comparer=$bin/compare-frames
chart=$bin/roms/wrenfold_palette_chart.nes
for needed in "$runner" "$comparer" "$chart"; do
  if [ ! -e "$needed" ]; then
    echo "compare-frames: $needed is not built" >&2
    exit 2
  fi
done

# A sanitizer build of compare-frames must not fail on the core's own leaks (libretro cores
# are not ours to fix); ours are still reported.
export LSAN_OPTIONS="suppressions=$PWD/tools/frame_compare/lsan_suppressions.txt:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"

# The reference's colour for each colour number under each colour emphasis, from the chart:
# 64 colours of 8 frames under each of the 8 emphases, after its first frames.
chart_frames=4160
mkdir -p "$work/chart"
"$runner" "$chart" --frames $chart_frames --png-frames "$(seq -s, 1 $chart_frames)" \
  --png-dir "$work/chart" --verdict none >/dev/null || exit 2
"$comparer" calibrate --core "$core" --rom "$chart" --ours "$work/chart" \
  --frames $chart_frames --palette "$work/palette.txt" >/dev/null || exit 2

# Compares one cartridge; writes "cartridge<TAB>frame<TAB>similarity<TAB>offset<TAB>verdict"
# rows to $work/rows.<index>. Cartridge names are as in the list: roms/... or testroms/...
# CPU_CORE is our CPU core for this cartridge, "-" for the default.
compare_one() {
  local index=$1 name=$2 frames=$3 input=$4 cpu_core=${5:--}
  local rom
  case "$name" in
    roms/*) rom=$bin/$name ;;
    testroms/*) rom=$testroms/${name#testroms/} ;;
    *) rom=$name ;;
  esac
  local rows=$work/rows.$index
  : >"$rows"
  # The table names the input beside the cartridge: the same frame may be compared twice.
  local label=$name
  [ "$input" != - ] && label="$name with $(basename "$input")"
  [ "$cpu_core" != - ] && label="$label on the $cpu_core core"
  local ours=$work/ours.$index
  mkdir -p "$ours"
  local last=${frames##*,}
  local input_args=()
  [ "$input" != - ] && input_args=(--input "$input")
  local core_args=()
  [ "$cpu_core" != - ] && core_args=(--core "$cpu_core")

  local run_output
  run_output=$("$runner" "$rom" --no-battery --frames "$last" --png-frames "$frames" \
    --png-dir "$ours" --verdict none "${input_args[@]}" "${core_args[@]}" 2>&1 >/dev/null)
  local sanitizer
  sanitizer=$(printf '%s\n' "$run_output" | grep -m1 'ERROR: AddressSanitizer\|runtime error:')
  if [ -n "$sanitizer" ]; then
    printf '%s\t%s\t-\t-\tour run misbehaved: %s\n' "$label" "$frames" "$sanitizer" >>"$rows"
    return
  fi
  local halted=
  halted=$(printf '%s\n' "$run_output" | sed -n 's/.*stopped on an unknown opcode after frame \([0-9]*\).*/\1/p')
  if printf '%s\n' "$run_output" | grep -q 'cannot load the cartridge'; then
    local why=${run_output##*: }
    case "$why" in
      mapper*'not supported') why="board not built yet ($why)" ;;
      *) why="does not load: $why" ;;
    esac
    printf '%s\t%s\t-\t-\t%s\n' "$label" "$frames" "$why" >>"$rows"
    return
  fi

  local picture_dir=$out/$(printf '%s' "${name%.nes}" | tr '/' '_')
  [ "$input" != - ] && picture_dir=${picture_dir}_$(basename "${input%.txt}")
  [ "$cpu_core" != - ] && picture_dir=${picture_dir}_$cpu_core
  local compared
  compared=$("$comparer" compare --core "$core" --rom "$rom" --ours "$ours" --frames "$frames" \
    --palette "$work/palette.txt" --side-by-side "$picture_dir" "${input_args[@]}" 2>&1)
  if ! printf '%s\n' "$compared" | grep -q '^frame '; then
    printf '%s\t%s\t-\t-\tnot compared: %s\n' "$label" "$frames" \
      "$(printf '%s' "$compared" | head -n1 | sed 's/^compare-frames: //')" >>"$rows"
    return
  fi
  local frame similarity offset steady verdict reason
  while read -r _ frame what similarity _ offset _ steady; do
    if [ "$what" = missing ]; then
      if [ -n "$halted" ]; then
        verdict="halts on an undocumented opcode after frame $halted"
      else
        verdict="no picture from one of the emulators"
      fi
      printf '%s\t%s\t-\t-\t%s\n' "$label" "$frame" "$verdict" >>"$rows"
      continue
    fi
    if awk -v s="$similarity" -v t="$threshold" 'BEGIN { exit !(s >= t) }'; then
      verdict="same picture"
    else
      reason=$(awk -v n="$name" -v f="$frame" '
        /^#/ || NF < 3 { next }
        $1 == n && ($2 == f || $2 == "*") { $1 = ""; $2 = ""; sub(/^ +/, ""); print; exit }' "$reasons")
      verdict="differs: ${reason:-not explained yet}"
    fi
    [ "$steady" = no ] && verdict="$verdict (moving picture)"
    printf '%s\t%s\t%s\t%s\t%s\n' "$label" "$frame" "$similarity" "$offset" "$verdict" >>"$rows"
  done < <(printf '%s\n' "$compared" | grep '^frame ' | sed 's/ missing / missing - - - - - /')
  rm -rf "$ours"
}

if [ "$all" = 0 ]; then
  input=${positional[2]:--}
  compare_one 0 "${positional[0]}" "${positional[1]}" "$input" "$single_core"
  column -t -s $'\t' "$work/rows.0"
  echo "side-by-side pictures: $out/"
  exit 0
fi

# Every cartridge: the listed ones with their frames, then every other image of testroms/
# with the frames of the "testroms/*" row.
default_frames=$(awk '$1 == "testroms/*" { print $2; exit }' "$list")
awk '!/^#/ && NF >= 2 && $1 != "testroms/*" {
       print $1 "\t" $2 "\t" ($3 == "" ? "-" : $3) "\t" ($4 == "" ? "-" : $4) }' \
  "$list" >"$work/jobs"
if [ -d "$testroms" ] && [ -n "$default_frames" ]; then
  find "$testroms" -name '*.nes' | sort | while read -r path; do
    name=testroms/${path#"$testroms"/}
    grep -q "^$name	" "$work/jobs" || printf '%s\t%s\t-\t-\n' "$name" "$default_frames"
  done >>"$work/jobs"
fi
export -f compare_one
export runner comparer core testroms bin out work reasons threshold
awk -F'\t' '{ print NR "\t" $1 "\t" $2 "\t" $3 "\t" $4 }' "$work/jobs" |
  xargs -P "$(nproc 2>/dev/null || echo 1)" -L 1 bash -c 'compare_one "$@"' _

mkdir -p "$(dirname "$table")"
{
  echo "# Our pictures against the reference's"
  echo
  echo "Written by \`scripts/compare-frames.sh --all\`; a measurement, not a gate. Similarity: the"
  echo "share of pixels (top 232 lines) whose colour number shows in the reference's palette as"
  echo "the reference's pixel, best over its frames N-2 to N+2 (offset: the frame taken minus N)."
  echo "\"moving picture\": the reference's picture changes within those frames. \"on the full core\":"
  echo "ours ran on the CPU core that runs the undocumented opcodes the cartridge uses. Reasons for"
  echo "the differences left are kept in \`reasons.txt\`; the cartridges, frames, input and core in"
  echo "\`cartridges.txt\`."
  echo
  echo "| Cartridge | Frame | Similarity | Offset | Verdict |"
  echo "|---|---|---|---|---|"
  for ((i = 1; i <= $(wc -l <"$work/jobs"); ++i)); do
    [ -f "$work/rows.$i" ] && awk -F'\t' '{ printf "| %s | %s | %s | %s | %s |\n", $1, $2, $3, $4, $5 }' "$work/rows.$i"
  done
  echo
  cat "$work"/rows.* | awk -F'\t' '
    { n++ }
    $5 ~ /^same picture/ { same++ }
    $5 ~ /^differs: not explained/ { open++ }
    $5 ~ /^differs/ && $5 !~ /not explained/ { named++ }
    END { printf "%d frames: %d the same picture, %d differ for a named reason, %d differ unexplained, %d not compared (board, halt or load).\n", n, same, named, open, n - same - named - open }'
} >"$table"
tail -n1 "$table"
echo "table: $table; side-by-side pictures: $out/"
