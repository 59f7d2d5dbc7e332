// An update paused between writing its request and sending it, while the designer picks the positions and models
// to send: it keeps the written request and the structure's root, and hands the dialog's answer to its command.
#pragma once

#include <memory>

#include "CADIProduct.h"
#include "ZRBObjectManager.h"
#include "ZRBUpdatePosSelect.h"

class ZRBUpdateCmd;

// User-interface thread only; owned by its command.
class ZRBUpdatePosSelection : public ZRBUpdatePosSelect::Handler {
 public:
  // Opens the selection when its settings ask for it and the request has rows to choose from: the request moves
  // into the selection. Null otherwise, with `request` untouched, to be sent at once.
  static std::unique_ptr<ZRBUpdatePosSelection> Open(ZRBUpdateCmd& command, ZRBObjectManager& request,
                                                     const CADIProduct_var& root, bool allParts);
  // An open dialog is let go without an answer.
  ~ZRBUpdatePosSelection() override;

  // The dialog is still waiting for the designer.
  bool IsWaiting() const { return dialog_ != nullptr; }
  ZRBObjectManager& GetRequest() { return request_; }

  void ContinueUpdate(CADListValCADUnicodeString& messages) override;
  void CancelUpdate(CADListValCADUnicodeString& messages) override;

 private:
  ZRBUpdatePosSelection(ZRBUpdateCmd& command, ZRBObjectManager& request, const CADIProduct_var& root)
      : command_(command), request_(std::move(request)), root_(root) {}
  void TakeMessages(CADListValCADUnicodeString& messages);

  ZRBUpdateCmd& command_;
  ZRBObjectManager request_;
  CADIProduct_var root_;
  ZRBUpdatePosSelect* dialog_ = nullptr;  // owned by the dialog tree; null once it answered
};
