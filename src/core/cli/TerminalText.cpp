#include "core/cli/TerminalText.h"

#include <algorithm>
#include <array>

#include "core/ical/Cp1252.h"

namespace reminder {

std::string ToTerminal(std::string_view cp1252, TTerminalCharset charset) {
  return charset == TTerminalCharset::Utf8 ? Cp1252ToUtf8(cp1252) : std::string(cp1252);
}

TTerminalLines::TTerminalLines(std::ostream& out, TTerminalCharset charset)
    : out_(out), charset_(charset), buffer_(new char[kPartSize]) {}

TTerminalLines::~TTerminalLines() {
  Flush();
}

void TTerminalLines::Add(std::string_view cp1252Line) {
  const size_t most = kMaxUtf8PerCp1252 * cp1252Line.size() + 1;
  if (most > kPartSize - used_) Flush();
  if (most > kPartSize) {
    out_ << ToTerminal(cp1252Line, charset_) << '\n';
    return;
  }
  char* at = buffer_.get() + used_;
  if (charset_ == TTerminalCharset::Utf8) {
    at = Cp1252ToUtf8At(at, cp1252Line);
  } else {
    at = std::copy(cp1252Line.begin(), cp1252Line.end(), at);
  }
  *at++ = '\n';
  used_ = static_cast<size_t>(at - buffer_.get());
}

void TTerminalLines::Flush() {
  out_.write(buffer_.get(), static_cast<std::streamsize>(used_));
  used_ = 0;
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

namespace {

// C0 controls, DEL, and the bytes Windows-1252 leaves undefined, which become C1 controls
// (such as U+009B, the one-byte start of an escape sequence) in UTF-8.
constexpr std::array<bool, 256> MakeControlTable() {
  std::array<bool, 256> table{};
  for (int byte = 0; byte < 0x20; ++byte) table[byte] = true;
  for (int byte : {0x7F, 0x81, 0x8D, 0x8F, 0x90, 0x9D}) table[byte] = true;
  return table;
}

// By table: every character of every listed text is looked at.
constexpr std::array<bool, 256> kControl = MakeControlTable();

bool IsControl(char c) {
  return kControl[static_cast<unsigned char>(c)];
}

void AppendEscaped(std::string& out, char c) {
  static const char kHex[] = "0123456789ABCDEF";
  const auto byte = static_cast<unsigned char>(c);
  out += "\\x";
  out += kHex[byte >> 4];
  out += kHex[byte & 0xF];
}

}  // namespace

void AppendOneLine(std::string& out, std::string_view text) {
  size_t run = 0;  // start of the plain characters not yet copied
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (!IsControl(c)) continue;
    out.append(text.data() + run, i - run);
    run = i + 1;
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    if (c == '\r' || c == '\n' || c == '\t') {
      out += ' ';
    } else {
      AppendEscaped(out, c);
    }
  }
  out.append(text.data() + run, text.size() - run);
}

std::string VisibleControls(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    if (c != '\n' && c != '\t' && IsControl(c)) {
      AppendEscaped(out, c);
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace reminder
