#include "core/store/DataFile.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <system_error>

#include "core/common/MyTools.h"

namespace reminder {

namespace {

constexpr std::streamsize kPartSize = 1 << 20;

}  // namespace

bool IDataFile::ReadPieces(const std::string& path,
                           const std::function<void(std::string_view)>& piece) {
  TFileBytes bytes;
  if (!Read(path, bytes)) return false;
  piece(bytes.View());
  return true;
}

bool IDataFile::ReplaceInParts(const std::string& path, const TPartSource& nextPart) {
  std::string bytes;
  for (std::string_view part = nextPart(); !part.empty(); part = nextPart()) bytes += part;
  return Replace(path, bytes);
}

TPartSource OnePart(std::string_view bytes) {
  return [bytes, given = false]() mutable -> std::string_view {
    if (given) return {};
    given = true;
    return bytes;
  };
}

bool TStdDataFile::ReadPieces(const std::string& path,
                              const std::function<void(std::string_view)>& piece) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::unique_ptr<char[]> buffer(new char[kPartSize]);
  while (in) {
    in.read(buffer.get(), kPartSize);
    if (in.gcount() > 0) piece(std::string_view(buffer.get(), static_cast<size_t>(in.gcount())));
  }
  return in.eof();
}

bool TStdDataFile::Read(const std::string& path, TFileBytes& bytes) {
  bytes = {};
  // A directory opens as a stream too, with a size that means nothing.
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size < 0) return false;
  in.seekg(0, std::ios::beg);
  bytes.data.reset(new char[static_cast<size_t>(size)]);
  in.read(bytes.data.get(), size);
  bytes.size = static_cast<size_t>(in.gcount());
  return true;
}

bool TStdDataFile::Replace(const std::string& path, std::string_view bytes) {
  return ReplaceInParts(path, OnePart(bytes));
}

bool TStdDataFile::ReplaceInParts(const std::string& path, const TPartSource& nextPart) {
  std::random_device random;
  const std::string temp = path + ".tmp" + std::to_string(random());
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    for (std::string_view part = nextPart(); out && !part.empty(); part = nextPart()) {
      out.write(part.data(), static_cast<std::streamsize>(part.size()));
    }
    out.flush();
    if (!out) {
      out.close();
      std::remove(temp.c_str());
      return false;
    }
  }
  std::error_code error;
  std::filesystem::rename(temp, path, error);
  if (error) {
    std::remove(temp.c_str());
    return false;
  }
  return true;
}

std::string DataFileBeside(const std::string& executablePath) {
  return ExtractFilePath(executablePath) + "Reminder.dat";
}

}  // namespace reminder
