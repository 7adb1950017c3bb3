#include "core/dialup/HangupUnit.h"

namespace reminder {

bool TDialUpControl::IsConnected() {
  std::vector<uint32_t> handles;
  return service_.EnumConnections(handles) && !handles.empty();
}

void TDialUpControl::HangUpConnection() {
  std::vector<uint32_t> handles;
  if (!service_.EnumConnections(handles) || handles.empty()) {
    Report("Es besteht derzeit keine DFÜ-Netzwerk Verbindung!");
    return;
  }
  if (!service_.HangUp(handles.front())) Report("Konnte Verbindung nicht trennen!");
}

void TDialUpControl::Report(const char* text) {
  msgBox_.Show(text, "Reminder Trennung einer DFÜ-Netzwerk Verbindung", kMbIconStop | kMbOk,
               TMsgOwner::None);
}

}  // namespace reminder
