#!/usr/bin/env bash
# Package test: builds the Debian package from a built tree, unpacks it into
# a scratch root and checks it as a user's machine would see it.
#
#   tests/package/package_test.sh [BUILD_DIR]     (default: build)
#
# BUILD_DIR must be a plain (not sanitized) build that is up to date; the
# package is made from it with cpack, so no second build is needed. Checks:
# the file name and the computed Depends; every program of BUILD_DIR/bin that
# the package ships, with its manual page rendering cleanly; the unpacked
# veltra-info, veltra-export (frames and a movie) and veltra-plot running on
# an installed sample; the desktop entries and the metainfo passing their
# validators; the Explorer's file type recognising the result files and the
# Explorer starting on a sample; the icons and samples; the changelog;
# lintian with no tag left but the informational ones
# packaging/lintian-explained explains.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
scratch="$(mktemp -d "${TMPDIR:-/tmp}/veltra-package-test.XXXXXX")"
trap 'rm -rf "$scratch"' EXIT
export QT_QPA_PLATFORM=offscreen

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
die() { echo "FAIL: $*" >&2; exit 1; }
step() { echo "--- $* (at ${SECONDS}s)"; }

for tool in cpack dpkg-deb desktop-file-validate appstreamcli man file readelf lintian update-mime-database gio; do
  command -v "$tool" >/dev/null || die "$tool is not installed (scripts/setup.sh installs it)"
done
[ -f "$build/CPackConfig.cmake" ] || die "$build is not a configured build with packaging rules"

step "cpack"
cpack --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1 ||
  { cat "$scratch/cpack.log" >&2; die "cpack failed"; }
