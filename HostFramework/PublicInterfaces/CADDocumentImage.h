// The content of a document file as plain data: what the reader produces from
// the text and the writer turns back into text. Links are kept as written
// (file names or paths); resolving them is the session's job.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "CADGeometryBody.h"
#include "CADMathTransformation.h"
#include "CADUnicodeString.h"
#include "CADUuid.h"

struct CADParameterImage {
  CADUnicodeString name;
  CADUnicodeString type;  // "String", "Boolean", "Integer", "Real"
  CADUnicodeString value;
  friend bool operator==(const CADParameterImage&, const CADParameterImage&) = default;
};

struct CADDesignTableImage {
  CADUnicodeString name;
  CADUnicodeString alias;
  bool active = true;
  CADUnicodeString sheetPath;
  friend bool operator==(const CADDesignTableImage&, const CADDesignTableImage&) = default;
};

struct CADShapeImage {
  CADUnicodeString name;
  CADUnicodeString path;
  CADUnicodeString format;
  friend bool operator==(const CADShapeImage&, const CADShapeImage&) = default;
};

struct CADInstanceImage {
  CADUnicodeString name;
  bool component = false;   // target names an embedded component by part number
  CADUnicodeString target;  // else a linked file, as written
  CADMathTransformation position;
  bool active = true;
  friend bool operator==(const CADInstanceImage&, const CADInstanceImage&) = default;
};

// A product reference: the root product of a part or product file, or an
// embedded component of a product file.
struct CADReferenceImage {
  CADUnicodeString partNumber;
  CADUnicodeString name;  // instance name of a root ("" = the part number)
  CADUnicodeString nomenclature, revision, definition, description;
  std::vector<CADParameterImage> parameters;
  std::vector<CADShapeImage> shapes;
  std::vector<CADDesignTableImage> tables;
  std::vector<CADInstanceImage> instances;
  friend bool operator==(const CADReferenceImage&, const CADReferenceImage&) = default;
};

struct CADViewImage {
  CADUnicodeString name;
  CADUnicodeString target;  // the shown file, as written
  friend bool operator==(const CADViewImage&, const CADViewImage&) = default;
};

struct CADSheetImage {
  CADUnicodeString name;
  std::vector<CADViewImage> views;
  friend bool operator==(const CADSheetImage&, const CADSheetImage&) = default;
};

struct CADDocumentImage {
  CADUnicodeString type;
  // The document's own identifier, kept across saves wherever the file goes;
  // null for files written before documents carried one.
  CADUuid identifier;

  // Representation files the host does not interpret: kept byte for byte.
  bool opaque = false;
  std::string bytes;

  // Parts, products, vis and model files.
  bool hasRoot = false;
  CADReferenceImage root;
  std::vector<CADReferenceImage> components;
  std::vector<CADUnicodeString> containers;
  std::vector<CADGeometryBody> bodies;

  // Drawings (name, comment, responsible, sheets, parameters, tables);
  // processes and analyses (name, links, properties).
  CADUnicodeString name, comment, responsible;
  std::vector<CADSheetImage> sheets;
  std::vector<CADParameterImage> parameters;
  std::vector<CADDesignTableImage> tables;
  std::vector<CADUnicodeString> links;
  std::vector<std::pair<CADUnicodeString, CADUnicodeString>> properties;

  friend bool operator==(const CADDocumentImage&, const CADDocumentImage&) = default;
};
