#!/usr/bin/env bash
# Runs every public test cartridge under the shared testroms folder through wrenfold-headless
# and prints a table of what each reported. A measurement, not a gate: the exit status is 0
# whatever the cartridges say (77 when the folder is absent, which CTest shows as skipped).
#
#   run_testroms.sh RUNNER TESTROMS_DIR
#
# The manifest's "How it reports" column picks where the verdict is read: the $6000 status
# block (the run stops once it is final), the $00F8 result byte, or nowhere (screen, audio
# or visual results: the run only has to finish cleanly). Its "Frames" column, the frame
# count of the collection's own harness, sets the budget: twice the hint, at least 600
# frames (3600 for status-block cartridges without a hint). Environment:
#   WRENFOLD_CONFORMANCE_CORE  reference, second or full (default second, the emulator's default)
#   WRENFOLD_CONFORMANCE_ONLY  folders under TESTROMS_DIR to run, separated by blanks
#                              (default: every cartridge)
#   WRENFOLD_CONFORMANCE_PNG   a folder to receive each cartridge's last frame as PNG
#   WRENFOLD_CONFORMANCE_JOBS  cartridges run side by side (default: processors)
set -uo pipefail

runner=${1:?usage: run_testroms.sh RUNNER TESTROMS_DIR}
testroms=${2:?usage: run_testroms.sh RUNNER TESTROMS_DIR}
core=${WRENFOLD_CONFORMANCE_CORE:-second}
png_dir=${WRENFOLD_CONFORMANCE_PNG:-}
jobs=${WRENFOLD_CONFORMANCE_JOBS:-$(nproc 2>/dev/null || echo 1)}
only=${WRENFOLD_CONFORMANCE_ONLY:-}
per_rom_timeout=600

if [ ! -d "$testroms" ]; then
  echo "conformance: $testroms not found; nothing to measure"
  exit 77
fi
if [ ! -x "$runner" ]; then
  echo "conformance: $runner is not built"
  exit 77
fi
[ -n "$png_dir" ] && mkdir -p "$png_dir"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# path <TAB> how <TAB> frames, for every cartridge row of the manifest.
if [ -f "$testroms/MANIFEST.md" ]; then
  awk -F'|' '
    $2 ~ /\.nes`/ {
      path = $2; gsub(/^[ `]+|[ `]+$/, "", path)
      how = $5; gsub(/^ +| +$/, "", how)
      frames = $6; gsub(/[^0-9]/, "", frames)
      print path "\t" how "\t" frames
    }' "$testroms/MANIFEST.md" >"$work/manifest.tsv"
else
  : >"$work/manifest.tsv"
fi

# Runs one cartridge; writes "status<TAB>frames<TAB>detail" to its result file.
run_one() {
  local rom=$1 index=$2
  local relative=${rom#"$testroms"/}
  local how hint
  how=$(awk -F'\t' -v p="$relative" '$1 == p { print $2; exit }' "$work/manifest.tsv")
  hint=$(awk -F'\t' -v p="$relative" '$1 == p { print $3; exit }' "$work/manifest.tsv")

  local verdict=none frames=600
  local extra=()
  case "$how" in
    *'$6000 protocol'*) verdict=status; extra+=(--until-verdict); frames=3600 ;;
    *'$00F8'*) verdict=f8 ;;
  esac
  if [ -n "$hint" ]; then
    frames=$((hint * 2))
    [ "$frames" -lt 600 ] && frames=600
  fi
  if [ -n "$png_dir" ]; then
    extra+=(--png "$png_dir/$(echo "$relative" | tr '/' '_' | sed 's/\.nes$//').png")
  fi

  local output code
  output=$(timeout "$per_rom_timeout" "$runner" "$rom" --no-battery --frames "$frames" --core "$core" \
    --verdict "$verdict" "${extra[@]}" 2>&1)
  code=$?
  local detail status
  if printf '%s\n' "$output" | grep -q 'ERROR: AddressSanitizer\|runtime error:'; then
    code=3  # a sanitizer report: the emulator misbehaved, whatever the cartridge said
  fi
  detail=$(printf '%s\n' "$output" | sed -n 's/^result: //p' | head -n1)
  # The cartridge's own text, its lines joined.
  local text
  text=$(printf '%s\n' "$output" | sed -n '/^text:/,$s/^  //p' | paste -sd'|' - | sed 's/|/ \/ /g')
  [ -n "$text" ] && detail="$detail: $text"
  case "$verdict:$code" in
    *:124) status=TIMEOUT; detail="no end after ${per_rom_timeout}s" ;;
    none:0) status=SCREEN; detail="ran cleanly; the result is on screen or in the sound" ;;
    *:0) status=PASS ;;
    *:1) status=FAIL ;;
    none:2 | *:2)
      if printf '%s\n' "$output" | grep -q '^wrenfold-headless:'; then
        status=ERROR
        detail=$(printf '%s\n' "$output" | grep '^wrenfold-headless:' | head -n1)
        detail=${detail#wrenfold-headless: }
      else
        status=NONE
      fi
      ;;
    *:3) status=CRASH; detail=$(printf '%s\n' "$output" | grep -m1 'ERROR: AddressSanitizer\|runtime error:') ;;
    *) status=CRASH; detail="exit status $code" ;;
  esac
  printf '%s\t%s\t%s\t%s\n' "$status" "$frames" "$relative" "$detail" >"$work/result.$index"
}
export -f run_one
export runner testroms core png_dir work per_rom_timeout

if [ -n "$only" ]; then
  for folder in $only; do
    [ -d "$testroms/$folder" ] && find "$testroms/$folder" -name '*.nes'
  done | sort >"$work/roms"
else
  find "$testroms" -name '*.nes' | sort >"$work/roms"
fi
total=$(wc -l <"$work/roms")
echo "conformance: $total cartridges from $testroms${only:+ ($only)}, core $core, $jobs at a time"
awk '{ print NR "\t" $0 }' "$work/roms" |
  xargs -P "$jobs" -L 1 bash -c 'run_one "$2" "$1"' _ 2>/dev/null

printf '\n%-8s %6s  %-56s %s\n' RESULT FRAMES CARTRIDGE DETAIL
for ((i = 1; i <= total; ++i)); do
  if [ -f "$work/result.$i" ]; then
    IFS=$'\t' read -r status frames relative detail <"$work/result.$i"
    printf '%-8s %6s  %-56s %.120s\n' "$status" "$frames" "$relative" "$detail"
    echo "$status" >>"$work/statuses"
  fi
done

echo
printf 'summary:'
for status in PASS FAIL NONE SCREEN ERROR CRASH TIMEOUT; do
  count=$(grep -cx "$status" "$work/statuses" 2>/dev/null)
  printf ' %s %s' "$status" "${count:-0}"
done
printf ' (of %s)\n' "$total"
exit 0
