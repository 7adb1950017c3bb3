#!/usr/bin/env bash
# reminderctl due against remind: the same reminders as a data file for reminderctl and
# as a script for remind, each program timed as a whole process checking them at one
# moment. Prints the figures that docs/benchmarks.md records.
#
#   bash bench/reminderctl_vs_remind.sh
#
# Also the peak memory of import, list, due and export over the same file, of add and
# snooze, the time of add against cp + sync + mv of the file, and the CPU time of both
# programs.
#
# Environment: COUNT (reminders, default 100000), RUNS (timed runs each, default 20),
# BUILD_DIR (release build of reminderctl, default build/reminderctl-bench),
# WORK_DIR (generated files, default a fresh temporary directory), BASELINE_CTL (another
# reminderctl, such as an earlier build, timed in the same run for a before and after).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
count=${COUNT:-100000}
runs=${RUNS:-20}
build=${BUILD_DIR:-$root/build/reminderctl-bench}
work=${WORK_DIR:-$(mktemp -d)}
mkdir -p "$work"

if ! command -v remind >/dev/null; then
  echo "installing remind"
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  $sudo_cmd apt-get install -y remind >/dev/null || {
    $sudo_cmd apt-get update >/dev/null && $sudo_cmd apt-get install -y remind >/dev/null
  }
fi

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target reminderctl >/dev/null
ctl=$build/reminderctl

# The moment of the check, for both programs.
at_date="24.07.2025"
at_time="12:00"
remind_date="24 Jul 2025"

# One generator writes both files from the same numbers: a fifth each of once-only,
# daily, weekly, monthly and yearly reminders, dated within 400 days around the moment,
# with a warning 0 to 3 days ahead, a web address or an e-mail address. Each reminder draws
# its kind, date, time and action at random (a fixed seed), so the file holds them in no
# order that a branch predictor could learn.
awk -v count="$count" -v ics="$work/bench.ics" -v rem="$work/bench.rem" '
function days_from_civil(y, m, d,   era, yoe, doy, doe, mp) {
  y -= (m <= 2); era = int(y / 400); yoe = y - era * 400; mp = (m + 9) % 12
  doy = int((153 * mp + 2) / 5) + d - 1
  doe = yoe * 365 + int(yoe / 4) - int(yoe / 100) + doy
  return era * 146097 + doe - 719468
}
function civil(z,   era, doe, yoe, doy, mp) {
  z += 719468; era = int(z / 146097); doe = z - era * 146097
  yoe = int((doe - int(doe / 1460) + int(doe / 36524) - int(doe / 146096)) / 365)
  doy = doe - (365 * yoe + int(yoe / 4) - int(yoe / 100)); mp = int((5 * doy + 2) / 153)
  D = doy - int((153 * mp + 2) / 5) + 1; M = mp < 10 ? mp + 3 : mp - 9; Y = yoe + era * 400 + (M <= 2)
}
BEGIN {
  split("Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec", mon, " ")
  split("DAILY WEEKLY MONTHLY YEARLY", freq, " ")
  srand(26)
  base = days_from_civil(2025, 7, 24)
  printf "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//bench//reminderctl//DE\r\n" > ics
  for (i = 0; i < count; i++) {
    civil(base + int(rand() * 801) - 400)
    h = 6 + int(rand() * 14); n = int(rand() * 60); kind = int(rand() * 5)
    a = int(rand() * 3); lead = int(rand() * 4)
    text = "Erinnerung Nr. " i " für Müller"
    printf "BEGIN:VEVENT\r\nUID:bench-%d@reminderctl\r\nDTSTAMP:20250101T000000Z\r\n", i > ics
    printf "DTSTART:%04d%02d%02dT%02d%02d00\r\nSUMMARY:%s\r\n", Y, M, D, h, n, text > ics
    if (kind > 0) printf "RRULE:FREQ=%s\r\n", freq[kind] > ics
    delta = ""
    if (a == 0) {
      printf "X-REMINDER-ACTION:1\r\nX-REMINDER-DAYS-BEFORE:%d\r\n", lead > ics
      printf "BEGIN:VALARM\r\nACTION:DISPLAY\r\nDESCRIPTION:%s\r\nTRIGGER:-P%dD\r\nEND:VALARM\r\n", text, lead > ics
      if (lead > 0 && kind != 1) delta = " +" lead
    } else if (a == 1) {
      printf "X-REMINDER-ACTION:3\r\nX-REMINDER-ACTION-PARAM:https://example.org/%d\r\n", i > ics
    } else {
      printf "X-REMINDER-ACTION:2\r\nX-REMINDER-ACTION-PARAM:user%d@example.org\r\n", i > ics
    }
    printf "END:VEVENT\r\n" > ics
    date = D " " mon[M] " " Y
    if (kind == 0) spec = date
    else if (kind == 1) spec = date " *1"
    else if (kind == 2) spec = date " *7"
    else if (kind == 3) spec = D " FROM " date
    else spec = D " " mon[M] " FROM " date
    printf "REM %s%s AT %02d:%02d MSG %s\n", spec, delta, h, n, text > rem
  }
  printf "END:VCALENDAR\r\n" > ics
}'

