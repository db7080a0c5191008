#!/usr/bin/env bash
# The Windows installer under Wine, as a user runs it silently: it installs
# for the user alone, registers what it says, and its uninstaller takes away
# exactly that — a file the user put in the program's folder stays.
#   tests/packaging/installer_wine.sh out/windows/ovlet-X.Y.Z-setup.exe
# Runs in the Wine prefix of WINEPREFIX (scripts/test-windows makes one).
set -uo pipefail
setup=$1
export WINEDEBUG=-all
failures=0
fail() {
  echo "installer: FAILED: $*"
  failures=$((failures + 1))
}

has_key() { wine reg query "$1" >/dev/null 2>&1; }
value_of() {
  # The value's data: the last field of its line ("name  REG_SZ  data").
  wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}
# The uninstaller copies itself away and returns at once: wait for its work.
wait_for() {
  for _ in $(seq 1 120); do
    if "$@"; then return 0; fi
    sleep 0.5
  done
  return 1
}

folder='C:\ovlet-installed'
unix_folder=$(winepath -u "$folder" 2>/dev/null | tr -d '\r')
menu=$(winepath -u "$(wine cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')" 2>/dev/null)/Microsoft/Windows/Start\ Menu/Programs/Ovlet
classes='HKCU\Software\Classes'
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Ovlet'
had_type=0
if has_key "$classes\\.ovt"; then had_type=1; fi

# /D is the folder, last and unquoted, as the installers of this kind take it.
if ! wine "$setup" /S "/D=$folder"; then fail "the installer exited with an error"; fi
wait_for test -f "$unix_folder/uninstall.exe" || fail "no uninstaller in $unix_folder"
[[ -f "$unix_folder/ovlet.exe" ]] || fail "ovlet.exe not installed"
version=$(wine "$unix_folder/ovlet.exe" --version 2>/dev/null | tr -d '\r')
[[ -n "$version" ]] || fail "the installed ovlet.exe does not run"
[[ "$(value_of 'HKCU\Software\Ovlet' InstallDir)" == "$folder" ]] || fail "the install folder is not recorded"
[[ "$(value_of "$uninstall_key" DisplayName)" == "Ovlet" ]] || fail "not listed among the installed programs"
[[ "$(value_of "$uninstall_key" UninstallString)" == "\"$folder\\uninstall.exe\"" ]] ||
  fail "the uninstall command is not the installed uninstaller"
# The uninstaller's entry, in the language the installer chose.
compgen -G "$menu/*Ovlet.lnk" >/dev/null || compgen -G "$menu/Ovlet *.lnk" >/dev/null ||
  fail "no Start-menu entry in $menu"
for program in ovmake ovview; do
  if [[ -f "$(dirname "$setup")/bin/$program.exe" ]]; then
    [[ -f "$unix_folder/$program.exe" ]] || fail "$program.exe not installed"
  fi
done
if [[ -f "$unix_folder/ovview.exe" ]]; then
  wine reg query "$classes\\.ovt" /ve 2>/dev/null | grep -q "Ovlet.Card" || fail "the card type is not registered"
  [[ -f "$menu/Ovlet Viewer.lnk" ]] || fail "no Start-menu entry for the viewer"
fi
if [[ -f "$unix_folder/ovmake.exe" ]]; then
  [[ -f "$unix_folder/data/ovmake-help.html" && -f "$unix_folder/data/ovmake-help_de.html" ]] ||
    fail "the maker's manual is not installed"
  wine reg query "$classes\Ovlet.Card\shell\edit\command" /ve 2>/dev/null | grep -q "ovmake.exe" ||
    fail "Edit does not open the maker"
fi
# The card type's open command hands the card to the viewer.
if [[ -f "$unix_folder/ovview.exe" ]]; then
  wine reg query "$classes\\Ovlet.Card\\shell\\open\\command" /ve 2>/dev/null | grep -q 'ovview.exe" "%1"' ||
    fail "opening a card does not start the viewer"
fi

# What the user keeps in the folder is theirs.
echo "mine" >"$unix_folder/notes.txt"
wine "$unix_folder/uninstall.exe" /S || fail "the uninstaller exited with an error"
wait_for bash -c "! wine reg query '$uninstall_key' >/dev/null 2>&1" || fail "the program is still listed"
wait_for test ! -f "$unix_folder/uninstall.exe" || fail "the uninstaller is still there"
for program in ovlet ovmake ovview; do
  [[ ! -f "$unix_folder/$program.exe" ]] || fail "$program.exe left behind"
done
[[ "$(cat "$unix_folder/notes.txt" 2>/dev/null)" == "mine" ]] || fail "the user's own file was removed"
[[ ! -d "$unix_folder/data" ]] || fail "the manual's folder is left behind"
[[ ! -d "$menu" ]] || fail "the Start-menu folder is left behind"
! has_key 'HKCU\Software\Ovlet' || fail "the program's settings key is left behind"
! has_key "$classes\\Ovlet.Card" || fail "the card type's key is left behind"
if ((had_type == 0)); then
  ! has_key "$classes\\.ovt" || fail "the .ovt extension is left behind"
fi
rm -rf "$unix_folder"

if ((failures > 0)); then
  echo "installer: $failures check(s) failed"
  exit 1
fi
echo "installer: installs for the user and uninstalls cleanly (${version})"
