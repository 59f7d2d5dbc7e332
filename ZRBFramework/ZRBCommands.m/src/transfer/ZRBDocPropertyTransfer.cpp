#include "ZRBDocPropertyTransfer.h"

#include <string>

#include "CADAutoProduct.h"
#include "CADIPrdProperties.h"
#include "ZRBAfx.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBDesignTable.h"
#include "ZRBFileUtil.h"
#include "ZRBIdentityCheck.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPropertyManager.h"
#include "ZRBRepresentationFormats.h"
#include "ZRBTrace.h"
#include "ZRBTransferSlots.h"

namespace {

constexpr auto Slot = &ZRBTransferSlots::Text;
constexpr auto SlotList = &ZRBTransferSlots::List;

// A list stored as one list text, read back with the exchange objects' own list rules.
CADListValCADUnicodeString ParseListText(const CADUnicodeString& text) {
  ZRBObject parser;
  parser.SetSlotValue("LIST", text.str());
  return SlotList(parser, "LIST");
}

void SetRef(const CADIProduct_var& product, const char* name, const CADUnicodeString& value) {
  GlobPropertyManager.SetReferenceProperty(product, name, value);
}

// "ZRB_IS_VISUALIZATION", then the visualisation model type is no longer asked for once it is one.
void SetVisualizationFlag(const CADIProduct_var& product, const ZRBObject& object) {
  SetRef(product, "ZRB_IS_VISUALIZATION", Slot(object, "IS_VISUALIZATION"));
  if (GlobPropertyManager.GetReferenceProperty(product, "ZRB_IS_VISUALIZATION") == "1")
    GlobPropertyManager.DeleteReferenceProperty(product, "ZRB_SET_VISU_MODEL_TYPE");
}

void SetOrigLocation(const ZRBObject& object) {
  const CADUnicodeString origin = Slot(object, "ORIG_LOCATION");
  if (origin.IsEmpty()) return;
  ZRB_DEBUG("set SAM_ORIG_LOCATION %s", origin.c_str());
  GlobPropertyManager.SetFileProperty(Slot(object, "EXTERNAL_LOCATION"), "SAM_ORIG_LOCATION", origin);
}

// What a component or an assembly is in the PDM (the slots with `itemPrefix`, "CMPONENT" or "ASSEMBLY") and the
// identity of the product document behind it.
void SetItemAndProductDocumentIdentity(const CADIProduct_var& product, const ZRBObject& object,
                                       const std::string& itemPrefix) {
  auto item = [&](const char* name) { return Slot(object, (itemPrefix + name).c_str()); };
  const CADUnicodeString obid = Slot(object, "OBID");
  SetRef(product, "ZRB_ISCOMPONENT", itemPrefix == "CMPONENT" ? "1" : "0");
  SetRef(product, "ZRB_OBID", item("OBID"));
  SetRef(product, "ZRB_CLASSNAME", item("CLASSNAME"));
  SetRef(product, "ZRB_CHANGEABLE", item("CHANGEABLE"));
  SetRef(product, "ZRB_PRODUCT_OBID", obid);
  if (!obid.IsEmpty()) SetRef(product, "ZRB_CREATE_PRD_REL", "0");
  SetRef(product, "ZRB_PRODUCT_CLASSNAME", Slot(object, "CLASSNAME"));
  SetRef(product, "ZRB_PRODUCT_CHANGEABLE", Slot(object, "CHANGEABLE"));
  SetRef(product, "ZRB_DB_NAME", item("_DB_NAME"));
  SetRef(product, "ZRB_PRODUCT_DB_NAME", Slot(object, "DB_NAME"));
}

// Both inputs of an answer-to-session transfer, each missing one traced.
bool HasProductAndObject(const CADIProduct_var& product, const ZRBObject* object) {
  if (!product) ZRB_DEBUG("piProduct = NULL");
  if (product && !object) ZRB_DEBUG("pObject = NULL");
  return product && object;
}

// The short name of a host user parameter: the part of its full name after the last "\".
CADUnicodeString ShortName(const CADUnicodeString& fullName) {
  const int separator = fullName.FindLast("\\");
  return separator < 0 ? fullName : fullName.SubString(separator + 1, fullName.GetLength() - separator - 1);
}

// The index (1-based, as the host counts them) of the user parameter with that short name, or -1; its value in
// `value`.
int FindUserParameter(const CADAutoProduct_var& automation, const CADUnicodeString& shortName,
                      CADUnicodeString* value = nullptr) {
  int count = 0;
  if (FAILED(automation->GetUserRefPropertyCount(count))) return -1;
  for (int i = 1; i <= count; ++i) {
    CADUnicodeString fullName, type, current;
    if (FAILED(automation->GetUserRefProperty(i, fullName, type, current))) continue;
    if (ShortName(fullName) == shortName) {
      if (value) *value = current;
      return i;
    }
  }
  return -1;
}

CADAutoProduct_var AutomationOf(const CADIProduct_var& product) {
  if (!product) return nullptr;
  CADIProduct_var reference = product->GetReferenceProduct();
  return CADAutoProduct_var(reference ? reference.get() : product.get());
}

// Rule S: the four standard attributes named in "STANDARD_ATTRS" with their "STANDARD_VALS"; a later
// repetition of a name overrides an earlier one. With `refsOf`, each is also stored as its reference property
// in list order. False (nothing read or written) when the two lists differ in size.
bool ReadStandardAttributes(const ZRBObject& object, CADUnicodeString (&standard)[4], const CADIProduct_var& refsOf) {
  static constexpr const char* kNames[4] = {"CADRevision", "CADNomenclature", "CADDefinition", "CADDescription"};
  static constexpr const char* kRefs[4] = {"ZRB_REVISION", "ZRB_NOMENCLATURE", "ZRB_DEFINITION", "ZRB_DESCRIPTION"};
  const CADListValCADUnicodeString names = SlotList(object, "STANDARD_ATTRS");
  const CADListValCADUnicodeString values = SlotList(object, "STANDARD_VALS");
  if (names.Size() != values.Size()) {
    ZRB_DEBUG("Error: sStdAttrList.Size() != sStdValueList.Size() ");
    return false;
  }
  for (int i = 1; i <= names.Size(); ++i)
    for (int k = 0; k < 4; ++k)
      if (names[i] == kNames[k]) {
        standard[k] = values[i];
        if (refsOf) SetRef(refsOf, kRefs[k], values[i]);
      }
  return true;
}

}  // namespace

