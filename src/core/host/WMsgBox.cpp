#include "core/host/WMsgBox.h"

namespace reminder {

uint32_t MsgBoxStyle(TMsgKind kind, TMsgButtons buttons) {
  uint32_t style = kMbSetForeground;
  switch (kind) {
    case mkError:
      style += kMbIconExclamation;
      break;
    case mkInformation:
      style += kMbIconInformation;
      break;
    case mkQuestion:
    case mkConfirmation:
      style += kMbIconQuestion;
      break;
    case mkWarning:
      style += kMbIconStop;
      break;
  }
  static const uint32_t kLayoutStyle[6] = {2, 0, 1, 5, 4, 3};
  for (int bit = 0; bit < 6; ++bit) {
    if (buttons & (1u << bit)) style += kLayoutStyle[bit];
  }
  return style;
}

std::string MsgBoxCaption(TMsgKind kind, const std::string& caption) {
  if (!caption.empty()) return caption;
  switch (kind) {
    case mkError:
      return "Fehler";
    case mkInformation:
      return "Information";
    case mkQuestion:
      return "Frage";
    case mkWarning:
      return "Warnung";
    case mkConfirmation:
      return "Bestätigung";
  }
  return "";
}

int ShowMsgBox(IMsgBox& box, const std::string& text, const std::string& caption, TMsgKind kind,
               TMsgButtons buttons, TMsgOwner owner) {
  return box.Show(text, MsgBoxCaption(kind, caption), MsgBoxStyle(kind, buttons), owner);
}

}  // namespace reminder
