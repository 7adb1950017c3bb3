#include "win32/settings/ReposApp.h"

#include <memory>
#include <utility>

#include "core/common/MyTools.h"
#include "core/settings/RegIniRules.h"
#include "win32/settings/RegistryKey.h"
#include "win32/store/Win32DataFile.h"

namespace reminder {

namespace {

// Whole numbers stored by name, in the registry or in a file.
class TValueStore {
 public:
  virtual ~TValueStore() = default;
  // A missing value or one that is no whole number gives the default.
  virtual int32_t Read(const std::string& name, int32_t defaultValue) = 0;
  virtual bool Write(const std::string& name, int32_t value) = 0;
};

class TRegistryStore : public TValueStore {
 public:
  // The key is opened with full access and created when missing; its subkey only when
  // writing.
  TRegistryStore(const std::string& keyPath, const std::string& section, bool forWriting) {
    std::string path = FullKeyPath(keyPath, std::string());
    if (!path.empty()) path.pop_back();
    TRegistryKey base;
    if (!base.Create(HKEY_CURRENT_USER, path, KEY_ALL_ACCESS)) return;
    if (forWriting) {
      section_.Create(base.Handle(), section, KEY_SET_VALUE);
    } else {
      section_.Open(base.Handle(), section, KEY_QUERY_VALUE);
    }
  }

  int32_t Read(const std::string& name, int32_t defaultValue) override {
    std::string text;
    int32_t value = 0;
    if (!section_.ReadText(name, text) || !ParseWholeNumber(text, value)) return defaultValue;
    return value;
  }

  bool Write(const std::string& name, int32_t value) override {
    return section_.WriteText(name, std::to_string(value));
  }

 private:
  TRegistryKey section_;
};

class TFileStore : public TValueStore {
 public:
  TFileStore(std::string path, std::string section)
      : path_(std::move(path)), section_(std::move(section)) {}

  int32_t Read(const std::string& name, int32_t defaultValue) override {
    // A whole number is far shorter; a longer text is cut and then fails to parse.
    char text[256] = {};
    GetPrivateProfileStringA(section_.c_str(), name.c_str(), "", text, sizeof text, path_.c_str());
    int32_t value = 0;
    return ParseWholeNumber(text, value) ? value : defaultValue;
  }

  bool Write(const std::string& name, int32_t value) override {
    return WritePrivateProfileStringA(section_.c_str(), name.c_str(), std::to_string(value).c_str(),
                                      path_.c_str()) != FALSE;
  }

 private:
  std::string path_;
  std::string section_;
};

std::unique_ptr<TValueStore> OpenStore(bool useIniFile, const std::string& name,
                                       const std::string& section, bool forWriting) {
  if (useIniFile) return std::make_unique<TFileStore>(name, section);
  return std::make_unique<TRegistryStore>(name, section, forWriting);
}

TPlacementBounds WindowBounds(HWND window) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

BOOL CALLBACK TakeFirstMonitor(HMONITOR, HDC, LPRECT rect, LPARAM found) {
  *reinterpret_cast<RECT*>(found) = *rect;
  return FALSE;
}

TPlacementBounds FirstMonitor() {
  RECT rect = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  EnumDisplayMonitors(nullptr, nullptr, &TakeFirstMonitor, reinterpret_cast<LPARAM>(&rect));
  return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

// The window itself answers its smallest and largest size, as it does when resized.
TPlacementLimits LimitsOf(HWND window) {
  MINMAXINFO info = {};
  info.ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
  info.ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
  SendMessageA(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  TPlacementLimits limits;
  limits.screen = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  limits.minSize = {info.ptMinTrackSize.x, info.ptMinTrackSize.y};
  limits.maxSize = {info.ptMaxTrackSize.x, info.ptMaxTrackSize.y};
  return limits;
}

void SetBounds(HWND window, const TPlacementBounds& bounds) {
  SetWindowPos(window, nullptr, bounds.left, bounds.top, bounds.width, bounds.height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

// Changing the state of a hidden window would show it, so only a visible window takes the
// stored state.
void ApplyState(HWND window, TWindowState state) {
  if (!IsWindowVisible(window)) return;
  if (state == TWindowState::Maximized && !IsZoomed(window)) {
    ShowWindow(window, SW_MAXIMIZE);
  } else if (state == TWindowState::Normal && (IsZoomed(window) || IsIconic(window))) {
    ShowWindow(window, SW_RESTORE);
  }
}

}  // namespace

void TRePosApp::UseDefaultName(bool useIniFile) {
  if (!InifileName.empty()) return;
  if (!useIniFile) {
    InifileName = "\\Software\\My Application";
    return;
  }
  InifileName = ChangeFileExt(ExecutablePath(), ".ini");
}

void TRePosApp::SaveAppPosition(bool useIniFile) {
  if (IsIconic(owner_)) return;
  UseDefaultName(useIniFile);
  const TPlacementBounds bounds = WindowBounds(owner_);
  auto store = OpenStore(useIniFile, InifileName, SectionName, true);
  const std::pair<const std::string&, int32_t> values[] = {
      {WindowStateName, IsZoomed(owner_) ? 1 : 0},
      {TopName, bounds.top},
      {LeftName, bounds.left},
      {WidthName, bounds.width},
      {HeightName, bounds.height}};
  // The first refused write ends the save; what was written stays.
  for (const auto& [name, value] : values) {
    if (!store->Write(name, value)) return;
  }
}

void TRePosApp::LoadAppPosition(bool useIniFile) {
  UseDefaultName(useIniFile);
  TStoredPlacement stored;
  {
    auto store = OpenStore(useIniFile, InifileName, SectionName, false);
    stored.top = store->Read(TopName, kNotStored);
    stored.left = store->Read(LeftName, kNotStored);
    stored.height = store->Read(HeightName, kNotStored);
    stored.width = store->Read(WidthName, kNotStored);
    stored.maximized = store->Read(WindowStateName, 0);
  }
  Restore(stored);
}

void TRePosApp::Restore(const TStoredPlacement& stored) {
  if (CentresInstead(stored)) {
    SetBounds(owner_, CentredOn(WindowBounds(owner_), FirstMonitor()));
    return;
  }
  ApplyState(owner_, RestoredState(stored.maximized, AllowMaximized));
  if (IsZoomed(owner_) || IsIconic(owner_)) return;
  const bool sizeable = (GetWindowLongA(owner_, GWL_STYLE) & WS_THICKFRAME) != 0;
  SetBounds(owner_, RestoredBounds(stored, WindowBounds(owner_), sizeable, LimitsOf(owner_)));
}

}  // namespace reminder
