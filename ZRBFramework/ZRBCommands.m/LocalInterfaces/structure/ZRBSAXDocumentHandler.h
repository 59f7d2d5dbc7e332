// Turns the elements of a property-manager file back into records and hands
// each finished record to the manager, so a file damaged half-way still
// yields every record that precedes the damage.
#pragma once

#include <memory>
#include <string>

#include "CADIXMLSAXDocumentHandler.h"
#include "ZRBPropertyFile.h"
#include "ZRBPropertyGlobal.h"
#include "ZRBPropertyInstance.h"
#include "ZRBPropertyPathToRoot.h"
#include "ZRBPropertyReference.h"

class ZRBPropertyManager;

// Used on the thread that runs the parse (the user-interface thread).
class ZRBSAXDocumentHandler : public CADIXMLSAXDocumentHandler {
 public:
  explicit ZRBSAXDocumentHandler(ZRBPropertyManager& manager) : manager_(manager) {}

  HRESULT QueryInterface(const CADIID& iid, void** out) override {
    return CADQueryInterfaceHelper<CADIXMLSAXDocumentHandler, CADBaseUnknown>(this, iid, out);
  }

  // --- parser callbacks
  HRESULT StartElement(const CADUnicodeString& name, const CADIXMLSAXAttributeList& attributes) override;
  HRESULT EndElement(const CADUnicodeString& name) override;
  HRESULT Characters(const CADUnicodeString& text) override;

 private:
  void StartRecord(std::string_view name);
  // Applies the buffered text of the leaf element `name` that just ended.
  void TakeText(std::string_view name);
  void FinishRecord(std::string_view name);
  void FinishProperty();
  void DropCurrentRecords();

  ZRBPropertyManager& manager_;
  // The element whose text is being gathered; cleared at every start and end
  // tag, so the whitespace between elements never lands in a field.
  std::string currentElement_;
  std::string text_;
  CADUnicodeString pendingName_;
  CADUnicodeString pendingValue_;
  // At most one of these is set: the record being read.
  std::unique_ptr<ZRBPropertyGlobal> global_;
  std::unique_ptr<ZRBPropertyReference> reference_;
  std::unique_ptr<ZRBPropertyFile> file_;
  std::unique_ptr<ZRBPropertyInstance> instance_;
  std::unique_ptr<ZRBPropertyPathToRoot> pathToRoot_;
  bool badId_ = false;  // an Id that is no whole number that fits: the file is damaged there
};
