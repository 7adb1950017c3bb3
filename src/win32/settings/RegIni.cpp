#include "win32/settings/RegIni.h"

#include "core/common/MyTools.h"
#include "win32/store/Win32DataFile.h"
#include "win32/system/Win32MsgBox.h"

namespace reminder {

namespace {

std::unique_ptr<IMsgBox> BoxUnlessGiven(IMsgBox* given) {
  return given ? nullptr : std::make_unique<TWin32MsgBox>();
}

// The executable's name without directory and extension.
std::string ProgramTitle() {
  return ChangeFileExt(ExtractFileName(ExecutablePath()), "");
}

}  // namespace

TTheRegIniFile::TTheRegIniFile(IMsgBox* msgBox)
    : appTitle_(ProgramTitle()),
      ownBox_(BoxUnlessGiven(msgBox)),
      msgBox_(msgBox ? *msgBox : *ownBox_) {}

void TTheRegIniFile::SetArea(const std::string& area) {
  if (area != area_) area_ = area;
}

bool TTheRegIniFile::NamesGiven() {
  if (!area_.empty() && !section_.empty()) return true;
  msgBox_.Show("Bitte Area und Section angeben.", appTitle_, kMbOk, TMsgOwner::ActiveWindow);
  return false;
}

std::string TTheRegIniFile::ReadString(const std::string& name, const std::string& defaultText) {
  errorCode_ = kRegIniOk;
  if (!NamesGiven()) return defaultText;
  HKEY key = nullptr;
  if (name.empty() || !OpenKeyRead(regKey_, FullKeyPath(area_, section_), key)) {
    errorCode_ = kRegIniReadFailed;
    return defaultText;
  }
  std::string text;
  if (!cachedKey_.ReadText(name, text)) {
    errorCode_ = kRegIniReadFailed;
    return defaultText;
  }
  return text;
}

void TTheRegIniFile::WriteString(const std::string& name, const std::string& text) {
  errorCode_ = kRegIniOk;
  if (!NamesGiven()) return;
  HKEY key = nullptr;
  if (!OpenKeyWrite(regKey_, FullKeyPath(area_, section_), key) ||
      !cachedKey_.WriteText(name, text)) {
    errorCode_ = kRegIniWriteFailed;
  }
}

int32_t TTheRegIniFile::ReadInteger(const std::string& name, int32_t defaultValue) {
  const std::string text = ReadString(name, std::string());
  const TIntegerRead read = IntegerFromRead(text, errorCode_, defaultValue);
  errorCode_ = read.errorCode;
  return read.value;
}

void TTheRegIniFile::WriteInteger(const std::string& name, int32_t value) {
  WriteString(name, std::to_string(value));
}

bool TTheRegIniFile::ReadBool(const std::string& name, bool defaultValue) {
  return BoolFromRead(ReadString(name, std::string()), defaultValue);
}

void TTheRegIniFile::WriteBool(const std::string& name, bool value) {
  WriteString(name, StoredBoolText(value));
}

void TTheRegIniFile::CreateKey(HKEY root, const std::string& path) {
  TRegistryKey key;
  key.Create(root, path, KEY_ALL_ACCESS, ExecutablePath());
}

bool TTheRegIniFile::OpenKeyRead(HKEY root, const std::string& path, HKEY& key) {
  return OpenKey(root, path, KEY_QUERY_VALUE, key);
}

bool TTheRegIniFile::OpenKeyWrite(HKEY root, const std::string& path, HKEY& key) {
  return OpenKey(root, path, KEY_SET_VALUE, key);
}

bool TTheRegIniFile::OpenKey(HKEY root, const std::string& path, REGSAM access, HKEY& key) {
  if (cachedKey_.IsOpen() && cachedRoot_ == root && cachedPath_ == path &&
      cachedAccess_ == access) {
    key = cachedKey_.Handle();
    return true;
  }
  cachedKey_.Close();
  if (!cachedKey_.Open(root, path, access)) {
    CreateKey(root, path);
    if (!cachedKey_.Open(root, path, access)) return false;
  }
  cachedRoot_ = root;
  cachedPath_ = path;
  cachedAccess_ = access;
  key = cachedKey_.Handle();
  return true;
}

}  // namespace reminder
