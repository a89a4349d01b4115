#!/usr/bin/env bash
# Installs what is missing, builds the release binaries and the bundled demo library, prepares a
# working folder for cartdesk and starts cartdesk there.
#
#   scripts/run-demo.sh
#
# The working folder is ~/Wrenfold-demo (or $WRENFOLD_DEMO_DIR). It holds the two demo
# cartridges, the recognition database NESROMS.ENC, the encyclopedia CARTINFO.ENC and the
# screenshots ScrShots/, refreshed from build/release/demo_library on every run, beside your own
# Wrenfold.CFG, Wrenfold.PER, save states and the emulator's log, which are never overwritten.
# A first Wrenfold.CFG is written when there is none: ROM directory = the working folder,
# interface language from your locale (Chinese for zh_*, else English), player 1 on the
# keyboard (arrows, X = A, Z = B, C = Select, Enter = Start), the picture doubled so the game
# fills the screen. Where no sound device is found, the games run without sound.
#
# cartdesk needs a display. Without one (no DISPLAY or WAYLAND_DISPLAY) the folder is still
# prepared and the script says how to start it, e.g. under a virtual X server:
#   xvfb-run -a scripts/run-demo.sh
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)

case "${1:-}" in
  -h | --help) sed -n '2,18p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
  "") ;;
  *) echo "run-demo: unknown argument $1 (try --help)" >&2; exit 2 ;;
esac

scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release

bin=$repo/build/release/bin
library=$repo/build/release/demo_library
for needed in "$bin/cartdesk" "$bin/wrenfold" "$bin/libsumtab20.so" \
  "$library/NESROMS.ENC" "$library/CARTINFO.ENC" "$library/ScrShots"; do
  if [ ! -e "$needed" ]; then
    echo "run-demo: the build did not produce $needed" >&2
    exit 1
  fi
done

work=${WRENFOLD_DEMO_DIR:-$HOME/Wrenfold-demo}
mkdir -p "$work"
work=$(cd "$work" && pwd -P)
# The configuration file is read item by item (a comma or a quote ends or starts an item), and
# the emulator joins ROMDIR and BOOT into a path of at most 254 characters.
if [[ "$work" == *[,\"]* ]] || [ ${#work} -gt 200 ]; then
  echo "run-demo: $work cannot be a ROM directory of Wrenfold.CFG (a comma or a quote in it," >&2
  echo "or longer than 200 characters); choose another folder with WRENFOLD_DEMO_DIR=..." >&2
  exit 2
fi

# Refresh the library: cartridges, databases and screenshots. Everything else stays.
if [ "$work" != "$(cd "$library" && pwd -P)" ]; then
  mkdir -p "$work/ScrShots"
  cp -f "$library"/*.nes "$library/NESROMS.ENC" "$library/CARTINFO.ENC" "$work/"
  cp -f "$library"/ScrShots/*.GIF "$work/ScrShots/"
fi

# A first configuration, in the form cartdesk's "Update Config" button writes (CR LF lines).
# cartdesk also takes a name that differs only in case, so such a file counts as there.
if [ -z "$(find "$work" -maxdepth 1 -iname Wrenfold.CFG -print -quit)" ]; then
  locale_name=${LC_ALL:-${LC_MESSAGES:-${LANG:-}}}
  case "$locale_name" in
    zh*) language=Chinese ;;
    *) language=English ;;
  esac
  config_lines=(
    FPS=60 "BOOTLAN=$language" BOOT=wrenfold_demo.nes "ROMDIR=$work" "IRQADJ= 0" VIDEO=NTSC
    SOUND=Mono SLMODE=No RES=1 HARDBUF=0 2XMODE=Yes COLOR=Yes NamcoExt=Yes VRC6Ext=Yes
    CORE=ASM RAPIDFIRE=0 PLAYER1=Keyboard PLAYER2=None
    JOYA=1 JOYB=2 JOYTA=3 JOYTB=4 SELECT=5 START=6
    KEYUP=200 KEYDOWN=208 KEYLEFT=203 KEYRIGHT=205 KEYA=45 KEYB=44 KEYTA=31 KEYTB=30
    KEYSELECT=46 KEYSTART=28 WINDOWED=No ";"
  )
  printf '%s\r\n' "${config_lines[@]}" >"$work/Wrenfold.CFG.new"
  mv "$work/Wrenfold.CFG.new" "$work/Wrenfold.CFG"
  echo "run-demo: wrote a first $work/Wrenfold.CFG (interface language $language)"
fi

echo "run-demo: the demo library is in $work"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  cat >&2 <<EOF
run-demo: cartdesk needs a display, and neither DISPLAY nor WAYLAND_DISPLAY is set.
  Run this script from a desktop session, or under a virtual X server:
    xvfb-run -a scripts/run-demo.sh
  or start it yourself later:
    cd "$work" && "$bin/cartdesk"
EOF
  exit 1
fi

echo "run-demo: starting cartdesk; double-click a game to play it (Esc leaves the game)"
cd "$work"
exec "$bin/cartdesk"
