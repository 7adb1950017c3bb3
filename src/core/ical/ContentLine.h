// The line layer of iCalendar files: text escaping, folding into lines of at most 75
// octets ended by CRLF, unfolding, and splitting a line into name, parameters and value.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace reminder {

// A TEXT value: backslash, semicolon and comma escaped, every line break (CRLF, CR or LF)
// written as "\n".
std::string EscapeText(std::string_view text);
// The reverse; a line break comes back as LF. An unknown escape keeps its character.
std::string UnescapeText(std::string_view value);

// Appends one content line, folded so that no physical line exceeds 75 octets; a fold
// never splits a UTF-8 sequence.
void AppendFoldedLine(std::string& out, std::string_view line);

struct TUnfoldedLine {
  std::string Text;
  size_t Number = 0;  // the physical line it starts on, from 1
};

// The logical lines of a text fed in parts: CRLF, a bare LF and a bare CR each end a line, a line
// starting with a blank or a tab continues the one before, empty lines are dropped. A
// logical line is handed on once the next one has begun or the text has ended. A line
// longer than maxLength stops the unfolding (Overlong names where).
class TLineUnfolder {
 public:
  using TOnLine = std::function<void(TUnfoldedLine& line)>;
  TLineUnfolder(size_t maxLength, TOnLine onLine)
      : maxLength_(maxLength), onLine_(std::move(onLine)) {}
  void Feed(std::string_view part);
  void Finish();
  // The physical line the overlong logical line starts on; 0 while there is none.
  size_t Overlong() const { return overlong_; }

 private:
  void Physical(std::string_view line);
  void Check(size_t length, size_t line);

  size_t maxLength_;
  TOnLine onLine_;
  std::string cut_;       // a physical line cut by the end of a part
  bool afterCr_ = false;  // the last line ended with a CR, which an LF may complete
  TUnfoldedLine pending_;
  bool hasPending_ = false;
  size_t number_ = 0;
  size_t overlong_ = 0;
};

// The logical lines of a whole text, as TLineUnfolder gives them.
std::vector<TUnfoldedLine> UnfoldLines(std::string_view text);

struct TContentLine {
  std::string Name;  // upper case
  // Parameter names upper case, values without their quotes.
  std::vector<std::pair<std::string, std::string>> Params;
  std::string Value;

  // The value of a parameter, or null.
  const std::string* Param(std::string_view name) const;
};

// False when the line has no name or no colon outside quotes.
bool ParseContentLine(std::string_view line, TContentLine& result);

std::string UpperAscii(std::string_view text);

}  // namespace reminder
