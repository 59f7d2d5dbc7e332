#include "CADApplication.h"

#include <atomic>

#include "CADBaseTypes.h"
#include "CADEventLoop.h"
#include "CADInteractiveApplication.h"

namespace {
std::atomic<CADApplication*> g_mainApplication{nullptr};
}

CADApplication* CADApplication::MainApplication() { return g_mainApplication.load(); }

CADApplication::CADApplication(const CADString& name)
    : name_(name), mainWindow_(std::make_unique<CADMainWindow>(name)) {
  CADApplication* none = nullptr;
  if (!g_mainApplication.compare_exchange_strong(none, this))
    cadhost::FailFast("CADApplication: a second application in one process");
}

CADApplication::~CADApplication() {
  CADApplication* self = this;
  g_mainApplication.compare_exchange_strong(self, nullptr);
}

void CADApplication::AddTimeOut(int intervalMs, CADCommand* command, void* data, CADTimeOutCallback callback) {
  CADEventLoop::Instance().AddTimeOut(intervalMs, command, data, callback);
}

bool CADApplication::RemoveTimeOut(int intervalMs, CADCommand* command) {
  return CADEventLoop::Instance().RemoveTimeOut(intervalMs, command);
}

CADInteractiveApplication* CADInteractiveApplication::MainInteractiveApplication() {
  return dynamic_cast<CADInteractiveApplication*>(CADApplication::MainApplication());
}
