#include "core/cli/TerminalText.h"

#include "core/ical/Cp1252.h"

namespace reminder {

std::string ToTerminal(std::string_view cp1252, TTerminalCharset charset) {
  return charset == TTerminalCharset::Utf8 ? Cp1252ToUtf8(cp1252) : std::string(cp1252);
}

bool FromTerminal(std::string_view text, TTerminalCharset charset, std::string& cp1252) {
  if (charset == TTerminalCharset::Windows1252) {
    cp1252 = std::string(text);
    return true;
  }
  TCp1252Text converted = Utf8ToCp1252(text);
  cp1252 = std::move(converted.Text);
  return converted.Exact();
}

std::string ShownArg(std::string_view text, TTerminalCharset charset) {
  std::string cp1252;
  FromTerminal(text, charset, cp1252);
  return cp1252;
}

std::string OneLine(std::string_view text) {
  std::string line;
  AppendOneLine(line, text);
  return line;
}

void AppendOneLine(std::string& out, std::string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += c == '\r' || c == '\n' || c == '\t' ? ' ' : c;
  }
}

}  // namespace reminder
