#!/usr/bin/env bash
# reminderctl sync against a plain curl doing the same HTTP work: a first sync of COUNT
# reminders into an empty calendar against one curl process that PUTs the same events, and
# a sync with nothing changed against one curl REPORT of the calendar's ETags. Both talk to
# a local calendar server started here, on 127.0.0.1 with its storage in memory. Prints the
# figures that docs/benchmarks.md records.
#
#   bash bench/sync_vs_curl.sh
#
# Environment: COUNT (reminders, default 1000), BUILD_DIR (release build of reminderctl,
# default build/reminderctl-bench), WORK_DIR (generated files, default a fresh temporary
# directory).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
count=${COUNT:-1000}
build=${BUILD_DIR:-$root/build/reminderctl-bench}
work=${WORK_DIR:-$(mktemp -d)}
mkdir -p "$work"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target reminderctl >/dev/null
ctl=$build/reminderctl

source "$root/scripts/caldav-server.sh"
start_caldav_server info
trap 'stop_caldav_server; [ -n "${WORK_DIR:-}" ] || rm -rf "$work"' EXIT
base=${CALDAV_URL%/}

# A realistic mix in random order: once-only, daily, weekly, monthly and yearly reminders
# over two years, with and without a warning ahead, texts of 20 to 60 characters.
python3 - "$count" "$work/in.ics" <<'PY'
import random, sys
count, path = int(sys.argv[1]), sys.argv[2]
rng = random.Random(20261208)
with open(path, "w", newline="") as out:
    out.write("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//bench//sync//DE\r\n")
    for i in range(count):
        y, m, d = rng.randint(2027, 2028), rng.randint(1, 12), rng.randint(1, 28)
        text = "Termin %d bei Müller wegen %s" % (i, "x" * rng.randint(0, 40))
        out.write("BEGIN:VEVENT\r\nUID:bench-%d\r\nDTSTAMP:20260101T000000Z\r\n" % i)
        out.write("DTSTART:%04d%02d%02dT%02d%02d00\r\nSUMMARY:%s\r\n"
                  % (y, m, d, rng.randint(6, 20), rng.randint(0, 59), text))
        freq = rng.choice([None, "DAILY", "WEEKLY", "MONTHLY", "YEARLY"])
        if freq:
            out.write("RRULE:FREQ=%s\r\n" % freq)
        if rng.random() < 0.5:
            out.write("BEGIN:VALARM\r\nACTION:DISPLAY\r\nDESCRIPTION:x\r\nTRIGGER:-P%dD\r\nEND:VALARM\r\n"
                      % rng.randint(0, 3))
        out.write("END:VEVENT\r\n")
    out.write("END:VCALENDAR\r\n")
PY
"$ctl" import --quiet --lenient --file "$work/a.dat" "$work/in.ics"

# The same events as the module writes them, one file each, for curl.
"$ctl" export --quiet --file "$work/a.dat" "$work/out.ics"
mkdir -p "$work/events"
awk -v dir="$work/events" '
  /^BEGIN:VCALENDAR/ { head = ""; inhead = 1 }
  inhead && /^BEGIN:VEVENT/ { inhead = 0 }
  inhead { head = head $0 "\n"; next }
  /^BEGIN:VEVENT/ { n++; file = dir "/" n ".ics"; printf "%s", head > file }
  file { print > file }
  /^END:VEVENT/ { print "END:VCALENDAR\r" > file; close(file); file = "" }' "$work/out.ics"

requests() { grep -c "request for" "$CALDAV_DIR/log" || true; }
seconds() { python3 -c 'import time; print(time.monotonic())'; }

# reminderctl: a first sync into a new calendar, then one with nothing changed.
curl -s -o /dev/null -u ctl:x -X MKCALENDAR "$base/ctl/sync/"
before=$(requests); start=$(seconds)
"$ctl" sync --quiet --file "$work/a.dat" --url "$base/ctl/sync/" --user ctl
first=$(python3 -c "print($(seconds) - $start)"); first_requests=$(($(requests) - before))
before=$(requests); start=$(seconds)
"$ctl" sync --quiet --file "$work/a.dat" --url "$base/ctl/sync/" --user ctl
again=$(python3 -c "print($(seconds) - $start)"); again_requests=$(($(requests) - before))

# curl: the same events PUT by one process over one connection, then one REPORT of ETags.
curl -s -o /dev/null -u curl:x -X MKCALENDAR "$base/curl/sync/"
for file in "$work"/events/*.ics; do
  printf 'url = "%s/curl/sync/%s"\nupload-file = "%s"\noutput = "/dev/null"\n' \
    "$base" "$(basename "$file")" "$file"
done >"$work/curl.conf"
before=$(requests); start=$(seconds)
curl -s -u curl:x -H 'Expect:' -H 'Content-Type: text/calendar; charset=utf-8' -H 'If-None-Match: *' -K "$work/curl.conf"
curl_put=$(python3 -c "print($(seconds) - $start)"); curl_put_requests=$(($(requests) - before))
start=$(seconds)
curl -s -o /dev/null -u curl:x -X REPORT -H 'Depth: 1' -H 'Content-Type: application/xml' \
  --data '<c:calendar-query xmlns:d="DAV:" xmlns:c="urn:ietf:params:xml:ns:caldav"><d:prop><d:getetag/></d:prop><c:filter><c:comp-filter name="VCALENDAR"><c:comp-filter name="VEVENT"/></c:comp-filter></c:filter></c:calendar-query>' \
  "$base/curl/sync/"
curl_report=$(python3 -c "print($(seconds) - $start)")

echo "machine: $(nproc) cores, $(uname -srm); $count reminders, $(ls "$work/events" | wc -l) events"
printf 'first sync:        reminderctl %.2f s (%d requests), curl PUTs %.2f s (%d requests), ratio %.2f\n' \
  "$first" "$first_requests" "$curl_put" "$curl_put_requests" "$(python3 -c "print($first / $curl_put)")"
printf 'nothing changed:   reminderctl %.3f s (%d requests), curl REPORT %.3f s (1 request), ratio %.2f\n' \
  "$again" "$again_requests" "$curl_report" "$(python3 -c "print($again / $curl_report)")"
