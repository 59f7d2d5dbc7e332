#include "CADAutomationDispatcher.h"

#include <cstdio>
#include <exception>

#include "CADAutomationSnapshot.h"
#include "CADComponentFactories.h"
#include "CADEventLoop.h"
#include "CADIAutomation.h"
#include "CADInstantiateComponent.h"

CADAutomationDispatcher::CADAutomationDispatcher(CADString componentClass)
    : componentClass_(std::move(componentClass)), observer_(std::make_shared<Observer>()) {}

void CADAutomationDispatcher::SetObserver(Observer observer) { *observer_ = std::move(observer); }

std::string CADAutomationDispatcher::HandleLine(std::string_view line) const {
  CADAutomationRequest request;
  std::string error;
  if (!CADAutomationRequest::ParseLine(line, request, error)) return CADAutomationReply::Err(error).FormatLine();
  return Handle(request).FormatLine();
}

CADAutomationReply CADAutomationDispatcher::Handle(const CADAutomationRequest& request) const {
  std::string error;
  if (!request.Validate(error)) return CADAutomationReply::Err(error);
  if (!CADComponentFactories::Contains(componentClass_.view()))
    return CADAutomationReply::Err("no automation component \"" + componentClass_.str() + "\" in this session");

  if (request.IsAnsweredFromSnapshot()) {
    std::string status;
    CADAutomationSnapshot::Read(componentClass_.view(), "Status", status);  // never published: empty
    return CADAutomationReply::Ok(1, {status});
  }

  // Queued, not performed: the session thread may be waiting for the very
  // process that sent this request. 1 means "accepted".
  CADEventLoop::Instance().Post([componentClass = componentClass_, request, observer = observer_] {
    int result = 0;
    HRESULT hr = Perform(componentClass, request, result);
    if (FAILED(hr))
      std::fprintf(stderr, "CADAutomationDispatcher: %s on \"%s\" failed (0x%08X)\n", request.GetVerb().c_str(),
                   componentClass.c_str(), static_cast<unsigned>(hr));
    if (*observer) (*observer)(request, hr, result);
  });
  return CADAutomationReply::Ok(1);
}

HRESULT CADAutomationDispatcher::Perform(const CADString& componentClass, const CADAutomationRequest& request,
                                         int& result) {
  result = 0;
  void* raw = nullptr;
  HRESULT hr = CADInstantiateComponent(componentClass, CADIAutomation::ClassId(), &raw);
  if (FAILED(hr) || !raw) return FAILED(hr) ? hr : E_FAIL;
  auto* automation = static_cast<CADIAutomation*>(raw);
  try {
    hr = automation->Invoke(request.GetVerb(), request.GetArguments(), result);
  } catch (const std::exception& failure) {
    // A component fault must not take the session's loop down with it.
    std::fprintf(stderr, "CADAutomationDispatcher: %s threw: %s\n", request.GetVerb().c_str(), failure.what());
    hr = E_FAIL;
  }
  automation->Release();
  return hr;
}
