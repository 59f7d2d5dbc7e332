// The data of one product reference: identity, attributes, parameters,
// representations, design tables and the ordered child instance records.
// An unloaded reference (loaded == false) knows only the file it stands for.
#pragma once

#include <memory>
#include <vector>

#include "CADDocumentImage.h"
#include "CADInstanceRecord.h"
#include "CADUnicodeString.h"

class CADDocument;
class CADDesignTableObject;

struct CADReferenceState {
  bool loaded = true;
  CADUnicodeString linkPath;  // the file an unloaded reference stands for

  CADDocument* document = nullptr;  // holder (the parent's for an embedded component); not owned
  bool embedded = false;

  CADUnicodeString partNumber;
  CADUnicodeString name;  // own instance name as a root ("" = the part number)
  CADUnicodeString nomenclature, revision, definition, description;
  std::vector<CADParameterImage> parameters;
  std::vector<CADShapeImage> shapes;  // explicit ones; parts get an implicit "Default"
  std::vector<CADVar<CADDesignTableObject>> tables;
  std::vector<std::shared_ptr<CADInstanceRecord>> records;
  // Grows whenever `records` changes, so nodes know when to rebuild their children.
  unsigned long recordsRevision = 0;
  int workMode = 2;
};
