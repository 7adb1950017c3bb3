// A fresh directory for one test's files, removed with them when the test ends.
#pragma once

#include <string>
#include <vector>

namespace reminder::testing {

class TempDirectory {
 public:
  TempDirectory();
  ~TempDirectory();
  TempDirectory(const TempDirectory&) = delete;
  TempDirectory& operator=(const TempDirectory&) = delete;

  // The directory's full path with its trailing backslash.
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + name; }
  // The names of the files in the directory, sorted.
  std::vector<std::string> FileNames() const;

 private:
  std::string path_;
};

// The whole content of a file; false when it cannot be opened.
bool ReadWholeFile(const std::string& path, std::string& bytes);
// Creates or overwrites a file with the given content directly, without a temporary file.
bool WriteWholeFile(const std::string& path, const std::string& bytes);

}  // namespace reminder::testing
