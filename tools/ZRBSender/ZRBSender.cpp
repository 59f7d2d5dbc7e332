// ZRBSender: sends one automation request to the CAD session whose socket the
// environment names, the way the session's environment script ends
// (`ZRBSender "$1"`). Exit status: 0 done, 1 the session refused, 2 bad
// usage, 3 no session or no answer.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "CADAutomationBridge.h"
#include "CADAutomationClient.h"
#include "CADAutomationRequest.h"

namespace {

constexpr int kDone = 0, kRefused = 1, kUsage = 2, kNoSession = 3;

void PrintUsage(std::FILE* out) {
  std::fprintf(out,
               "usage: ZRBSender [--socket PATH] REQUEST\n"
               "       ZRBSender [--socket PATH] VERB [ARGUMENT...]\n"
               "\n"
               "Sends one request to the running CAD session (socket from %s).\n"
               "REQUEST is VERB[:ARGUMENT[:ARGUMENT]]; the last argument runs to the end,\n"
               "write ':' as %%3A and '%%' as %%25 in earlier ones. An empty REQUEST does nothing.\n"
               "Verbs: GetStatus (prints the status), SetStatus:WORD, StartCmd:COMMAND[:ARGUMENT],\n"
               "       WriteXml:FIRST:SECOND, SetUseDesignTables:0|1\n"
               "Examples: ZRBSender SetStatus:PDM_ADDTEMP_READY\n"
               "          ZRBSender StartCmd:ZRBReadCmd:ZRB_ADD_CMD\n"
               "          ZRBSender StartCmd ZRBHighlightCmd 'a:b c'\n"
               "Exit status: 0 done, 1 refused by the session, 2 bad usage, 3 no session.\n",
               CADAutomationBridge::kSocketVariable);
}

}  // namespace

int main(int argc, char** argv) {
  std::string socketPath = CADAutomationClient::SessionSocketFromEnvironment();
  std::vector<std::string> positional;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (positional.empty() && (arg == "--help" || arg == "-h")) {
      PrintUsage(stdout);
      return kDone;
    }
    if (positional.empty() && arg == "--socket") {
      if (++i == argc) {
        std::fprintf(stderr, "ZRBSender: --socket needs a path\n");
        return kUsage;
      }
      socketPath = argv[i];
      continue;
    }
    if (positional.empty() && arg == "--") continue;
    positional.push_back(std::move(arg));
  }
  if (positional.empty()) {
    PrintUsage(stderr);
    return kUsage;
  }
  // The environment script may be run without an argument just to set up the
  // environment: nothing to send.
  if (positional.size() == 1 && positional[0].empty()) return kDone;

  CADAutomationRequest request;
  std::string error;
  if (positional.size() == 1) {
    if (!CADAutomationRequest::ParseCompact(positional[0], request, error)) {
      std::fprintf(stderr, "ZRBSender: %s in \"%s\"\n", error.c_str(), positional[0].c_str());
      return kUsage;
    }
  } else {
    CADListValCADUnicodeString arguments;
    for (std::size_t i = 1; i < positional.size(); ++i) arguments.Append(CADUnicodeString(positional[i]));
    request = CADAutomationRequest(CADString(positional[0]), arguments);
  }
  if (!request.Validate(error)) {
    std::fprintf(stderr, "ZRBSender: %s\n", error.c_str());
    return kUsage;
  }

  CADAutomationReply reply;
  switch (CADAutomationClient::Send(socketPath, request, reply, error)) {
    case CADAutomationClient::Outcome::NoSession:
    case CADAutomationClient::Outcome::BadReply:
      std::fprintf(stderr, "ZRBSender: %s\n", error.c_str());
      return kNoSession;
    case CADAutomationClient::Outcome::Replied:
      break;
  }
  if (!reply.IsOk()) {
    std::fprintf(stderr, "ZRBSender: the CAD session refused %s: %s\n", request.GetVerb().c_str(),
                 reply.GetError().c_str());
    return kRefused;
  }
  for (const std::string& field : reply.GetFields()) std::printf("%s\n", field.c_str());
  return kDone;
}
