#include "core/dialup/HangupUnit.h"

namespace reminder {

bool TDialUpControl::IsConnected() {
  std::vector<uint32_t> handles;
  return service_.EnumConnections(handles) && !handles.empty();
}

void TDialUpControl::HangUpConnection(void* ownerWindow) {
  std::vector<uint32_t> handles;
  if (!service_.EnumConnections(handles) || handles.empty()) {
    Report("Es besteht derzeit keine DFÜ-Netzwerk Verbindung!", ownerWindow);
    return;
  }
  if (!service_.HangUp(handles.front())) Report("Konnte Verbindung nicht trennen!", ownerWindow);
}

void TDialUpControl::Report(const char* text, void* ownerWindow) {
  msgBox_.Show(text, "Reminder Trennung einer DFÜ-Netzwerk Verbindung", kMbIconStop | kMbOk,
               TMsgOwner::Window(ownerWindow));
}

}  // namespace reminder
