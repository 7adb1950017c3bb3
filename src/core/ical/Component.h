// An iCalendar file as a tree of components (VCALENDAR, VEVENT, VALARM, VTIMEZONE ...),
// each with its properties in file order.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/ical/ContentLine.h"

namespace reminder {

// Components nest deeper than this only in files made to harm their reader.
constexpr size_t kMaxComponentDepth = 16;
// A logical line (after unfolding) longer than this is no line of a calendar: the longest
// text a reminder holds needs about a quarter of it.
constexpr size_t kMaxLogicalLine = 1 << 20;

struct TComponent {
  std::string Name;  // upper case, as after BEGIN:
  size_t Line = 0;   // the line of its BEGIN
  std::vector<TContentLine> Properties;
  std::vector<TComponent> Children;

  TComponent() = default;
  TComponent(TComponent&&) = default;
  TComponent& operator=(TComponent&&) = default;
  // Frees the subtree level by level, so that no depth of nesting runs the stack out.
  ~TComponent();

  // The first property of that name, or null.
  const TContentLine* Find(std::string_view name) const;
  size_t Count(std::string_view name) const;
};

struct TParsedCalendar {
  std::vector<TComponent> Roots;
  // Lines that are no content line, by their number; they are left out.
  std::vector<size_t> BadLines;
};

// False, with a German message in error, when BEGIN and END do not pair up, a line stands
// outside every component, components nest too deep or a line is too long. A UTF-8
// byte-order mark at the start is skipped.
bool ParseComponents(std::string_view text, TParsedCalendar& result, std::string& error);

}  // namespace reminder
