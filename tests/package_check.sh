#!/usr/bin/env bash
# Builds the Debian package from the build folder's install into a folder of its own and checks
# it as apt would see it: the files under /usr and nowhere else, the links, the desktop entry
# naming the installed program, the AppStream file valid, the manual pages, and dependencies
# found by dpkg-shlibdeps (the Qt and codec libraries, not a hand list).
set -euo pipefail
build="${1:?usage: package_check.sh BUILD_DIR}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; exit 1; }
debs=("$work"/kinetta_*_amd64.deb)
[[ ${#debs[@]} -eq 1 && -f ${debs[0]} ]] || { echo "no kinetta_<version>_amd64.deb" >&2; exit 1; }
deb=${debs[0]}

faults=0
fail() { echo "$*" >&2; faults=$((faults + 1)); }

contents=$(dpkg-deb -c "$deb" | awk '{print $6 ($7 ? " " $7 " " $8 : "")}')
for path in ./usr/lib/kinetta/kinetta ./usr/lib/kinetta/kinetta-render \
    ./usr/lib/kinetta/libkinetta_video.so ./usr/lib/kinetta/help.htm \
    ./usr/lib/kinetta/help-en.htm ./usr/lib/kinetta/translations/kinetta_en.qm \
    "./usr/bin/kinetta -> ../lib/kinetta/kinetta" \
    "./usr/bin/kinetta-render -> ../lib/kinetta/kinetta-render" \
    ./usr/share/applications/kinetta.desktop \
    ./usr/share/icons/hicolor/scalable/apps/kinetta.svg \
    ./usr/share/man/man1/kinetta.1.gz ./usr/share/man/man1/kinetta-render.1.gz \
    ./usr/share/metainfo/io.github.kinetta.Kinetta.metainfo.xml; do
  grep -qxF -- "$path" <<<"$contents" || fail "missing: $path"
done
# Nothing outside /usr, and no cache that belongs to the system (dpkg's triggers refresh those).
grep -v '^\./usr/' <<<"$contents" | grep -vx '\./' && fail "files outside /usr"
grep -E 'mimeinfo.cache|icon-theme.cache' <<<"$contents" && fail "a system cache is packaged"

control=$(dpkg-deb -f "$deb")
[[ $(dpkg-deb -f "$deb" Package) == kinetta ]] || fail "package name"
[[ $(dpkg-deb -f "$deb" Architecture) == amd64 ]] || fail "architecture"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6widgets6 libqt6gui6 libqt6core6 libavcodec libwebp7 libheif1 libc6 \
    qt6-qpa-plugins; do
  grep -q "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
done

dpkg-deb -x "$deb" "$work/root"
grep -qx 'Exec="/usr/lib/kinetta/kinetta" %f' "$work/root/usr/share/applications/kinetta.desktop" ||
  fail "the desktop entry does not start /usr/lib/kinetta/kinetta"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$work/root/usr/share/applications/kinetta.desktop" || fail "desktop entry"
fi
appstreamcli validate --no-net --pedantic \
  "$work/root/usr/share/metainfo/io.github.kinetta.Kinetta.metainfo.xml" >"$work/as.log" 2>&1 ||
  { cat "$work/as.log" >&2; fail "AppStream file refused"; }
for page in kinetta kinetta-render; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l \
    "$work/root/usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
  [[ -z $warnings ]] || fail "$page.1: $warnings"
done
"$work/root/usr/lib/kinetta/kinetta-render" --version >/dev/null || fail "kinetta-render --version"

[[ $faults -eq 0 ]] || { echo "$faults fault(s) in $deb" >&2; echo "$control" >&2; exit 1; }
echo "$(basename "$deb"): contents, entry, AppStream file, manual pages and dependencies right"
