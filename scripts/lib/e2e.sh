# shellcheck shell=bash
# Helpers for driving the real program as a user does: X events from xdotool,
# screenshots of the whole screen, and what the pixels show. Sourced by the
# end-to-end tests, the screenshot script and the benches. start_screen makes
# the private screen and its window manager; every wait below waits for what
# the step before it brings about, with a generous deadline.

# This folder, wherever the sourcing script lives.
E2E_LIB=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# The exact text reader, built with the tests beside the program.
SCREEN_TEXT=${TRELVANE_SCREEN_TEXT:-$E2E_LIB/../../build/trelvane-screen-text}

# Where screenshots and crops go; kept for a person to look at.
: "${ARTIFACTS:?ARTIFACTS must name a folder}"
mkdir -p "$ARTIFACTS"
# Absolute, so that a script may change folders or start the program elsewhere.
ARTIFACTS=$(realpath "$ARTIFACTS")
export ARTIFACTS

fail() {
  echo "FAILED: $*" >&2
  exit 1
}

# wait_for SECONDS COMMAND...: runs COMMAND until it succeeds or time is up.
wait_for() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.2
  done
}

# The main window's client area on the screen, once the window manager has
# taken it in: it places a window before giving it the focus, so the focus
# says that the place read here is final.
find_main_window() {
  wait_for 30 xdotool search --onlyvisible --name '^Trelvane 2\.0$' >/dev/null || fail "main window not shown"
  MAIN_WINDOW=$(xdotool search --onlyvisible --name '^Trelvane 2\.0$' | head -n 1)
  wait_for 20 has_focus "$MAIN_WINDOW" || fail "the main window never gets the focus"
  local info
  info=$(xwininfo -id "$MAIN_WINDOW")
  ORIGIN_X=$(awk '/Absolute upper-left X/ {print $4}' <<<"$info")
  ORIGIN_Y=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$info")
  WINDOW_WIDTH=$(awk '/Width:/ {print $2}' <<<"$info")
  WINDOW_HEIGHT=$(awk '/Height:/ {print $2}' <<<"$info")
  start_bus_reader "$(xdotool getwindowpid "$MAIN_WINDOW")"
}

# has_focus WINDOW: WINDOW has the keyboard focus.
has_focus() {
  [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]
}

# click X Y: a left click at client coordinates of the main window.
click() {
  # A move with --sync to where the pointer already is waits 15 s for a
  # motion that never comes: move beside the spot first, in the same call.
  xdotool mousemove $((ORIGIN_X + $1 + 1)) $((ORIGIN_Y + $2 + 1)) \
    mousemove --sync $((ORIGIN_X + $1)) $((ORIGIN_Y + $2)) click 1
}

# shot NAME: a screenshot of the whole screen as $ARTIFACTS/NAME.png.
shot() {
  import -window root "$ARTIFACTS/$1.png"
}

# crop NAME FROM X Y W H: part of screenshot FROM at client coordinates.
crop() {
  convert "$ARTIFACTS/$2.png" -crop "$5x$6+$((ORIGIN_X + $3))+$((ORIGIN_Y + $4))" +repage \
    "$ARTIFACTS/$1.png"
}

# differing_pixels A B: how many pixels of two crops differ.
differing_pixels() {
  compare -metric AE "$ARTIFACTS/$1.png" "$ARTIFACTS/$2.png" null: 2>&1 || true
}

# pin_fonts: the one font the tests install, with fixed rendering settings,
# for the program and the readers alike, so that the readers can render the
# window's text pixel for pixel.
pin_fonts() {
  export FONTCONFIG_FILE="$E2E_LIB/fonts.conf"
  export XDG_CACHE_HOME="$ARTIFACTS/cache" XDG_RUNTIME_DIR="$ARTIFACTS/runtime"
  # A runtime folder of this run's own: the buses' sockets of a run before
  # may belong to another user.
  rm -rf "$XDG_RUNTIME_DIR"
  mkdir -p "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
}

