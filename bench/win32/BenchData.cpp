#include "BenchData.h"

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <random>
#include <vector>

#include "core/store/DataFileFormat.h"
#include "core/store/NotifyInfo.h"
#include "win32/store/Win32DataFile.h"
#include "win32/system/Win32Clock.h"

namespace reminder::bench {

namespace {

const char* const kTexts[] = {
    "Zahnarzttermin vereinbaren",
    "Geburtstag von Jürgen Müller",
    "Steuererklärung abgeben",
    "Kfz-Versicherung kündigen",
    "Auto zum TÜV bringen",
    "Blumen gießen",
    "Müll rausstellen",
    "Miete überweisen",
    "Ölwechsel fällig",
    "Abo für Zeitschrift prüfen",
    "anrufen: Oma Käthe",
    "Backup der Festplatte",
    "Rechnung Nr. 2024-117 zahlen",
    "Elternabend Schule",
    "Führerschein verlängern",
};

// A realistic mix in which nothing falls due while the program runs: pending date
// reminders lie at least two days ahead of their warning, finished ones in the past, and
// the actions that restart or shut down the system or start programs are kept to
// reminders that are only stored.
TNotifyInfo MixedRecord(int i, TDateTime now) {
  TNotifyInfo r;
  r.NotifyText = std::string(kTexts[i % (sizeof kTexts / sizeof kTexts[0])]) + " #" +
                 std::to_string((i * 7919) % 100003);
  const TDateTime future = now + 2 + 7 + (i * 37) % 700 + EncodeTime(i % 24, (i * 7) % 60, 0, 0);
  const TDateTime past = now - 1 - (i * 53) % 900 + EncodeTime((i * 5) % 24, i % 60, 0, 0);
  r.NotifyKind = nkAtDate;
  r.ActionKind = static_cast<uint8_t>(1 + i % 5);  // warning, mail, web, program, document
  switch (r.ActionKind) {
    case akWarning:
      r.DaysBefore = i % 8;
      break;
    case akEmail:
      r.ActionParam = "jemand" + std::to_string(i % 97) + "@example.org";
      break;
    case akWebsite:
      r.ActionParam = "https://www.example.org/seite/" + std::to_string(i % 31);
      break;
    case akProgram:
      r.ActionParam = "C:\\Programme\\Werkzeug\\werkzeug.exe";
      break;
    default:
      r.ActionParam = "C:\\Eigene Dateien\\Brief " + std::to_string(i % 13) + ".doc";
      break;
  }
  switch (i % 10) {
    case 0:
    case 1:
    case 2:
      r.RepeatKind = rkOnce;
      r.NotifyDate = future;
      break;
    case 3:
    case 4:
      r.RepeatKind = rkOnce;
      r.NotifyDate = past;
      r.Notified = 1;
      break;
    case 5:
      r.RepeatKind = rkDaily;
      r.NotifyDate = future;
      break;
    case 6:
      r.RepeatKind = rkWeekly;
      r.NotifyDate = future;
      break;
    case 7:
      r.RepeatKind = rkMonthly;
      r.NotifyDate = future;
      break;
    case 8:
      r.RepeatKind = rkYearly;
      r.NotifyDate = future;
      break;
    default:
      if (i % 20 == 19) {
        // Waits for the next dial-up connection; none comes while the program runs.
        r.NotifyKind = nkDialUp;
        r.RepeatKind = rkOnce;
        r.NotifyDate = past;
        break;
      }
      // Only stored: the one place for every action, those that change the system too.
      r.NotifyKind = nkNever;
      r.NotifyDate = past;
      r.ActionKind = static_cast<uint8_t>(i % kActionCount);
      r.RepeatKind = static_cast<uint8_t>((i / 10) % kRepeatCount);
      break;
  }
  return r;
}

}  // namespace

bool WriteDataFile(const std::string& path, int count, TRecordOrder order) {
  std::vector<int> indices(static_cast<size_t>(count > 0 ? count : 0));
  std::iota(indices.begin(), indices.end(), 0);
  if (order == TRecordOrder::Shuffled) {
    // A fixed seed: every run measures the same file.
    std::mt19937 random(20261208);
    std::shuffle(indices.begin(), indices.end(), random);
  }
  TWin32Clock clock;
  const TDateTime now = clock.Now();
  std::string bytes;
  for (int i : indices) EncodeRecord(bytes, MixedRecord(i, now));
  TWin32DataFile file;
  return file.Replace(path, bytes);
}

bool OpenOnShuffledData(const BenchHost& host, const std::string& dataFile, int count) {
  if (!WriteDataFile(dataFile, count, TRecordOrder::Shuffled)) {
    std::printf("ERROR: cannot write %s.\n", dataFile.c_str());
    return false;
  }
  if (!host.Create() || !NoAlertOpen()) {
    host.Close();
    return false;
  }
  return true;
}

}  // namespace reminder::bench
