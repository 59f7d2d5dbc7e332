// Reads a structure answer with the module's own reader and lists every way
// it breaks the protocol's invariants (dangling keys, files neither delivered
// nor declared cached, malformed dates, cycles).
#pragma once

#include <string>
#include <vector>

namespace pdmsimtest {

std::vector<std::string> StructureAnswerProblems(const std::string& answerPath, const std::string& xmap);

}  // namespace pdmsimtest
