#!/usr/bin/env bash
# Takes screenshots of a framed window and of the About window under Xvfb,
# through the GUI checks of the skin and the About window.
# usage: tools/skin-screenshots.sh [build-folder] [output-folder]
#        (defaults: build/dev and build/screenshots)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/dev}
out=$(realpath -m "${2:-build/screenshots}")
mkdir -p "$out"
cmake --build "$build" --target test_skin test_about
supp=$(realpath tests/lsan.supp)
cd "$build/bin"
for check in test_skin test_about; do
  LSAN_OPTIONS="suppressions=$supp:print_suppressions=0" \
    LEDGERLY_SCREENSHOT_DIR="$out" QT_QPA_PLATFORM=xcb \
    xvfb-run -a -s '-screen 0 1280x1024x24' "./$check" >/dev/null
done
ls "$out"/skinned-window.png "$out"/about.png
