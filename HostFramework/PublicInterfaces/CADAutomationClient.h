// The client side of the automation protocol: sends one request to a
// session's socket and reads its reply.
#pragma once

#include <string>

#include "CADAutomationReply.h"
#include "CADAutomationRequest.h"

class CADAutomationClient {
 public:
  enum class Outcome { Replied, NoSession, BadReply };

  // The socket path a child of the session inherits, or empty.
  static std::string SessionSocketFromEnvironment();

  // Connects to `socketPath`, sends `request` and waits up to `timeoutMs` for
  // the reply. NoSession when nobody listens there (or the path is empty),
  // BadReply when the answer is missing or malformed; `error` says why.
  static Outcome Send(const std::string& socketPath, const CADAutomationRequest& request, CADAutomationReply& reply,
                      std::string& error, int timeoutMs = 10000);
};
