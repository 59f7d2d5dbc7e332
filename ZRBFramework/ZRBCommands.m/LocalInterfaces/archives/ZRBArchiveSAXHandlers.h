// The SAX handlers that fill a ZRBArchive from a structure file. Every element is checked against the block it
// opens in, so a damaged or hostile file (a Child outside Children, an Attribute outside a list, a second Root)
// stops the parse instead of landing somewhere it does not belong.
#pragma once

#include <string>
#include <vector>

#include "CADIXMLSAXDocumentHandler.h"
#include "CADIXMLSAXErrorHandler.h"
#include "ZRBArchive.h"

class ZRBArchiveSAXDocumentHandler : public CADIXMLSAXDocumentHandler {
 public:
  // Fills `archive`; the caller keeps it only when the whole parse succeeded.
  explicit ZRBArchiveSAXDocumentHandler(ZRBArchive* archive) : archive_(archive) {}

  HRESULT QueryInterface(const CADIID& iid, void** out) override {
    return CADQueryInterfaceHelper<CADIXMLSAXDocumentHandler, CADBaseUnknown>(this, iid, out);
  }

  // --- parser callbacks
  HRESULT StartElement(const CADUnicodeString& name, const CADIXMLSAXAttributeList& attributes) override;
  HRESULT EndElement(const CADUnicodeString& name) override;
  HRESULT Characters(const CADUnicodeString& text) override;
  HRESULT EndDocument() override;

 private:
  enum class Block { None, Root, Part, Table, NonCad };

  HRESULT Refuse(const std::string& what);
  bool ParentIs(std::initializer_list<const char*> names) const;
  HRESULT StartKnown(const std::string& name, const CADIXMLSAXAttributeList& attributes);
  void EndKnown(const std::string& name);

  ZRBArchive* archive_;
  std::vector<std::string> open_;  // the elements open now, outermost first
  bool rootSeen_ = false;
  Block block_ = Block::None;
  ZRBArchiveRoot root_;
  ZRBArchivePart part_;
  ZRBArchiveTable table_;
  ZRBArchiveNonCad nonCad_;
  bool dataSeen_ = false;      // the current block has its PartData, TableData or NonCadData
  bool childrenSeen_ = false;  // the current block has its Children
  ZRBArchiveFeature feature_;
  ZRBArchiveAttributes* list_ = nullptr;  // where the next Attribute goes
  std::string pendingName_;
  std::string pendingValue_;
};

class ZRBArchiveSAXErrorHandler : public CADIXMLSAXErrorHandler {
 public:
  HRESULT QueryInterface(const CADIID& iid, void** out) override {
    return CADQueryInterfaceHelper<CADIXMLSAXErrorHandler, CADBaseUnknown>(this, iid, out);
  }
  HRESULT Warning(const CADXMLSAXParseError& error) override;
  HRESULT Error(const CADXMLSAXParseError& error) override;
  HRESULT FatalError(const CADXMLSAXParseError& error) override;
  bool Failed() const { return failed_; }

 private:
  bool failed_ = false;
};
