#!/usr/bin/env bash
# Runs a Windows test program under Wine at another screen resolution: its own prefix
# (WINEPREFIX), prepared once with the given LogPixels for the desktop and the fonts.
# Usage: at-dpi.sh DPI PROGRAM [ARGUMENTS...]
set -uo pipefail
dpi=$1
shift
if [[ ! -f $WINEPREFIX/logpixels-$dpi ]]; then
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  wine reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' \
    /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/logpixels-$dpi"
fi
REMINDER_TEST_DPI=$dpi wine "$@"
status=$?
wineserver -w
exit $status
