#!/usr/bin/env bash
# Regenerates the golden tables of our own cartridges: tests/tools/golden_frames.txt (hashes
# of pictures) and tests/tools/golden_audio.txt (hashes of the sound written as WAV).
#
#   scripts/regenerate-golden.sh [BUILD_DIR]     (default build/dev, configured if missing)
#
# Builds wrenfold-headless and the demo cartridges, adds rows (frames 60 and 300, no input;
# for the sound one run of 600 frames, no input) for every cartridge in BUILD_DIR/bin/roms
# that a table does not name yet, then runs each cartridge and input script and writes the
# hash of every listed frame and of every run's sound. Comments and the order of the rows are
# kept. Review the diff before committing: a changed hash means a changed picture or sound.
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${1:-build/dev}
table=tests/tools/golden_frames.txt
audio_table=tests/tools/golden_audio.txt
input_dir=tests/tools/golden_input
default_frames=(60 300)
default_audio_frames=600

if [ ! -f "$build_dir/CMakeCache.txt" ]; then
  if [ "$build_dir" != build/dev ]; then
    echo "regenerate-golden: $build_dir is not a configured build folder" >&2
    exit 2
  fi
  cmake --preset dev >/dev/null
fi
cmake --build "$build_dir" --target wrenfold-headless demo_roms

runner=$build_dir/bin/wrenfold-headless
rom_dir=$build_dir/bin/roms

# Rows for cartridges the table does not know yet.
shopt -s nullglob
for rom in "$rom_dir"/*.nes; do
  name=$(basename "$rom")
  if ! awk -v name="$name" '!/^#/ && $1 == name { found = 1 } END { exit !found }' "$table"; then
    for frame in "${default_frames[@]}"; do
      printf '%-22s %6s  %-26s %s\n' "$name" "$frame" "-" "-" >>"$table"
    done
    echo "added $name"
  fi
done

# One run per cartridge and input script, hashing all of its frames.
declare -A hashes
while read -r cartridge input; do
  frames=$(awk -v c="$cartridge" -v i="$input" '!/^#/ && NF >= 3 && $1 == c && $3 == i { print $2 }' "$table" |
    sort -n -u | paste -sd, -)
  last=${frames##*,}
  if [ ! -f "$rom_dir/$cartridge" ]; then
    echo "regenerate-golden: $cartridge is in the table but not in $rom_dir; remove its rows" >&2
    exit 1
  fi
  arguments=("$rom_dir/$cartridge" --frames "$last" --hash-frames "$frames" --verdict none)
  if [ "$input" != "-" ]; then
    arguments+=(--input "$input_dir/$input")
  fi
  output=$("$runner" "${arguments[@]}") || {
    echo "regenerate-golden: wrenfold-headless failed on $cartridge (input $input)" >&2
    exit 1
  }
  while read -r word frame word2 hash; do
    if [ "$word" = frame ] && [ "$word2" = hash ]; then
      hashes["$cartridge|$input|$frame"]=$hash
    fi
  done <<<"$output"
done < <(awk '!/^#/ && NF >= 3 { print $1, $3 }' "$table" | sort -u)

# Rewrite the table with the new hashes.
updated=$(mktemp)
wav=$(mktemp)
trap 'rm -f "$updated" "$wav"' EXIT
while IFS= read -r line; do
  if [[ -z "$line" || "$line" == \#* ]]; then
    printf '%s\n' "$line"
    continue
  fi
  read -r cartridge frame input _ <<<"$line"
  printf '%-22s %6s  %-26s %s\n' "$cartridge" "$frame" "$input" "${hashes["$cartridge|$input|$frame"]:--}"
done <"$table" >"$updated"
cp "$updated" "$table"
# The golden test lists its cases from the table when it is built.
touch tests/tools/golden_frames_test.cpp
echo "updated $table"

# The sound: rows for new cartridges, then one run per row, hashing the WAV's sample data.
for rom in "$rom_dir"/*.nes; do
  name=$(basename "$rom")
  if ! awk -v name="$name" '!/^#/ && $1 == name { found = 1 } END { exit !found }' "$audio_table"; then
    printf '%-22s %6s  %-26s %s\n' "$name" "$default_audio_frames" "-" "-" >>"$audio_table"
    echo "added $name to $audio_table"
  fi
done

# FNV-1a 64 of the bytes of the "data" chunk, which the runner writes after a 44-byte header.
wav_data_hash() {
  perl -e '
    use integer;
    local $/;
    my $bytes = <STDIN>;
    die "not a WAV the runner writes\n" if substr($bytes, 36, 4) ne "data";
    my $size = unpack("V", substr($bytes, 40, 4));
    die "the data chunk is cut short\n" if length($bytes) < 44 + $size;
    my $hash = -3750763034362895579;  # 0xcbf29ce484222325
    $hash = ($hash ^ $_) * 1099511628211 for unpack("C*", substr($bytes, 44, $size));
    printf("%016x\n", $hash);
  ' <"$1"
}

while IFS= read -r line; do
  if [[ -z "$line" || "$line" == \#* ]]; then
    printf '%s\n' "$line"
    continue
  fi
  read -r cartridge frames input _ <<<"$line"
  if [ ! -f "$rom_dir/$cartridge" ]; then
    echo "regenerate-golden: $cartridge is in $audio_table but not in $rom_dir; remove its rows" >&2
    exit 1
  fi
  arguments=("$rom_dir/$cartridge" --frames "$frames" --wav "$wav" --verdict none)
  if [ "$input" != "-" ]; then
    arguments+=(--input "$input_dir/$input")
  fi
  "$runner" "${arguments[@]}" </dev/null >/dev/null || {
    echo "regenerate-golden: wrenfold-headless failed on $cartridge (input $input)" >&2
    exit 1
  }
  hash=$(wav_data_hash "$wav")
  printf '%-22s %6s  %-26s %s\n' "$cartridge" "$frames" "$input" "$hash"
done <"$audio_table" >"$updated"
cp "$updated" "$audio_table"
touch tests/tools/golden_audio_test.cpp
echo "updated $audio_table"
