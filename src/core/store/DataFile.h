// Whole-file access for the data file. Replacing is all or nothing: a reader finds either
// the old file or the new one, never a missing or partial file.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace reminder {

// A file's bytes, read into memory that is not cleared first.
struct TFileBytes {
  std::unique_ptr<char[]> data;
  size_t size = 0;
  std::string_view View() const { return {data.get(), size}; }
};

// Hands out a new file's content part by part, an empty part after the last one. A part
// stays valid until the next call.
using TPartSource = std::function<std::string_view()>;

class IDataFile {
 public:
  virtual ~IDataFile() = default;
  // False when the file is missing or cannot be read; bytes is then empty.
  virtual bool Read(const std::string& path, TFileBytes& bytes) = 0;
  // False when the new content could not be put in place; the old file is then unchanged.
  virtual bool Replace(const std::string& path, std::string_view bytes) = 0;
  // Replace with the content in parts, for writers that need not hold it whole. By default
  // the parts are gathered and handed to Replace.
  virtual bool ReplaceInParts(const std::string& path, const TPartSource& nextPart);
  // Hands the file to piece in consecutive parts, for readers that need not hold it whole;
  // false when it cannot be read. By default the whole file is one part.
  virtual bool ReadPieces(const std::string& path,
                          const std::function<void(std::string_view)>& piece);
};

// The C++ library's files: a temporary file beside the target, renamed over it.
class TStdDataFile : public IDataFile {
 public:
  bool Read(const std::string& path, TFileBytes& bytes) override;
  bool Replace(const std::string& path, std::string_view bytes) override;
  // Each part is written as it comes: no memory the size of the file is needed.
  bool ReplaceInParts(const std::string& path, const TPartSource& nextPart) override;
  // Parts of 1 MiB in one reused buffer: no memory the size of the file is touched.
  bool ReadPieces(const std::string& path,
                  const std::function<void(std::string_view)>& piece) override;
};

// A source that hands out bytes as its only part.
TPartSource OnePart(std::string_view bytes);

// The data file "Reminder.dat" in the directory of the given executable path.
std::string DataFileBeside(const std::string& executablePath);

}  // namespace reminder
