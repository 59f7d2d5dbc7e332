// Everything a document holds, for the host's document library. The public
// CADDocument class only hands this out opaquely.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "CADAppFeature.h"
#include "CADBaseUnknown.h"
#include "CADDocumentImage.h"
#include "CADGeometryBody.h"
#include "CADUnicodeString.h"
#include "CADUuid.h"

class CADProductNode;
class CADDesignTableObject;

// A link to another document by session serial (never an owning pointer, so
// that documents linking each other cannot keep each other alive).
struct CADDocumentLink {
  CADUnicodeString written;       // as the file had it
  CADUnicodeString resolvedPath;  // where it was found ("" when not found)
  unsigned long serial = 0;       // the linked document's serial, 0 when none
};

struct CADDrawingViewState {
  CADUnicodeString name;
  CADDocumentLink shown;
};

struct CADDrawingSheetState {
  CADUnicodeString name;
  std::vector<CADDrawingViewState> views;
};

struct CADAppFeatureEntry {
  CADUnicodeString container;
  CADUnicodeString client;
  std::unique_ptr<CADAppFeature> feature;
};

struct CADDocumentState {
  CADUnicodeString type;
  CADUnicodeString storageName;
  unsigned long serial = 0;
  bool readOnly = false;
  bool dirty = false;
  bool inSession = false;
  // False while the document waits for an update of what it depends on (set by whoever changed that).
  bool upToDate = true;
  // The document's own identifier (null for representation files, which
  // cannot store one).
  CADUuid identifier;

  // Representation files kept byte for byte.
  bool opaque = false;
  std::string bytes;

  // Product documents.
  CADVar<CADProductNode> root;
  std::vector<CADVar<CADProductNode>> components;
  std::vector<CADUnicodeString> containers;
  std::vector<CADAppFeatureEntry> features;  // of the containers above; kept in the session only
  std::vector<CADGeometryBody> bodies;
  unsigned long geometryVersion = 0;

  // Drawings, processes and analyses.
  CADUnicodeString name, comment, responsible;
  std::vector<CADDrawingSheetState> sheets;
  std::vector<CADParameterImage> parameters;
  std::vector<CADVar<CADDesignTableObject>> tables;
  std::vector<CADDocumentLink> links;
  std::vector<std::pair<CADUnicodeString, CADUnicodeString>> properties;
};
