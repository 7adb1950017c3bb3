// Reads a file's version resource: the translation, the fixed file information and the
// named strings of the first translation.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace reminder {

class TVersionInfo {
 public:
  // Loads the version data; a file without it leaves the object invalid.
  explicit TVersionInfo(const std::string& fileName);

  bool Valid() const { return valid_; }
  const std::string& FileName() const { return fileName_; }

  // The first entry of "\VarFileInfo\Translation" (language, code page), or null.
  const WORD* GetTranslation() const;
  // "040704E4"; empty without an entry.
  std::string GetTranslationText() const;
  // The root block's fixed information, or null.
  const VS_FIXEDFILEINFO* GetFixedFileInfo() const;
  // False for invalid data.
  bool GetFileVersionNumbers(uint32_t& mostSignificant, uint32_t& leastSignificant) const;
  // Empty for invalid data or a missing value.
  std::string GetStringValue(const std::string& name) const;
  // "FileVersion", else the fixed file version as "1.0.0.1".
  std::string GetFileVersion() const;

 private:
  const void* Query(const std::string& block, UINT& length) const;

  std::string fileName_;
  DWORD handle_ = 0;
  std::vector<char> data_;
  bool valid_ = false;
};

// The file of the module that holds this code: the library itself when loaded by a host,
// the program when standalone.
std::string OwnModuleFileName();

}  // namespace reminder
