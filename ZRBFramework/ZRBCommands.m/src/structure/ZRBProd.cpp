#include "ZRBProd.h"

#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBTrace.h"

ZRBProd::ZRBProd(CADIProduct* parentProduct, ZRBObjectManager& answer, ZRBObject* nodeObject,
                 const CADString& relationObjectName, const CADString& quantity)
    : parentProduct_(parentProduct),
      answer_(&answer),
      nodeObject_(nodeObject),
      relationObjectName_(relationObjectName),
      quantity_(quantity) {}

void ZRBProd::SetDocumentPtr(CADDocument* document) {
  if (document) document_ = CADDocument_var(document);
}

// ---------------------------------------------------------------- slots

CADString ZRBProd::NodeSlot(const char* name) const {
  return nodeObject_ ? nodeObject_->GetSlotValue(name) : CADString();
}

const CADString& ZRBProd::Cached(CADString& cache, const char* slot, bool emptyIsZero) {
  if (cache.IsEmpty()) {
    cache = nodeObject_ ? nodeObject_->GetSlotValue(slot) : CADString("0");
    if (cache.IsEmpty() && emptyIsZero) cache = "0";
  }
  return cache;
}

int ZRBProd::IsChangeable() {
  if (changeableText_.IsEmpty()) {
    ZRBObject* product = GetAttachedCADProductZRBObject();
    changeableText_ = product ? product->GetSlotValue("CHANGEABLE") : CADString("1");
  }
  if (changeableText_ == "1") return 1;
  if (changeableText_ == "0") return 0;
  ZRB_DEBUG("ZRBProd::IsChangeable -> ERROR");
  return 0;
}

int ZRBProd::IsComponent() { return Cached(componentText_, "ISCOMPONENT", true) == "1" ? 1 : 0; }
int ZRBProd::IsStdPart() { return Cached(stdPartText_, "IS_STD_PART", true) == "1" ? 1 : 0; }
int ZRBProd::IsEmbedded() { return Cached(embeddedText_, "USE_EMBEDDED_PRODUCT", false) == "1" ? 1 : 0; }
int ZRBProd::IsReplaceEmbeddedSet() {
  return Cached(replaceEmbeddedText_, "REPLACE_EMBEDDED_PRODUCT", false) == "1" ? 1 : 0;
}

CADUnicodeString& ZRBProd::GetPartNumber() {
  if (partNumber_.IsEmpty()) partNumber_ = CADUnicodeString(NodeSlot("DESCRIPTION"));
  return partNumber_;
}

ZRBObject* ZRBProd::GetAttachedCADProductZRBObject() {
  if (!attachedProductObject_ && answer_) {
    CADString key = NodeSlot("PRODUCT");
    if (!key.IsEmpty()) attachedProductObject_ = answer_->GetObject(key);
  }
  return attachedProductObject_;
}

// ---------------------------------------------------------------- standard attributes

int ZRBProd::InitStandardAttributesIfNecessary() {
  if (standardAttributesRead_) return 1;
  if (!nodeObject_) return 0;
  CADListValCADString names = nodeObject_->GetSlotValueList("STANDARD_ATTRS");
  CADListValCADString values = nodeObject_->GetSlotValueList("STANDARD_VALS");
  if (names.Size() != values.Size()) {
    ZRB_DEBUG("ZRBProd::InitStandardAttributesIfNecessary -> ERROR: sStdAttrList.Size() != sStdValueList.Size() ");
    return 0;
  }
  for (int i = 1; i <= names.Size(); ++i) {
    CADUnicodeString value(values[i]);
    if (names[i] == "CADRevision") {
      revision_ = value;
      revisionSet_ = 1;
    } else if (names[i] == "CADNomenclature") {
      nomenclature_ = value;
      nomenclatureSet_ = 1;
    } else if (names[i] == "CADDefinition") {
      definition_ = value;
      definitionSet_ = 1;
    } else if (names[i] == "CADDescription") {
      description_ = value;
      descriptionSet_ = 1;
    }
  }
  standardAttributesRead_ = 1;
  return 1;
}

int ZRBProd::RevisionIsSet() { return InitStandardAttributesIfNecessary() ? revisionSet_ : 0; }
const CADUnicodeString& ZRBProd::GetRevision() {
  InitStandardAttributesIfNecessary();
  return revision_;
}
int ZRBProd::NomenclatureIsSet() { return InitStandardAttributesIfNecessary() ? nomenclatureSet_ : 0; }
const CADUnicodeString& ZRBProd::GetNomenclature() {
  InitStandardAttributesIfNecessary();
  return nomenclature_;
}
int ZRBProd::DefinitionIsSet() { return InitStandardAttributesIfNecessary() ? definitionSet_ : 0; }
const CADUnicodeString& ZRBProd::GetDefinition() {
  InitStandardAttributesIfNecessary();
  return definition_;
}
int ZRBProd::DescriptionIsSet() { return InitStandardAttributesIfNecessary() ? descriptionSet_ : 0; }
const CADUnicodeString& ZRBProd::GetDescription() {
  InitStandardAttributesIfNecessary();
  return description_;
}

// ---------------------------------------------------------------- user-defined lists

namespace {
CADListValCADString ListSlot(const ZRBObject* node, const char* name) {
  return node ? node->GetSlotValueList(name) : CADListValCADString();
}
CADUnicodeString TextSlot(const ZRBObject* node, const char* name) {
  return node ? CADUnicodeString(node->GetSlotValue(name)) : CADUnicodeString();
}
}  // namespace

CADListValCADString ZRBProd::GetUserDefDisplayNames() const { return ListSlot(nodeObject_, "USER_DEF_DISPLAYS"); }
CADListValCADString ZRBProd::GetUserDefPropertyNames() const { return ListSlot(nodeObject_, "USER_DEF_PROPS"); }
CADListValCADString ZRBProd::GetUserDefPropertyVals() const { return ListSlot(nodeObject_, "USER_DEF_VALS"); }
CADListValCADString ZRBProd::GetUserDefDelNames() const { return ListSlot(nodeObject_, "USER_DEF_DEL_NAMES"); }
CADUnicodeString ZRBProd::GetUserDefDisplayNamesAsString() const { return TextSlot(nodeObject_, "USER_DEF_DISPLAYS"); }
CADUnicodeString ZRBProd::GetUserDefPropertyNamesAsString() const { return TextSlot(nodeObject_, "USER_DEF_PROPS"); }
CADUnicodeString ZRBProd::GetUserDefPropertyValsAsString() const { return TextSlot(nodeObject_, "USER_DEF_VALS"); }
CADUnicodeString ZRBProd::GetUserDefDelNamesAsString() const { return TextSlot(nodeObject_, "USER_DEF_DEL_NAMES"); }
