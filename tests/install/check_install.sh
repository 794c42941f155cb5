#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop and a
# user get from it: exactly the expected files, desktop entry and AppStream
# metadata that their validators accept and that agree with each other and
# with the program, the command line, and the installed program finding its
# files (test_installed, run from the prefix's bin folder).
# usage: check_install.sh <build-folder> <version> <test_installed>
set -euo pipefail
build=$1 version=$2 test_installed=$3
here=$(cd "$(dirname "$0")" && pwd)
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
diff -u "$here/expected-files.txt" <(cd "$prefix" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort) \
  || fail "installed files differ from expected-files.txt"

app=org.ledgerly.Ledgerly
desktop=$prefix/share/applications/$app.desktop
metainfo=$prefix/share/metainfo/$app.metainfo.xml
desktop-file-validate "$desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$metainfo" >/dev/null || fail "appstreamcli validate"
# The entry opens backup files, names the installed icon and the MIME type
# defined next to it; the newest release is the program's version.
grep -qx 'Exec=ledgerly %f' "$desktop" || fail "Exec"
grep -qx "Icon=$app" "$desktop" || fail "Icon"
mime=$(sed -n 's/.*<mime-type type="\([^"]*\)".*/\1/p' "$prefix/share/mime/packages/$app.xml")
grep -qx "MimeType=$mime;" "$desktop" || fail "MimeType $mime"
grep -q "<glob pattern=\"\*\.ledgerly\"/>" "$prefix/share/mime/packages/$app.xml" || fail "glob"
newest=$(grep -o '<release version="[^"]*"' "$metainfo" | head -n1 | cut -d'"' -f2)
[ "$newest" = "$version" ] || fail "newest release $newest, version $version"
zcat "$prefix/share/man/man1/ledgerly.1.gz" | grep -q "Ledgerly $version" || fail "manual page version"

# The command line works without a window system: with no display, any
# attempt to open one would end the program otherwise.
run() { env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$prefix/bin/ledgerly" "$@"; }
out=$(run --version) || fail "--version status $?"
[ "$out" = "Ledgerly $version" ] || fail "--version printed '$out'"
out=$(run --help) || fail "--help status $?"
grep -q '^Usage: ledgerly \[options\] \[backup\]' <<<"$out" || fail "--help printed '$out'"
status=0
out=$(run --no-such-option 2>"$prefix/err") || status=$?
[ "$status" = 2 ] || fail "a bad option ended with status $status"
[ -z "$out" ] && grep -q "Unknown option 'no-such-option'" "$prefix/err" \
  && grep -q '^Usage:' "$prefix/err" || fail "a bad option printed '$out' / '$(cat "$prefix/err")'"

# The installed program's files, found from bin/ (offscreen, own data home).
cp "$test_installed" "$prefix/bin/"
XDG_DATA_HOME=$prefix/home QT_QPA_PLATFORM=offscreen "$prefix/bin/$(basename "$test_installed")"
