// An iCalendar file as a tree of components (VCALENDAR, VEVENT, VALARM, VTIMEZONE ...),
// each with its properties in file order.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/ical/ContentLine.h"
#include "core/ical/UnicodeInput.h"

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

// Reads the components of a calendar fed in parts, holding only the ones still open: each
// component directly inside a root (a VEVENT or VTIMEZONE inside the VCALENDAR) goes to
// OnChild as soon as it ends, together with its root as far as it is read; a root goes to
// OnRootEnd without those children when it ends. The text is UTF-8, or UTF-16 or UTF-32
// with a byte-order mark (TUnicodeInput).
class TComponentReader {
 public:
  struct THandlers {
    std::function<void(const TComponent& root, TComponent&& child)> OnChild;
    std::function<void(TComponent&& root)> OnRootEnd;
    // A line that is no content line, by its number; it is left out.
    std::function<void(size_t line)> OnBadLine;
  };
  explicit TComponentReader(THandlers handlers);
  // False once the text is found broken: BEGIN and END do not pair up, a line stands
  // outside every component, components nest too deep or a line is too long. Error then
  // says why in German.
  bool Feed(std::string_view part);
  bool Finish();
  const std::string& Error() const { return error_; }

 private:
  bool Unfold(std::string_view utf8);
  void Line(TUnfoldedLine& line);
  bool Stop(const std::string& error);

  THandlers handlers_;
  TUnicodeInput input_;
  TLineUnfolder unfolder_;
  std::vector<TComponent> open_;  // innermost last
  std::string error_;
};

struct TParsedCalendar {
  std::vector<TComponent> Roots;
  // Lines that are no content line, by their number; they are left out.
  std::vector<size_t> BadLines;
};

// A whole text read at once, as TComponentReader reads it; false, with a German message in
// error, when it is broken.
bool ParseComponents(std::string_view text, TParsedCalendar& result, std::string& error);

}  // namespace reminder
