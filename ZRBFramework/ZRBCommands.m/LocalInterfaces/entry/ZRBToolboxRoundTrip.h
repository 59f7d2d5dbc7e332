// The one exchange of every toolbox function: "toolbox.zrb" as request and answer, "data.zrb" carrying the
// attribute's value (written by a put, by the PDM for a get). Nothing of an earlier call is ever read as this
// call's answer.
#pragma once

#include <string>
#include <string_view>

class ZRBObjectManager;

class ZRBToolboxRoundTrip {
 public:
  // Runs `word` on `request` (already holding "ROOT", "DATA" and "COMMAND"). With `putValue` the value goes to
  // "data.zrb" first; with `gotValue` the PDM's value is read back from it, trimmed. `pdmCode` receives
  // "RETURN_CODE" (-1 when none). Returns a ZRB_TOOLBOX_* result.
  static int Run(std::string_view word, ZRBObjectManager& request, const std::string* putValue, std::string* gotValue,
                 int* pdmCode);
};
