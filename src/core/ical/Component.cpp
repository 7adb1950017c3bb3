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

bool ParseComponents(std::string_view text, TParsedCalendar& result, std::string& error) {
  result = {};
  // The open components, innermost last; each is moved into its parent when it ends.
  std::vector<TComponent> open;
  for (const TUnfoldedLine& line : UnfoldLines(text)) {
    TContentLine content;
    if (!ParseContentLine(line.Text, content)) {
      result.BadLines.push_back(line.Number);
      continue;
    }
    const std::string lineText = " (Zeile " + std::to_string(line.Number) + ")";
    if (content.Name == "BEGIN") {
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
