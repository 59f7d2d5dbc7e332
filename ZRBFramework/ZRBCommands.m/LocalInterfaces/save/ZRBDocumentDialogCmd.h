// What create-for-document and save-as share on the two-step round trip: the document (the active part or
// drawing, or the part selected in a product window) saved into the exchange map and described in "rfile.zrb",
// the PDM's dialog opened with the document's path, and at the end the identity and name the PDM chose there
// applied to the document. "PDM_CANCEL" applies nothing, whatever the answer file still says.
#pragma once

#include <string_view>

#include "CADUnicodeString.h"
#include "ZRBTwoStepCommand.h"

class CADDocument;
class ZRBCreateRequest;
class ZRBObject;
class ZRBObjectManager;

// User-interface thread only (see ZRBTwoStepCommand for the waiting protocol).
class ZRBDocumentDialogCmd : public ZRBTwoStepCommand {
 public:
  // The words and messages of one command.
  struct Words {
    const char* catalog;           // "ZRBCreateForDocCmd"
    const char* requestWord;       // the "COMMAND" object's request word
    std::string_view partWord;     // the action for a part
    std::string_view drawingWord;  // the action for a drawing
    const char* traceLabel;        // "CreateForDoc"
    const char* okMessage;         // "CreateForDocOk"
    bool checkProducts;            // with "ZRB_CHECK_LINKED_PRODUCT" on, a part used by an open product is refused
  };

  // The one selected element of the current product window, when it is a part instance; its document in
  // *document. 1 found, 0 not (traced; "NoPartSelected" or "NoPartObject" is in the warnings).
  int GetDocumentFromSelectedPart(CADDocument** document);

 protected:
  ZRBDocumentDialogCmd(const char* name, ZRBRunningCommandKind kind, const Words& words);

  int StartStep() override;
  void EndStep(const CADString& status) override;
  void RestoreAfterCancel() override;
  void ShowStartFailure() override;

  // --- what the commands vary
  // 1 when the document may be sent (its message added otherwise).
  virtual int CheckDocument(CADDocument& document, bool drawing) = 0;
  // Request content beyond the shared one; 0 stops the command.
  virtual int CompleteRequest(ZRBCreateRequest& request, bool drawing) {
    static_cast<void>(request);
    static_cast<void>(drawing);
    return 1;
  }
  // The whole request: "ROOT", the document saved into the exchange map, "COMMAND", its description and
  // CompleteRequest. 0 stops the command (its message added).
  virtual int BuildRequest(ZRBCreateRequest& request, CADDocument& document, bool drawing);
  // Applies a successful answer; `created` is the object "SUBASSEMBLIES" names (may be null), `document` the
  // document in the session (may be null). 1 applied. The default gives the document the new identity and name.
  virtual int ApplyAnswer(ZRBObjectManager& answer, ZRBObject* created, CADDocument* document);
  // The outcome at the end (and after a start failure with reasons): the message centre.
  virtual void ShowEnd(int success);

  const Words& GetWords() const { return words_; }
  // The document's path in the exchange map once it was saved there.
  const CADUnicodeString& GetDocumentPath() const { return documentPath_; }

 private:
  CADDocument* ChooseDocument();

  const Words& words_;
  CADUnicodeString documentPath_;
  CADUnicodeString requestPath_;
  bool drawing_ = false;
  bool wasModified_ = false;
};
