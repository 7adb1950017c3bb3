#include "win32/components/VerInfo.h"

#include <cstring>

#include "core/ui/VersionText.h"
#include "win32/toolkit/Application.h"

namespace reminder {

TVersionInfo::TVersionInfo(const std::string& fileName) : fileName_(fileName) {
  const DWORD size = GetFileVersionInfoSizeA(fileName_.c_str(), &handle_);
  if (size == 0) return;
  data_.resize(size);
  valid_ = GetFileVersionInfoA(fileName_.c_str(), handle_, size, data_.data()) != FALSE;
}

const void* TVersionInfo::Query(const std::string& block, UINT& length) const {
  if (!valid_) return nullptr;
  void* value = nullptr;
  length = 0;
  // The query only reads, but its declaration takes a non-const block.
  auto* data = const_cast<char*>(data_.data());
  if (!VerQueryValueA(data, block.c_str(), &value, &length) || length == 0) return nullptr;
  return value;
}

const WORD* TVersionInfo::GetTranslation() const {
  UINT length = 0;
  const void* value = Query("\\VarFileInfo\\Translation", length);
  return length >= 2 * sizeof(WORD) ? static_cast<const WORD*>(value) : nullptr;
}

std::string TVersionInfo::GetTranslationText() const {
  const WORD* entry = GetTranslation();
  return entry ? TranslationText(entry[0], entry[1]) : "";
}

const VS_FIXEDFILEINFO* TVersionInfo::GetFixedFileInfo() const {
  UINT length = 0;
  const void* value = Query("\\", length);
  return length >= sizeof(VS_FIXEDFILEINFO) ? static_cast<const VS_FIXEDFILEINFO*>(value) : nullptr;
}

bool TVersionInfo::GetFileVersionNumbers(uint32_t& mostSignificant,
                                         uint32_t& leastSignificant) const {
  const VS_FIXEDFILEINFO* info = GetFixedFileInfo();
  if (!info) return false;
  mostSignificant = info->dwFileVersionMS;
  leastSignificant = info->dwFileVersionLS;
  return true;
}

std::string TVersionInfo::GetStringValue(const std::string& name) const {
  if (!valid_) return "";
  UINT length = 0;
  const auto* value =
      static_cast<const char*>(Query(StringFileInfoPath(GetTranslationText(), name), length));
  if (!value) return "";
  // The length counts the closing zero character.
  return std::string(value, strnlen(value, length));
}

std::string TVersionInfo::GetFileVersion() const {
  std::string version = GetStringValue("FileVersion");
  uint32_t mostSignificant = 0, leastSignificant = 0;
  if (version.empty() && GetFileVersionNumbers(mostSignificant, leastSignificant)) {
    version = FixedFileVersionText(mostSignificant, leastSignificant);
  }
  return version;
}

std::string OwnModuleFileName() {
  char name[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(TApplication::Instance(), name, sizeof name);
  return std::string(name, length < sizeof name ? length : 0);
}

}  // namespace reminder
