// Reads the document components of a structure node: parts, representations (vis, legacy models, foreign
// formats), drawings, process documents and stand-alone archives, each opened or reused and given its PDM
// identity, and each file registered in the exchange map's content file.
#pragma once

#include "CADIProduct.h"
#include "CADListVal.h"
#include "CADString.h"
#include "CADUnicodeString.h"

class CADDocument;
class ZRBObject;
class ZRBReadContext;

// Where a document component goes: below `parent` (null: a window of its own); `existing` is the instance that
// already stands in its place and `instanceName` the name the relation gives it (both empty for a document
// listed directly at an assembly).
struct ZRBComponentPlace {
  CADIProduct_var parent;
  CADIProduct_var existing;
  CADUnicodeString instanceName;
  const ZRBObject* node = nullptr;      // the item the document speaks for (user-defined attributes), may be null
  const ZRBObject* relation = nullptr;  // the relation that leads to the item ("QUANTITY"), may be null
};

// Lives for one structure build, on the host's user-interface thread. Every reader returns 1 when the document
// was read and 0 when it was skipped (with its message in the command's list); `placed` is the product a part or
// representation became.
class ZRBDocComponentReader {
 public:
  // --- lifecycle
  explicit ZRBDocComponentReader(ZRBReadContext& context);

  // --- dispatch on the kind the object's "EXTERNAL_LOCATION" names
  int Read(const ZRBComponentPlace& place, ZRBObject& document, CADIProduct_var& placed);

  // --- one reader per kind
  int ReadCADPart(const ZRBComponentPlace& place, ZRBObject& document, CADIProduct_var& placed);
  int ReadRepresentation(const ZRBComponentPlace& place, ZRBObject& document, CADIProduct_var& placed);
  int ReadDrawing(ZRBObject& document);
  // Archives have no reader of their own yet: the file is registered and left alone.
  int ReadZRBArchive(ZRBObject& document);
  // The process document the node's "CADPROCESS" names, opened beside the structure.
  int ReadProcess(ZRBObject& node);

 private:
  enum class Kind { Part, Vis, LegacyModel, Representation, Drawing, Archive, Product, Unknown };
  Kind KindOf(const CADUnicodeString& path) const;
  // The document of `path`: already in the session, or opened now (read-only when `readOnly`).
  CADDocument* Obtain(const CADUnicodeString& path, int readOnly, ZRBObject& document);
  // Puts the document's root product in its place; null when it could not be placed.
  CADIProduct_var Place(const ZRBComponentPlace& place, CADDocument* document, ZRBObject& object,
                        const CADUnicodeString& path, const CADUnicodeString& partNumber, Kind kind, int readOnly);
  // The PDM identity and attributes of a placed component, and its file's registration.
  void Describe(const CADIProduct_var& product, const ZRBComponentPlace& place, ZRBObject& object,
                const CADUnicodeString& path);
  int ReadComponent(const ZRBComponentPlace& place, ZRBObject& document, CADIProduct_var& placed, Kind kind);

  // --- standard parts (items with "IS_STD_PART" "1")
  // 1 when standard parts come from the workstation's own installation, not from the PDM: the site switched
  // loading them off and the PDM does not manage them.
  int StandardPartsFromInstallation() const;
  // A standard part taken from the documents the session already holds (the installation loads them).
  int ReadInstalledStandardPart(const ZRBComponentPlace& place, ZRBObject& document, CADIProduct_var& placed,
                                const CADUnicodeString& partNumber, Kind kind);
  // Brings the instances of a standard part below its assembly up to the relation's "QUANTITY".
  void MatchStandardPartQuantity(const ZRBComponentPlace& place, const CADIProduct_var& placed,
                                 const CADUnicodeString& partNumber);

  ZRBReadContext& context_;
  CADListValCADString representationFormats_;  // read once per build
  int installationHintGiven_ = 0;
};
