#include "core/ical/ContentLine.h"

namespace reminder {

namespace {

constexpr size_t kMaxLineOctets = 75;

bool IsContinuationByte(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

bool IsNameChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
}

}  // namespace

std::string UpperAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

std::string EscapeText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    switch (c) {
      case '\\':
      case ';':
      case ',':
        out += '\\';
        out += c;
        break;
      case '\r':
        if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        out += "\\n";
        break;
      case '\n':
        out += "\\n";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string UnescapeText(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\' || i + 1 == value.size()) {
      out += value[i];
      continue;
    }
    const char next = value[++i];
    out += next == 'n' || next == 'N' ? '\n' : next;
  }
  return out;
}

void AppendFoldedLine(std::string& out, std::string_view line) {
  size_t limit = kMaxLineOctets;
  while (line.size() > limit) {
    size_t cut = limit;
    while (cut > 0 && IsContinuationByte(line[cut])) --cut;
    out.append(line.substr(0, cut));
    out += "\r\n ";
    line.remove_prefix(cut);
    limit = kMaxLineOctets - 1;  // the blank that marks the continuation counts
  }
  out.append(line);
  out += "\r\n";
}

void TLineUnfolder::Check(size_t length, size_t line) {
  if (length > maxLength_ && overlong_ == 0) overlong_ = line;
}

void TLineUnfolder::Physical(std::string_view physical) {
  ++number_;
  if (!physical.empty() && (physical[0] == ' ' || physical[0] == '\t') && hasPending_) {
    pending_.Text.append(physical.substr(1));
    Check(pending_.Text.size(), pending_.Number);
  } else if (!physical.empty()) {
    if (hasPending_) onLine_(pending_);
    pending_.Text.assign(physical);
    pending_.Number = number_;
    hasPending_ = true;
    Check(pending_.Text.size(), number_);
  }
}

void TLineUnfolder::Feed(std::string_view part) {
  while (overlong_ == 0 && !part.empty()) {
    // The LF of a CRLF whose CR ended the part before.
    if (afterCr_ && part[0] == '\n') part.remove_prefix(1);
    afterCr_ = false;
    if (part.empty()) return;
    const size_t end = part.find_first_of("\r\n");
    if (end == std::string_view::npos) {
      cut_.append(part);
      // The line may still be a continuation, which starts counting at the line before.
      Check(cut_.size(), number_ + 1);
      return;
    }
    if (cut_.empty()) {
      Physical(part.substr(0, end));
    } else {
      cut_.append(part.substr(0, end));
      Physical(cut_);
      cut_.clear();
    }
    afterCr_ = part[end] == '\r';
    part.remove_prefix(end + 1);
  }
}

void TLineUnfolder::Finish() {
  if (overlong_ != 0) return;
  if (!cut_.empty()) Physical(cut_);
  cut_.clear();
  if (hasPending_ && overlong_ == 0) onLine_(pending_);
  hasPending_ = false;
}

std::vector<TUnfoldedLine> UnfoldLines(std::string_view text) {
  std::vector<TUnfoldedLine> lines;
  TLineUnfolder unfolder(std::string_view::npos,
                         [&lines](TUnfoldedLine& line) { lines.push_back(std::move(line)); });
  unfolder.Feed(text);
  unfolder.Finish();
  return lines;
}

const std::string* TContentLine::Param(std::string_view name) const {
  for (const auto& param : Params) {
    if (param.first == name) return &param.second;
  }
  return nullptr;
}

bool ParseContentLine(std::string_view line, TContentLine& result) {
  result = {};
  size_t pos = 0;
  while (pos < line.size() && IsNameChar(line[pos])) ++pos;
  if (pos == 0) return false;
  result.Name = UpperAscii(line.substr(0, pos));
  while (pos < line.size() && line[pos] == ';') {
    const size_t nameStart = ++pos;
    while (pos < line.size() && IsNameChar(line[pos])) ++pos;
    if (pos == nameStart || pos == line.size() || line[pos] != '=') return false;
    std::string name = UpperAscii(line.substr(nameStart, pos - nameStart));
    std::string value;
    ++pos;
    // A parameter may hold several values parted by commas, each quoted or not.
    while (pos < line.size() && line[pos] != ';' && line[pos] != ':') {
      if (line[pos] == '"') {
        const size_t close = line.find('"', pos + 1);
        if (close == std::string_view::npos) return false;
        value.append(line.substr(pos + 1, close - pos - 1));
        pos = close + 1;
      } else {
        value += line[pos++];
      }
    }
    result.Params.emplace_back(std::move(name), std::move(value));
  }
  if (pos == line.size() || line[pos] != ':') return false;
  result.Value = std::string(line.substr(pos + 1));
  return true;
}

}  // namespace reminder
