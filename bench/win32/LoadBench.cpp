#include "LoadBench.h"

#include <windows.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "BenchData.h"
#include "BenchSupport.h"
#include "core/store/IOUnit.h"
#include "win32/store/Win32DataFile.h"
#include "win32/system/Win32MsgBox.h"

namespace reminder::bench {

namespace {

// The whole file in one ReadFile into a buffer that was touched before: what a program that
// only looks at the bytes pays.
bool ReadWhole(const std::string& path, std::vector<char>& buffer) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD got = 0;
  const bool read = ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr);
  CloseHandle(file);
  return read && got == buffer.size();
}

}  // namespace

bool BenchLoad(const std::string& path, int count, int runs) {
  if (!WriteDataFile(path, count, TRecordOrder::Shuffled)) {
    std::printf("ERROR: the data file could not be written.\n");
    return false;
  }
  WIN32_FILE_ATTRIBUTE_DATA attributes = {};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &attributes)) return false;
  std::vector<char> buffer(attributes.nFileSizeLow);
  TWin32DataFile files;
  TWin32MsgBox box;
  std::vector<double> reads;
  std::vector<double> loads;
  for (int run = 0; run <= runs; ++run) {
    double start = Milliseconds();
    if (!ReadWhole(path, buffer)) {
      std::printf("ERROR: the data file could not be read.\n");
      return false;
    }
    const double read = Milliseconds() - start;
    auto store = std::make_unique<TFileIO>(path, files, box);
    start = Milliseconds();
    store->Load();
    const double load = Milliseconds() - start;
    if (store->Count() != static_cast<size_t>(count)) {
      std::printf("ERROR: %u of %d reminders loaded.\n", static_cast<unsigned>(store->Count()),
                  count);
      return false;
    }
    // The first round warms the file's pages and the heap.
    if (run == 0) continue;
    reads.push_back(read);
    loads.push_back(load);
  }
  std::printf("Load of %d reminders (%lu bytes), against ReadFile of the same bytes:\n", count,
              attributes.nFileSizeLow);
  PrintRow("ReadFile, whole file", reads);
  PrintRow("TFileIO::Load", loads);
  const double ratio = Summarize(loads).median / Summarize(reads).median;
  std::printf("  load / read %.1f, %.2f (load / read / 4)\n", ratio, ratio / 4);
  return true;
}

}  // namespace reminder::bench
