// What the info dialog shows of one selected object: its host attributes, its PDM identity and its state.
#pragma once

#include "CADIProduct.h"
#include "CADString.h"
#include "CADUnicodeString.h"

struct ZRBInfos {
  // The kind of object decides the single page's setup and the name it shows.
  enum Kind : int {
    Unknown = 0,
    TempVis,
    Product,
    Component,
    StdPart,
    Part,
    Model,
    Drawing,
    Catalog,
    Archive,
    Process,
  };

  CADIProduct_var product;  // null for a document without a product (drawing, process, catalog)
  // --- texts
  CADUnicodeString docName, partNumber, instanceName, revision, nomenclature, obid;
  CADUnicodeString partObid, fileObid, relation, docRelId, fileName;
  // --- flags
  int readOnly = 0, fileReadOnly = 0, fileAttachable = 0, dirty = 0, fromPdm = 0;
  Kind kind = Unknown;
  // The document type ("CADPart" ...), sent as the class of the custom-attribute request.
  CADString cadClass;
  // Message key ("ZRBInfoCmd.PartIsTemporary" ...) when the object is not from the PDM or is special.
  CADString message;
};
