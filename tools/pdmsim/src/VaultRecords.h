// Plain records of what the vault holds: items, their documents, the relations
// between items (positioned uses), design tables and user attributes.
#pragma once

#include <cstdint>
#include <string>

namespace pdmsim {

struct Item {
  std::string obid;
  std::string className;
  std::string dbName;
  std::string partNumber;
  std::string kind;  // "assembly", "part" or "drawing"
  std::string revision;
  std::string nomenclature;
  std::string definition;
  std::string description;
  bool changeable = true;
  std::string modified;  // 23-character UTC date
  // An embedded component: an assembly whose reference lives in its
  // parent's product document, so it has no document of its own.
  bool embedded = false;
};

struct Document {
  std::string obid;
  std::string itemObid;
  std::string role;  // "product", "part", "drawing" or "table"
  std::string className;
  std::string dbName;
  std::string fileName;  // plain file name, also its name in the exchange map
  std::string blob;      // name of the stored bytes in the file store
  std::int64_t size = 0;
  std::string modified;
};

struct Relation {
  std::string obid;
  std::string parentObid;
  std::string childObid;
  std::int64_t position = 0;
  std::string instanceName;
  std::string matrix;  // position text, stored verbatim
  std::string quantity = "1";
  std::string className;
  std::string dbName;
};

struct DesignTable {
  std::string docObid;
  std::string itemObid;
  std::string name;
  bool activated = true;
};

struct Attribute {
  std::string name;
  std::string value;
};

}  // namespace pdmsim
