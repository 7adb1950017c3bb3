#!/usr/bin/env bash
# The release as a Windows user gets it, under Wine in a scratch prefix of its own, that is a
# fresh user profile: the release command's zip unpacks and its program shows its tray icon;
# the installer, run silently, ends that program, installs for the user alone, enters itself
# in the Start menu and among the installed programs, and the program starts from its entry;
# a silent update over the running program starts it again; the silent uninstaller ends it
# and removes it with its settings, and keeps its reminders.
# Prints "ok" or "not ok" for each check; exits non-zero when one failed.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
root=$PWD
scratch=$root/build/release-test
dist=$root/dist

if [[ -z ${DISPLAY:-} ]]; then
  exec xvfb-run -a bash "$0" "$@"
fi

failed=0
check() {
  local name=$1
  shift
  if "$@"; then
    echo "ok - $name"
  else
    echo "not ok - $name"
    failed=$((failed + 1))
  fi
}

rm -rf "$scratch"
mkdir -p "$scratch"
if ! bash scripts/release.sh >"$scratch/release.log" 2>&1; then
  tail -n 30 "$scratch/release.log"
  check "the release command builds the zip and the installer" false
  exit 1
fi
version_text() {
  sed -n "s/^#define $1 \"\\(.*\\)\"\$/\\1/p" "$root/build/release/generated/Version.h"
}
release=$(version_text REMINDER_RELEASE_TEXT)
name=Zelto-Reminder-$release
check "SHA256SUMS holds the zip's and the installer's checksums" \
  bash -c "cd '$dist' && sha256sum --quiet -c SHA256SUMS && grep -c . SHA256SUMS | grep -qx 2"

i686-w64-mingw32-g++-posix -std=c++17 -O2 -Wall -Wextra -Werror -D_WIN32_WINNT=0x0600 -static \
  -o "$scratch/TrayCheck.exe" tests/release/TrayCheck.cpp || exit 1

export WINEPREFIX=$scratch/wineprefix WINEDEBUG=-all
# No desktop entries on this machine for the Start-menu entry the installer makes.
export WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d'
wineboot -i >/dev/null 2>&1
# Without a window manager Wine waits for every window it hides unless it manages them itself.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1

files_in() {
  (cd "$1" && LC_ALL=C ls | tr '\n' ' ')
}
windows_path() {
  winepath -w "$1" | tr -d '\r'
}
unix_folder() {
  winepath -u "$(wine cmd /c echo "%$1%" | tr -d '\r')"
}
# Prints when the running program's process started.
start_time() {
  wine "$scratch/TrayCheck.exe" running "$(windows_path "$1")" | tr -d '\r'
}
running() {
  start_time "$1" >/dev/null
}
key_missing() {
  ! wine reg query "$1" >/dev/null 2>&1
}
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\ZeltoReminder'
settings_key='HKCU\Software\Orvandel Software\Reminder'
uninstall_value() {
  wine reg query "$uninstall_key" /v "$1" 2>/dev/null | tr -d '\r' |
    sed -n "s/^ *$1 \\+REG_[A-Z_]\\+ \\+//p"
}

unzip -q "$dist/$name-win32.zip" -d "$scratch/portable"
portable=$scratch/portable/$name-win32
check "the zip holds a folder with the four programs, LIESMICH.txt and LICENSE.txt" \
  test "$(files_in "$portable")" = \
  "LICENSE.txt LIESMICH.txt Reminder.dll Reminder.exe ReminderHost.exe reminderctl.exe "
(cd "$portable" && wine Reminder.exe >/dev/null 2>&1 &)
check "the portable Reminder.exe starts and shows its tray icon" running "$portable/Reminder.exe"

setup=$dist/$name-setup.exe
check "the installer asks for no administrator rights" \
  grep -qa 'requestedExecutionLevel level="asInvoker"' "$setup"
check "the installer installs silently" wine "$setup" /S
check "the installer ended the running program first" wine "$scratch/TrayCheck.exe" ended
installed=$(unix_folder LOCALAPPDATA)/Programs/Zelto\ Reminder
entry=$(unix_folder APPDATA)/Microsoft/Windows/Start\ Menu/Programs/Zelto\ -\ Reminder.lnk
check "the programs, LIESMICH.txt, LICENSE.txt and the uninstaller are in the user's programs" \
  test "$(files_in "$installed")" = \
  "Deinstallieren.exe LICENSE.txt LIESMICH.txt Reminder.dll Reminder.exe ReminderHost.exe reminderctl.exe "
check "the uninstall entry names the program, its version and its publisher" \
  test "$(uninstall_value DisplayName)|$(uninstall_value DisplayVersion)|$(uninstall_value Publisher)" \
  = "Zelto - Reminder|$release|Orvandel Software"
wine start /unix "$entry" >/dev/null 2>&1
check "the Start-menu entry starts the installed program with its tray icon" \
  running "$installed/Reminder.exe"
started=$(start_time "$installed/Reminder.exe")
wine "$setup" /S
restarted=$(start_time "$installed/Reminder.exe")
check "a silent update over the running program starts it again" \
  test -n "$started" -a -n "$restarted" -a "$started" != "$restarted"

(cd "$installed" && wine reminderctl.exe add --text Zahnarzt --date 01.01.2030 --time 09:00 \
  >/dev/null 2>&1)
wine reg add "$settings_key\\Options" /v AnimateIcon /t REG_DWORD /d 1 /f >/dev/null 2>&1
quiet=$(uninstall_value QuietUninstallString)
uninstaller=${quiet#\"}
uninstaller=${uninstaller%%\"*}
wine "$uninstaller" "${quiet##*\" }"
check "the silent uninstaller ends the running program" wine "$scratch/TrayCheck.exe" ended
# The uninstaller runs on from a copy of itself.
timeout 60 wineserver -w
check "the uninstaller removes the program's files and keeps Reminder.dat" \
  test "$(files_in "$installed")" = "Reminder.dat "
check "the uninstaller removes the Start-menu entry" test ! -e "$entry"
check "the uninstaller removes its entry among the installed programs" \
  key_missing "$uninstall_key"
check "the uninstaller removes the settings" key_missing "$settings_key"
wineserver -k

((failed == 0))
