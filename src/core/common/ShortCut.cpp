#include "core/common/ShortCut.h"

#include <vector>

namespace reminder {

namespace {

struct TKeyName {
  const char* Name;
  uint16_t Key;
};

// The first name of a key is the one shown; later ones are only read.
const TKeyName kKeyNames[] = {
    {"Rück", 0x08},      {"Tab", 0x09},     {"Eingabe", 0x0D}, {"Esc", 0x1B},   {"Leer", 0x20},
    {"Bild auf", 0x21},  {"Bild ab", 0x22}, {"Ende", 0x23},    {"Pos1", 0x24},  {"Links", 0x25},
    {"Oben", 0x26},      {"Rechts", 0x27},  {"Unten", 0x28},   {"Einfg", 0x2D}, {"Entf", 0x2E},
    {"Backspace", 0x08}, {"Enter", 0x0D},   {"Escape", 0x1B},  {"Space", 0x20}, {"PgUp", 0x21},
    {"PgDn", 0x22},      {"End", 0x23},     {"Home", 0x24},    {"Left", 0x25},  {"Up", 0x26},
    {"Right", 0x27},     {"Down", 0x28},    {"Ins", 0x2D},     {"Del", 0x2E},
};

constexpr uint16_t kKeyF1 = 0x70;
constexpr int kFunctionKeys = 24;

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameText(const std::string& a, const char* b) {
  size_t i = 0;
  for (; i < a.size() && b[i]; ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return i == a.size() && !b[i];
}

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

uint16_t KeyFromName(const std::string& name) {
  if (name.size() == 1) {
    const char c =
        name[0] >= 'a' && name[0] <= 'z' ? static_cast<char>(name[0] - 'a' + 'A') : name[0];
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return static_cast<uint16_t>(c);
  }
  // F1 to F24: "F", then a number without leading zero.
  if (name.size() >= 2 && name.size() <= 3 && Lower(name[0]) == 'f' && name[1] != '0' &&
      name.find_first_not_of("0123456789", 1) == std::string::npos) {
    const int number = std::stoi(name.substr(1));
    return number <= kFunctionKeys ? static_cast<uint16_t>(kKeyF1 + number - 1) : 0;
  }
  for (const TKeyName& entry : kKeyNames) {
    if (SameText(name, entry.Name)) return entry.Key;
  }
  return 0;
}

std::string KeyName(uint16_t key) {
  if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) {
    return std::string(1, static_cast<char>(key));
  }
  if (key >= kKeyF1 && key < kKeyF1 + kFunctionKeys) return "F" + std::to_string(key - kKeyF1 + 1);
  for (const TKeyName& entry : kKeyNames) {
    if (entry.Key == key) return entry.Name;
  }
  return "";
}

}  // namespace

bool ParseShortCut(const std::string& text, TShortCut& result) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t plus = text.find('+'); plus != std::string::npos; plus = text.find('+', start)) {
    parts.push_back(Trimmed(text.substr(start, plus - start)));
    start = plus + 1;
  }
  parts.push_back(Trimmed(text.substr(start)));

  TShortCut parsed;
  for (size_t i = 0; i + 1 < parts.size(); ++i) {
    const std::string& part = parts[i];
    if (SameText(part, "Strg") || SameText(part, "Ctrl")) {
      parsed.Ctrl = true;
    } else if (SameText(part, "Umsch") || SameText(part, "Shift")) {
      parsed.Shift = true;
    } else if (SameText(part, "Alt")) {
      parsed.Alt = true;
    } else {
      return false;
    }
  }
  parsed.Key = KeyFromName(parts.back());
  if (parsed.Key == 0) return false;
  result = parsed;
  return true;
}

std::string ShortCutText(const TShortCut& shortCut) {
  const std::string key = KeyName(shortCut.Key);
  if (key.empty()) return "";
  std::string text;
  if (shortCut.Ctrl) text += "Strg+";
  if (shortCut.Shift) text += "Umsch+";
  if (shortCut.Alt) text += "Alt+";
  return text + key;
}

}  // namespace reminder
