#!/usr/bin/env bash
# Screenshots of every window of the module at 100 % and 150 % scaling, with German example
# reminders, written to docs/screenshots/ as PNG (main window, editor and its repetition
# page, settings, calendar, about dialog, alert). Runs the sample host under Xvfb in scratch Wine prefixes.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${REMINDER_BUILD_DIR:-$root/build}/win32
work=${REMINDER_BUILD_DIR:-$root/build}/screenshots
out=$root/docs/screenshots

bash scripts/install-deps.sh
for tool in xdotool import; do
  command -v $tool >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -q xdotool imagemagick
done
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw32-toolchain.cmake" >/dev/null
cmake --build "$build" --target ReminderDll ReminderHost reminderctl
mkdir -p "$work" "$out"
i686-w64-mingw32-gcc -O2 -o "$work/post.exe" scripts/screenshots/post.c

export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8

# The commands of the main window, and IDCANCEL for dialogs and the alert.
show=109 add=102 settings=105 calendar=106 info=108 cancel=2

# One example list, dated from today; the first is due now and opens the alert at start.
examples() {
  local file=$1 day
  add() { wine "$work/run/reminderctl.exe" add --file "$file" "$@" >/dev/null; }
  day() { date -d "$1" +%d.%m.%Y; }
  add --text "Steuererklärung abgeben" --date "$(day today)" \
    --time "$(date -d '-1 minute' +%H:%M)" --action website --param https://example.org/steuer
  add --text "Zahnarzt Kontrolle" --date "$(day '+9 days')" --time 10:30 --action warning --days 2
  add --text "Sicherung der Briefe" --date "$(day '+1 day')" --time 22:00 --action program \
    --param 'C:\windows\notepad.exe' --repeat weekly
  add --text "Geburtstag Anna" --date "$(day '+40 days')" --time 08:00 --action email \
    --param anna@example.org --repeat yearly
  add --text "Verbindung trennen" --trigger dialup --action hangup
}

# Captures the window with that caption into docs/screenshots/NAME-SCALE.png.
capture() {
  local caption=$1 name=$2 id
  id=$(xdotool search --onlyvisible --name "^${caption}\$" | tail -n 1)
  [[ -n $id ]] || { echo "no window \"$caption\""; return 1; }
  import -window "$id" "$out/$name-$3.png"
}

shoot() {
  local dpi=$1 scale=$2
  export WINEPREFIX=$work/prefix$dpi
  rm -rf "$work/run"
  mkdir -p "$work/run"
  cp "$build/Reminder.dll" "$build/ReminderHost.exe" "$build/reminderctl.exe" "$work/run/"
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  wine reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' \
    /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  examples "$(winepath -w "$work/run/Reminder.dat")"
  # A calendar server filled in on the page "Synchronisation", switched off so that nothing
  # goes out to the network.
  local sync='HKCU\Software\Orvandel Software\Reminder\Sync'
  wine reg add "$sync" /v Server /d https://kalender.example.org/dav/ /f >/dev/null 2>&1
  wine reg add "$sync" /v User /d anna /f >/dev/null 2>&1
  wine reg add "$sync" /v Calendar /d https://kalender.example.org/dav/anna/erinnerungen/ /f \
    >/dev/null 2>&1
  wine reg add "$sync" /v CalendarName /d Erinnerungen /f >/dev/null 2>&1
  wineserver -w
  (cd "$work/run" && wine ReminderHost.exe >/dev/null 2>&1 &)
  sleep 8
  capture "Zelto - Reminder" alert "$scale"
  wine "$work/post.exe" ReminderRemindForm $cancel
  wine "$work/post.exe" TMain $show
  sleep 3
  capture "Zelto - Reminder" main "$scale"
  local command caption name
  local window
  for command in "$add:Erinnerung hinzufügen:editor:ReminderAddNotifyEventDlg" \
                 "$settings:Konfiguration:settings:ReminderCfgDlg" \
                 "$calendar:Kalender:calendar:ReminderCalendarForm" \
                 "$info:Über Zelto - Reminder...:about:ReminderAboutDlg"; do
    IFS=: read -r command caption name window <<<"$command"
    wine "$work/post.exe" TMain "$command"
    sleep 3
    capture "$caption" "$name" "$scale" || true
    if [[ $name == settings ]]; then
      # The second page, as Ctrl+Tab shows it.
      xdotool search --onlyvisible --name "^${caption}\$" | tail -n 1 | xargs xdotool windowfocus
      xdotool key ctrl+Tab
      sleep 1
      capture "$caption" settings-sync "$scale" || true
    fi
    if [[ $name == editor ]]; then
      # The page "Wiederholung" with a rule: every second week, ending after 10 dates.
      xdotool search --onlyvisible --name "^${caption}\$" | tail -n 1 | xargs xdotool windowfocus
      xdotool key ctrl+Tab ctrl+Tab alt+l Tab
      xdotool type 2
      xdotool key alt+c Tab
      xdotool type 10
      sleep 1
      capture "$caption" editor-repeat "$scale" || true
    fi
    wine "$work/post.exe" "$window" $cancel || true
    sleep 1
  done
  wineserver -k
}

export -f shoot capture examples
for pair in 96:100 144:150; do
  dpi=${pair%%:*} scale=${pair##*:}
  xvfb-run -a -s "-screen 0 1280x900x24" bash -c "$(declare -p work out build show add settings \
    calendar info cancel); $(declare -f shoot capture examples); shoot $dpi $scale"
done
ls -1 "$out"
