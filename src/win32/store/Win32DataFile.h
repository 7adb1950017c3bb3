// The data file on the Windows file system. A save writes a temporary file beside the
// data file, flushes it to disk and renames it over the data file in one step.
#pragma once

#include "core/store/DataFile.h"

namespace reminder {

class TWin32DataFile : public IDataFile {
 public:
  // How long a replace keeps trying while another process holds the data file open.
  explicit TWin32DataFile(unsigned retryMs = 2000) : retryMs_(retryMs) {}
  bool Read(const std::string& path, TFileBytes& bytes) override;
  bool Replace(const std::string& path, std::string_view bytes) override;
  bool ReplaceInParts(const std::string& path, const TPartSource& nextPart) override;

 private:
  unsigned retryMs_;
};

// The full path of the running executable (the host program in library mode).
std::string ExecutablePath();

}  // namespace reminder
