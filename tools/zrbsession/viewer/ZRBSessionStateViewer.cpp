// The product state of a node as a save computes it, for the session runner's `state` and `dump --json`.
#include "ZRBCommandStates.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBInfoUtil.h"

namespace {

// A save's state checks outside a command: the configurable node behaviour as a command reads it.
class SessionStates final : public ZRBCommandStates {
 protected:
  int ConfigurableNodeBehaviorForStates() const override {
    return g_ZRBConfig.CompareEnvVar("ZRB_CONFIGURABLE_NODE_BEHAVIOR", "ON", 1) ? 1 : 0;
  }
};

}  // namespace

// One computation of a structure is one command: the PDM settings may be asked again.
extern "C" void ZRBSessionBeginStates() { ZRBInfoUtil::StartOfCommand(); }

extern "C" int ZRBSessionProductState(CADIProduct* product, char* text, int size) {
  SessionStates states;
  int state = 0;
  states.GetProductState(CADIProduct_var(product), state);
  CADString printed;
  ZRBCommandStates::StringifyProductState(state, printed);
  if (text && size > 0) {
    const std::string& s = printed.str();
    const std::size_t n = s.size() < static_cast<std::size_t>(size - 1) ? s.size() : static_cast<std::size_t>(size - 1);
    s.copy(text, n);
    text[n] = '\0';
  }
  return state;
}
