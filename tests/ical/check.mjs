// Reads reminderctl's calendar export with ical.js, a parser written elsewhere, and holds
// its recurrence expansion against the module's due check: each reminder must fire at the
// first check at or after each alarm the calendar computes, and at no other check.
// Where the module's repetition rules and RFC 5545 part ways, the case names the
// difference and expects the module's rule.
//
//   node check.mjs <reminderctl> <scratch directory>
//
// Prints TAP lines and exits non-zero when any check fails.
import ICAL from 'ical.js';
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';

const [tool, scratchArg] = process.argv.slice(2);
if (!tool || !scratchArg) {
  console.error('usage: node check.mjs <reminderctl> <scratch directory>');
  process.exit(2);
}
fs.mkdirSync(scratchArg, { recursive: true });
const scratch = fs.mkdtempSync(path.join(scratchArg, 'ical-check-'));

let count = 0;
let failures = 0;
function check(passed, name, detail) {
  count += 1;
  console.log(`${passed ? 'ok' : 'not ok'} ${count} - ${name}`);
  if (!passed) {
    failures += 1;
    for (const line of String(detail ?? '').split('\n')) if (line) console.log(`  # ${line}`);
  }
}

function run(args) {
  const result = spawnSync(tool, args, { encoding: 'utf8' });
  if (result.error) throw result.error;
  return result;
}

// The output of a run that succeeded; due answers 3 when nothing is due.
function ctl(args, codes = [0]) {
  const result = run(args);
  if (!codes.includes(result.status)) {
    throw new Error(`reminderctl ${args.join(' ')} failed (${result.status}): ${result.stderr}`);
  }
  return result.stdout;
}

// Floating times as seconds on a clock without zones, so that adding seconds is exact.
const secondsOf = (t) => Date.UTC(t.year, t.month - 1, t.day, t.hour, t.minute, t.second) / 1000;
const pad = (n, w = 2) => String(n).padStart(w, '0');
function momentText(seconds) {
  const d = new Date(seconds * 1000);
  return `${pad(d.getUTCDate())}.${pad(d.getUTCMonth() + 1)}.${pad(d.getUTCFullYear(), 4)} ` +
    `${pad(d.getUTCHours())}:${pad(d.getUTCMinutes())}:${pad(d.getUTCSeconds())}`;
}
const DAY = 86400;

function exportOne(name, addArgs) {
  const file = path.join(scratch, `${name}.dat`);
  const ics = path.join(scratch, `${name}.ics`);
  ctl(['add', '--file', file, ...addArgs]);
  ctl(['export', '--file', file, ics]);
  const text = fs.readFileSync(ics, 'utf8');
  const calendar = new ICAL.Component(ICAL.parse(text));
  const [vevent] = calendar.getAllSubcomponents('vevent');
  return { file, ics, text, calendar, vevent };
}

// The alarm moments of the first occurrences: each occurrence plus the VALARM's trigger,
// or the occurrence itself when the event has no alarm.
function alarmMoments(vevent, occurrences) {
  const event = new ICAL.Event(vevent);
  const alarm = vevent.getFirstSubcomponent('valarm');
  const offset = alarm ? alarm.getFirstPropertyValue('trigger').toSeconds() : 0;
  const iterator = event.iterator();
  const moments = [];
  for (let next; moments.length < occurrences && (next = iterator.next());) {
    moments.push(secondsOf(next) + offset);
  }
  return moments;
}

// Runs the module's check with --write at every moment in order, on a fresh copy of the
// file, and returns the moments at which the reminder fired.
function moduleFirings(file, moments) {
  const copy = `${file}.run`;
  fs.copyFileSync(file, copy);
  const fired = [];
  for (const moment of moments) {
    const out = ctl(['due', '--write', '--file', copy, '--at', momentText(moment)], [0, 3]);
    if (out.split('\n').some((line) => line.split('\t')[0] === '1')) fired.push(moment);
  }
  return fired;
}

