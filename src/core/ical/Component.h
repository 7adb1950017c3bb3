// An iCalendar file as a tree of components (VCALENDAR, VEVENT, VALARM, VTIMEZONE ...),
// each with its properties in file order.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/ical/ContentLine.h"

namespace reminder {

struct TComponent {
  std::string Name;  // upper case, as after BEGIN:
  size_t Line = 0;   // the line of its BEGIN
  std::vector<TContentLine> Properties;
  std::vector<TComponent> Children;

  // The first property of that name, or null.
  const TContentLine* Find(std::string_view name) const;
  size_t Count(std::string_view name) const;
};

struct TParsedCalendar {
  std::vector<TComponent> Roots;
  // Lines that are no content line, by their number; they are left out.
  std::vector<size_t> BadLines;
};

// False, with a German message in error, when BEGIN and END do not pair up or a line
// stands outside every component.
bool ParseComponents(std::string_view text, TParsedCalendar& result, std::string& error);

}  // namespace reminder
