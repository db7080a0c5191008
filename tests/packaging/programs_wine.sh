#!/usr/bin/env bash
# The Windows programs under Wine as a user works them, through the real
# message loop: keys typed with xdotool on the display Wine draws on.
#   tests/packaging/programs_wine.sh BIN_FOLDER SAMPLES_FOLDER [SCREENSHOT_FOLDER]
# The viewer shows the sample card and walks its pages (Ctrl+Tab), shows
# About on F1, then leaves with Ctrl+Q. The maker shows its splash, then About
# from the system menu (Alt+Space, A), takes a company name typed
# on the Company page, saves the card with Ctrl+S through the system's Save
# dialog, and on Ctrl+Q asks whether to save the change typed after that
# (answered No). With a third argument each window and page is saved there as
# windows-*.png. Runs in the Wine prefix of WINEPREFIX, on DISPLAY.
set -uo pipefail
bin=$(cd "$1" && pwd)
samples=$(cd "$2" && pwd)
shots=${3:-}
export WINEDEBUG=-all
failures=0
fail() {
  echo "programs: FAILED: $*"
  failures=$((failures + 1))
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The id of the visible window whose name matches, once it is there.
window_named() {
  for _ in $(seq 1 120); do
    local id
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -n 1)
    if [[ -n "$id" ]]; then
      echo "$id"
      return 0
    fi
    sleep 0.25
  done
  return 1
}
# The visible window of the program's class that has no name, once it is there.
uncaptioned_of() {
  for _ in $(seq 1 120); do
    for w in $(xdotool search --onlyvisible --class "$1" 2>/dev/null); do
      if [[ -z "$(xdotool getwindowname "$w" 2>/dev/null)" ]]; then
        echo "$w"
        return 0
      fi
    done
    sleep 0.1
  done
  return 1
}
gone() {
  for _ in $(seq 1 80); do
    if ! kill -0 "$1" 2>/dev/null; then return 0; fi
    sleep 0.25
  done
  return 1
}
shoot() {
  [[ -n "$shots" ]] || return 0
  sleep 0.5
  import -window "$1" "$shots/windows-$2.png" 2>/dev/null || fail "no screenshot of $2"
}
keys() {
  xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus --sync "$1" 2>/dev/null
  shift
  xdotool key --delay 80 "$@"
  sleep 0.4
}

[[ -n "$shots" ]] && mkdir -p "$shots"
cp "$samples/sample.ovt" "$work/sample.ovt"

# The viewer: every page of the sample card, then Ctrl+Q.
wine "$bin/ovview.exe" "$(winepath -w "$work/sample.ovt" 2>/dev/null)" &
viewer=$!
if id=$(window_named "Norvane Ovlet Viewer"); then
  for page in image summary information; do
    shoot "$id" "viewer-$page"
    keys "$id" ctrl+Tab
  done
  # F1 is About where the program has no manual.
  keys "$id" F1
  if about=$(window_named "^About Ovlet Viewer$"); then
    shoot "$about" "about-viewer"
    keys "$about" Escape
  else
    fail "F1 showed no About in the viewer"
  fi
  keys "$id" ctrl+q
  gone $viewer || fail "the viewer did not end on Ctrl+Q"
else
  fail "the viewer showed no window"
fi
kill $viewer 2>/dev/null

# The maker: splash, typing, Save, and the question before it ends.
wine "$bin/ovmake.exe" &
maker=$!
# The splash first: the maker's window without a caption.
if splash=$(uncaptioned_of ovmake); then
  shoot "$splash" "splash"
else
  fail "the maker showed no splash"
fi
if id=$(window_named "Norvane Ovlet Maker"); then
  # The card window stands behind the splash for its three seconds.
  sleep 4
  id=$(window_named "Norvane Ovlet Maker")
  shoot "$id" "maker-image"
  # About ends the system menu, before the card's three commands (Wine puts
  # an "About Wine" of its own before it: a letter would not tell them apart).
  # Up from the first entry turns round to the last.
  keys "$id" alt+space Up Up Up Up Return
  if about=$(window_named "^About Ovlet Maker$"); then
    shoot "$about" "about-maker"
    keys "$about" Escape
  else
    fail "the system menu's About showed no About in the maker"
  fi
  keys "$id" ctrl+Tab
  sleep 0.3
  xdotool type --delay 60 "Wine Test Ltd"
  shoot "$id" "maker-company"
  keys "$id" ctrl+Tab
  shoot "$id" "maker-contact"
  keys "$id" ctrl+Tab
  shoot "$id" "maker-information"
  keys "$id" ctrl+s
  if save=$(window_named "Save As|Save"); then
    # The dialog fills its name field ("Untitled") after it shows.
    sleep 2
    # Without a window manager a new window does not take the keyboard by itself.
    xdotool windowfocus --sync "$save" 2>/dev/null
    xdotool type --delay 40 "$(winepath -w "$work/typed.ovt" 2>/dev/null)"
    xdotool key Return
    for _ in $(seq 1 40); do
      [[ -s "$work/typed.ovt" ]] && break
      sleep 0.25
    done
    [[ -s "$work/typed.ovt" ]] || fail "Ctrl+S wrote no card"
    grep -q "Wine Test Ltd" "$work/typed.ovt" || fail "the saved card lacks the company typed"
  else
    fail "Ctrl+S showed no Save dialog"
  fi
  keys "$id" ctrl+Tab ctrl+Tab
  xdotool type --delay 60 " again"
  keys "$id" ctrl+q
  if question=$(window_named "^Ovlet Maker$"); then
    shoot "$question" "maker-save-question"
    xdotool windowfocus --sync "$question" 2>/dev/null
    xdotool key n
  fi
  gone $maker || fail "the maker did not end after No"
else
  fail "the maker showed no window"
fi
kill $maker 2>/dev/null

if ((failures)); then
  echo "programs: $failures check(s) failed"
  exit 1
fi
echo "programs: the viewer and the maker work by keyboard under Wine"
