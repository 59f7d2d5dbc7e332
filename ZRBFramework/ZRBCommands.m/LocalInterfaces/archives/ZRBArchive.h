// The in-memory form of one archive structure file: which member plays which role, under which part number and
// file name, placed how in its parent, and which design tables and non-CAD files belong to it. Plain values.
#pragma once

#include <string>
#include <utility>
#include <vector>

// Ordered name/value pairs: a structure file may hold the same name twice, and order is part of the format.
using ZRBArchiveAttributes = std::vector<std::pair<std::string, std::string>>;

struct ZRBArchiveFeature {
  ZRBArchiveAttributes attributes;
  bool operator==(const ZRBArchiveFeature&) const = default;
};

struct ZRBArchivePartData {
  ZRBArchiveAttributes attributes;
  ZRBArchiveAttributes modelInfos;
  std::vector<ZRBArchiveFeature> features;
  // The optional blocks are written when present, even empty (the file says whether the session had them).
  bool hasModelInfos = false;
  bool hasFeatureList = false;
  // The value of `name` in the attribute list; "" when missing.
  const std::string& Attribute(const std::string& name) const;
  bool operator==(const ZRBArchivePartData&) const = default;
};

struct ZRBArchiveChild {
  std::string childId;  // part number of the child, or a file name for members of an analysis
  std::string instanceName;
  std::string matrix;  // position text, may be empty
  bool operator==(const ZRBArchiveChild&) const = default;
};

struct ZRBArchiveRoot {
  std::string parentPartnumber;
  std::string inAssembly = "0";  // "1" when the root has a father in the session
  ZRBArchivePartData data;
  std::vector<ZRBArchiveChild> children;
  bool operator==(const ZRBArchiveRoot&) const = default;
};

struct ZRBArchivePart {
  std::string id;  // the member's part number (its file name for a non-product member)
  ZRBArchivePartData data;
  std::vector<ZRBArchiveChild> children;
  bool operator==(const ZRBArchivePart&) const = default;
};

struct ZRBArchiveTable {
  std::string id;  // the table's file name
  ZRBArchiveAttributes attributes;
  bool operator==(const ZRBArchiveTable&) const = default;
};

struct ZRBArchiveNonCad {
  std::string id;  // the file name
  bool inExtraDir = false;
  ZRBArchiveAttributes attributes;
  bool operator==(const ZRBArchiveNonCad&) const = default;
};

struct ZRBArchive {
  ZRBArchiveRoot root;
  std::vector<ZRBArchivePart> parts;  // file order
  std::vector<ZRBArchiveTable> tables;
  std::vector<ZRBArchiveNonCad> nonCads;
  bool addTemp = false;
  std::string addTempPrefix;
  bool nonCadChanged = false;  // the non-CAD list changed since the archive was read

  // The first part whose Id is `id`; null when none.
  const ZRBArchivePart* FindPart(const std::string& id) const;
  // Equal content (the file's part; the bookkeeping flags are not compared).
  bool SameContent(const ZRBArchive& other) const {
    return root == other.root && parts == other.parts && tables == other.tables && nonCads == other.nonCads;
  }
};

// The value of `name` in `attributes`; "" when missing.
const std::string& ZRBArchiveAttribute(const ZRBArchiveAttributes& attributes, const std::string& name);
