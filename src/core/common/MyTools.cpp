#include "core/common/MyTools.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace reminder {

std::string UpperCaseGerman(const std::string& text) {
  std::string result = text;
  for (char& c : result) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if ((byte >= 'a' && byte <= 'z') || byte == 0xE4 || byte == 0xF6 || byte == 0xFC) {
      // In ASCII and in Windows-1252 alike, the capital lies 32 below the small letter.
      c = static_cast<char>(byte - 0x20);
    }
  }
  return result;
}

std::string RemoveBlanks(const std::string& text) {
  std::string result;
  result.reserve(text.size());
  std::copy_if(text.begin(), text.end(), std::back_inserter(result),
               [](char c) { return c != ' '; });
  return result;
}

std::string TwoDigits(int64_t value) {
  std::string text = std::to_string(value);
  if (text.size() == 1) text.insert(0, 1, '0');
  return text;
}

std::string FourDigits(int64_t value) {
  std::string digits = std::to_string(value);
  const bool negative = value < 0;
  if (negative) digits.erase(0, 1);
  if (digits.size() < 4) digits.insert(0, 4 - digits.size(), '0');
  return negative ? "-" + digits : digits;
}

namespace {

size_t FileNameStart(const std::string& path) {
  const size_t separator = path.find_last_of("\\/:");
  return separator == std::string::npos ? 0 : separator + 1;
}

}  // namespace

std::string ExtractFilePath(const std::string& path) {
  return path.substr(0, FileNameStart(path));
}

std::string ExtractFileName(const std::string& path) {
  return path.substr(FileNameStart(path));
}

std::string ChangeFileExt(const std::string& path, const std::string& ext) {
  const size_t dot = path.rfind('.');
  const bool hasExt = dot != std::string::npos && dot >= FileNameStart(path);
  return (hasExt ? path.substr(0, dot) : path) + ext;
}

bool HasZeroByteByWords(const char* at, size_t size) {
  constexpr uint64_t kOnes = 0x0101010101010101ull;
  constexpr uint64_t kHighBits = 0x8080808080808080ull;
  if (size < 8) {
    bool zero = false;
    for (size_t i = 0; i < size; ++i) zero |= at[i] == 0;
    return zero;
  }
  // (word - ones) & ~word has a high bit set at a word's lowest zero byte and none in a word
  // without one, so the marks of all words are gathered and tested once.
  uint64_t found = 0;
  uint64_t word;
  for (; size > 8; at += 8, size -= 8) {
    std::memcpy(&word, at, 8);
    found |= (word - kOnes) & ~word;
  }
  std::memcpy(&word, at + size - 8, 8);  // the last eight, overlapping what was looked at
  found |= (word - kOnes) & ~word;
  return (found & kHighBits) != 0;
}

}  // namespace reminder