// --- session to exchange objects

int ZRBDocPropertyTransfer::SetPartPropertiesToZRBObject(ZRBObjectManager&, const CADIProduct_var& product,
                                                         ZRBObject* model) {
  ZRB_TRACE("ZRBDocPropertyTransfer::SetPartPropertiesToZRBObject");
  if (!product || !model) return 0;
  model->SetSlotValue("PARTNUMBER", GlobPropertyManager.GetPartNumber(product, 0).str());
  model->SetSlotValue("ORIG_PARTNUMBER", GlobPropertyManager.GetPartNumber(product, 0).str());
  CADUnicodeString instanceName;
  if (SUCCEEDED(product->GetPrdInstanceName(instanceName))) model->SetSlotValue("INSTANCENAME", instanceName.str());
  CADIProduct_var reference = product->GetReferenceProduct();
  CADVar<CADIPrdProperties> properties(reference ? reference.get() : product.get());
  if (properties) {
    CADUnicodeString value;
    if (SUCCEEDED(properties->GetRevision(value))) model->SetSlotValue("REVISION", value.str());
    if (SUCCEEDED(properties->GetDefinition(value))) model->SetSlotValue("DEFINITION", value.str());
    if (SUCCEEDED(properties->GetNomenclature(value))) model->SetSlotValue("NOMENCLATURE", value.str());
  }
  model->SetSlotValue("DB_NAME", GlobPropertyManager.GetReferenceProperty(product, "ZRB_DB_NAME").str());
  ZRB_TRACE_OK();
  return 1;
}

