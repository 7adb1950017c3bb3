// The one way the system reports to the user: a message kind gives the caption and icon,
// the button layouts give the rest of the message-box style.
#pragma once

#include <cstdint>
#include <string>

namespace reminder {

enum TMsgKind : uint8_t {
  mkError = 0,
  mkInformation = 1,
  mkQuestion = 2,
  mkWarning = 3,
  mkConfirmation = 4,
};

// A set of layouts, one bit each; callers pass one.
using TMsgButtons = uint8_t;
constexpr TMsgButtons mbAbortRetryIgnore = 1 << 0;
constexpr TMsgButtons mbOK = 1 << 1;
constexpr TMsgButtons mbOKCancel = 1 << 2;
constexpr TMsgButtons mbRetryCancel = 1 << 3;
constexpr TMsgButtons mbYesNo = 1 << 4;
constexpr TMsgButtons mbYesNoCancel = 1 << 5;

// System message-box style bits used here.
constexpr uint32_t kMbOk = 0x0;
constexpr uint32_t kMbIconStop = 0x10;
constexpr uint32_t kMbIconQuestion = 0x20;
constexpr uint32_t kMbIconExclamation = 0x30;
constexpr uint32_t kMbIconInformation = 0x40;
constexpr uint32_t kMbSetForeground = 0x10000;

// The window that owns a box and is disabled while it is open: the active window, none, or
// a given one (a native window handle).
class TMsgOwner {
 public:
  static const TMsgOwner ActiveWindow;
  static const TMsgOwner None;
  static TMsgOwner Window(void* window) { return TMsgOwner(window ? kWindow : kNone, window); }

  bool IsActiveWindow() const { return kind_ == kActiveWindow; }
  void* WindowHandle() const { return window_; }
  bool operator==(const TMsgOwner& other) const {
    return kind_ == other.kind_ && window_ == other.window_;
  }

 private:
  enum TKind { kActiveWindow, kNone, kWindow };
  TMsgOwner(TKind kind, void* window) : kind_(kind), window_(window) {}
  TKind kind_;
  void* window_;
};

inline const TMsgOwner TMsgOwner::ActiveWindow{kActiveWindow, nullptr};
inline const TMsgOwner TMsgOwner::None{kNone, nullptr};

// The system message box; the shell shows a real one, tests record the calls.
class IMsgBox {
 public:
  virtual ~IMsgBox() = default;
  // Returns the identifier of the button pressed.
  virtual int Show(const std::string& text, const std::string& caption, uint32_t style,
                   TMsgOwner owner) = 0;
};

uint32_t MsgBoxStyle(TMsgKind kind, TMsgButtons buttons);
std::string MsgBoxCaption(TMsgKind kind, const std::string& caption);

// Shows the box, by default owned by the active window; an empty caption takes the kind's
// caption.
int ShowMsgBox(IMsgBox& box, const std::string& text, const std::string& caption, TMsgKind kind,
               TMsgButtons buttons, TMsgOwner owner = TMsgOwner::ActiveWindow);

}  // namespace reminder
