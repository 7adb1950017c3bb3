#include "core/sync/Multistatus.h"

#include <cstdlib>
#include <cstring>
#include <pugixml.hpp>
#include <utility>

namespace reminder {

namespace {

constexpr char kDav[] = "DAV:";
constexpr char kCalDav[] = "urn:ietf:params:xml:ns:caldav";
constexpr char kCalendarServer[] = "http://calendarserver.org/ns/";
// Deeper than any reply needs; what goes deeper is refused, not walked.
constexpr int kMaxDepth = 64;

// An element's name split into its namespace (from the xmlns declarations in force) and
// its local name; pugixml leaves namespaces to its users.
struct TName {
  std::string Space;
  const char* Local;
};

TName NameOf(const pugi::xml_node& node) {
  const char* name = node.name();
  const char* colon = std::strchr(name, ':');
  const std::string attribute =
      colon ? "xmlns:" + std::string(name, static_cast<size_t>(colon - name)) : "xmlns";
  for (pugi::xml_node at = node; at; at = at.parent()) {
    if (const pugi::xml_attribute declared = at.attribute(attribute.c_str())) {
      return {declared.value(), colon ? colon + 1 : name};
    }
  }
  return {"", colon ? colon + 1 : name};
}

bool Is(const pugi::xml_node& node, const char* space, const char* local) {
  if (node.type() != pugi::node_element) return false;
  const TName name = NameOf(node);
  return name.Space == space && std::strcmp(name.Local, local) == 0;
}

pugi::xml_node Child(const pugi::xml_node& node, const char* space, const char* local) {
  for (pugi::xml_node child : node.children()) {
    if (Is(child, space, local)) return child;
  }
  return {};
}

std::string Text(const pugi::xml_node& node) {
  std::string text;
  for (pugi::xml_node child : node.children()) {
    if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
      text += child.value();
    }
  }
  return text;
}

std::string Trimmed(std::string text) {
  const char* blanks = " \t\r\n";
  const size_t first = text.find_first_not_of(blanks);
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// "HTTP/1.1 404 Not Found" gives 404; 0 when it holds no status.
int StatusCode(const std::string& line) {
  const size_t blank = line.find(' ');
  if (blank == std::string::npos) return 0;
  const int code = std::atoi(line.c_str() + blank + 1);
  return code >= 100 && code <= 599 ? code : 0;
}

bool TooDeep(const pugi::xml_node& root) {
  struct TWalker : pugi::xml_tree_walker {
    bool deep = false;
    bool for_each(pugi::xml_node&) override {
      if (depth() > kMaxDepth) deep = true;
      return !deep;
    }
  } walker;
  pugi::xml_node node = root;
  node.traverse(walker);
  return walker.deep;
}

void TakeProperty(const pugi::xml_node& property, TDavResource& resource) {
  if (Is(property, kDav, "getetag")) {
    resource.ETag = Trimmed(Text(property));
  } else if (Is(property, kCalDav, "calendar-data")) {
    resource.CalendarData = Text(property);
  } else if (Is(property, kDav, "displayname")) {
    resource.DisplayName = Trimmed(Text(property));
  } else if (Is(property, kCalendarServer, "getctag")) {
    resource.CTag = Trimmed(Text(property));
  } else if (Is(property, kDav, "sync-token")) {
    resource.SyncToken = Trimmed(Text(property));
  } else if (Is(property, kDav, "current-user-principal")) {
    resource.PrincipalHref = Trimmed(Text(Child(property, kDav, "href")));
  } else if (Is(property, kCalDav, "calendar-home-set")) {
    resource.CalendarHomeHref = Trimmed(Text(Child(property, kDav, "href")));
  } else if (Is(property, kDav, "resourcetype")) {
    resource.IsCollection = !Child(property, kDav, "collection").empty();
    resource.IsCalendar = !Child(property, kCalDav, "calendar").empty();
  } else if (Is(property, kCalDav, "supported-calendar-component-set")) {
    resource.TakesEvents = false;
    for (pugi::xml_node comp : property.children()) {
      if (Is(comp, kCalDav, "comp") && std::strcmp(comp.attribute("name").value(), "VEVENT") == 0) {
        resource.TakesEvents = true;
      }
    }
  }
}

TDavResource ReadResponse(const pugi::xml_node& response) {
  TDavResource resource;
  resource.Href = Trimmed(Text(Child(response, kDav, "href")));
  if (pugi::xml_node status = Child(response, kDav, "status")) {
    resource.Status = StatusCode(Trimmed(Text(status)));
  }
  for (pugi::xml_node propstat : response.children()) {
    if (!Is(propstat, kDav, "propstat")) continue;
    const int status = StatusCode(Trimmed(Text(Child(propstat, kDav, "status"))));
    if (status < 200 || status >= 300) continue;
    for (pugi::xml_node property : Child(propstat, kDav, "prop").children()) {
      TakeProperty(property, resource);
    }
  }
  return resource;
}

}  // namespace

bool ParseMultistatus(std::string_view xml, TMultistatus& result, std::string& error) {
  result = {};
  pugi::xml_document document;
  const pugi::xml_parse_result parsed =
      document.load_buffer(xml.data(), xml.size(), pugi::parse_default, pugi::encoding_utf8);
  if (!parsed) {
    error = "Die Antwort des Servers ist kein gültiges XML (" + std::string(parsed.description()) +
            " bei Byte " + std::to_string(parsed.offset) + ").";
    return false;
  }
  const pugi::xml_node root = document.document_element();
  if (!Is(root, kDav, "multistatus")) {
    error = "Die Antwort des Servers ist keine WebDAV-Statusliste (multistatus).";
    return false;
  }
  if (TooDeep(root)) {
    error = "Die Antwort des Servers ist zu tief verschachtelt.";
    return false;
  }
  for (pugi::xml_node child : root.children()) {
    if (Is(child, kDav, "response")) {
      TDavResource resource = ReadResponse(child);
      if (!resource.Href.empty()) result.Resources.push_back(std::move(resource));
    } else if (Is(child, kDav, "sync-token")) {
      result.SyncToken = Trimmed(Text(child));
    }
  }
  return true;
}

}  // namespace reminder
