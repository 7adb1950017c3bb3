// Whole-file access for the data file. Replacing is all or nothing: a reader finds either
// the old file or the new one, never a missing or partial file.
#pragma once

#include <string>

namespace reminder {

class IDataFile {
 public:
  virtual ~IDataFile() = default;
  // False when the file is missing or cannot be read; bytes is then empty.
  virtual bool Read(const std::string& path, std::string& bytes) = 0;
  // False when the new content could not be put in place; the old file is then unchanged.
  virtual bool Replace(const std::string& path, const std::string& bytes) = 0;
};

// The C++ library's files: a temporary file beside the target, renamed over it.
class TStdDataFile : public IDataFile {
 public:
  bool Read(const std::string& path, std::string& bytes) override;
  bool Replace(const std::string& path, const std::string& bytes) override;
};

// The data file "Reminder.dat" in the directory of the given executable path.
std::string DataFileBeside(const std::string& executablePath);

}  // namespace reminder