long ZRBDocPropertyTransfer::SetUserDefPropertiesToZRBObject(const CADIProduct_var& product, ZRBObject* model) {
  ZRB_TRACE("ZRBDocPropertyTransfer::SetUserDefPropertiesToZRBObject");
  if (!product || !model) return E_FAIL;
  CADListValCADUnicodeString displays = ParseListText(GlobPropertyManager.GetUserDefinedDisplayData(product));
  CADListValCADUnicodeString properties = ParseListText(GlobPropertyManager.GetUserDefinedPropertyData(product));
  CADListValCADUnicodeString values = ParseListText(GlobPropertyManager.GetUserDefinedValueData(product));
  if (displays.Size() != properties.Size() || displays.Size() != values.Size()) {
    ZRBAfx::MsgBox(ZRBAfx::BuildMessage("ZRBAfx", "WrongListSize"), 0x8000200);
    return E_FAIL;
  }
  CADListValCADUnicodeString configured;
  g_ZRBConfig.GetUserDefProps(configured);
  for (int i = 1; i <= configured.Size(); ++i) {
    ZRB_DEBUG("UserDefProperty of environment: %s", configured[i].c_str());
    if (displays.Locate(configured[i]) != 0) continue;
    displays.Append(configured[i]);
    properties.Append(configured[i]);
    values.Append("");
  }
  CADAutoProduct_var automation = AutomationOf(product);
  CADListValCADUnicodeString changedDisplays, changedProperties, changedValues;
  for (int i = 1; automation && i <= displays.Size(); ++i) {
    CADUnicodeString hostValue;
    if (FindUserParameter(automation, displays[i], &hostValue) < 0) continue;
    if (hostValue == values[i]) continue;
    ZRB_DEBUG("Value has changed  %s to: %s", values[i].c_str(), hostValue.c_str());
    changedDisplays.Append(displays[i]);
    changedProperties.Append(properties[i]);
    changedValues.Append(hostValue);
  }
  if (changedDisplays.Size() > 0) {
    ZRBTransferSlots::SetList(*model, "USER_DEF_DISPLAYS", changedDisplays);
    ZRBTransferSlots::SetList(*model, "USER_DEF_PROPS", changedProperties);
    ZRBTransferSlots::SetList(*model, "USER_DEF_VALS", changedValues);
  }
  ZRB_TRACE_OK();
  return S_OK;
}

// --- exchange objects to the session

int ZRBDocPropertyTransfer::SetPartPropertiesFromZRBObject(const CADIProduct_var& product, const ZRBObject* object) {
  ZRB_TRACE("ZRBDocPropertyTransfer::SetPartPropertiesFromZRBObject");
  if (!HasProductAndObject(product, object)) return 0;
  const ZRBObject& o = *object;
  if (Slot(o, "ISCOMPONENT") == "1") {
    CADUnicodeString partNumber = Slot(o, "PARTNUMBER");
    if (partNumber.IsEmpty()) partNumber = Slot(o, "DESCRIPTION");
    GlobPropertyManager.SetPartNumber(product, partNumber, 1, 0);
    SetItemAndProductDocumentIdentity(product, o, "CMPONENT");
    SetVisualizationFlag(product, o);
    SetLocationProperty(product, Slot(o, "EXTERNAL_LOCATION"));
    ApplyStandardAttributes(product, o, true);
  } else {
    const CADUnicodeString location = Slot(o, "EXTERNAL_LOCATION");
    SetLocationProperty(product, location);
    CADUnicodeString partNumber = Slot(o, "DESCRIPTION");
    ProcessPartNumber(partNumber, location);
    GlobPropertyManager.SetPartNumber(product, partNumber, 1, 0);
    SetRef(product, "ZRB_ISCOMPONENT", "0");
    SetRef(product, "ZRB_OBID", Slot(o, "OBID"));
    SetRef(product, "ZRB_CLASSNAME", Slot(o, "CLASSNAME"));
    SetRef(product, "ZRB_CHANGEABLE", Slot(o, "CHANGEABLE"));
    SetRef(product, "ZRB_PARTNUMBER", Slot(o, "DESCRIPTION"));
    SetOrigLocation(o);
    SetRef(product, "ZRB_DB_NAME", Slot(o, "DB_NAME"));
    SetVisualizationFlag(product, o);
    CADUnicodeString standard[4];
    if (ReadStandardAttributes(o, standard, CADIProduct_var())) {
      // The save compares the part's revision and nomenclature against what the PDM last sent.
      const CADUnicodeString revision = standard[0].IsEmpty() ? Slot(o, "REVISION") : standard[0];
      const CADUnicodeString nomenclature = standard[1].IsEmpty() ? Slot(o, "NOMENCLATURE") : standard[1];
      if (!revision.IsEmpty()) SetRef(product, "ZRB_REVISION", revision);
      if (!nomenclature.IsEmpty()) SetRef(product, "ZRB_NOMENCLATURE", nomenclature);
      SetStandardAttributesToProduct(standard[0], standard[1], standard[2], standard[3], product);
    }
    SetRef(product, "ZRB_DOC_OBID", Slot(o, "DOC_OBID"));
  }
  // The document as the PDM gave it: a later save checks that its file is still this document.
  ZRBIdentityCheck::Remember(product);
  ZRB_TRACE_OK();
  return 1;
}