// The checks around each moment that matters: a second before (not yet due), at it, a
// second after (already recorded), and halfway to the next one.
function probeMoments(points) {
  const sorted = [...new Set(points)].sort((a, b) => a - b);
  const moments = new Set([sorted[0] - DAY]);
  sorted.forEach((p, i) => {
    moments.add(p - 1).add(p).add(p + 1);
    if (i + 1 < sorted.length) moments.add(Math.floor((p + sorted[i + 1]) / 2));
  });
  return [...moments].sort((a, b) => a - b);
}

const show = (list) => list.map(momentText).join(', ') || '(none)';

function recurrenceCase({ name, args, occurrences, expected, difference }) {
  const { file, vevent } = exportOne(name, args);
  const alarms = alarmMoments(vevent, occurrences);
  const wanted = expected ? expected(alarms) : alarms;
  const last = Math.max(...alarms, ...wanted);
  const fired = moduleFirings(file, probeMoments([...alarms, ...wanted]))
    .filter((m) => m <= last + 1);
  const label = difference ? `${name} (differs from RFC 5545: ${difference})` : name;
  check(JSON.stringify(fired) === JSON.stringify(wanted), label,
    `calendar alarms: ${show(alarms)}\nexpected firings: ${show(wanted)}\nmodule fired: ${show(fired)}`);
}

const toolPath = path.resolve(tool);

