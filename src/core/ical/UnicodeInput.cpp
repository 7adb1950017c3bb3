#include "core/ical/UnicodeInput.h"

namespace reminder {

namespace {

constexpr uint32_t kReplacement = 0xFFFD;
constexpr size_t kLongestMark = 4;

bool StartsWith(std::string_view text, std::string_view mark) {
  return text.substr(0, mark.size()) == mark;
}

bool IsHighSurrogate(uint32_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(uint32_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace

void TUnicodeInput::Detect(bool atEnd) {
  using namespace std::string_view_literals;
  if (held_.size() < kLongestMark && !atEnd) return;
  struct TMark {
    std::string_view Bytes;
    TForm Form;
  };
  // UTF-32LE before UTF-16LE: its mark begins with the other's.
  static constexpr TMark kMarks[] = {
      {"\xEF\xBB\xBF"sv, TForm::Utf8},    {"\xFF\xFE\0\0"sv, TForm::Utf32Le},
      {"\0\0\xFE\xFF"sv, TForm::Utf32Be}, {"\xFF\xFE"sv, TForm::Utf16Le},
      {"\xFE\xFF"sv, TForm::Utf16Be},
  };
  form_ = TForm::Utf8;
  for (const TMark& mark : kMarks) {
    if (StartsWith(held_, mark.Bytes)) {
      form_ = mark.Form;
      held_.erase(0, mark.Bytes.size());
      return;
    }
  }
}

void TUnicodeInput::Append(uint32_t code) {
  if (highSurrogate_ != 0) {
    const uint32_t high = highSurrogate_;
    highSurrogate_ = 0;
    if (IsLowSurrogate(code)) {
      code = 0x10000 + ((high - 0xD800) << 10) + (code - 0xDC00);
    } else {
      Append(kReplacement);
    }
  }
  if (IsHighSurrogate(code) && (form_ == TForm::Utf16Le || form_ == TForm::Utf16Be)) {
    highSurrogate_ = code;
    return;
  }
  if (IsHighSurrogate(code) || IsLowSurrogate(code) || code > 0x10FFFF) code = kReplacement;
  if (code < 0x80) {
    out_ += static_cast<char>(code);
  } else if (code < 0x800) {
    out_ += static_cast<char>(0xC0 | (code >> 6));
    out_ += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out_ += static_cast<char>(0xE0 | (code >> 12));
    out_ += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out_ += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out_ += static_cast<char>(0xF0 | (code >> 18));
    out_ += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out_ += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out_ += static_cast<char>(0x80 | (code & 0x3F));
  }
}

std::string_view TUnicodeInput::Decode(bool atEnd) {
  out_.clear();
  if (form_ == TForm::Utf8) {
    out_.swap(held_);
    return out_;
  }
  const bool wide = form_ == TForm::Utf32Le || form_ == TForm::Utf32Be;
  const bool little = form_ == TForm::Utf16Le || form_ == TForm::Utf32Le;
  const size_t size = wide ? 4 : 2;
  size_t pos = 0;
  for (; pos + size <= held_.size(); pos += size) {
    uint32_t unit = 0;
    for (size_t i = 0; i < size; ++i) {
      const auto byte = static_cast<unsigned char>(held_[pos + (little ? size - 1 - i : i)]);
      unit = (unit << 8) | byte;
    }
    Append(unit);
  }
  held_.erase(0, pos);
  if (atEnd && (!held_.empty() || highSurrogate_ != 0)) {
    highSurrogate_ = 0;
    held_.clear();
    Append(kReplacement);
  }
  return out_;
}

std::string_view TUnicodeInput::Feed(std::string_view part) {
  if (form_ == TForm::Utf8 && held_.empty()) return part;
  held_.append(part);
  if (form_ == TForm::Unknown) Detect(false);
  return form_ == TForm::Unknown ? std::string_view() : Decode(false);
}

std::string_view TUnicodeInput::Finish() {
  if (form_ == TForm::Unknown) Detect(true);
  return Decode(true);
}

}  // namespace reminder
