// Finds the message boxes a test makes the code show, records what they say and answers
// them. It works from a thread timer of the test's own thread: the modal loop of a
// message box dispatches that timer, so the box is read and closed from inside its loop.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace reminder::testing {

enum class BoxIcon { None, Stop, Question, Exclamation, Information, Other };

struct CaughtBox {
  std::string caption;
  std::string text;
  BoxIcon icon = BoxIcon::None;
  HWND owner = nullptr;
  bool topmostOrForeground = false;
  std::vector<int> buttons;  // identifiers of the visible buttons, left to right
};

class MsgBoxCatcher {
 public:
  // answer: the command sent to each box (IDOK, IDCANCEL, IDYES, ...).
  explicit MsgBoxCatcher(int answer = IDOK);
  ~MsgBoxCatcher();
  MsgBoxCatcher(const MsgBoxCatcher&) = delete;
  MsgBoxCatcher& operator=(const MsgBoxCatcher&) = delete;

  const std::vector<CaughtBox>& Boxes() const { return boxes_; }
  void Clear() { boxes_.clear(); }

 private:
  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
  static BOOL CALLBACK OnThreadWindow(HWND window, LPARAM self);
  void Catch(HWND box);

  int answer_;
  UINT_PTR timer_ = 0;
  std::vector<CaughtBox> boxes_;
  std::vector<HWND> answered_;
};

// Runs the thread's message loop until the queue has stayed empty for quietMs, or for
// maxMs at the most.
void FlushEvents(DWORD quietMs = 50, DWORD maxMs = 1000);

// Dispatches messages until done() answers true; false if it still does not after maxMs
// (a guard against a hanging test, never the thing tested).
bool PumpUntil(const std::function<bool()>& done, DWORD maxMs = 5000);

}  // namespace reminder::testing