int ZRBDocPropertyTransfer::SetProductPropertiesFromZRBObject(const CADIProduct_var& product, const ZRBObject* object) {
  ZRB_TRACE("ZRBDocPropertyTransfer::SetProductPropertiesFromZRBObject");
  if (!HasProductAndObject(product, object)) return 0;
  const ZRBObject& o = *object;
  SetItemAndProductDocumentIdentity(product, o, "ASSEMBLY");
  SetOrigLocation(o);
  // The reference properties first, then the part number, then the host attributes, so that a renamed
  // product takes them under its new number.
  CADUnicodeString standard[4];
  const bool sizesMatch = ReadStandardAttributes(o, standard, product);
  GlobPropertyManager.SetPartNumber(product, Slot(o, "PARTNUMBER"), 1, 0);
  if (sizesMatch) SetStandardAttributesToProduct(standard[0], standard[1], standard[2], standard[3], product);
  ZRBIdentityCheck::Remember(product);
  ZRB_TRACE_OK();
  return 1;
}

int ZRBDocPropertyTransfer::SetStdPropertiesFromZRBObject(const CADIProduct_var& product, const ZRBObject* object) {
  if (!product || !object) return 0;
  return ApplyStandardAttributes(product, *object, false);
}

int ZRBDocPropertyTransfer::ApplyStandardAttributes(const CADIProduct_var& product, const ZRBObject& object,
                                                    bool references) {
  CADUnicodeString standard[4];
  if (!ReadStandardAttributes(object, standard, references ? product : CADIProduct_var())) return 0;
  SetStandardAttributesToProduct(standard[0], standard[1], standard[2], standard[3], product);
  return 1;
}

void ZRBDocPropertyTransfer::SetStandardAttributesToProduct(const CADUnicodeString& revision,
                                                            const CADUnicodeString& nomenclature,
                                                            const CADUnicodeString& definition,
                                                            const CADUnicodeString& description,
                                                            const CADIProduct_var& product) {
  if (!product) return;
  if (!revision.IsEmpty()) GlobPropertyManager.SetRevision(product, revision);
  if (!nomenclature.IsEmpty()) GlobPropertyManager.SetNomenclature(product, nomenclature);
  if (!definition.IsEmpty()) GlobPropertyManager.SetDefinition(product, definition);
  if (!description.IsEmpty()) GlobPropertyManager.SetDescription(product, description);
}

