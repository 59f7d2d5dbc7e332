#include "CADXMLSAXTextCollector.h"

CADXMLSAXTextCollector::RunKind CADXMLSAXTextCollector::TakeBeforeMarkup(std::string& run) {
  RunKind kind = Take(run, false);
  if (!hasChildren_.empty()) hasChildren_.back() = true;
  return kind;
}

CADXMLSAXTextCollector::RunKind CADXMLSAXTextCollector::TakeAtElementEnd(std::string& run) {
  bool leaf = !hasChildren_.empty() && !hasChildren_.back();
  RunKind kind = Take(run, leaf);
  if (!hasChildren_.empty()) hasChildren_.pop_back();
  return kind;
}

void CADXMLSAXTextCollector::Reset() {
  pending_.clear();
  hasChildren_.clear();
}

CADXMLSAXTextCollector::RunKind CADXMLSAXTextCollector::Take(std::string& run, bool leafContent) {
  run.clear();
  run.swap(pending_);
  if (run.empty()) return RunKind::None;
  if (!leafContent && IsXmlBlank(run)) return RunKind::Whitespace;
  return RunKind::Text;
}

bool CADXMLSAXTextCollector::IsXmlBlank(std::string_view text) {
  return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}
