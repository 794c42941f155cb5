#!/usr/bin/env bash
# Saves pictures of the sign-in window, each panel of the main window (also
# enlarged), the whole screen, the About window and the import window, taken
# from the real windows under Xvfb by the main-window checks; once on a
# 1280 x 1024 screen, once at 200 % on a 1600 x 1000 screen (in the folder
# 200/) and once more in German on the first screen (in the folder de/).
# usage: tools/screenshots.sh [build-folder] [output-folder]
#        (defaults: build/dev and build/screenshots)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/dev}
out=$(realpath -m "${2:-build/screenshots}")
mkdir -p "$out"
cmake --build "$build" --target test_mainwindow
supp=$(realpath tests/lsan.supp)
mkdir -p "$out/200" "$out/de"
cd "$build/bin"
shoot() { # output folder, screen size, scale factor, system language
  LSAN_OPTIONS="suppressions=$supp:print_suppressions=0" LC_ALL="$4" \
    LEDGERLY_SCREENSHOT_DIR="$1" QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR="$3" \
    xvfb-run -a -s "-screen 0 ${2}x24" ./test_mainwindow screenshots >/dev/null
}
shoot "$out" 1280x1024 1 C.UTF-8
shoot "$out/200" 1600x1000 2 C.UTF-8
shoot "$out/de" 1280x1024 1 de_DE.UTF-8
ls "$out"/login.png "$out"/main-*.png "$out"/screen.png "$out"/about.png "$out"/import.png \
  "$out"/200/screen.png "$out"/de/main-expense.png
