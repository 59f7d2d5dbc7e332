// Fuzzes what reaches the session from outside through the automation
// bridge: request lines from the socket, the compact request of the
// command-line client, and the replies the client reads back. Whatever is
// accepted must survive a format/parse round trip unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "CADAutomationReply.h"
#include "CADAutomationRequest.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

bool SameRequest(const CADAutomationRequest& a, const CADAutomationRequest& b) {
  return a.GetVerb() == b.GetVerb() && a.GetArguments() == b.GetArguments();
}

void RoundTrip(const CADAutomationRequest& request) {
  std::string error;
  request.Validate(error);
  CADAutomationRequest again;
  Check(CADAutomationRequest::ParseLine(request.FormatLine(), again, error));
  Check(SameRequest(request, again));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  std::string error;

  CADAutomationRequest request;
  if (CADAutomationRequest::ParseLine(input, request, error)) RoundTrip(request);
  if (CADAutomationRequest::ParseCompact(input, request, error)) RoundTrip(request);

  CADAutomationReply reply;
  if (CADAutomationReply::ParseLine(input, reply, error)) {
    CADAutomationReply again;
    Check(CADAutomationReply::ParseLine(reply.FormatLine(), again, error));
    Check(again.IsOk() == reply.IsOk() && again.GetValue() == reply.GetValue() &&
          again.GetFields() == reply.GetFields() && again.GetError() == reply.GetError());
  }
  return 0;
}
