#include "CADApplicationFrame.h"

#include "CADDlgReaper.h"

namespace {
struct FrameState {
  CADApplicationFrame* frame = nullptr;
  bool absent = false;
};
FrameState& State() {
  static FrameState state;
  return state;
}
}  // namespace

CADApplicationFrame::CADApplicationFrame() : mainWindow_(new CADDialog(nullptr, "CADMainWindow")) {}

CADApplicationFrame::~CADApplicationFrame() { delete mainWindow_; }

CADApplicationFrame* CADApplicationFrame::GetFrame() {
  FrameState& s = State();
  if (s.absent) return nullptr;
  if (!s.frame) s.frame = new CADApplicationFrame();
  return s.frame;
}

void CADApplicationFrame::SetAbsent(bool absent) { State().absent = absent; }

void CADApplicationFrame::Reset() {
  FrameState& s = State();
  CADDlgReaper::Flush();
  if (s.frame) {
    s.frame->Release();
    s.frame = nullptr;
  }
  s.absent = false;
}