recurrenceCase({
  name: 'once, warning 3 days ahead: fires at the alarm',
  args: ['--text', 'Steuererklärung', '--date', '08.05.2025', '--time', '10:00',
    '--action', 'warning', '--days', '3'],
  occurrences: 1,
});
recurrenceCase({
  name: 'once, program: fires at its start',
  args: ['--text', 'Sicherung', '--date', '09.05.2025', '--time', '23:15:30',
    '--action', 'program', '--param', toolPath],
  occurrences: 1,
});
recurrenceCase({
  name: 'daily: fires at every occurrence',
  args: ['--text', 'Tabletten', '--date', '10.01.2025', '--time', '08:45',
    '--action', 'warning', '--days', '0', '--repeat', 'daily'],
  occurrences: 6,
});
recurrenceCase({
  name: 'daily with a warning 2 days ahead',
  args: ['--text', 'Blumen gießen', '--date', '10.01.2025', '--time', '09:00',
    '--action', 'warning', '--days', '2', '--repeat', 'daily'],
  occurrences: 6,
  difference: 'the module ignores the lead of a daily reminder, so the alarms before the first occurrence do not fire',
  expected: (alarms) => alarms.slice(2),
});
recurrenceCase({
  name: 'weekly on Wednesday, website',
  args: ['--text', 'Wochenbericht', '--date', '08.01.2025', '--time', '14:00',
    '--action', 'website', '--param', 'https://example.org/bericht?a=1,b=2', '--repeat', 'weekly'],
  occurrences: 6,
  difference: 'the module does not fire in the ISO week of the start, so the first occurrence is left out',
  expected: (alarms) => alarms.slice(1),
});
recurrenceCase({
  name: 'weekly with a warning 3 days ahead',
  args: ['--text', 'Müll rausstellen', '--date', '10.01.2025', '--time', '07:30',
    '--action', 'warning', '--days', '3', '--repeat', 'weekly'],
  occurrences: 6,
  difference: 'the module does not fire in the ISO week of the alarm\'s start, so the first alarm is left out',
  expected: (alarms) => alarms.slice(1),
});
recurrenceCase({
  name: 'weekly on Sunday',
  args: ['--text', 'Sonntagsanruf', '--date', '05.01.2025', '--time', '18:00',
    '--action', 'warning', '--days', '0', '--repeat', 'weekly'],
  occurrences: 5,
  difference: 'the module counts Sunday as the first weekday but weeks from Monday, so a Sunday reminder fires on the following Monday',
  expected: (alarms) => alarms.map((m) => m + DAY),
});
recurrenceCase({
  name: 'monthly on the 15th with a warning 2 days ahead',
  args: ['--text', 'Miete', '--date', '15.01.2025', '--time', '08:00',
    '--action', 'warning', '--days', '2', '--repeat', 'monthly'],
  occurrences: 6,
});
recurrenceCase({
  name: 'monthly on the 31st: months without a 31st are skipped by both',
  args: ['--text', 'Ultimo', '--date', '31.01.2025', '--time', '12:00',
    '--action', 'email', '--param', 'buchhaltung@example.org', '--repeat', 'monthly'],
  occurrences: 5,
});
recurrenceCase({
  name: 'monthly on the 2nd with a warning 5 days ahead',
  args: ['--text', 'Abschlag', '--date', '02.03.2025', '--time', '09:00',
    '--action', 'warning', '--days', '5', '--repeat', 'monthly'],
  occurrences: 4,
  difference: 'the module looks for the day between the alarm\'s day and the start\'s day within one month, which an alarm in the month before never is, so it never fires',
  expected: () => [],
});
recurrenceCase({
  name: 'yearly on 24 December',
  args: ['--text', 'Weihnachten', '--date', '24.12.2024', '--time', '10:00',
    '--action', 'warning', '--days', '0', '--repeat', 'yearly'],
  occurrences: 4,
});
{
  // RFC 5545 drops an invalid date such as 29 February in a common year; the module
  // compares month and day as "mmdd" >= "0229" and so fires on 1 March. ical.js rolls
  // over to 1 March as well; the case holds either reading of the parser.
  const { file, vevent } = exportOne('leapday', ['--text', 'Schalttag', '--date', '29.02.2024',
    '--time', '08:00', '--action', 'warning', '--days', '0', '--repeat', 'yearly']);
  const alarms = alarmMoments(vevent, 5).filter((m) => m < Date.UTC(2029, 0, 1) / 1000);
  const wanted = [2024, 2025, 2026, 2027, 2028].map((y) =>
    Date.UTC(y, y % 4 === 0 ? 1 : 2, y % 4 === 0 ? 29 : 1, 8) / 1000);
  const fired = moduleFirings(file, probeMoments([...alarms, ...wanted]))
    .filter((m) => m <= wanted[wanted.length - 1] + 1);
  const rfc = alarms.filter((m) => new Date(m * 1000).getUTCDate() === 29);
  check(JSON.stringify(fired) === JSON.stringify(wanted),
    'yearly on 29 February (differs from RFC 5545: in a common year RFC 5545 has no occurrence, ' +
    'the module fires on 1 March)',
    `RFC 5545 occurrences (ical.js, leap days only): ${show(rfc)}\nical.js alarms: ${show(alarms)}` +
    `\nexpected firings: ${show(wanted)}\nmodule fired: ${show(fired)}`);
}
recurrenceCase({
  name: 'once with "Nichts tun"',
  args: ['--text', 'Nur notiert', '--date', '12.05.2025', '--time', '10:00', '--action', 'nothing'],
  occurrences: 1,
  difference: 'a date reminder whose action is "Nichts tun" never fires in the module; the calendar still shows the event',
  expected: () => [],
});

