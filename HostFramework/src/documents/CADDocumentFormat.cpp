#include "CADDocumentFormat.h"

#include <charconv>
#include <cmath>

CADDocumentFormat::Kind CADDocumentFormat::KindOf(const CADUnicodeString& type) {
  if (type == "CADPart" || type == "CADProduct" || type == "vis" || type == "model") return Kind::kReference;
  if (type == "CADDrawing") return Kind::kDrawing;
  if (type == "CADProcess" || type == "CADAnalysis") return Kind::kLinks;
  return Kind::kUnknown;
}

bool CADDocumentFormat::IsValidParameter(const CADUnicodeString& type, const CADUnicodeString& value) {
  const std::string& v = value.str();
  if (type == "String") return true;
  if (type == "Boolean") return v == "true" || v == "false";
  if (type == "Integer") {
    long n = 0;
    auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
    return !v.empty() && ec == std::errc() && end == v.data() + v.size();
  }
  if (type == "Real") {
    double d = 0;
    auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), d);
    return !v.empty() && ec == std::errc() && end == v.data() + v.size() && std::isfinite(d);
  }
  return false;
}
