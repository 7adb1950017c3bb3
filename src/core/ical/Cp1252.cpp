#include "core/ical/Cp1252.h"

#include <cstdint>
#include <cstring>

namespace reminder {

namespace {

// The characters of the bytes 80..9F; the rest of the code page equals Latin-1.
constexpr char32_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char32_t CharOf(unsigned char byte) {
  return byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : byte;
}

// Writes the character's UTF-8 bytes (at most three: the code page has none beyond) and
// answers the position after them.
char* PutUtf8(char* to, char32_t c) {
  if (c < 0x80) {
    *to++ = static_cast<char>(c);
  } else if (c < 0x800) {
    *to++ = static_cast<char>(0xC0 | (c >> 6));
    *to++ = static_cast<char>(0x80 | (c & 0x3F));
  } else {
    *to++ = static_cast<char>(0xE0 | (c >> 12));
    *to++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *to++ = static_cast<char>(0x80 | (c & 0x3F));
  }
  return to;
}

// The byte of a character, or -1 when the code page has none.
int ByteOf(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
  for (int i = 0; i < 32; ++i) {
    if (kHighControls[i] == c) return 0x80 + i;
  }
  return -1;
}

// Decodes one UTF-8 sequence at text[pos]; returns its length, or 0 when it is malformed
// (overlong forms, surrogates and values beyond U+10FFFF included).
size_t DecodeUtf8(std::string_view text, size_t pos, char32_t& c) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[pos + i]); };
  const unsigned char lead = byte(0);
  size_t length;
  char32_t min;
  if (lead < 0x80) {
    c = lead;
    return 1;
  } else if ((lead & 0xE0) == 0xC0) {
    length = 2;
    min = 0x80;
    c = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3;
    min = 0x800;
    c = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4;
    min = 0x10000;
    c = lead & 0x07;
  } else {
    return 0;
  }
  if (pos + length > text.size()) return 0;
  for (size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    c = (c << 6) | (byte(i) & 0x3F);
  }
  if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
  return length;
}

}  // namespace

std::string Cp1252ToUtf8(std::string_view text) {
  std::string out;
  AppendCp1252AsUtf8(out, text);
  return out;
}

void AppendCp1252AsUtf8(std::string& out, std::string_view text) {
  const size_t start = out.size();
  out.resize(start + kMaxUtf8PerCp1252 * text.size());
  char* const end = Cp1252ToUtf8At(out.data() + start, text);
  out.resize(static_cast<size_t>(end - out.data()));
}

char* Cp1252ToUtf8At(char* to, std::string_view text) {
  const char* from = text.data();
  const char* const end = from + text.size();
  while (from < end) {
    // Eight bytes at a time past plain ASCII, which most texts are.
    if (end - from >= 8) {
      uint64_t word;
      std::memcpy(&word, from, 8);
      if ((word & 0x8080808080808080ull) == 0) {
        std::memcpy(to, from, 8);
        to += 8;
        from += 8;
        continue;
      }
    }
    to = PutUtf8(to, CharOf(static_cast<unsigned char>(*from++)));
  }
  return to;
}

TCp1252Text Utf8ToCp1252(std::string_view text) {
  TCp1252Text result;
  result.Text.reserve(text.size());
  size_t pos = 0;
  while (pos < text.size()) {
    char32_t c = 0;
    const size_t length = DecodeUtf8(text, pos, c);
    if (length == 0) {
      result.Text += '?';
      ++result.Invalid;
      ++pos;
      continue;
    }
    pos += length;
    const int byte = ByteOf(c);
    if (byte < 0) {
      result.Text += '?';
      ++result.Unmappable;
    } else {
      result.Text += static_cast<char>(byte);
    }
  }
  return result;
}

}  // namespace reminder
