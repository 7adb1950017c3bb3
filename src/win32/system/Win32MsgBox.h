// The system message box behind IMsgBox and ShowMsgBox.
#pragma once

#include "core/host/WMsgBox.h"

namespace reminder {

class TWin32MsgBox : public IMsgBox {
 public:
  int Show(const std::string& text, const std::string& caption, uint32_t style,
           TMsgOwner owner) override;
};

// ShowMsgBox on the real message box.
int ShowMsgBox(const std::string& text, const std::string& caption, TMsgKind kind,
               TMsgButtons buttons);

}  // namespace reminder
