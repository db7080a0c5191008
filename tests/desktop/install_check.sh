#!/usr/bin/env bash
# Installs into a scratch prefix and checks what a desktop needs (valid
# launchers, a parsable card type, the viewer as the default for cards, icons,
# data files, manual pages); then builds the Debian package and checks its
# file list, lintian's verdict and the hardening of its programs.
set -euo pipefail
build=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
prefix=$scratch/usr
fail() { echo "install check: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null

viewer=app.ovlet.Card.desktop
maker=app.ovlet.CardMaker.desktop
for f in $viewer $maker; do desktop-file-validate "$prefix/share/applications/$f"; done
for f in ovmake ovview ovlet; do test -x "$prefix/bin/$f" || fail "no program $f"; done
for f in ovmake ovview; do
  test -f "$prefix/share/icons/hicolor/48x48/apps/$f.png" || fail "no icon for $f"
done
test -f "$prefix/share/ovlet/maker.jpg" || fail "no splash picture"
test -f "$prefix/share/ovlet/ovmake-help.html" || fail "no help"
test -f "$prefix/share/doc/ovlet/ovmake-help.html" || fail "the documents' link to the help leads nowhere"
test -f "$prefix/share/icons/hicolor/48x48/mimetypes/application-x-ovlet-card.png" || fail "no card icon"
# The system owns mimeapps.list; a package that ships one clashes with it.
test ! -e "$prefix/share/applications/mimeapps.list" || fail "installs share/applications/mimeapps.list"

# The card type parses and names the *.ovt glob.
update-mime-database "$prefix/share/mime" >/dev/null 2>&1
grep -q '^[0-9]*:application/x-ovlet-card:\*\.ovt$' "$prefix/share/mime/globs2" || fail "no *.ovt glob"

# A double click on a card opens the viewer; the maker is offered too. Asked as
# a desktop would, with only the scratch install in the search path: first
# without a desktop database (InitialPreference decides), then with one.
xdg() {
  env -i HOME="$scratch/home" PATH="$prefix/bin:/usr/bin:/bin" XDG_DATA_HOME="$scratch/home/.local/share" \
    XDG_CONFIG_HOME="$scratch/home/.config" XDG_CONFIG_DIRS="$scratch/etc/xdg" XDG_DATA_DIRS="$prefix/share" "$@"
}
mkdir -p "$scratch/home"
default=$(xdg xdg-mime query default application/x-ovlet-card)
[[ $default == "$viewer" ]] || fail "default for cards without a desktop database: '$default'"
update-desktop-database "$prefix/share/applications"
grep -q "^application/x-ovlet-card=$viewer;$maker;\$" "$prefix/share/applications/mimeinfo.cache" ||
  fail "desktop database: $(grep ovlet-card "$prefix/share/applications/mimeinfo.cache")"
default=$(xdg xdg-mime query default application/x-ovlet-card)
[[ $default == "$viewer" ]] || fail "default for cards: '$default'"
gio=$(xdg gio mime application/x-ovlet-card)
grep -q "^Default application for .*: $viewer\$" <<<"$gio" || fail "GLib's default for cards: $gio"
grep -q "^	$maker\$" <<<"$gio" || fail "GLib does not offer the maker: $gio"
rm -f "$prefix/share/applications/mimeinfo.cache"

# Manual pages: compressed, free of formatter warnings, one for each program;
# ovlet's documents every command its --help lists and every exit code.
for page in ovlet ovmake ovview; do
  gz="$prefix/share/man/man1/$page.1.gz"
  gzip -t "$gz" || fail "$page.1.gz is not gzip"
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$gz" 2>&1 >/dev/null)
  [[ -z $warnings ]] || fail "$page.1: $warnings"
done
ovlet_page=$(MANWIDTH=200 man -l "$prefix/share/man/man1/ovlet.1.gz" 2>/dev/null)
commands=$("$prefix/bin/ovlet" --help |
  awk '/^(Sub)?[Cc]ommands:/ {on = 1; next} on && /^$/ {on = 0} on && /^  [a-z]/ {print $1}' | sort -u)
[[ -n $commands ]] || fail "ovlet --help lists no commands"
for command in $commands; do
  grep -q "ovlet $command " <<<"$ovlet_page" || fail "ovlet.1 does not document 'ovlet $command'"
done
for code in 0 1 2 3 4; do
  sed -n '/^EXIT STATUS/,/^EXAMPLES/p' <<<"$ovlet_page" | grep -q "^ *$code  " || fail "ovlet.1 lacks exit status $code"
done
# The programs answer --help from the install, where nothing points back into
# the build folder, and without a display.
for f in ovmake ovview ovlet; do
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/$f" --help >/dev/null ||
    fail "installed $f --help failed"
done

# The Debian package holds the same files.
(cd "$build" && cpack -G DEB >/dev/null)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
deb="$build/ovlet_${version}_$(dpkg --print-architecture).deb"
test -f "$deb" || fail "no package $deb"
contents=$(dpkg-deb -c "$deb")
paths=(./usr/bin/ovmake ./usr/bin/ovview ./usr/bin/ovlet
       ./usr/share/applications/$viewer ./usr/share/applications/$maker
       ./usr/share/mime/packages/ovlet-card.xml ./usr/share/ovlet/maker.jpg ./usr/share/ovlet/ovmake-help.html
       ./usr/share/icons/hicolor/256x256/apps/ovmake.png
       ./usr/share/man/man1/ovlet.1.gz ./usr/share/man/man1/ovmake.1.gz ./usr/share/man/man1/ovview.1.gz
       ./usr/share/doc/ovlet/copyright ./usr/share/doc/ovlet/changelog.gz)
bash -n "$prefix/share/bash-completion/completions/ovlet" || fail "no bash completion, or it does not parse"
paths+=(./usr/share/bash-completion/completions/ovlet)
for path in "${paths[@]}"; do
  grep -q " $path\$" <<<"$contents" || fail "package lacks $path"
done
! grep -q 'mimeapps\.list' <<<"$contents" || fail "package ships a mimeapps.list"
depends=$(dpkg-deb -f "$deb" Depends)
grep -q 'libqt6widgets6' <<<"$depends" || fail "package does not depend on Qt: $depends"

# The package's documents: machine-readable copyright, and a changelog whose
# latest entry is this version.
unpacked=$scratch/unpacked
dpkg-deb -x "$deb" "$unpacked"
head -n 1 "$unpacked/usr/share/doc/ovlet/copyright" |
  grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' || fail "copyright format"
zcat "$unpacked/usr/share/doc/ovlet/changelog.gz" >"$scratch/changelog"
changelog_version=$(dpkg-parsechangelog -l "$scratch/changelog" -S Version)
[[ $changelog_version == "$version" ]] || fail "changelog says $changelog_version, the package is $version"

# Hardening: position-independent, relocations read-only and bound at start,
# stack protector and checked functions linked in, no RUNPATH.
programs=(bin/ovmake bin/ovview bin/ovlet)
if [[ -e $unpacked/usr/libexec/ovlet/ovlet-draw ]]; then programs+=(libexec/ovlet/ovlet-draw); fi
for f in "${programs[@]}"; do
  program=$unpacked/usr/$f
  readelf -h "$program" | grep -q 'Type: *DYN' || fail "$f is not position-independent"
  dynamic=$(readelf -d "$program")
  grep -q '(FLAGS) *BIND_NOW' <<<"$dynamic" || fail "$f is not bound at start"
  grep -q '(FLAGS_1) *Flags: NOW PIE' <<<"$dynamic" || fail "$f: $(grep FLAGS_1 <<<"$dynamic")"
  ! grep -q -E 'RPATH|RUNPATH' <<<"$dynamic" || fail "$f has a RUNPATH"
  readelf -lW "$program" | grep -q GNU_RELRO || fail "$f has no RELRO segment"
  symbols=$(readelf --dyn-syms -W "$program")
  grep -q '__stack_chk_fail' <<<"$symbols" || fail "$f has no stack protector"
  grep -q -E '__[a-z]+_chk' <<<"$symbols" || fail "$f uses no checked functions"
done

# lintian: no error and no warning (information lines are allowed).
status=0
verdict=$(lintian --fail-on error,warning "$deb" 2>&1) || status=$?
if ((status != 0)) || grep -E '^[EW]: ' <<<"$verdict"; then
  echo "$verdict" >&2
  fail "lintian complains (exit status $status)"
fi
echo "install check passed: $deb"
