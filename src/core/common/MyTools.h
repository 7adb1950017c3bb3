// The pure text routines of the tools object: case folding for paths, and the digit
// padding and blank removal that the date and version texts are built with.
#pragma once

#include <cstdint>
#include <string>

namespace reminder {

// a..z become A..Z and the Windows-1252 umlauts ä, ö, ü (E4, F6, FC) become Ä, Ö, Ü
// (C4, D6, DC); every other byte, ß included, stays as it is.
std::string UpperCaseGerman(const std::string& text);

// The text without any blank (space) character.
std::string RemoveBlanks(const std::string& text);

// The directory of a path with its trailing separator ("" when it has none), and the file
// name after it.
std::string ExtractFilePath(const std::string& path);
std::string ExtractFileName(const std::string& path);
// The path with the extension of its file name replaced by ext (which includes the dot;
// empty removes it), or ext appended when the name has none.
std::string ChangeFileExt(const std::string& path, const std::string& ext);

// The decimal text, with a leading "0" when it is a single character: 7 gives "07",
// 12 gives "12", -5 gives "-5".
std::string TwoDigits(int64_t value);

// The decimal text with its digits padded by leading "0" to at least four: 6 gives "0006",
// 12345 gives "12345", -6 gives "-0006".
std::string FourDigits(int64_t value);

// Whether the size bytes at `at` hold a zero byte, looked at eight bytes at a time without
// a branch per word, for texts of a few words.
bool HasZeroByteByWords(const char* at, size_t size);

}  // namespace reminder
