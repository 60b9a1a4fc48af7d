#!/usr/bin/env bash
# Installs the build into a temporary prefix and uses the installed tree as a person would:
# from another folder, the installed tavrel finds its data in share/tavrel (no TAVREL_DATA),
# plays a device script headless on a fresh device image, and the tools answer --version.
# Usage: installed_tree_test.sh BUILD_DIR
set -euo pipefail
BUILD_DIR="$1"
WORK="$(mktemp -d)"
# The first start launches the installed assign as a process of its own; it may still be
# writing into the device image when the script ends, so the cleanup waits (up to 10 s) for
# every program of the installed tree to end before removing the folder.
cleanup() {
  for _ in $(seq 100); do pgrep -f "$WORK/prefix/" >/dev/null || break; sleep 0.1; done
  rm -rf "$WORK"
}
trap cleanup EXIT
PREFIX="$WORK/prefix"
cmake --install "$BUILD_DIR" --prefix "$PREFIX" >/dev/null

fail() { echo "FAIL: $*" >&2; exit 1; }
for path in bin/tavrel bin/tavrel-dict share/tavrel/keyboard.txt share/tavrel/english/db.dat \
            share/applications/tavrel.desktop share/icons/hicolor/48x48/apps/tavrel.png \
            share/man/man1/tavrel.1 share/man/man1/tavrel-dict.1; do
  [ -e "$PREFIX/$path" ] || fail "$path was not installed"
done
for tool in assign keyreset; do
  if [ -e "$PREFIX/bin/$tool" ]; then fail "$tool belongs in libexec/tavrel, not bin"; fi
  if [ -e "$BUILD_DIR/tools/$tool/$tool" ] && [ ! -x "$PREFIX/libexec/tavrel/$tool" ]; then
    fail "$tool was not installed in libexec/tavrel"
  fi
done
command -v desktop-file-validate >/dev/null || fail "desktop-file-validate is missing (scripts/bootstrap installs it)"
desktop-file-validate "$PREFIX/share/applications/tavrel.desktop" || fail "the desktop entry is not valid"

[ "$("$PREFIX/bin/tavrel" --version)" = "tavrel 1.0.0" ] || fail "tavrel --version"

cat >"$WORK/check.script" <<'SCRIPT'
wait 300
expect-window Tavrel
expect-file \Program Files\Tavrel\keyboard.txt
expect-file \Program Files\Tavrel\english\db.dat
tap 120 130
wait 300
expect-window EDIT
SCRIPT
mkdir "$WORK/elsewhere"
cd "$WORK/elsewhere"
unset TAVREL_DATA DISPLAY WAYLAND_DISPLAY
export TAVREL_DEVICE="$WORK/device" TAVREL_SHOTS="$WORK/shots"
"$PREFIX/bin/tavrel" --script "$WORK/check.script" >"$WORK/out.txt" 2>&1 || { cat "$WORK/out.txt"; fail "the installed tavrel did not play the script"; }
[ -f "$WORK/device/fs/Program Files/Tavrel/keyboard.txt" ] || fail "the device image was not installed from share/tavrel"
echo "installed tree: ok"
