#include "ZRBArchiveSAXHandlers.h"

#include "ZRBTrace.h"

namespace {
std::string AttributeOf(const CADIXMLSAXAttributeList& attributes, std::string_view name) {
  CADUnicodeString value;
  if (FAILED(attributes.GetValue(name, value))) return std::string();
  return value.str();
}
}  // namespace

HRESULT ZRBArchiveSAXDocumentHandler::Refuse(const std::string& what) {
  ZRB_DEBUG("ZRB: structure file refused: %s", what.c_str());
  return E_FAIL;
}

bool ZRBArchiveSAXDocumentHandler::ParentIs(std::initializer_list<const char*> names) const {
  if (open_.empty()) return false;
  for (const char* name : names)
    if (open_.back() == name) return true;
  return false;
}

HRESULT ZRBArchiveSAXDocumentHandler::StartElement(const CADUnicodeString& name,
                                                   const CADIXMLSAXAttributeList& attributes) {
  if (!archive_) return E_FAIL;
  const std::string element = name.str();
  if (open_.empty() && element != "ZRBArchive") return Refuse("the document is no ZRBArchive");
  const HRESULT started = StartKnown(element, attributes);
  if (FAILED(started)) return started;
  open_.push_back(element);
  return S_OK;
}

HRESULT ZRBArchiveSAXDocumentHandler::StartKnown(const std::string& name, const CADIXMLSAXAttributeList& attributes) {
  if (name == "ZRBArchive") {
    if (!open_.empty()) return Refuse("ZRBArchive inside the archive");
  } else if (name == "Root" || name == "Part" || name == "Table" || name == "NonCad") {
    if (!ParentIs({"ZRBArchive"})) return Refuse(name + " outside ZRBArchive");
    dataSeen_ = childrenSeen_ = false;
    if (name == "Root") {
      if (rootSeen_) return Refuse("a second Root");
      rootSeen_ = true;
      block_ = Block::Root;
      root_ = ZRBArchiveRoot();
      root_.parentPartnumber = AttributeOf(attributes, "ParentPartnumber");
      root_.inAssembly = AttributeOf(attributes, "InAssembly");
    } else if (name == "Part") {
      block_ = Block::Part;
      part_ = ZRBArchivePart();
      part_.id = AttributeOf(attributes, "Id");
    } else if (name == "Table") {
      block_ = Block::Table;
      table_ = ZRBArchiveTable();
      table_.id = AttributeOf(attributes, "Id");
    } else {
      block_ = Block::NonCad;
      nonCad_ = ZRBArchiveNonCad();
      nonCad_.id = AttributeOf(attributes, "Id");
      nonCad_.inExtraDir = AttributeOf(attributes, "InExtraDir") == "1";
    }
  } else if (name == "PartData" || name == "Children") {
    if (!ParentIs({"Root", "Part"})) return Refuse(name + " outside Root and Part");
    bool& seen = name == "PartData" ? dataSeen_ : childrenSeen_;
    if (seen) return Refuse("a second " + name);
    seen = true;
  } else if (name == "TableData" || name == "NonCadData") {
    if (!ParentIs({name == "TableData" ? "Table" : "NonCad"})) return Refuse(name + " outside its block");
    if (dataSeen_) return Refuse("a second " + name);
    dataSeen_ = true;
  } else if (name == "AttributeList" || name == "ModelInfos" || name == "FeatureList") {
    const bool partData = ParentIs({"PartData"});
    if (name == "AttributeList" ? !(partData || ParentIs({"TableData", "NonCadData"})) : !partData)
      return Refuse(name + " outside its data block");
    ZRBArchivePartData* data = block_ == Block::Root ? &root_.data : block_ == Block::Part ? &part_.data : nullptr;
    if (name == "AttributeList") {
      list_ = data ? &data->attributes : block_ == Block::Table ? &table_.attributes : &nonCad_.attributes;
    } else if (name == "ModelInfos") {
      data->hasModelInfos = true;
      list_ = &data->modelInfos;
    } else {
      data->hasFeatureList = true;
      list_ = nullptr;
    }
  } else if (name == "Feature") {
    if (!ParentIs({"FeatureList"})) return Refuse("Feature outside FeatureList");
    feature_ = ZRBArchiveFeature();
    list_ = &feature_.attributes;
  } else if (name == "Attribute") {
    if (!ParentIs({"AttributeList", "ModelInfos", "Feature"}) || !list_) return Refuse("Attribute outside a list");
    pendingName_ = AttributeOf(attributes, "Name");
    pendingValue_.clear();
  } else if (name == "Child") {
    if (!ParentIs({"Children"})) return Refuse("Child outside Children");
    auto& children = block_ == Block::Root ? root_.children : part_.children;
    children.push_back({AttributeOf(attributes, "ChildId"), AttributeOf(attributes, "InstanceName"),
                        AttributeOf(attributes, "Matrix")});
  }
  // Elements this format does not know are passed over; whatever they hold has no place to land.
  return S_OK;
}

HRESULT ZRBArchiveSAXDocumentHandler::Characters(const CADUnicodeString& text) {
  if (!archive_) return E_FAIL;
  if (!open_.empty() && open_.back() == "Attribute") pendingValue_ += text.view();
  return S_OK;
}

HRESULT ZRBArchiveSAXDocumentHandler::EndElement(const CADUnicodeString& /*name*/) {
  if (!archive_ || open_.empty()) return E_FAIL;
  EndKnown(open_.back());
  open_.pop_back();
  return S_OK;
}

void ZRBArchiveSAXDocumentHandler::EndKnown(const std::string& name) {
  if (name == "Root") {
    archive_->root = std::move(root_);
    block_ = Block::None;
  } else if (name == "Part") {
    archive_->parts.push_back(std::move(part_));
    block_ = Block::None;
  } else if (name == "Table") {
    archive_->tables.push_back(std::move(table_));
    block_ = Block::None;
  } else if (name == "NonCad") {
    archive_->nonCads.push_back(std::move(nonCad_));
    block_ = Block::None;
  } else if (name == "Feature") {
    (block_ == Block::Root ? root_.data : part_.data).features.push_back(std::move(feature_));
    list_ = nullptr;
  } else if (name == "AttributeList" || name == "ModelInfos") {
    list_ = nullptr;
  } else if (name == "Attribute") {
    if (!pendingName_.empty()) list_->emplace_back(std::move(pendingName_), std::move(pendingValue_));
    pendingName_.clear();
    pendingValue_.clear();
  }
}

HRESULT ZRBArchiveSAXDocumentHandler::EndDocument() {
  if (!archive_) return E_FAIL;
  return rootSeen_ ? S_OK : Refuse("no Root");
}

HRESULT ZRBArchiveSAXErrorHandler::Warning(const CADXMLSAXParseError& error) {
  ZRB_DEBUG("Warning line %d column %d: %s", error.line, error.column, error.message.c_str());
  return S_OK;
}

HRESULT ZRBArchiveSAXErrorHandler::Error(const CADXMLSAXParseError& error) {
  failed_ = true;
  ZRB_DEBUG("Parse Exception: line %d column %d: %s", error.line, error.column, error.message.c_str());
  return S_OK;
}

HRESULT ZRBArchiveSAXErrorHandler::FatalError(const CADXMLSAXParseError& error) {
  failed_ = true;
  ZRB_DEBUG("Fatal Exception: line %d column %d: %s", error.line, error.column, error.message.c_str());
  return S_OK;
}