# start_screen: a private virtual screen with a window manager, so that the
# test neither depends on nor disturbs the desktop it is started from.
start_screen() {
  pin_fonts
  local fifo
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -br -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  SCREEN_PID=$!
  local number
  # Xvfb writes its number once it takes clients.
  read -r number <"$fifo"
  rm -f "$fifo"
  export DISPLAY=":$number"
  openbox >"$ARTIFACTS/window-manager.log" 2>&1 &
  WM_PID=$!
  wait_for 30 wm_ready || fail "the window manager did not start: $(tail -n 2 "$ARTIFACTS/window-manager.log")"
  start_accessibility_bus
}

# start_accessibility_bus: a D-Bus session bus of the screen's own, and on it
# the accessibility bus a screen reader listens to, up before the program
# starts so that Qt finds it; Qt then always speaks on it. Both buses take
# only their owner (and root, the accessibility bus): with BUS_USER set, for
# a program that runs as that user, they are that user's, and the reader
# (root) goes to the accessibility bus directly.
start_accessibility_bus() {
  local address as=()
  if [ -n "${BUS_USER:-}" ]; then
    as=(setpriv --reuid="$(id -u "$BUS_USER")" --regid="$(id -g "$BUS_USER")" --clear-groups --)
    # The accessibility bus's socket goes into the runtime folder.
    chown "$BUS_USER" "$XDG_RUNTIME_DIR"
  fi
  { read -r address && read -r SESSION_BUS_PID; } < <("${as[@]}" dbus-daemon --session --fork --print-address=1 --print-pid=1)
  export DBUS_SESSION_BUS_ADDRESS=$address
  export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
  address=$("${as[@]}" gdbus call --session --dest org.a11y.Bus --object-path /org/a11y/bus \
    --method org.a11y.Bus.GetAddress) || fail "no accessibility bus"
  address=${address#*\'}
  A11Y_BUS_ADDRESS=${address%%\'*}
  A11Y_LAUNCHER_PID=$("${as[@]}" gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
    --method org.freedesktop.DBus.GetConnectionUnixProcessID org.a11y.Bus | tr -dc 0-9)
}

# wm_ready: a window manager has announced itself. It sets this property on
# the root window once it manages the screen, naming a window of its own that
# carries the same property.
wm_ready() {
  local check
  check=$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | awk '/window id/ {print $NF}')
  [ -n "$check" ] && xprop -id "$check" _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "$check"
}

stop_screen() {
  stop_bus_reader
  # The launcher ends the accessibility bus and its registry with itself.
  kill "${A11Y_LAUNCHER_PID:-}" "${SESSION_BUS_PID:-}" "${WM_PID:-}" "${SCREEN_PID:-}" 2>/dev/null || true
}

# start_program COMMAND...: a private screen, COMMAND started on it with its
# output kept in the artefacts, and its main window found once it has the
# focus. Sets program_pid. On exit the program is killed and the screen
# stopped, after the script's own `before_exit` when it defines one.
start_program() {
  start_screen
  "$@" >"$ARTIFACTS/program.log" 2>&1 &
  program_pid=$!
  trap end_program_and_screen EXIT
  find_main_window
}

end_program_and_screen() {
  if declare -F before_exit >/dev/null; then
    before_exit || true
  fi
  kill "${program_pid:-}" 2>/dev/null || true
  stop_screen
}

# close_program PID: closes the main window as a user does and waits for
# the program to end.
close_program() {
  wm_ready || fail "the window manager is gone: $(tail -n 2 "$ARTIFACTS/window-manager.log")"
  wmctrl -c 'Trelvane 2.0'
  wait_for 10 bash -c "! kill -0 $1 2>/dev/null" || fail "the program did not end on close"
}

# The main window's own controls, dialogs and message boxes; what the
# pixels and the accessibility bus say of them.
# shellcheck source=e2e-form.sh
source "$E2E_LIB/e2e-form.sh"
# shellcheck source=e2e-read.sh
source "$E2E_LIB/e2e-read.sh"
