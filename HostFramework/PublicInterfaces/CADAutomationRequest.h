// One request of the automation protocol: a verb and its text arguments, read
// from or written to one protocol line, or read from the compact form that
// the command-line client takes as a single argument.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "CADListVal.h"
#include "CADString.h"

class CADAutomationRequest {
 public:
  // Longest request line accepted, newline excluded.
  static constexpr std::size_t kMaxLineBytes = 64 * 1024;

  CADAutomationRequest() = default;
  CADAutomationRequest(CADString verb, CADListValCADUnicodeString arguments)
      : verb_(std::move(verb)), arguments_(std::move(arguments)) {}

  const CADString& GetVerb() const { return verb_; }
  const CADListValCADUnicodeString& GetArguments() const { return arguments_; }

  // --- protocol line: tab-separated, percent-encoded fields, verb first.
  // Takes the line with or without its final "\n" (and a "\r" before it).
  static bool ParseLine(std::string_view line, CADAutomationRequest& out, std::string& error);
  // The line, ending in "\n".
  std::string FormatLine() const;

  // --- compact form "Verb[:argument[:argument]]": the last argument the verb
  // takes runs to the end of the text, earlier ones end at the next ':'.
  // Fields are percent-decoded, so an earlier argument writes ':' as %3A.
  static bool ParseCompact(std::string_view text, CADAutomationRequest& out, std::string& error);

  // --- the verbs the session understands
  // Known verb with the right number of arguments of the right kind.
  bool Validate(std::string& error) const;
  // Performed at once by the bridge's own thread from published values,
  // instead of being queued for the session thread.
  bool IsAnsweredFromSnapshot() const { return verb_ == "GetStatus"; }

 private:
  CADString verb_;
  CADListValCADUnicodeString arguments_;
};