rm -f "$work/bench.dat"
"$ctl" import --file "$work/bench.dat" "$work/bench.ics" 2>&1 | tail -n 1
# A file the module has been checking: whatever was due up to the evening before has fired
# and is recorded (once-only reminders finished, repeating ones with their last firing).
# Exit code 3: nothing was due.
"$ctl" due --write --file "$work/bench.dat" --at "23.07.2025 23:59:59" >/dev/null || (($? == 3))
echo "data file: $(wc -c <"$work/bench.dat") bytes; remind script: $(wc -c <"$work/bench.rem") bytes"

ctl_cmd=("$ctl" due --file "$work/bench.dat" --at "$at_date $at_time:00")
remind_cmd=(remind -q "$work/bench.rem" $remind_date "$at_time")
echo "reminderctl due: $("${ctl_cmd[@]}" | wc -l) reminders due"
echo "remind -q:       $("${remind_cmd[@]}" | grep -c .) lines (the header among them)"

# Mean and fastest wall-clock time of a command over the runs, after one warm-up.
time_runs() {
  "$@" >/dev/null
  local times=()
  for ((r = 0; r < runs; r++)); do
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null
    end=$(date +%s%N)
    times+=($(((end - start) / 1000)))
  done
  printf '%s\n' "${times[@]}" | awk -v n="$count" '
    { sum += $1; if (NR == 1 || $1 < min) min = $1 }
    END { printf "mean %.1f ms, fastest %.1f ms, %.3f us per reminder\n", sum / NR / 1000, min / 1000, sum / NR / n }'
}

# Peak resident memory in KiB of one run of a command.
peak_kib() {
  /usr/bin/time -f %M -o "$work/peak" "$@" >/dev/null
  cat "$work/peak"
}

# User plus system CPU time of a command summed over the runs, in milliseconds: the runs go
# in one loop under one timer, whose 10-ms resolution would swallow a single short run.
cpu_ms() {
  /usr/bin/time -f "%U %S" -o "$work/cpu" bash -c \
    'for ((r = 0; r < $0; r++)); do "$@" >/dev/null; done' "$runs" "$@"
  awk '{ printf "%d", ($1 + $2) * 1000 }' "$work/cpu"
}

echo "machine: $(nproc) cores, $(uname -srm)"
rm -f "$work/again.dat"
echo "peak memory over $count reminders: import $(peak_kib "$ctl" import --quiet \
  --file "$work/again.dat" "$work/bench.ics") KiB (data file $(($(wc -c <"$work/again.dat") / 1024)) KiB)," \
  "list $(peak_kib "$ctl" list --file "$work/bench.dat") KiB," \
  "due $(peak_kib "${ctl_cmd[@]}") KiB," \
  "export $(peak_kib "$ctl" export --quiet --file "$work/bench.dat" "$work/out.ics") KiB"
