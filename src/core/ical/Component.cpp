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

TComponentReader::TComponentReader(THandlers handlers)
    : handlers_(std::move(handlers)),
      unfolder_(kMaxLogicalLine, [this](TUnfoldedLine& line) { Line(line); }) {}

bool TComponentReader::Stop(const std::string& error) {
  if (error_.empty()) error_ = error;
  return false;
}

bool TComponentReader::Unfold(std::string_view utf8) {
  if (error_.empty()) unfolder_.Feed(utf8);
  if (unfolder_.Overlong() != 0) {
    Stop("Zeile länger als " + std::to_string(kMaxLogicalLine / 1024) + " KiB (Zeile " +
         std::to_string(unfolder_.Overlong()) + ")");
  }
  return error_.empty();
}

bool TComponentReader::Feed(std::string_view part) {
  return Unfold(input_.Feed(part));
}

bool TComponentReader::Finish() {
  if (!Unfold(input_.Finish())) return false;
  unfolder_.Finish();
  if (!error_.empty()) return false;
  if (!open_.empty()) {
    return Stop("BEGIN:" + open_.back().Name + " ohne END (Zeile " +
                std::to_string(open_.back().Line) + ")");
  }
  return true;
}

void TComponentReader::Line(TUnfoldedLine& line) {
  if (!error_.empty()) return;
  TContentLine content;
  if (!ParseContentLine(line.Text, content)) {
    if (handlers_.OnBadLine) handlers_.OnBadLine(line.Number);
    return;
  }
  const std::string lineText = " (Zeile " + std::to_string(line.Number) + ")";
  if (content.Name == "BEGIN") {
    if (open_.size() == kMaxComponentDepth) {
      Stop("mehr als " + std::to_string(kMaxComponentDepth) +
           " ineinander geschachtelte Komponenten" + lineText);
      return;
    }
    TComponent component;
    component.Name = UpperAscii(content.Value);
    component.Line = line.Number;
    open_.push_back(std::move(component));
  } else if (content.Name == "END") {
    if (open_.empty() || open_.back().Name != UpperAscii(content.Value)) {
      Stop("END:" + content.Value + " ohne passendes BEGIN" + lineText);
      return;
    }
    TComponent done = std::move(open_.back());
    open_.pop_back();
    if (open_.empty()) {
      if (handlers_.OnRootEnd) handlers_.OnRootEnd(std::move(done));
    } else if (open_.size() == 1) {
      if (handlers_.OnChild) handlers_.OnChild(open_.front(), std::move(done));
    } else {
      open_.back().Children.push_back(std::move(done));
    }
  } else if (open_.empty()) {
    Stop("Eigenschaft " + content.Name + " außerhalb von BEGIN/END" + lineText);
  } else {
    open_.back().Properties.push_back(std::move(content));
  }
}

bool ParseComponents(std::string_view text, TParsedCalendar& result, std::string& error) {
  result = {};
  std::vector<TComponent> children;
  TComponentReader reader({
      [&children](const TComponent&, TComponent&& child) { children.push_back(std::move(child)); },
      [&](TComponent&& root) {
        root.Children = std::move(children);
        children.clear();
        result.Roots.push_back(std::move(root));
      },
      [&result](size_t line) { result.BadLines.push_back(line); },
  });
  reader.Feed(text);
  if (reader.Finish()) return true;
  error = reader.Error();
  return false;
}

}  // namespace reminder
