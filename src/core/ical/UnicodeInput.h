// The bytes of a calendar file as UTF-8. Windows programs write calendars in UTF-16 (and a
// few in UTF-32) with a byte-order mark; such a text is converted as it is read. A UTF-8
// byte-order mark is dropped; a text without a mark passes unchanged.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace reminder {

class TUnicodeInput {
 public:
  // The UTF-8 of the part, valid until the next call; a UTF-8 text passes without a copy.
  // The mark is known from the first four bytes, and a code unit cut by the end of a part
  // waits for the next.
  std::string_view Feed(std::string_view part);
  // The end of the text: what still waits, a cut code unit as U+FFFD.
  std::string_view Finish();

 private:
  enum class TForm { Unknown, Utf8, Utf16Le, Utf16Be, Utf32Le, Utf32Be };

  void Detect(bool atEnd);
  std::string_view Decode(bool atEnd);
  void Append(uint32_t code);

  TForm form_ = TForm::Unknown;
  std::string held_;  // bytes not decoded yet
  std::string out_;
  uint32_t highSurrogate_ = 0;
};

}  // namespace reminder
