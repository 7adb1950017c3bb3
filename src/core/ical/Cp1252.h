// Windows-1252, the code page of the data file's texts, to and from UTF-8, the encoding of
// calendar files and of terminals other than the Windows console.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace reminder {

// Every byte has a character: the five bytes Windows-1252 leaves open (81, 8D, 8F, 90, 9D)
// stand for the control characters of the same number, as the system's own conversion has
// it, so that any text survives the way there and back.
std::string Cp1252ToUtf8(std::string_view text);
void AppendCp1252AsUtf8(std::string& out, std::string_view text);
// Writes the UTF-8 of text at `to`, which has room for kMaxUtf8PerCp1252 bytes a character,
// and answers the position after it.
constexpr size_t kMaxUtf8PerCp1252 = 3;
char* Cp1252ToUtf8At(char* to, std::string_view text);

struct TCp1252Text {
  std::string Text;
  // Characters Windows-1252 has no byte for, each written as '?'.
  size_t Unmappable = 0;
  // Bytes that are no UTF-8, each also written as '?'.
  size_t Invalid = 0;
  bool Exact() const { return Unmappable == 0 && Invalid == 0; }
};

TCp1252Text Utf8ToCp1252(std::string_view text);

}  // namespace reminder
