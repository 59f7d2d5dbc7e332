// Puts an answer over the request file: atomically, or spoilt in the way an
// injected fault asks for (left alone, garbage, cut off).
#pragma once

#include <optional>
#include <string>

#include "ExchangeFile.h"
#include "FaultPlan.h"

namespace pdmsim {

class AnswerWriter {
 public:
  // Applies the fault's code and "STATS" lines to the answer's "ROOT".
  static void ApplyToRoot(ExchangeFile& answer, const std::optional<Fault>& fault);
  // Writes the answer; `note` says what was done (for the journal). A canned
  // answer has every "@EXMAP@" replaced by `exchangeMap`.
  static bool Write(const ExchangeFile& answer, const std::string& path, const std::optional<Fault>& fault,
                    const std::string& exchangeMap, std::string& note, std::string* error);
  // The bytes a truncated answer keeps: cut inside a line in the middle.
  static std::string Truncate(const std::string& bytes);
  static std::string GarbageBytes();
  // Where the answer Write puts comes from, for the journal: "built", "built, truncated", "injected FILE" (an
  // --answer-file, ", truncated" when cut), "garbage" or "none" (the request left as it was).
  static std::string SourceOf(const std::optional<Fault>& fault);
};

}  // namespace pdmsim