# add and snooze write the data file anew while they read it: their peak against the limit
# of 32 MB, and their time against a copy of the file put in place as a save puts it.
cp "$work/bench.dat" "$work/write.dat"
add_kib=$(peak_kib "$ctl" add --quiet --file "$work/write.dat" --text "Neu")
snooze_kib=$(peak_kib "$ctl" snooze "$count" --minutes 10 --file "$work/write.dat")
echo "peak memory of the single-record writes over $count reminders:" \
  "add ${add_kib} KiB ($(awk -v k="$add_kib" 'BEGIN { printf "%.2f", k / 32768 }') of 32 MB)," \
  "snooze ${snooze_kib} KiB ($(awk -v k="$snooze_kib" 'BEGIN { printf "%.2f", k / 32768 }') of 32 MB)"
write_runs=$((runs < 5 ? runs : 5))
echo "reminderctl add ($write_runs runs):  $(runs=$write_runs time_runs "$ctl" add --quiet \
  --file "$work/write.dat" --text "Neu")"
echo "cp + sync + mv ($write_runs runs): $(runs=$write_runs time_runs bash -c \
  'cp "$0" "$0.copy" && sync && mv "$0.copy" "$0"' "$work/write.dat")"
rm -f "$work/write.dat"
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", a / (b > 0 ? b : 1) }'; }
ctl_cpu=$(cpu_ms "${ctl_cmd[@]}")
remind_cpu=$(cpu_ms "${remind_cmd[@]}")
echo "CPU time over $runs runs: reminderctl due ${ctl_cpu} ms, remind ${remind_cpu} ms," \
  "remind / due $(ratio "$remind_cpu" "$ctl_cpu") (aim: at least 20)"
# What no reading command can go below: the bytes of the file read once, as cat reads them
# (process start included, as in the figures above).
cat_cpu=$(cpu_ms cat "$work/bench.dat")
list_cpu=$(cpu_ms "$ctl" list --file "$work/bench.dat")
echo "CPU time over $runs runs: cat ${cat_cpu} ms, reminderctl list ${list_cpu} ms," \
  "list / cat $(ratio "$list_cpu" "$cat_cpu") (aim: at most 10)," \
  "due / cat $(ratio "$ctl_cpu" "$cat_cpu"), remind / cat $(ratio "$remind_cpu" "$cat_cpu")"
if [ -n "${BASELINE_CTL:-}" ]; then
  base_cpu=$(cpu_ms "$BASELINE_CTL" due --file "$work/bench.dat" --at "$at_date $at_time:00")
  base_next=$(cpu_ms "$BASELINE_CTL" next 1 --file "$work/bench.dat" --at "$at_date $at_time:00")
  base_list=$(cpu_ms "$BASELINE_CTL" list --file "$work/bench.dat")
  echo "CPU time over $runs runs, baseline: due ${base_cpu} ms, remind / due" \
    "$(ratio "$remind_cpu" "$base_cpu"); next 1 ${base_next} ms; list ${base_list} ms," \
    "list / cat $(ratio "$base_list" "$cat_cpu")"
fi
# next stops reading at its record: the first against the last of the file.
next_first=$(cpu_ms "$ctl" next 1 --file "$work/bench.dat" --at "$at_date $at_time:00")
next_last=$(cpu_ms "$ctl" next "$count" --file "$work/bench.dat" --at "$at_date $at_time:00")
echo "CPU time over $runs runs: reminderctl next 1 ${next_first} ms, next $count ${next_last} ms"
echo "reminderctl due ($runs runs): $(time_runs "${ctl_cmd[@]}")"
echo "remind -q       ($runs runs): $(time_runs "${remind_cmd[@]}")"
if command -v hyperfine >/dev/null; then
  hyperfine -N --warmup 3 --runs "$runs" \
    "$(printf '%q ' "${ctl_cmd[@]}")" "$(printf '%q ' "${remind_cmd[@]}")"
fi
[ -n "${WORK_DIR:-}" ] || rm -rf "$work"
