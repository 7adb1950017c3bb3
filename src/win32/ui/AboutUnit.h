// The about box: a version page (icon, product, version from the module's own version
// resource, build date, contact links) and a system page refreshed while the box is open.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "win32/components/HTTPLabel.h"
#include "win32/components/MyCompInfo.h"
#include "win32/components/MyPanel.h"
#include "win32/components/SystemInfo.h"
#include "win32/system/Handles.h"
#include "win32/toolkit/CommonControls.h"
#include "win32/toolkit/Controls.h"
#include "win32/toolkit/Form.h"

namespace reminder {

// The processor's clock in MHz, from its time-stamp counter over half a second at the
// highest priority. It stalls the calling thread for that long.
double MeasureCpuSpeed();

class TAboutDlg : public TForm {
 public:
  // Identifiers of the controls that tests and the owner read.
  enum : int {
    kTabSet = 201,
    kVersion,
    kCompileDateLabel,
    kMemo,
    kProgramIcon,
    kWindowsversion,
    kComputername,
    kUserName,
    kScreenResolution,
    kCPU,
    kNumOfProc,
    kPhysMemTotal,
    kPhysMemFree,
    kMemoryPercInUse,
    kVirtualMemUsed,
    kVirtualMemFree,
    kPageFileUsed,
    kPageFileAvail,
  };

  // Shows the box modally over owner and frees it when it closes.
  static int Execute(HWND owner, bool libraryMode, const TCompileInfo& compileInfo);

  TAboutDlg(const TCompileInfo& compileInfo, bool libraryMode);
  ~TAboutDlg() override;
  // Creates the (hidden) window; ShowModal or Show then shows it.
  void CreateFor(HWND owner);

  TSystemInfo& SystemInformation() { return *SystemInformation_; }
  int PageIndex() const { return pageIndex_; }
  // How often the processor's clock was measured: once per dialog at the most.
  int CpuMeasurements() const { return cpuMeasurements_; }
  // The panel with the two links, and the links, as shown.
  const TMyPanel& LinkPanel() const { return Panel2; }
  const THTTPLabel& MailLink() const { return MailLabel; }
  const THTTPLabel& WebLink() const { return HTTPLabel; }
  // Tests put a stand-in for the half-second measurement here.
  void SetCpuSpeedMeter(double (*meter)()) { cpuSpeedMeter_ = meter; }

 protected:
  void OnCreate() override;
  void OnShow() override;
  void OnCommand(int id, int code, HWND control) override;
  LRESULT OnNotify(NMHDR* header) override;
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void CreateVersionPage();
  void CreateSystemPage();
  HWND AddLabel(std::vector<HWND>& page, const std::string& text, const TBounds& bounds,
                int id = -1, DWORD style = SS_LEFT | SS_NOPREFIX);
  void FormCreate();
  void FormShow();
  // The heading's and the links' colour on the panel: the caption text colour where it
  // reads on the desktop colour, else black or white.
  static COLORREF PanelTextColor();
  void TabSetClick();
  void SystemInformationNewValues();
  void ShowPage(int index);
  void SetLabel(int id, const std::string& text);

  const TCompileInfo& compileInfo_;
  bool libraryMode_;
  std::string speedSuffix_;
  int cpuMeasurements_ = 0;
  double (*cpuSpeedMeter_)() = &MeasureCpuSpeed;
  int pageIndex_ = 0;
  int iconFrame_ = -1;  // the frame around the program icon on the version page
  std::vector<HWND> versionPage_;
  std::vector<HWND> systemPage_;
  HWND productName_ = nullptr;  // drawn in navy
  // Neither WM_SETFONT nor STM_SETICON hands these to the controls.
  TIconHandle icon_;
  TGdiObject<HFONT> productFont_;

  TTabControl TabSet;
  TButton CloseBtn;
  TMyPanel Panel2;
  HWND Panel2Heading_ = nullptr;
  THTTPLabel MailLabel;
  THTTPLabel HTTPLabel;
  std::unique_ptr<TSystemInfo> SystemInformation_;
};

}  // namespace reminder
