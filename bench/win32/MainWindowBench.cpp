// Speed of the main window as a host meets it: how long ZeltoReminderCreate takes to
// return with 10,000 (and 100,000) reminders in the list, how long a click on a column
// header takes to sort them, and how long deleting or sorting a big selection takes and
// keeps the window from answering. Run by hand under Wine; the figures go to docs/benchmarks.md.
//
// The module keeps its data file beside the running program and its settings below
// HKEY_CURRENT_USER. So that neither touches anything but its own scratch, the program
// copies itself and Reminder.dll into a fresh directory below %TEMP%, runs the copy there
// (which redirects HKEY_CURRENT_USER to a scratch key for its own process), and removes
// the directory when the copy has ended.
#include <windows.h>
// After <windows.h>, which it needs.
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "CreateSortBench.h"
#include "DeleteBench.h"
#include "LoadBench.h"
#include "ScratchDirectory.h"
#include "SortSelectionBench.h"
#include "win32/host/RegistryRemover.h"

namespace reminder::bench {
namespace {

constexpr char kScratchKey[] = "Software\\ReminderBench";

void PrintSetting(const char* what, const std::string& value) {
  std::printf("%-22s %s\n", what, value.c_str());
}

// Which scenarios a run measures.
struct Scenarios {
  bool createAndSort = true;
  bool remove = true;
  bool sortSelection = true;
  bool load = true;
};

int RunInScratch(const std::vector<int>& counts, Scenarios scenarios) {
  // Everything the module reads or writes below HKEY_CURRENT_USER lands in a scratch key.
  const std::string scratchKey =
      std::string(kScratchKey) + "\\" + std::to_string(GetCurrentProcessId());
  HKEY scratch = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, scratchKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                      &scratch, nullptr) != ERROR_SUCCESS ||
      RegOverridePredefKey(HKEY_CURRENT_USER, scratch) != ERROR_SUCCESS) {
    std::printf("ERROR: no scratch registry key.\n");
    return 1;
  }
  int result = 1;
  HMODULE module = LoadLibraryA(kModuleName);
  auto create = module ? reinterpret_cast<CreateFn>(
                             reinterpret_cast<void*>(GetProcAddress(module, "ZeltoReminderCreate")))
                       : nullptr;
  auto close = module ? reinterpret_cast<CloseFn>(
                            reinterpret_cast<void*>(GetProcAddress(module, "ZeltoReminderClose")))
                      : nullptr;
  if (create && close) {
    char programPath[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, programPath, MAX_PATH);
    std::string dataFile = programPath;
    dataFile = dataFile.substr(0, dataFile.find_last_of('\\') + 1) + "Reminder.dat";
    PrintSetting("data file:", dataFile);
    BenchHost host(create, close);
    result = 0;
    for (int count : counts) {
      const bool large = count > 10000;
      if (scenarios.createAndSort &&
          !BenchCount(host, dataFile, count, large ? 3 : 7, large ? 1 : 5)) {
        result = 1;
      }
    }
    // Deleting matters where the selection is big: at the largest count only.
    const int largest = *std::max_element(counts.begin(), counts.end());
    if (scenarios.remove && !BenchDelete(host, dataFile, largest, 5)) result = 1;
    if (scenarios.sortSelection && !BenchSortSelection(host, dataFile, largest, 5)) result = 1;
    if (scenarios.load && !BenchLoad(dataFile + ".load", largest, 7)) result = 1;
    PumpMessages();
  } else {
    std::printf("ERROR: %s or its exports are missing.\n", kModuleName);
  }
  if (module) FreeLibrary(module);
  RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
  RegCloseKey(scratch);
  DeleteRegistryTree(HKEY_CURRENT_USER, scratchKey);
  RegDeleteKeyA(HKEY_CURRENT_USER, kScratchKey);  // only when no other run still uses it
  return result;
}

}  // namespace
}  // namespace reminder::bench

// Arguments: the numbers of reminders to measure (10000 and 100000 when none are given);
// "sort" measures only the creation and the sort, "delete" only the delete, "select" only a
// sort with a big scattered selection, "load" only the store's load against ReadFile.
int main(int argc, char** argv) {
  using namespace reminder::bench;
  const bool inScratch = argc > 1 && std::strcmp(argv[1], kRunSwitch) == 0;
  std::vector<int> counts;
  Scenarios scenarios;
  std::string arguments;
  for (int i = inScratch ? 2 : 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "sort") == 0) {
      scenarios = {true, false, false, false};
    } else if (std::strcmp(argv[i], "delete") == 0) {
      scenarios = {false, true, false, false};
    } else if (std::strcmp(argv[i], "select") == 0) {
      scenarios = {false, false, true, false};
    } else if (std::strcmp(argv[i], "load") == 0) {
      scenarios = {false, false, false, true};
    } else {
      counts.push_back(std::atoi(argv[i]));
    }
    arguments += std::string(" ") + argv[i];
  }
  if (!inScratch) return RunFromScratch(arguments);
  if (counts.empty()) counts = {10000, 100000};
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  return RunInScratch(counts, scenarios);
}
