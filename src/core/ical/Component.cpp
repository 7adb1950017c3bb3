#include "core/ical/Component.h"

namespace reminder {

const TContentLine* TComponent::Find(std::string_view name) const {
  for (const TContentLine& property : Properties) {
    if (property.Name == name) return &property;
  }
  return nullptr;
}

size_t TComponent::Count(std::string_view name) const {
  size_t count = 0;
  for (const TContentLine& property : Properties) {
    if (property.Name == name) ++count;
  }
  return count;
}

TComponent::~TComponent() {
  std::vector<TComponent> pending = std::move(Children);
  while (!pending.empty()) {
    TComponent last = std::move(pending.back());
    pending.pop_back();
    for (TComponent& child : last.Children) pending.push_back(std::move(child));
    last.Children.clear();
  }
}

bool ParseComponents(std::string_view text, TParsedCalendar& result, std::string& error) {
  result = {};
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
    text.remove_prefix(kByteOrderMark.size());
  }
  // The open components, innermost last; each is moved into its parent when it ends.
  std::vector<TComponent> open;
  for (const TUnfoldedLine& line : UnfoldLines(text)) {
    const std::string lineText = " (Zeile " + std::to_string(line.Number) + ")";
    if (line.Text.size() > kMaxLogicalLine) {
      error = "Zeile länger als " + std::to_string(kMaxLogicalLine / 1024) + " KiB" + lineText;
      return false;
    }
    TContentLine content;
    if (!ParseContentLine(line.Text, content)) {
      result.BadLines.push_back(line.Number);
      continue;
    }
    if (content.Name == "BEGIN") {
      if (open.size() == kMaxComponentDepth) {
        error = "mehr als " + std::to_string(kMaxComponentDepth) +
                " ineinander geschachtelte Komponenten" + lineText;
        return false;
      }
      TComponent component;
      component.Name = UpperAscii(content.Value);
      component.Line = line.Number;
      open.push_back(std::move(component));
    } else if (content.Name == "END") {
      if (open.empty() || open.back().Name != UpperAscii(content.Value)) {
        error = "END:" + content.Value + " ohne passendes BEGIN" + lineText;
        return false;
      }
      TComponent done = std::move(open.back());
      open.pop_back();
      (open.empty() ? result.Roots : open.back().Children).push_back(std::move(done));
    } else if (open.empty()) {
      error = "Eigenschaft " + content.Name + " außerhalb von BEGIN/END" + lineText;
      return false;
    } else {
      open.back().Properties.push_back(std::move(content));
    }
  }
  if (!open.empty()) {
    error =
        "BEGIN:" + open.back().Name + " ohne END (Zeile " + std::to_string(open.back().Line) + ")";
    return false;
  }
  return true;
}

}  // namespace reminder