// What ical.js reads back: texts with umlauts and escaped characters, long folded lines,
// the action in X- properties, the floating start and the rules.
{
  const text = 'Zähler ablesen; Strom, Gas\\Wasser – „bitte“ notieren ' + 'ÄÖÜäöüß€ '.repeat(12);
  const param = 'C:\\Programme\\Zähler, Ablesung;1\\start.doc';
  const { file, ics, text: raw, vevent } = exportOne('fields', ['--text', text, '--date',
    '03.04.2025', '--time', '07:05:09', '--action', 'warning', '--days', '30',
    '--repeat', 'monthly']);
  const event = new ICAL.Event(vevent);
  check(event.summary === text, 'SUMMARY with umlauts, separators and a folded line reads back',
    `got ${JSON.stringify(event.summary)}`);
  const start = event.startDate;
  check(start.zone === ICAL.Timezone.localTimezone && !start.isDate &&
    momentText(secondsOf(start)) === '03.04.2025 07:05:09', 'DTSTART is floating local time',
    `got ${start.toString()} in ${start.zone}`);
  check(vevent.getFirstPropertyValue('x-reminder-action') === 1 &&
    vevent.getFirstPropertyValue('x-reminder-days-before') === 30,
    'action and days ahead in X- properties');
  check(vevent.getFirstSubcomponent('valarm').getFirstPropertyValue('trigger').toString() ===
    '-P30D', 'VALARM with TRIGGER:-P30D');
  const lines = raw.split('\r\n');
  check(raw.endsWith('\r\n') && !lines.some((l) => l.includes('\n')) &&
    lines.every((l) => Buffer.byteLength(l, 'utf8') <= 75),
    'CRLF line ends, no line longer than 75 octets');
  check(Buffer.from(raw, 'utf8').toString('utf8') === raw && raw.includes('€'), 'UTF-8 text');

  const docFile = path.join(scratch, 'fields-doc.dat');
  const docIcs = path.join(scratch, 'fields-doc.ics');
  fs.writeFileSync(path.join(scratch, 'Brief, Entwurf;1.txt'), 'x');
  const docPath = path.join(scratch, 'Brief, Entwurf;1.txt');
  ctl(['add', '--file', docFile, '--text', 'Brief\nzweite Zeile', '--date', '06.06.2025',
    '--time', '06:06', '--action', 'document', '--param', docPath, '--repeat', 'weekly']);
  ctl(['export', '--file', docFile, docIcs]);
  const docEvent = new ICAL.Component(ICAL.parse(fs.readFileSync(docIcs, 'utf8')))
    .getFirstSubcomponent('vevent');
  check(docEvent.getFirstPropertyValue('x-reminder-action-param') === docPath &&
    docEvent.getFirstPropertyValue('summary') === 'Brief\nzweite Zeile' &&
    docEvent.getFirstPropertyValue('rrule').toString() === 'FREQ=WEEKLY;BYDAY=FR',
    'document path, a line break and the weekly rule read back',
    `${docEvent.getFirstPropertyValue('x-reminder-action-param')} / ` +
    `${docEvent.getFirstPropertyValue('rrule')}`);

  const docAlarm = docEvent.getFirstSubcomponent('valarm');
  check(docAlarm?.getFirstPropertyValue('trigger').toSeconds() === 0 &&
    new ICAL.Event(docEvent).duration.toSeconds() === 15 * 60,
    'an action without a lead has an alarm at its start, and every event a length',
    `trigger ${docAlarm?.getFirstPropertyValue('trigger')}, ` +
    `duration ${docEvent.getFirstPropertyValue('duration')}`);

  // The way back through reminderctl keeps every field the list shows.
  const back = path.join(scratch, 'fields-back.dat');
  ctl(['import', '--allow-actions', '--file', back, ics]);
  const columns = (out) => out.split('\n').filter(Boolean).map((l) => l.split('\t').slice(1));
  check(JSON.stringify(columns(ctl(['list', '--file', back]))) ===
    JSON.stringify(columns(ctl(['list', '--file', file]))), 'import of the export lists the same');

  const [entry] = JSON.parse(ctl(['list', '--json', '--file', file]));
  const shown = [entry.texts.date, entry.text, entry.texts.action, entry.texts.repeat,
    entry.texts.status];
  check(entry.text === text && entry.date === '2025-04-03T07:05:09' &&
    entry.action === 'warning' && entry.repeat === 'monthly' && entry.daysBefore === 30 &&
    JSON.stringify(shown) === JSON.stringify(columns(ctl(['list', '--file', file]))[0]),
  'list --json parses, with the text as added and the columns of the list',
  JSON.stringify(entry));

  const before = fs.readFileSync(file);
  ctl(['due', '--file', file, '--at', '03.04.2026 12:00:00'], [0, 3]);
  check(before.equals(fs.readFileSync(file)), 'due without --write leaves the file as it was');
}

console.log(`1..${count}`);
fs.rmSync(scratch, { recursive: true, force: true });
process.exit(failures ? 1 : 0);
