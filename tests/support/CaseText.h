// The text of a table-driven test case's describing field, for test names and failure output; "(none)" for an
// absent C string.
#pragma once

#include <string>
#include <string_view>

inline std::string_view ZrbCaseText(const char* text) { return text ? std::string_view(text) : "(none)"; }
inline std::string_view ZrbCaseText(const std::string& text) { return text; }
