#include "core/sync/SyncState.h"

#include <cstdlib>
#include <utility>
#include <vector>

namespace reminder {

namespace {

constexpr char kHeader[] = "Zelto-Reminder-Sync 1";

std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        out.push_back(c);
        break;
    }
  }
  return out;
}

bool Unescaped(std::string_view text, std::string& out) {
  out.clear();
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out.push_back(text[i]);
      continue;
    }
    if (++i == text.size()) return false;
    switch (text[i]) {
      case '\\':
        out.push_back('\\');
        break;
      case 't':
        out.push_back('\t');
        break;
      case 'n':
        out.push_back('\n');
        break;
      case 'r':
        out.push_back('\r');
        break;
      default:
        return false;
    }
  }
  return true;
}

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  for (size_t tab = line.find('\t'); tab != std::string_view::npos; tab = line.find('\t', start)) {
    fields.push_back(line.substr(start, tab - start));
    start = tab + 1;
  }
  fields.push_back(line.substr(start));
  return fields;
}

std::string HashText(uint64_t hash) {
  static const char kDigits[] = "0123456789abcdef";
  std::string text(16, '0');
  for (int i = 15; i >= 0; --i, hash >>= 4) text[static_cast<size_t>(i)] = kDigits[hash & 15];
  return text;
}

bool ParseHash(std::string_view text, uint64_t& hash) {
  if (text.size() != 16) return false;
  hash = 0;
  for (char c : text) {
    const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
    if (digit < 0) return false;
    hash = hash << 4 | static_cast<uint64_t>(digit);
  }
  return true;
}

}  // namespace

std::string SyncStatePath(const std::string& dataFile) {
  return dataFile + ".sync";
}

std::string EncodeSyncState(const TSyncState& state) {
  std::string text = std::string(kHeader) + "\n";
  text += "calendar\t" + Escaped(state.CalendarUrl) + "\n";
  text += "token\t" + Escaped(state.SyncToken) + "\n";
  for (const auto& [identity, item] : state.Items) {
    text += "item\t" + Escaped(identity) + "\t" + Escaped(item.Href) + "\t" + Escaped(item.ETag) +
            "\t" + HashText(item.Hash) + "\t" + HashText(item.MarklessHash) + "\n";
  }
  return text;
}

bool DecodeSyncState(std::string_view text, TSyncState& state) {
  state = {};
  TSyncState read;
  size_t start = 0;
  bool first = true;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) return false;  // cut short
    const std::string_view line = text.substr(start, end - start);
    start = end + 1;
    if (first) {
      if (line != kHeader) return false;
      first = false;
      continue;
    }
    const std::vector<std::string_view> fields = Fields(line);
    std::string value;
    if (fields[0] == "calendar" && fields.size() == 2 && Unescaped(fields[1], value)) {
      read.CalendarUrl = value;
    } else if (fields[0] == "token" && fields.size() == 2 && Unescaped(fields[1], value)) {
      read.SyncToken = value;
    } else if (fields[0] == "item" && fields.size() == 6) {
      std::string identity;
      TSyncItem item;
      if (!Unescaped(fields[1], identity) || !Unescaped(fields[2], item.Href) ||
          !Unescaped(fields[3], item.ETag) || !ParseHash(fields[4], item.Hash) ||
          !ParseHash(fields[5], item.MarklessHash) || !read.Items.emplace(identity, item).second) {
        return false;
      }
    } else {
      return false;
    }
  }
  if (first) return false;
  state = std::move(read);
  return true;
}

}  // namespace reminder
