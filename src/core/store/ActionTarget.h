// What a reminder's action reaches outside the module: the address, program or document
// named by its parameter, checked before it is handed to the shell and shown to the user
// before it runs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/store/NotifyInfo.h"

namespace reminder {

constexpr char kWebsiteInvalidText[] =
    "Die angegebene Webseite ist keine Web-Adresse! Sie muss mit http://, https:// oder www. "
    "beginnen.";
constexpr char kEmailNotPlainText[] =
    "Die angegebene E-Mail Adresse ist keine einfache Adresse! Sie darf weder Leerzeichen "
    "noch ?, & oder weitere Angaben enthalten.";

// The address the shell opens for a website parameter: "http://" and "https://" addresses
// as they are, a bare "www." address completed with "http://". Anything else (a path, a
// file: or other scheme, a blank or a quote that would reach the browser's command line)
// is no web address.
std::optional<std::string> WebAddress(const std::string& param);

// One address as "mailto:" takes it, with nothing that would add headers, a body,
// attachments or further recipients.
bool IsPlainEmailAddress(const std::string& param);

// Actions that start programs or change the system: a file from elsewhere brings them in
// only when the user says so.
bool StartsOrChangesSystem(uint8_t actionKind);

// "Programm: C:\Tools\app.exe -x", "Webseite: https://...", "E-Mail an: ...",
// "Dokument: ..."; empty for the kinds without a target and for an empty parameter.
std::string ActionTargetText(const TNotifyInfo& record);

}  // namespace reminder
