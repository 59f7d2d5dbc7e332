// Answers automation requests on the bridge's thread and performs them on the
// session thread: GetStatus from the published snapshot, every other verb
// queued to the event loop (in arrival order) and answered at once, because
// the session thread may be blocked in the very PDM call that sends it.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "CADAutomationReply.h"
#include "CADAutomationRequest.h"
#include "CADBaseTypes.h"
#include "CADString.h"

class CADAutomationDispatcher {
 public:
  // Told, on the session thread, how each queued request went: the invoke
  // result (E_FAIL when the component could not be created) and its int.
  using Observer = std::function<void(const CADAutomationRequest&, HRESULT, int)>;

  // --- lifecycle (session thread)
  explicit CADAutomationDispatcher(CADString componentClass = "ZRBModComm");
  const CADString& GetComponentClass() const { return componentClass_; }
  // Set before serving.
  void SetObserver(Observer observer);

  // --- any thread
  // One request line in, one reply line out.
  std::string HandleLine(std::string_view line) const;
  CADAutomationReply Handle(const CADAutomationRequest& request) const;

  // --- session thread: what a queued request runs
  static HRESULT Perform(const CADString& componentClass, const CADAutomationRequest& request, int& result);

 private:
  CADString componentClass_;
  std::shared_ptr<Observer> observer_;  // shared with queued jobs that outlive the dispatcher
};
