// Gathers the pieces in which expat delivers character data into whole runs
// and decides how each run is reported: the text of a leaf element is
// content even when it is blank; a blank run between elements is layout.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class CADXMLSAXTextCollector {
 public:
  enum class RunKind { None, Text, Whitespace };

  // A piece of character data of the current run.
  void Append(std::string_view piece) { pending_ += piece; }

  // Markup (a child element or a processing instruction) starts: ends the
  // pending run, which goes to `run`, and marks the current element as
  // having children.
  RunKind TakeBeforeMarkup(std::string& run);
  // An element opens (call after TakeBeforeMarkup).
  void OpenElement() { hasChildren_.push_back(false); }
  // The current element closes: ends its last run and forgets the element.
  RunKind TakeAtElementEnd(std::string& run);

  void Reset();

 private:
  RunKind Take(std::string& run, bool leafContent);
  static bool IsXmlBlank(std::string_view text);

  std::string pending_;
  std::vector<bool> hasChildren_;  // one entry per open element
};