version="$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")"
deb="$scratch/out/veltra_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || die "no $(basename "$deb") among: $(cd "$scratch/out" && ls ./*.deb 2>/dev/null)"
echo "$(basename "$deb"): $(du -k "$deb" | cut -f1) KB"

step "control fields"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version is not $version"
depends="$(dpkg-deb -f "$deb" Depends)"
echo "Depends: $depends"
# dpkg-shlibdeps writes versioned entries for the C library and Qt.
for lib in "libc6 (>= " "libqt6core6 (>= " "libqt6gui6 (>= " "libqt6widgets6 (>= " "libstdc++6 (>= "; do
  [[ "$depends" == *"$lib"* ]] || fail "Depends lacks the computed '$lib...'"
done
# Qt's platform plugins load at run time: no library names them.
[[ "$depends" == "qt6-qpa-plugins, "* ]] || fail "Depends lacks qt6-qpa-plugins"
recommends="$(dpkg-deb -f "$deb" Recommends)"
for p in fonts-liberation qt6-wayland; do
  [[ "$recommends" == *"$p"* ]] || fail "Recommends lacks $p"
done

step "lintian"
# Every tag, down to the informational and pedantic ones: none may be left.
lintian --display-info --pedantic --display-experimental "$deb" >"$scratch/lintian.txt" 2>&1 || true
grep -E '^[EWIPX]: ' "$scratch/lintian.txt" >"$scratch/lintian-tags.txt" || true
explained="$(grep -v '^#' "$root/packaging/lintian-explained" | grep . || true)"
while read -r level _ tag word _; do
  if [ "$level" = "I:" ] && grep -qxF "$tag" <<<"$explained"; then
    # A word read from the code, not from a text of ours.
    [ "$tag" = spelling-error-in-binary ] && grep -rqwF "$word" "$root/src" "$root/tools" &&
      fail "lintian: $tag $word, a word of the sources"
    continue
  fi
  fail "lintian: $level $tag $word"
done <"$scratch/lintian-tags.txt"

step "unpack"
r="$scratch/root"
dpkg-deb -x "$deb" "$r"
[ "$(ls "$r")" = "usr" ] || fail "files outside usr/: $(ls "$r")"
# An installed file that names the build tree (a sample's input-file path,
# say) would point at a folder the user's machine does not have.
leaks="$(grep -rlF "$build" "$r" || true)"
[ -z "$leaks" ] || fail "files naming the build folder $build: $leaks"
share="$r/usr/share"

step "programs and manual pages"
programs=()
for p in veltra veltra-export veltra-info veltra-sample veltra-plot veltra-explorer; do
  [ -x "$build/bin/$p" ] && programs+=("$p")
done
[ ${#programs[@]} -ge 4 ] || fail "only ${programs[*]} built in $build/bin"
for p in "${programs[@]}"; do
  [ -x "$r/usr/bin/$p" ] || { fail "usr/bin/$p missing"; continue; }
  if readelf -d "$r/usr/bin/$p" | grep -Eq 'RPATH|RUNPATH'; then fail "$p carries a run path"; fi
  page="$share/man/man1/$p.1.gz"
  [ -f "$page" ] || { fail "manual page of $p missing"; continue; }
  MANWIDTH=80 man --warnings -l "$page" >"$scratch/man.txt" 2>"$scratch/man.err" || fail "man -l $p failed"
  [ -s "$scratch/man.err" ] && fail "man -l $p warns: $(head -3 "$scratch/man.err")"
  grep -q "^NAME" "$scratch/man.txt" && grep -q "^       $p" "$scratch/man.txt" ||
    fail "manual page of $p has no NAME line for $p"
done
extra="$(cd "$r/usr/bin" && ls | grep -vxF -f <(printf '%s\n' "${programs[@]}") || true)"
[ -z "$extra" ] || fail "usr/bin holds programs not built here: $extra"

step "desktop entry and metainfo"
id=org.veltra.Veltra
desktop="$share/applications/$id.desktop"
metainfo="$share/metainfo/$id.metainfo.xml"
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $id.desktop"
appstreamcli validate --no-net --explain "$metainfo" || fail "appstreamcli rejects $id.metainfo.xml"
grep -q "^Exec=veltra$" "$desktop" || fail "the desktop entry does not start veltra"
# A task bar links a window to its entry by the window's class (WM_CLASS
# "veltra", the program's name) and its desktop file name.
grep -q "^StartupWMClass=veltra$" "$desktop" || fail "the desktop entry names no StartupWMClass veltra"
release="$(grep -o '<release version="[^"]*"' "$metainfo" | head -1 | cut -d'"' -f2)"
[ "$release" = "$version" ] || fail "newest metainfo release is '$release', the package is $version"
provided="$(grep -o '<binary>[^<]*</binary>' "$metainfo" | sed 's/<[^>]*>//g' | sort | tr '\n' ' ')"
[ "$provided" = "$(printf '%s\n' "${programs[@]}" | sort | tr '\n' ' ')" ] ||
  fail "metainfo provides '$provided', the package installs '${programs[*]}'"

if [ -x "$r/usr/bin/veltra-explorer" ]; then
  step "the Explorer's desktop entry and file type"
  explorer_id=org.veltra.Explorer
  explorer="$share/applications/$explorer_id.desktop"
  desktop-file-validate "$explorer" || fail "desktop-file-validate rejects $explorer_id.desktop"
  grep -qx "Name=VELTRA Explorer" "$explorer" || fail "the Explorer's entry is not named VELTRA Explorer"
  # A file manager passes the chosen files (%F); the entry offers itself for
  # the result files' own type.
  grep -qx "Exec=veltra-explorer %F" "$explorer" || fail "the Explorer's entry does not start veltra-explorer %F"
  grep -q "^MimeType=.*application/x-tarvek-result;" "$explorer" || fail "the Explorer's entry names no TARVEK type"
  grep -qx "StartupWMClass=veltra-explorer" "$explorer" || fail "the Explorer's entry names no StartupWMClass veltra-explorer"
  [ -f "$share/icons/hicolor/scalable/apps/$explorer_id.svg" ] || fail "the Explorer's icon is missing"
  # The installed type, in a database of its own beside the system's: the
  # result files by name are TARVEK results, not NES ROM images.
  mime="$scratch/xdg/mime"
  mkdir -p "$mime/packages" "$scratch/xdg-home"
  cp /usr/share/mime/packages/freedesktop.org.xml "$share/mime/packages/$explorer_id.xml" "$mime/packages/" ||
    fail "the Explorer's file type is not installed"
  update-mime-database "$mime" >/dev/null 2>&1 || fail "update-mime-database rejects $explorer_id.xml"
  for f in comdin.dat u01.unf el.unf x.unf nei.unf; do
    type="$(XDG_DATA_HOME="$scratch/xdg-home" XDG_DATA_DIRS="$scratch/xdg" \
            gio info -a standard::content-type "$share/veltra/samples/portal/$f" 2>/dev/null |
            sed -n 's/^ *standard::content-type: //p')"
    [ "$type" = application/x-tarvek-result ] || fail "$f is of type '$type', not application/x-tarvek-result"
  done
  # It starts on an installed sample and keeps running until stopped.
  started=0
  QT_QPA_PLATFORM=offscreen HOME="$scratch/xdg-home" timeout 3 "$r/usr/bin/veltra-explorer" \
    "$share/veltra/samples/portal" >"$scratch/explorer.txt" 2>&1 || started=$?
  [ "$started" -eq 124 ] || fail "veltra-explorer ended before it was stopped: $(head -3 "$scratch/explorer.txt")"
fi

step "icons"
[ -f "$share/icons/hicolor/scalable/apps/$id.svg" ] || fail "scalable icon missing"
for icon in "$id" ${explorer_id:-}; do
  for size in 16 32 48 64 128 256; do
    png="$share/icons/hicolor/${size}x${size}/apps/$icon.png"
    file "$png" 2>/dev/null | grep -q "PNG image data, $size x $size," || fail "icon $png is not a ${size}x${size} PNG"
  done
done

step "changelog"
changelog="$share/doc/veltra/changelog.gz"
[ -f "$changelog" ] || fail "changelog.gz missing"
[ "$(zcat "$changelog" | dpkg-parsechangelog -l - -S Version 2>/dev/null)" = "$version" ] ||
  fail "the newest changelog entry is not version $version"

step "samples"
samples="$share/veltra/samples"
for kind in portal space cantilever; do
  for f in comdin.dat x.unf nei.unf u01.unf el.unf; do
    [ -s "$samples/$kind/$f" ] || fail "sample $kind lacks $f"
  done
done

step "veltra-info on an installed sample"
"$r/usr/bin/veltra-info" "$samples/portal" >"$scratch/info.txt" 2>"$scratch/info.err" ||
  fail "veltra-info exits $?: $(head -3 "$scratch/info.err")"
# The title comes from the input file comdin.dat names: found only when that
# name still resolves in the installed folder.
title="$(grep -v '^//' "$samples/portal/portal.dat" | head -1)"
grep -qF "$title" "$scratch/info.txt" || fail "veltra-info does not show the portal sample's title '$title'"

step "veltra-export on an installed sample"
# Few small frames keep this quick; the movie goes through the FFmpeg
# libraries the package depends on.
"$r/usr/bin/veltra-export" "$samples/portal" --quiet --size 320x200 --end-step 40 --step-frequency 10 \
  --out "$scratch/frames" --movie "$scratch/portal.gif" >"$scratch/export.txt" 2>&1 ||
  fail "veltra-export exits $?: $(head -3 "$scratch/export.txt")"
file "$scratch/frames/frame-0000.png" 2>/dev/null | grep -q "PNG image data, 320 x 200," ||
  fail "veltra-export wrote no 320x200 frame-0000.png"
file "$scratch/portal.gif" 2>/dev/null | grep -q "GIF image data, version 89a, 320 x 200" ||
  fail "veltra-export wrote no 320x200 GIF"

if [ -x "$r/usr/bin/veltra-plot" ]; then
  step "veltra-plot on an installed sample"
  "$r/usr/bin/veltra-plot" "$samples/portal" --node 9 --out "$scratch/sway.png" >"$scratch/plot.txt" 2>&1 ||
    fail "veltra-plot exits $?: $(head -3 "$scratch/plot.txt")"
  file "$scratch/sway.png" 2>/dev/null | grep -q "PNG image data" || fail "veltra-plot wrote no PNG"
fi

echo "--- done in ${SECONDS}s"
if [ $failures -gt 0 ]; then
  echo "package test: $failures failure(s)" >&2
  exit 1
fi
echo "package test passed"
