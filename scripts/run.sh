#!/usr/bin/env bash
# Builds the standalone Reminder.exe and starts it under Wine (under Xvfb when no display
# is set, saying how to look at that display). It keeps running until it is ended;
# "Reminder.dat" lies beside the program.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${REMINDER_BUILD_DIR:-$PWD/build}/win32

bash scripts/install-deps.sh
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw32-toolchain.cmake" >/dev/null
cmake --build "$build" --target Reminder

export WINEPREFIX=$build/wineprefix-run
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDEBUG=-all
export LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8
echo "Starting $build/Reminder.exe (end it with Ctrl+C)"
if [[ -n ${DISPLAY:-} ]]; then
  exec wine "$build/Reminder.exe"
else
  # Nobody sees the virtual display: name it and its key, for a screenshot or a VNC server.
  exec xvfb-run -a bash -c 'cat <<EOF
Virtual display $DISPLAY. From another shell:
  a screenshot: DISPLAY=$DISPLAY XAUTHORITY=$XAUTHORITY import -window root reminder.png
  to watch it:  x11vnc -display $DISPLAY -auth $XAUTHORITY, then a VNC viewer on port 5900
EOF
exec wine "$1"' run "$build/Reminder.exe"
fi
