#!/usr/bin/env bash
# The Windows installer under Wine, as a user runs it silently: it installs
# for the user alone, registers what it says (a card opened through its type
# starts the installed viewer with the card), and its uninstaller takes away
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

cards=$(mktemp -d)
trap 'rm -rf "$cards"' EXIT
cp "$(dirname "$0")/../../samples/sample.ovt" "$cards/opened card.ovt"
# Runs the rest of the line, which should start the viewer installed in the
# folder named first with the card: its window shows, and it is the viewer of
# that folder, given that card. Then closes it as a user does.
opens_in_viewer() {
  local installed=$1 shown=""
  shift
  "$@" >/dev/null 2>&1 &
  for _ in $(seq 1 120); do
    shown=$(xdotool search --onlyvisible --name "Norvane Ovlet Viewer" 2>/dev/null | tail -n 1)
    [[ -n "$shown" ]] && break
    sleep 0.25
  done
  if [[ -z "$shown" ]]; then
    fail "opening a card ($*) shows no viewer"
  elif ! pgrep -af "$installed.ovview\\.exe.*opened card\\.ovt" >/dev/null; then
    fail "the viewer started for the card ($*) is not the one in $installed, or was not given the card"
  fi
  if [[ -n "$shown" ]]; then
    # (Without a window manager, a window takes the keyboard by focus alone.)
    xdotool windowactivate --sync "$shown" 2>/dev/null || xdotool windowfocus --sync "$shown" 2>/dev/null
    xdotool key ctrl+q
  fi
  wait_for bash -c "! pgrep -f '$installed.ovview\\.exe' >/dev/null" || pkill -f "$installed.ovview\\.exe"
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
  # And it does: the command as the desktop runs it for a card starts the
  # installed viewer with the card. (The desktop's own way, `start`, reads
  # only the machine's classes in this Wine: see the install for every user.)
  command=$(wine reg query "$classes\\Ovlet.Card\\shell\\open\\command" /ve 2>/dev/null | tr -d '\r' |
    sed -n 's/^ *(Default) *REG_SZ *//p')
  card_w=$(winepath -w "$cards/opened card.ovt" 2>/dev/null)
  # The command's program and its argument, as the shell splits them.
  program_w=$(sed -n 's/^"\([^"]*\)" "%1"$/\1/p' <<<"$command")
  [[ -n "$program_w" ]] || fail "the open command is not the program and the card: $command"
  opens_in_viewer "ovlet-installed" wine "$program_w" "$card_w"
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

# For every user (/ALLUSERS, as an administrator, which Wine's user is): the
# machine's keys, and a card opened the desktop's way starts the viewer.
folder='C:\ovlet-machine'
unix_folder=$(winepath -u "$folder" 2>/dev/null | tr -d '\r')
machine_classes='HKLM\Software\Classes'
machine_uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Ovlet'
if ! wine "$setup" /S /ALLUSERS "/D=$folder"; then fail "the installer for every user exited with an error"; fi
wait_for test -f "$unix_folder/uninstall.exe" || fail "no uninstaller in $unix_folder"
[[ "$(value_of 'HKLM\Software\Ovlet' InstallDir)" == "$folder" ]] || fail "the machine's install folder is not recorded"
[[ "$(value_of "$machine_uninstall" DisplayName)" == "Ovlet" ]] || fail "not listed among the machine's programs"
! has_key "$uninstall_key" || fail "an install for every user is listed as the user's own"
machine_menu=$(winepath -u "$(wine cmd /c echo %ProgramData% 2>/dev/null | tr -d '\r')" 2>/dev/null)/Microsoft/Windows/Start\ Menu/Programs/Ovlet
compgen -G "$machine_menu/*.lnk" >/dev/null || fail "no Start-menu entry for every user in $machine_menu"
if [[ -f "$unix_folder/ovview.exe" ]]; then
  wine reg query "$machine_classes\\.ovt" /ve 2>/dev/null | grep -q "Ovlet.Card" ||
    fail "the card type is not registered for every user"
  opens_in_viewer "ovlet-machine" wine start /unix "$cards/opened card.ovt"
fi
wine "$unix_folder/uninstall.exe" /S || fail "the uninstaller for every user exited with an error"
wait_for bash -c "! wine reg query '$machine_uninstall' >/dev/null 2>&1" || fail "the program is still listed for the machine"
wait_for test ! -f "$unix_folder/uninstall.exe" || fail "the machine's uninstaller is still there"
! has_key 'HKLM\Software\Ovlet' || fail "the machine's settings key is left behind"
! has_key "$machine_classes\\Ovlet.Card" || fail "the machine's card type key is left behind"
[[ ! -d "$unix_folder" ]] || fail "the machine's program folder is left behind"
[[ ! -d "$machine_menu" ]] || fail "the Start-menu folder for every user is left behind"

if ((failures > 0)); then
  echo "installer: $failures check(s) failed"
  exit 1
fi
echo "installer: installs for the user and for every user, opens cards in the viewer, and uninstalls cleanly (${version})"
