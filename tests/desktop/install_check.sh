#!/usr/bin/env bash
# Installs into a scratch prefix and checks what a desktop needs: valid
# launchers, a parsable card type, icons, data files; then builds the Debian
# package and checks its file list.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

for f in ovmake ovview; do
  desktop-file-validate "$prefix/share/applications/$f.desktop"
  test -x "$prefix/bin/$f"
  test -f "$prefix/share/icons/hicolor/48x48/apps/$f.png"
done
test -x "$prefix/bin/ovlet"
test -f "$prefix/share/ovlet/maker.jpg"
test -f "$prefix/share/ovlet/ovmake-help.html"
test -f "$prefix/share/icons/hicolor/48x48/mimetypes/application-x-ovlet-card.png"

# The card type parses and names the *.ovt glob.
update-mime-database "$prefix/share/mime" >/dev/null 2>&1
grep -q '^[0-9]*:application/x-ovlet-card:\*\.ovt$' "$prefix/share/mime/globs2"
grep -q 'application/x-ovlet-card=ovview.desktop;ovmake.desktop;' "$prefix/share/applications/mimeapps.list"

# The Debian package holds the same files.
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls -t "$build"/ovlet_*.deb | head -n 1)
contents=$(dpkg-deb -c "$deb")
for path in ./usr/bin/ovmake ./usr/bin/ovview ./usr/bin/ovlet ./usr/share/applications/ovmake.desktop \
            ./usr/share/applications/ovview.desktop ./usr/share/mime/packages/ovlet-card.xml \
            ./usr/share/ovlet/maker.jpg ./usr/share/ovlet/ovmake-help.html \
            ./usr/share/icons/hicolor/256x256/apps/ovmake.png; do
  grep -q " $path\$" <<<"$contents" || { echo "package lacks $path"; exit 1; }
done
depends=$(dpkg-deb -f "$deb" Depends)
grep -q 'libqt6widgets6' <<<"$depends" || { echo "package does not depend on Qt: $depends"; exit 1; }
echo "install check passed: $deb"
