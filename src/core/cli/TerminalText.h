// Texts between the Windows-1252 of the data file and the terminal's encoding.
#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <string_view>

#include "core/cli/ReminderCtl.h"

namespace reminder {

std::string ToTerminal(std::string_view cp1252, TTerminalCharset charset);

// Output lines gathered into parts of 64 KiB and written part by part: a command that
// prints a line per reminder neither writes each on its own nor holds them all. What is
// left goes out at Flush or at the end.
class TTerminalLines {
 public:
  TTerminalLines(std::ostream& out, TTerminalCharset charset);
  ~TTerminalLines();
  TTerminalLines(const TTerminalLines&) = delete;
  TTerminalLines& operator=(const TTerminalLines&) = delete;

  void Add(std::string_view cp1252Line);
  void Flush();

 private:
  static constexpr size_t kPartSize = 64 * 1024;
  std::ostream& out_;
  TTerminalCharset charset_;
  std::unique_ptr<char[]> buffer_;
  size_t used_ = 0;
};

// False when an argument holds characters that Windows-1252 lacks (or is no UTF-8).
bool FromTerminal(std::string_view text, TTerminalCharset charset, std::string& cp1252);

// An argument for a message, with '?' for what Windows-1252 lacks.
std::string ShownArg(std::string_view text, TTerminalCharset charset);

// A field of an output line: line breaks and tabs become blanks, so that one reminder
// stays one line with tab-separated fields; other control characters show as "\x1B", so
// that a text from a calendar cannot steer the terminal (hide, move or recolour).
std::string OneLine(std::string_view text);
void AppendOneLine(std::string& out, std::string_view text);

// A message, its control characters shown as "\x1B" except its line breaks and tabs.
std::string VisibleControls(std::string_view text);

}  // namespace reminder