void ZRBDocPropertyTransfer::SetUserDefinedProperties(const CADIProduct_var& product,
                                                      const CADListValCADUnicodeString& displays,
                                                      const CADListValCADUnicodeString& properties,
                                                      const CADListValCADUnicodeString& values,
                                                      const CADListValCADUnicodeString& deletions) {
  ZRB_TRACE("ZRBDocPropertyTransfer::SetUserDefinedProperties");
  CADAutoProduct_var automation = AutomationOf(product);
  if (!automation) return;
  const int size = displays.Size();
  if (size == properties.Size() && size == values.Size()) {
    for (int i = 1; i <= size; ++i) {
      CADUnicodeString current;
      if (FindUserParameter(automation, displays[i], &current) < 0) {
        automation->CreateUserRefProperty(displays[i], "String", values[i]);
      } else if (!(current == values[i]) &&
                 // What the PDM got of the session's value came back: the session keeps its own.
                 ZRBTransferSlots::AsListItem(current.view()) != ZRBTransferSlots::AsListItem(values[i].view())) {
        ZRB_DEBUG("ALREADY THERE: %s", displays[i].c_str());
        ZRB_DEBUG("VALUES ARE DIFFERENT - SET BACK TO ZRB VALUE");
        automation->SetUserRefPropertyValue(displays[i], values[i]);
      }
    }
  }
  for (int i = 1; i <= deletions.Size(); ++i) {
    if (FindUserParameter(automation, deletions[i]) >= 0) {
      ZRB_DEBUG("Found property to delete: %s", deletions[i].c_str());
      automation->RemoveUserRefProperty(deletions[i]);
    } else {
      ZRB_DEBUG("wrong property to delete: %s", deletions[i].c_str());
    }
  }
  ZRB_TRACE_OK();
}

int ZRBDocPropertyTransfer::SetUserDefinedPropertiesFromZRBObject(const CADIProduct_var& product,
                                                                  const ZRBObject* object) {
  if (!product || !object) return 0;
  const CADListValCADUnicodeString displays = SlotList(*object, "USER_DEF_DISPLAYS");
  const CADListValCADUnicodeString properties = SlotList(*object, "USER_DEF_PROPS");
  const CADListValCADUnicodeString values = SlotList(*object, "USER_DEF_VALS");
  const CADListValCADUnicodeString deletions = SlotList(*object, "USER_DEF_DEL_NAMES");
  if (displays.Size() != properties.Size() || displays.Size() != values.Size()) return 0;
  GlobPropertyManager.StoreUserDefinedPropertiesData(product, Slot(*object, "USER_DEF_DISPLAYS"),
                                                     Slot(*object, "USER_DEF_PROPS"), Slot(*object, "USER_DEF_VALS"),
                                                     Slot(*object, "USER_DEF_DEL_NAMES"));
  SetUserDefinedProperties(product, displays, properties, values, deletions);
  return 1;
}

// --- conversions

void ZRBDocPropertyTransfer::ProcessPartNumber(CADUnicodeString& partNumber, const CADUnicodeString& path) {
  if (!partNumber.IsEmpty() && !(partNumber == "-")) return;
  // Only the file name counts: a directory such as /p.model.d/ must not cut the number.
  std::string_view name = path.view();
  const std::size_t separator = name.find_last_of("/\\");
  if (separator != std::string_view::npos) name = name.substr(separator + 1);
  for (const char* extension : {".CADPart", ".CADDrawing", ".model", ".vis"}) {
    const std::size_t at = name.find(extension);
    if (at != std::string_view::npos) {
      partNumber = CADUnicodeString(name.substr(0, at));
      return;
    }
  }
  partNumber = CADUnicodeString(name);
}

void ZRBDocPropertyTransfer::SetLocationProperty(const CADIProduct_var& product, const CADUnicodeString& location) {
  const CADUnicodeString extension = ZRBFileUtil::GetExtension(location);
  const bool representation = extension == "vis" || extension == "model" ||
                              (!extension.IsEmpty() && ZRBRepresentationFormats::Contains(extension));
  if (!representation) {
    SetRef(product, "ZRB_EXTERNAL_LOCATION", location);
    return;
  }
  // Only the file name of what the PDM sent is used, inside the exchange map.
  const CADUnicodeString name = ZRBDesignTable::SafeFileName(location);
  if (name.IsEmpty()) {
    ZRB_DEBUG("ZRB: refusing the representation path from the PDM: %s", location.c_str());
    return;
  }
  CADUnicodeString directory;
  ZRBAfx::GetXMap(directory);
  SetRef(product, "ZRB_REPRESENTATIONPATH", ZRBAfx::MakePath(directory, name));
}
