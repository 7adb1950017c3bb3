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

enum class TMsgOwner { ActiveWindow, None };

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

// Shows the box owned by the active window; an empty caption takes the kind's caption.
int ShowMsgBox(IMsgBox& box, const std::string& text, const std::string& caption, TMsgKind kind,
               TMsgButtons buttons);

}  // namespace reminder
