// The standalone program. Until the main window exists it runs the scheduler over
// "Reminder.dat" beside the program and announces each due reminder in a message box.
#include <windows.h>

#include <deque>
#include <memory>
#include <string>

#include "core/common/FormatDateTime.h"
#include "core/dialup/HangupUnit.h"
#include "core/store/ReminderClassUnit.h"
#include "win32/dialup/RASAPI32.h"
#include "win32/host/LocaleFormat.h"
#include "win32/host/Win32Clock.h"
#include "win32/host/Win32MsgBox.h"
#include "win32/store/Win32DataFile.h"
#include "win32/toolkit/WindowTimer.h"

using namespace reminder;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  TRasApi32 rasApi;
  TRasService ras(rasApi);
  TWin32MsgBox box;
  TDialUpControl dialUp(ras, box);
  TWin32DataFile file;
  TWin32Clock clock;
  const TFormatSettings fs = LocaleFormatSettings();
  TReminder scheduler(DataFileBeside(ExecutablePath()), file, box, std::make_unique<TWindowTimer>(),
                      clock, dialUp);

  // The boxes are shown after the check, which must not wait for the user.
  std::deque<std::string> due;
  scheduler.SetOnNotify([&](TReminder&, TNotifyInfo& record) {
    const TDateTime when = record.LastNotified != 0 ? record.LastNotified : record.NotifyDate;
    due.push_back(FormatDateTime("c", when, fs) + "\n" + ActionName(record.ActionKind) + "\n\n" +
                  record.NotifyText);
    PostThreadMessageA(GetCurrentThreadId(), WM_NULL, 0, 0);
  });
  scheduler.SetEnabled(true);

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
    while (!due.empty()) {
      const std::string text = due.front();
      due.pop_front();
      ShowMsgBox(text, "Erinnerung", mkInformation, mbOK);
    }
  }
  return 0;
}
