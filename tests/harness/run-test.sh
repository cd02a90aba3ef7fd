#!/usr/bin/env bash
# Runs one test program with a HOME and XDG_RUNTIME_DIR of its own, either on a private
# Xvfb server (mode "xvfb"), on one under the openbox window manager (mode "window-manager"),
# on a private Xvfb server of two monitors side by side, each 1920x1080, under openbox
# (mode "two-monitors"), or on Qt's offscreen platform (mode "offscreen"). A mode ending in "-noshm" runs the test in an IPC namespace of its
# own, so that the X server cannot attach the test's shared memory, as over `ssh -X` or from a
# container.
set -u
mode=$1
shift
separate_ipc=""
case "$mode" in
  *-noshm) mode=${mode%-noshm}; separate_ipc=1 ;;
esac

scratch=$(mktemp -d /tmp/mavu-test.XXXXXX)
xvfb_pid=""
wm_pid=""
cleanup() {
  [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null && wait "$wm_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$scratch"
}
trap cleanup EXIT

export HOME=$scratch/home
export XDG_RUNTIME_DIR=$scratch/runtime
export XDG_CONFIG_HOME=$HOME/.config
# Temporary files go into the scratch folder too, so that they go with it, even those that
# QTemporaryDir cannot remove (names that are not valid in the locale). Like /tmp, it is open
# to the other users that tests run helpers as.
export TMPDIR=$scratch/tmp
# The program's debug lines are off unless MAVU_DEBUG is set; tests read them (secrets never
# reach them, a slot ran), so they are on here.
export MAVU_DEBUG=1
unset XDG_DATA_HOME XDG_CACHE_HOME DBUS_SESSION_BUS_ADDRESS
mkdir -p "$HOME"
mkdir -m 1777 "$TMPDIR" && chmod 711 "$scratch"
mkdir -m 700 "$XDG_RUNTIME_DIR"

start_xvfb() {
  local display_file=$scratch/display
  Xvfb -displayfd 3 -screen 0 "${1:-1920x1080}x24" -noreset -nolisten tcp 3>"$display_file" 2>"$scratch/xvfb.log" &
  xvfb_pid=$!
  for _ in $(seq 1 200); do
    if grep -q '^[0-9]' "$display_file" 2>/dev/null; then
      export DISPLAY=":$(head -n 1 "$display_file")"
      export QT_QPA_PLATFORM=xcb
      return 0
    fi
    sleep 0.05
  done
  echo "Xvfb did not start:" >&2
  cat "$scratch/xvfb.log" >&2
  exit 1
}

# The server's one output becomes the left monitor, a second monitor without output stands
# right of it; -noreset keeps them when xrandr disconnects.
split_into_two_monitors() {
  xrandr --setmonitor MAVU-LEFT 1920/508x1080/286+0+0 screen >/dev/null &&
    xrandr --setmonitor MAVU-RIGHT 1920/508x1080/286+1920+0 none >/dev/null
}

# Waits until the window manager reports $1 desktops; false after 10 s.
wait_for_desktops() {
  for _ in $(seq 1 200); do
    [ "$(xdotool get_num_desktops 2>/dev/null)" = "$1" ] && return 0
    sleep 0.05
  done
  return 1
}

# openbox announces itself before it has grabbed its key and mouse bindings, and grabs its
# keys again when the first key through XTEST switches the server to that keyboard, so that
# a test's first key could slip past them. The first key goes here, then a request that
# openbox answers only once it has handled everything before it: one desktop more and back.
wait_for_window_manager() {
  local desktops=""
  for _ in $(seq 1 200); do
    desktops=$(xdotool get_num_desktops 2>/dev/null) && [ "${desktops:-0}" -gt 0 ] && break
    sleep 0.05
  done
  [ "${desktops:-0}" -gt 0 ] && xdotool key shift && xdotool set_num_desktops $((desktops + 1)) &&
    wait_for_desktops $((desktops + 1)) && xdotool set_num_desktops "$desktops" && wait_for_desktops "$desktops"
}

start_window_manager() {
  openbox --sm-disable >"$scratch/openbox.log" 2>&1 &
  wm_pid=$!
  wait_for_window_manager && return 0
  echo "openbox did not start:" >&2
  cat "$scratch/openbox.log" >&2
  exit 1
}

case "$mode" in
  xvfb) start_xvfb ;;
  window-manager) start_xvfb && start_window_manager ;;
  two-monitors) start_xvfb 3840x1080 && split_into_two_monitors && start_window_manager ;;
  offscreen) export QT_QPA_PLATFORM=offscreen; unset DISPLAY ;;
  *) echo "unknown mode $mode" >&2; exit 2 ;;
esac

if [ -z "$separate_ipc" ]; then
  "$@"
  exit
fi
# Tests of how the screen is read learn from this that the server cannot reach their memory.
export MAVU_TEST_SEPARATE_IPC=1
# Root (CI) may leave the IPC namespace directly; another user does it inside a user namespace
# of its own. Without either the test cannot run this way: ctest counts exit code 77 a skip.
if unshare --ipc true 2>/dev/null; then
  unshare --ipc "$@"
elif unshare --map-root-user --ipc true 2>/dev/null; then
  unshare --map-root-user --ipc "$@"
else
  echo "SKIP: this user may not make an IPC namespace (unshare --ipc), so the test cannot run without shared memory" >&2
  exit 77
fi
