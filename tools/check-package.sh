#!/usr/bin/env bash
# Builds the Debian package in a configured build folder and checks it: the
# files a user needs are in it, under /usr, with the desktop entry pointing at
# the installed window; its Depends name the libraries the programs link; and
# apt could install it on this system.
# Usage: tools/check-package.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

rm -f "$build"/quillprint_*.deb
(cd "$build" && cpack -G DEB >cpack.log 2>&1) || { cat "$build/cpack.log" >&2; exit 1; }
deb=$(ls "$build"/quillprint_*.deb)
echo "check-package: $deb"

fail() { echo "check-package: $*" >&2; exit 1; }

contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for path in ./usr/bin/quillprint ./usr/bin/quillprint-cli \
  ./usr/share/quillprint/Quillprint.pdf ./usr/share/quillprint/Examples/Tutorial/Unknown/Letter.txt \
  ./usr/share/quillprint/Examples/FederalistShort/Unknown/ ./usr/share/quillprint/quillprint-each.slurm \
  ./usr/share/applications/quillprint.desktop ./usr/share/icons/hicolor/scalable/apps/quillprint.svg; do
  grep -qxF "$path" <<<"$contents" || fail "the package lacks $path"
done
if grep -q -e '^\./usr/local' -e '^\./usr/lib/quillprint' -e '_tests' -e 'bench' <<<"$contents"; then
  fail "the package holds files that are not for users"
fi

entry=$(dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/applications/quillprint.desktop)
grep -qx 'Exec=/usr/bin/quillprint' <<<"$entry" || fail "the desktop entry does not start /usr/bin/quillprint"
maintainer=$(dpkg-deb -f "$deb" Maintainer)
grep -q 'Quillprint' <<<"$maintainer" || fail "the maintainer field does not name the project: $maintainer"

depends=$(dpkg-deb -f "$deb" Depends)
echo "check-package: Depends: $depends"
for library in libc6 'libstdc\+\+6' 'libicu[0-9]+' libqt6core6 libqt6gui6 libqt6widgets6 libqt6svg6; do
  grep -Eq "(^|, )$library( |,|$)" <<<"$depends" || fail "Depends lacks $library"
done

# Every dependency can be met from this system's package sources.
apt-get install --simulate -q "./$deb" >/dev/null || fail "apt cannot install the package"
echo "check-package: ok"
