// The host's application frame: owns the main window that the dialogs of a session are children of. A test can
// make it absent to exercise the paths for a session without one.
#pragma once

#include "CADAutoApplication.h"
#include "CADBaseUnknown.h"
#include "CADDialog.h"

class CADApplicationFrame : public CADAutoApplication {
  CAD_DECLARE_INTERFACE(CADApplicationFrame)

 public:
  // The process's frame, created on first use; null while made absent.
  static CADApplicationFrame* GetFrame();
  // The parent of the session's dialog windows.
  CADDialog* GetMainWindow() { return mainWindow_; }

  // --- automation (CADApplicationFrameAutomation.cpp): the local cache directory
  HRESULT put_LocalCache(const CADUnicodeString& directory) override;
  HRESULT get_LocalCache(CADUnicodeString& directory) override;
  // How often the local cache was reset (tests).
  int GetLocalCacheResetCount() const { return localCacheResets_; }
  HRESULT QueryInterface(const CADIID& iid, void** out) override;

  // --- tests: make the frame absent (or present again), and destroy every window of the session.
  static void SetAbsent(bool absent);
  static void Reset();

 private:
  CADApplicationFrame();
  ~CADApplicationFrame() override;

  CADDialog* mainWindow_;
  CADUnicodeString localCache_;
  int localCacheResets_ = 0;
};
