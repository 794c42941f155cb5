#!/usr/bin/env bash
# Saves pictures of the sign-in window, each panel of the main window, the
# About window and the import window, taken from the real windows under Xvfb
# by the main-window checks.
# usage: tools/screenshots.sh [build-folder] [output-folder]
#        (defaults: build/dev and build/screenshots)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/dev}
out=$(realpath -m "${2:-build/screenshots}")
mkdir -p "$out"
cmake --build "$build" --target test_mainwindow
supp=$(realpath tests/lsan.supp)
cd "$build/bin"
LSAN_OPTIONS="suppressions=$supp:print_suppressions=0" \
  LEDGERLY_SCREENSHOT_DIR="$out" QT_QPA_PLATFORM=xcb \
  xvfb-run -a -s '-screen 0 1280x1024x24' ./test_mainwindow screenshots >/dev/null
ls "$out"/login.png "$out"/main-*.png "$out"/about.png "$out"/import.png
