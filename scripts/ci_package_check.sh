#!/usr/bin/env bash
# Checks the files a desktop install consists of, on the build the tests ran
# on (build/ or $QUILLMERE_BUILD_DIR):
#   - the desktop entry passes desktop-file-validate (hints allowed, no
#     warnings or errors) and the metainfo file appstreamcli validate;
#   - `cmake --install` into a temporary prefix gives exactly the files listed
#     in tests/desktop/installed_files.txt;
#   - every library of the installed programs resolves (ldd);
#   - the journal tool links none of the window layers;
#   - the Debian package builds, depends on the Qt libraries and the fonts,
#     holds exactly the installed files, and lintian finds no error, warning
#     or informational tag in it;
#   - the packaged programs answer --help and --version on standard output
#     with exit 0 in a terminal without a display.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${QUILLMERE_BUILD_DIR:-$here/build}"
id="org.example.quillmere.Quillmere"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "ci_package_check: $*" >&2; exit 1; }

echo "== desktop entry"
out="$(desktop-file-validate "$here/resources/desktop/$id.desktop" 2>&1)" || fail "desktop entry: $out"
echo "$out"
if grep -Eq '(error|warning):' <<<"$out"; then fail "desktop entry: $out"; fi

echo "== metainfo"
appstreamcli validate --no-net --no-color "$here/resources/desktop/$id.metainfo.xml" \
  || fail "metainfo does not validate"

echo "== install file list"
cmake --install "$build" --prefix "$work/prefix" >/dev/null
(cd "$work/prefix" && find . \( -type f -o -type l \) | sed 's|^\./||' | LC_ALL=C sort) >"$work/actual"
LC_ALL=C sort "$here/tests/desktop/installed_files.txt" >"$work/expected"
diff -u "$work/expected" "$work/actual" || fail "installed files differ from tests/desktop/installed_files.txt"

echo "== libraries of the installed programs"
for program in quillmere quillmere-journal; do
  libs="$(ldd "$work/prefix/bin/$program")" || fail "ldd $program failed"
  if grep -q 'not found' <<<"$libs"; then fail "$program: $(grep 'not found' <<<"$libs")"; fi
done

echo "== the journal tool sits on the window-free layers"
# Its link line names no widget library, no editor and no drawn controls,
# and the built program loads no Qt Widgets.
link="$(cd "$build" && ninja -t commands tools/quillmere-journal | tail -n 1)"
for forbidden in Qt6Widgets Qt6::Widgets libquillmere_editor libquillmere_controls \
  libquillmere_search.a libquillmere_export.a libquillmere_shell; do
  if grep -q -- "$forbidden" <<<"$link"; then fail "quillmere-journal links $forbidden"; fi
done
if ldd "$work/prefix/bin/quillmere-journal" | grep -q libQt6Widgets; then
  fail "quillmere-journal loads libQt6Widgets"
fi
echo "quillmere-journal: no widgets, editor or controls"

echo "== Debian package"
(cd "$build" && cpack -G DEB -B "$work/package" >/dev/null)
deb="$(ls "$work/package"/quillmere_*.deb)"
depends="$(dpkg-deb --field "$deb" Depends)"
echo "Depends: $depends"
grep -q 'libqt6widgets6' <<<"$depends" || fail "the package does not depend on libqt6widgets6"
# Without the colour emoji font every emoticon is the same plain face.
grep -q 'fonts-noto-color-emoji' <<<"$depends" || fail "the package does not depend on fonts-noto-color-emoji"
dpkg-deb --contents "$deb" | awk '{print $6}' | sed 's|^\./usr/||' | grep -v -e '/$' -e '^$' | LC_ALL=C sort >"$work/packaged"
diff -u "$work/expected" "$work/packaged" || fail "packaged files differ from tests/desktop/installed_files.txt"
echo "package files OK"

echo "== lintian"
# Any error or warning fails, and so does any informational tag: that is the
# level at which lintian reports programs built without Debian's hardening
# flags (hardening-no-bindnow, hardening-no-fortify-functions).
lintian --fail-on error,warning,info --display-info --tag-display-limit 0 "$deb" \
  || fail "lintian: findings in $(basename "$deb")"
echo "lintian OK"

echo "== --help and --version of the packaged programs, without a display"
version="$(dpkg-deb --field "$deb" Version)"
dpkg-deb -x "$deb" "$work/root"
mkdir -p "$work/home"
for program in quillmere quillmere-journal; do
  for option in --help --version; do
    status=0
    out="$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= HOME="$work/home" \
      XDG_DATA_HOME="$work/home/data" XDG_CONFIG_HOME="$work/home/config" \
      "$work/root/usr/bin/$program" "$option" 2>"$work/stderr")" || status=$?
    [ "$status" -eq 0 ] || fail "$program $option exited $status: $(cat "$work/stderr")"
    [ ! -s "$work/stderr" ] || fail "$program $option wrote to standard error: $(cat "$work/stderr")"
    [ -n "$out" ] || fail "$program $option printed nothing"
    if [ "$option" = --version ] && ! grep -q "^$program .*$version\$" <<<"$(head -n 1 <<<"$out")"; then
      fail "$program --version does not say $version: $(head -n 1 <<<"$out")"
    fi
    echo "$program $option: $(head -n 1 <<<"$out")"
  done
done
