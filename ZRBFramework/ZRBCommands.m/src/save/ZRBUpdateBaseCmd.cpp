#include "ZRBUpdateBaseCmd.h"

#include <algorithm>
#include <cerrno>
#include <tuple>

#include "CADDocument.h"
#include "CADFrmEditor.h"
#include "CADIPrdProperties.h"
#include "CADSettingRepository.h"
#include "CADSystemServices.h"
#include "ZRBAfx.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBDesignTable.h"
#include "ZRBDocPropertyTransfer.h"
#include "ZRBFileUtil.h"
#include "ZRBIdentityCheck.h"
#include "ZRBInfoUtil.h"
#include "ZRBListText.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBOrigChildRecord.h"
#include "ZRBPSNTreeUtil.h"
#include "ZRBPdmAction.h"
#include "ZRBPdmRequest.h"
#include "ZRBPosMatrixUtil.h"
#include "ZRBPropertyManager.h"
#include "ZRBTrace.h"
#include "ZRBXmapDocuments.h"

namespace {

using Record = ZRBOrigChildRecord;

// The private path-to-root properties an update writes; none may outlive it.
constexpr const char* kPrivateProperties[] = {"ZRB_SAVE",
                                              "ZRB_UPDATE_NEW_PART",
                                              "ZRB_UPDATE_NEW_PRODUCT",
                                              "ZRB_PRIVATE_UPDATE_ID",
                                              "ZRB_PRIVATE_PRD_UPDATE_ID",
                                              "ZRB_PRIVATE_REMOVE_SUBASS_ID"};

CADUnicodeString Ref(const CADIProduct_var& product, const char* name) {
  return GlobPropertyManager.GetReferenceProperty(product, name);
}

CADUnicodeString Inst(const CADIProduct_var& father, const CADIProduct_var& child, const char* name) {
  return father ? GlobPropertyManager.GetInstanceProperty(father, child, name) : CADUnicodeString();
}

CADString Text(const CADUnicodeString& value) { return value.ConvertToString(); }

CADUnicodeString InstanceName(const CADIProduct_var& product) {
  CADUnicodeString name;
  if (product) product->GetPrdInstanceName(name);
  return name;
}

bool IsOn(const char* setting) { return g_ZRBConfig.CompareEnvVar(setting, "ON", 1) == 1; }

CADString DefaultClassName(const CADUnicodeString& type, bool representation) {
  if (type == "CADPart") return "x0CadPrt";
  if (type == "vis") return "x0CadVis";
  if (type == "model") return "x0CDMod";
  if (representation) return "x0CadRep";
  return "";
}

bool IsPartLike(const CADUnicodeString& type) { return !(type == "CADProduct"); }

// The answer for a created node as a read would give it: what the PDM leaves out, the request said. The PDM kept
// the part number and the document it was sent; without "RELATIVE_PATH" the document keeps its name.
ZRBObject CompletedAnswer(const ZRBObject& object, const CADIProduct_var& node, CADDocument* document,
                          ZRBObjectManager& answer) {
  ZRBObject reply(object);
  const auto fill = [&](const char* slot, const CADString& value) {
    if (reply.GetSlotValue(slot).IsEmpty() && !value.IsEmpty()) reply.SetSlotValue(slot, value);
  };
  fill("DESCRIPTION", object.GetSlotValue("PARTNUMBER"));
  CADString path = object.GetSlotValue("PATH");
  const CADString productKey = object.GetSlotValue("PRODUCT");
  const ZRBObject* product = productKey.IsEmpty() ? nullptr : answer.GetObject(productKey);
  if (path.IsEmpty() && product) path = product->GetSlotValue("PATH");
  fill("EXTERNAL_LOCATION", path);
  fill("IS_VISUALIZATION", GlobPropertyManager.GetProductType(node) == "vis" ? "1" : "0");
  CADUnicodeString xmap, xmapPath;
  if (document && reply.GetSlotValue("RELATIVE_PATH").IsEmpty() &&
      ZRBXmapDocuments::GetExmapFileFullPath(document->StorageName(), xmap, xmapPath)) {
    const CADUnicodeString name = ZRBFileUtil::GetFileNameFromPath(document->StorageName());
    const std::string suffix = "." + document->GetType().str();
    const int stem = name.GetLength() - static_cast<int>(suffix.size());
    int same = 0;
    ZRBAfx::CompareFullPath(document->StorageName(), xmapPath, same);
    if (same && stem > 0 && name.EndsWith(suffix)) reply.SetSlotValue("RELATIVE_PATH", Text(name.SubString(0, stem)));
  }
  return reply;
}

// The name the PDM gave the node's new relation, empty when it kept the session's. "CAD_ORIG_INSTANCENAME"
// changed by the PDM means it went back to that name; otherwise "INSTANCENAME" is the relation's name.
CADUnicodeString PdmInstanceName(const ZRBObject& object, const CADString& sentOriginal) {
  const CADString original = object.GetSlotValue("CAD_ORIG_INSTANCENAME");
  if (!original.IsEmpty() && !(original == sentOriginal)) return CADUnicodeString(original);
  return CADUnicodeString(object.GetSlotValue("INSTANCENAME"));
}

void CollectPrivate(const CADIProduct_var& node,
                    std::vector<std::tuple<CADIProduct_var, const char*, CADUnicodeString>>& kept) {
  for (const char* name : kPrivateProperties) {
    const CADUnicodeString value = GlobPropertyManager.GetPathToRootProperty(node, name);
    if (value.IsEmpty()) continue;
    kept.emplace_back(node, name, value);
    GlobPropertyManager.DeletePathToRootProperty(node, name);
  }
  for (const CADBaseUnknown_var& item : node->GetChildren())
    if (CADIProduct_var child(item); child) CollectPrivate(child, kept);
}

// Renames the instance to the PDM's name. The update's private properties live on paths, which hold instance
// names: they follow the node and everything below it. A name that is empty, not one line, or another
// child's is refused; a standard part keeps its name.
void TakePdmInstanceName(const CADIProduct_var& father, const CADIProduct_var& node, const CADUnicodeString& name) {
  if (!father || name.IsEmpty() || name == InstanceName(node) || Ref(node, "ZRB_IS_STD_PART") == "1") return;
  bool taken = name.view().find_first_of("\r\n") != std::string_view::npos;
  for (const CADBaseUnknown_var& item : father->GetChildren())
    if (CADIProduct_var sibling(item); sibling && sibling.get() != node.get() && InstanceName(sibling) == name)
      taken = true;
  if (taken) {
    ZRB_DEBUG("ZRB: the PDM's instance name '%s' cannot be taken", name.c_str());
    return;
  }
  std::vector<std::tuple<CADIProduct_var, const char*, CADUnicodeString>> kept;
  CollectPrivate(node, kept);
  if (GlobPropertyManager.SetInstanceName(node, name)) ZRB_DEBUG("ZRB: New ProductInstanceName %s", name.c_str());
  for (const auto& [owner, property, value] : kept) GlobPropertyManager.SetPathToRootProperty(owner, property, value);
}

void SetIfNotEmpty(ZRBObject* object, const char* slot, const CADUnicodeString& value) {
  if (!value.IsEmpty()) object->SetSlotValue(slot, Text(value));
}

}  // namespace

ZRBUpdateBaseCmd::Modes ZRBUpdateBaseCmd::ModesFor(int mode) {
  Modes modes;
  modes.sZrbUpdate = (mode == 3 || mode == 6) ? 1 : 0;
  modes.eZrbUpdateCreate = mode == 5 ? 1 : 0;
  modes.extendedUpdate = mode == 6 ? 1 : 0;
  modes.noLink = (mode == 2 || mode == 4 || mode == 5) ? 1 : 0;
  modes.noInteraction = mode == 4 ? 1 : 0;
  modes.positionOnly = mode == 7 ? 1 : 0;
  modes.partOnly = mode == 8 ? 1 : 0;
  return modes;
}

void ZRBUpdateBaseCmd::AddUpdateMessage(std::string_view key, CADUnicodeString* parameters, int count) {
  GetWarnings().Append(BuildMessage("ZRBUpdateCmd", key, parameters, count));
}

// ---------------------------------------------------------------- checks

int ZRBUpdateBaseCmd::CheckPartNumber(const CADIProduct_var& product, CADUnicodeString& invalidPartNumber) {
  if (!product) return 0;
  const CADUnicodeString partNumber = product->GetPartNumber();
  static constexpr std::string_view kAllowed = "_+-!@%#&~.,(){}[]'\" ";
  for (const char c : partNumber.view()) {
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    const bool digit = c >= '0' && c <= '9';
    if (!letter && !digit && kAllowed.find(c) == std::string_view::npos) {
      invalidPartNumber = partNumber;
      return -1;
    }
  }
  return 0;
}

namespace {
int CheckPartNumbersBelow(const CADIProduct_var& product, CADUnicodeString& invalid) {
  if (ZRBUpdateBaseCmd::CheckPartNumber(product, invalid) < 0) return -1;
  const bool workbench = ZRBPSNTreeUtil::IsWorkbenchProduct(product) != 0;
  for (const CADBaseUnknown_var& item : product->GetChildren()) {
    CADIProduct_var child(item);
    if (!child) continue;
    if (!ZRBPSNTreeUtil::WasLoadedFromPdm(child)) {
      if (workbench) ZRB_DEBUG("ZRB: Not checking tree starting at %s", InstanceName(child).c_str());
      continue;
    }
    if (CheckPartNumbersBelow(child, invalid) < 0) return -1;
  }
  return 0;
}
}  // namespace

int ZRBUpdateBaseCmd::CheckPartNumberInActWindow(CADUnicodeString& invalidPartNumber) {
  CADFrmEditor* editor = GetEditor();
  CADIProduct_var root;
  if (!editor || !editor->GetDocument() ||
      FAILED(ZRBPSNTreeUtil::GetRootProductFromDocument(editor->GetDocument(), &root)) || !root)
    return 0;
  return CheckPartNumbersBelow(root, invalidPartNumber);
}

// ---------------------------------------------------------------- touched nodes

ZRBUpdateBaseCmd::Touched& ZRBUpdateBaseCmd::Touch(const CADIProduct_var& node, const CADIProduct_var& father) {
  if (Touched* known = FindTouched(node)) return *known;
  touched_.push_back(Touched{node, father});
  return touched_.back();
}

ZRBUpdateBaseCmd::Touched* ZRBUpdateBaseCmd::FindTouched(const CADIProduct_var& node) {
  for (Touched& touched : touched_)
    if (touched.node.get() == node.get()) return &touched;
  return nullptr;
}

bool ZRBUpdateBaseCmd::SavedBefore(CADDocument* document) const {
  return document && std::find(savedDocuments_.begin(), savedDocuments_.end(), document) != savedDocuments_.end();
}

int ZRBUpdateBaseCmd::SaveOnce(CADDocument* document, Touched& touched) {
  if (!document) return 0;
  touched.saved = document;
  if (SavedBefore(document)) {
    ZRB_DEBUG("Document already saved");
    return 1;
  }
  // Recorded before the save: a failed save may still have cleared the modified mark.
  savedDocuments_.push_back(document);
  if (FAILED(ZRBXmapDocuments::SaveDocumentInExmap(xmapServices_, document))) {
    ZRB_DEBUG("Document could not be written");
    CADUnicodeString parameter = document->StorageName();
    AddUpdateMessage("FileSaveFailed", &parameter, 1);
    return 0;
  }
  ZRB_DEBUG("Document written.");
  return 1;
}

void ZRBUpdateBaseCmd::ReportNoPermission(const CADIProduct_var& product) {
  ZRB_DEBUG("Document update not allowed.");
  if (IsOn("ZRB_DISABLE_PERMISSION_MESSAGE_FOR_USE_ROOT") && Ref(product, "ZRB_ROOT_USED_FROM_PDM") == "1") return;
  CADUnicodeString parameter = product->GetPartNumber();
  AddUpdateMessage("FileNoPermission2", &parameter, 1);
}

// ---------------------------------------------------------------- writing

bool ZRBUpdateBaseCmd::GetConfigFileCategoryInfo(CADDocument* document, CADUnicodeString& category) {
  category = CADUnicodeString();
  if (!document) return false;
  char buffer[256] = {0};
  int link = 0;
  const CADUnicodeString fileName = ZRBFileUtil::GetFileNameFromPath(document->StorageName());
  if (!g_ZRBConfig.GetFileCategory(document->GetType().c_str(), fileName.c_str(), buffer, sizeof buffer, &link))
    return false;
  category = CADUnicodeString(buffer);
  return link == 1;
}

bool ZRBUpdateBaseCmd::AsksForLink(CADDocument* document) {
  CADUnicodeString category;
  return GetConfigFileCategoryInfo(document, category);
}

bool ZRBUpdateBaseCmd::HasSiblingOfSamePart(const CADIProduct_var& father, const CADIProduct_var& product) {
  if (!father || !product) return false;
  const CADUnicodeString partNumber = product->GetPartNumber();
  for (const CADBaseUnknown_var& item : father->GetChildren()) {
    CADIProduct_var sibling(item);
    if (!sibling || sibling.get() == product.get()) continue;
    ZRB_DEBUG("check: %s == %s", sibling->GetPartNumber().c_str(), partNumber.c_str());
    if (sibling->GetPartNumber() == partNumber) return true;
  }
  return false;
}

bool ZRBUpdateBaseCmd::CarriesCatalogFlag(const CADIProduct_var& product) {
  if (!IsOn("ZRB_ENABLE_CATALOG_SUPPORT")) return false;
  const char* configured = g_ZRBConfig.GetEnvVar("ZRB_TYPE_IDENT_ATTRIBUTE_ID", 1);
  return Ref(product, configured && *configured ? configured : "ZRB_Catalog_Document") == "Catalog";
}

void ZRBUpdateBaseCmd::WriteOriginalInstance(const CADIProduct_var& father, const CADIProduct_var& product,
                                             ZRBObject* object) {
  // The load-time record knows the instance by its relation, whatever the designer renamed it to since.
  const CADUnicodeString relation = Inst(father, product, "ZRB_RELATION");
  if (relation.IsEmpty()) return;
  const auto record = Record::Read(father);
  if (!record) return;
  const CADUnicodeString listed = ZRBListText::RoundTrip(relation.view());
  for (int i = 1; i <= record->Size(); ++i) {
    if (!(record->Get(Record::Rels, i) == listed)) continue;
    const CADUnicodeString name = record->Get(Record::Instances, i);
    const CADUnicodeString index = record->Get(Record::InstIndex, i);
    if (name == ZRBListText::RoundTrip(InstanceName(product).view()) &&
        index == ZRBListText::RoundTrip(Inst(father, product, "ZRB_MATRIX_INDEX").view()))
      return;
    object->SetSlotValue("CAD_ORIG_INSTANCENAME", Text(name));
    object->SetSlotValue("CAD_ORIG_MATRIX_INDEX", index.IsEmpty() ? CADString("-1") : Text(index));
    return;
  }
}

int ZRBUpdateBaseCmd::WriteProduct(ZRBObjectManager& request, const CADIProduct_var& product, ZRBObject* object,
                                   int& status) {
  ZRB_TRACE("ZRBUpdateBaseCmd::WriteProduct");
  if (!product || !object) return -1;
  const CADIProduct_var father = ZRBPSNTreeUtil::GetFatherProduct(product);
  const CADUnicodeString type = GlobPropertyManager.GetProductType(product);
  const bool isRoot = object->GetKey() == "ROOT";
  const bool representation = xmapServices_.IsRepresentation(type) != 0;
  int state = 0;
  GetProductState(product, state);
  Touched& touched = Touch(product, father);

  // Every node object carries its key, so that the answer finds its node whatever the node is asked to do.
  const CADString key = object->GetKey();
  object->SetSlotValue("ZRB_PRIVATE_UPDATE_ID", key);
  GlobPropertyManager.SetPathToRootProperty(product, "ZRB_PRIVATE_UPDATE_ID", CADUnicodeString(key));

  const bool standardPart = Ref(product, "ZRB_IS_STD_PART") == "1";
  object->SetSlotValue("IS_STD_PART", Text(Ref(product, "ZRB_IS_STD_PART")));
  if (Ref(product, "ZRB_USED_FROM_PDM") == "1" && Ref(product, "ZRB_ROOT_USED_FROM_PDM") != "1") {
    ZRB_DEBUG("ZRB: Ignoring Use Childs");
    return 0;
  }

  const bool fromPdm = ZRBPSNTreeUtil::WasLoadedFromPdm(product) != 0;
  const bool fatherFromPdm =
      father && (ZRBPSNTreeUtil::WasLoadedFromPdm(father) || ZRBPSNTreeUtil::IsWorkbenchProduct(father));
  const bool workbench =
      ZRBPSNTreeUtil::IsWorkbenchProduct(product) || (isRoot && !Ref(product, "ZRB_WBSESSOBID").IsEmpty());
  // The workbench is no item to create: the PDM keeps it as the virtual root, when it keeps it at all.
  const bool toCreate = !fromPdm && !standardPart && !workbench;
  if (!fromPdm && !modes_.itemsBeforeLinks && !ZRBPSNTreeUtil::IsWorkbenchProduct(product)) {
    CADUnicodeString parameter = InstanceName(product);
    if (!father) {
      ZRB_DEBUG("ZRB: found non-ZRB Object :'%s'", parameter.c_str());
      AddUpdateMessage("NotFromPdm", &parameter, 1);
      status = -1;
      return -1;
    }
    if (!fatherFromPdm) {
      ZRB_DEBUG("ZRB: found non-ZRB Object :'%s'", parameter.c_str());
      AddUpdateMessage("ParentNotFromPdm", &parameter, 1);
      status = -1;
      return -1;
    }
  }

  // A file another document replaced since the read is not sent as this node.
  if (CheckNodeIdentity(product, "WrongUuid", "AskAboutWrongUuid") <= 0) {
    status = -1;
    return -1;
  }

  // Identification.
  SetIfNotEmpty(object, "OBID", Ref(product, "ZRB_OBID"));
  SetIfNotEmpty(object, "DB_NAME", Ref(product, "ZRB_DB_NAME"));
  object->SetSlotValue("PARTNUMBER", Text(product->GetPartNumber()));
  const bool blackBoxRoot = father && GlobPropertyManager.IsBlackBoxRoot(father, product);
  const bool blackBoxItem = father && GlobPropertyManager.IsBlackBoxItem(father, product, 1);
  CADUnicodeString className = Ref(product, "ZRB_CLASSNAME");
  if (!className.IsEmpty())
    object->SetSlotValue("CLASSNAME", Text(className));
  else
    object->SetSlotValue(
        "CLASSNAME", blackBoxRoot || blackBoxItem ? CADString("EMBEDDED_BB") : DefaultClassName(type, representation));
  if (blackBoxItem) object->SetSlotValue("PART_OF_BLACKBOX", "+");
  if (father) {
    object->SetSlotValue("INSTANCENAME", Text(InstanceName(product)));
    SetIfNotEmpty(object, "MATRIX_INDEX", Inst(father, product, "ZRB_MATRIX_INDEX"));
    WriteOriginalInstance(father, product, object);
    SetIfNotEmpty(object, "REL_OBID", Inst(father, product, "ZRB_RELATION"));
    SetIfNotEmpty(object, "REL_DB_NAME", Inst(father, product, "ZRB_REL_DB_NAME"));
    SetIfNotEmpty(object, "REL_DESC", Inst(father, product, "ZRB_DOCREL_DESC"));
  }
  SetIfNotEmpty(object, "CHANGEABLE", Ref(product, "ZRB_CHANGEABLE"));
  SetIfNotEmpty(object, "NOMENCLATURE", Ref(product, "ZRB_NOMENCLATURE"));
  SetIfNotEmpty(object, "ISCOMPONENT", Ref(product, "ZRB_ISCOMPONENT"));
  const CADUnicodeString embedded = Ref(product, "ZRB_USE_EMBEDDED_PRODUCT");
  if (!embedded.IsEmpty()) object->SetSlotValue("USE_EMBEDDED_PRODUCT", embedded == "1" ? "1" : "0");
  SetIfNotEmpty(object, "CREATE_PRD_REL", Ref(product, "ZRB_CREATE_PRD_REL"));
  SetIfNotEmpty(object, "PARTCATEGORY", Ref(product, "ZRB_PART_CGY_FOR_VALIDATE"));
  if (!father || ZRBPSNTreeUtil::IsWorkbenchProduct(father)) object->SetSlotValue("DO_NOT_PREPARE_DOC", "1");
  if (workbench) WriteVirtualRoot(product, object);
  // Content embedded in several files has no one document to save; its changes are reported, not sent.
  const bool multiEmbedded = Ref(product, "ZRB_MULTI_EMBEDDED") == "1";
  if (multiEmbedded && (state & PS_DIRTY)) {
    CADUnicodeString parameter = InstanceName(product);
    AddUpdateMessage("IgnoreUpdateMultiEmbedded", &parameter, 1);
  }

  // What the PDM creates: the item of a new node, or only the relation of a known node under a new place.
  CADDocument* ownDocument = nullptr;
  if (toCreate) {
    object->SetSlotValue("CREATE_PART_IN_PDM", "1");
    if (Ref(product, "ZRB_CREATECOMPONENT") == "1") object->SetSlotValue("CREATE_COMPONENT", "1");
    touched.toCreate = true;
    ownDocument = xmapServices_.GetDocForProduct(product, product->GetPartNumber(), 0);
    if (!modes_.noLink && AsksForLink(ownDocument)) object->SetSlotValue("LINK_IN_PDM", "1");
    if (ownDocument && !ZRBDocPropertyTransfer::SetFeatureExtentionsToZRBObject(request, ownDocument, object))
      ZRB_DEBUG("SetFeatureExtentionsToZRBObject failed ");
    if (FAILED(ZRBDocPropertyTransfer::SetUserDefPropertiesToZRBObject(product, object)))
      ZRB_DEBUG("SetUserDefPropertiesZRBObject failed ");
  } else {
    if (!object->GetSlotValue("CREATE_PART_IN_PDM").IsEmpty()) object->SetSlotValue("CREATE_PART_IN_PDM", "0");
    if (!isRoot && (state & PS_ZRB) && (state & PS_NEW)) {
      object->SetSlotValue(type == "CADProduct" ? "CREATE_PART_RELATION_ONLY" : "CREATE_MODEL_RELATION_ONLY", "1");
      touched.toCreate = true;
    }
  }

  if (GlobPropertyManager.IsCachedPart(product)) {
    ZRB_DEBUG("ZRB: WriteProduct: Assuming Product is a Cached Part -> Do not write ZRBObject!");
    return 0;
  }

  // A new node whose part number a PDM product of the session already uses would become a second item; two
  // instances of one new part under one father would ask for it twice.
  bool structureRefused = false;
  if (toCreate && !modes_.eZrbUpdateCreate && !modes_.noInteraction && !ZRBInfoUtil::IsCmponentDataModelMode()) {
    CADUnicodeString obid;
    int flag = 0;
    CADUnicodeString parameter = InstanceName(product);
    if (PartIsUsedInPdm(product.get(), obid, flag) == 1) {
      AddUpdateMessage("StructureChangeNotAllowed", &parameter, 1);
      structureRefused = true;
    } else if (HasSiblingOfSamePart(father, product)) {
      AddUpdateMessage("OnlyOneInstancePerProduct", &parameter, 1);
      structureRefused = true;
    }
    if (structureRefused) {
      object->SetSlotValue("CREATE_PART_IN_PDM", "0");
      object->SetSlotValue("LINK_IN_PDM", "0");
      touched.toCreate = false;
    }
  }
  // A catalog part belongs to its catalog: the designer's changes to its document are not saved.
  const bool catalogPart = CarriesCatalogFlag(product);

  // The node's own document (parts and representations; a product's document is its product object).
  if (IsPartLike(type) && !standardPart && !modes_.positionOnly && !IsOn("ZRB_DISABLE_SAVETOXMAP")) {
    CADDocument* document =
        ownDocument ? ownDocument : xmapServices_.GetDocForProduct(product, product->GetPartNumber(), 0);
    // A document shared by several nodes lost its modified mark with its first save; every node still sends it.
    const bool modified =
        (state & PS_DIRTY) || Ref(product, "ZRB_REPRESENTATION_DIRTY") == "1" || SavedBefore(document);
    if (catalogPart && modified) {
      ZRB_DEBUG("Found Catalog Flag in Product, document update not allowed.");
      CADUnicodeString parameter = InstanceName(product);
      AddUpdateMessage("CatalogPartDetected", &parameter, 1);
    }
    // A node to be created is saved though it may carry no modified mark: the PDM needs its file.
    if (!catalogPart && (modified || (toCreate && !structureRefused))) {
      const bool changeable =
          toCreate || Ref(product, "ZRB_CHANGEABLE") == "1" || Ref(product, "ZRB_TEMPL_PRODUCT") == "1";
      if (!changeable) {
        // Checked before anything is saved: the document keeps its modified mark for a later save.
        ReportNoPermission(product);
      } else if (!document) {
        ZRB_DEBUG("ZRB: could not get Document for %s", InstanceName(product).c_str());
      } else {
        GlobPropertyManager.SetPathToRootProperty(product, "ZRB_SAVE", "1");
        if (SaveOnce(document, touched)) {
          object->SetSlotValue("UPD_GEOMETRY", "1");
          object->SetSlotValue("PATH", Text(document->StorageName()));
          SetIfNotEmpty(object, "ORIG_LOCATION",
                        GlobPropertyManager.GetFileProperty(document->StorageName(), "SAM_ORIG_LOCATION"));
          if (!ZRBDocPropertyTransfer::SetModelInfoToZRBObject(request, product, object, document))
            ZRB_DEBUG("SetModelInfoToZRBObject failed ");
          // Values changed in the session since the PDM sent them travel with the saved document.
          if (!toCreate && FAILED(ZRBDocPropertyTransfer::SetUserDefPropertiesToZRBObject(product, object)))
            ZRB_DEBUG("SetUserDefPropertiesZRBObject failed ");
          if (toCreate) {
            object->SetSlotValue("CREATE_PART_IN_PDM", "2");
            GlobPropertyManager.SetPathToRootProperty(product, "ZRB_UPDATE_NEW_PART", "1");
          }
        } else {
          status = -1;
        }
      }
    }
  }

  if (type == "CADProduct" && !standardPart && !multiEmbedded) {
    if (catalogPart) {
      ZRB_DEBUG("Found Catalog Flag in Product, document update not allowed.");
      if (state & PS_DIRTY) {
        CADUnicodeString parameter = InstanceName(product);
        AddUpdateMessage("CatalogPartDetected", &parameter, 1);
      }
    } else {
      WriteProductDocument(request, product, object, touched, toCreate, status);
    }
  }
  if (toCreate && type == "CADProduct") GlobPropertyManager.SetPathToRootProperty(product, "ZRB_UPDATE_NEW_PART", "1");

  if (IsPartLike(type) && !standardPart && !modes_.positionOnly && !structureRefused && !modes_.tablesApart)
    WriteDesignTables(request, product, object);
  if (fromPdm) WriteDeletedProducts(product, request);
  WriteDescriptionsToZRBObject(product, object);
  WriteCustomAttrsToZRBObject(product, object);
  WriteStdAttrsToZRBObject(product, object);
  ZRB_TRACE_OK();
  return status < 0 ? -1 : 0;
}

bool ZRBUpdateBaseCmd::SavesVirtualRoot() {
  if (IsOn("ZRB_ENABLE_VP_SAVE")) return true;
  int saveVp = 0;
  if (FAILED(CADSettingRepository::ReadSetting("ZRBOptions", "SaveVP", &saveVp))) {
    ZRB_DEBUG("ZRB: Could not get Setting for SaveVirtualProduct");
    return false;
  }
  ZRB_DEBUG("ZRB: SaveVP is : '%d'", saveVp);
  return saveVp == 1;
}

void ZRBUpdateBaseCmd::WriteVirtualRoot(const CADIProduct_var& product, ZRBObject* object) {
  if (!SavesVirtualRoot()) {
    AddUpdateMessage("VRNotSaved");
    return;
  }
  ZRB_DEBUG("ZRB: writing virtual root Product.");
  // Without a session OBID the PDM makes the workbench's item; with one it finds the item it made before.
  SetIfNotEmpty(object, "VRSESSOBID", Ref(product, "ZRB_WBSESSOBID"));
  object->SetSlotValue("VIRTUALROOT", "1");
  if (CADDocument* document = xmapServices_.GetDocForProduct(product, product->GetPartNumber(), 0))
    object->SetSlotValue("PATH", Text(document->StorageName()));
}

void ZRBUpdateBaseCmd::WriteProductDocument(ZRBObjectManager& request, const CADIProduct_var& product,
                                            ZRBObject* object, Touched& touched, bool toCreate, int& status) {
  if (modes_.positionOnly) {
    ZRB_DEBUG("UpdatePosition selected, don't save the CADProduct");
    return;
  }
  if (modes_.partOnly) {
    ZRB_DEBUG("UpdatePart selected, don't save the CADProduct");
    return;
  }
  if (Ref(product, "ZRB_SYNC_SKIP_PRD_UPDATE") == "1" || Ref(product, "ZRB_PRODUCT_IGNORE_AT_UPDATE") == "1") return;
  if (product->IsEmbeddedComponent()) {
    // Its reference lives in the father's document, which the father's own object saves.
    ZRB_DEBUG("ZRB: embedded product %s is saved with its father", InstanceName(product).c_str());
    return;
  }
  int state = 0;
  GetProductState(product, state);
  CADDocument* document = xmapServices_.GetDocForProduct(product, product->GetPartNumber(), 0);
  if (!(state & PS_DIRTY) && !toCreate && !SavedBefore(document)) return;
  if (!document) {
    ZRB_DEBUG("ZRB: could not get Document for %s", InstanceName(product).c_str());
    return;
  }
  // A black box is one document in the PDM: its identity and permission are its file's, and the node's own
  // object carries the document save.
  const CADIProduct_var father = ZRBPSNTreeUtil::GetFatherProduct(product);
  const bool blackBox = father && (GlobPropertyManager.IsBlackBoxRoot(father, product) ||
                                   GlobPropertyManager.IsBlackBoxItem(father, product, 1));
  const CADUnicodeString path = document->StorageName();
  const CADUnicodeString changeable = toCreate   ? CADUnicodeString("1")
                                      : blackBox ? GlobPropertyManager.GetFileProperty(path, "ZRB_CHANGEABLE")
                                                 : Ref(product, "ZRB_PRODUCT_CHANGEABLE");
  if (!(changeable == "1")) {
    // Before the save: a product document the designer may not change keeps its modified mark.
    ReportNoPermission(product);
    return;
  }
  if (blackBox) {
    GlobPropertyManager.SetPathToRootProperty(product, "ZRB_SAVE", "1");
    if (!SaveOnce(document, touched)) {
      status = -1;
      return;
    }
    object->SetSlotValue("PATH", Text(document->StorageName()));
    SetIfNotEmpty(object, "OBID", GlobPropertyManager.GetFileProperty(path, "ZRB_OBID"));
    SetIfNotEmpty(object, "DB_NAME", GlobPropertyManager.GetFileProperty(path, "ZRB_DB_NAME"));
    object->SetSlotValue("CHANGEABLE", Text(changeable));
    object->SetSlotValue("UPD_PRODUCT", "1");
    return;
  }
  ZRBObject* productObject = nullptr;
  const CADString named = object->GetSlotValue("PRODUCT");
  if (!named.IsEmpty()) productObject = request.GetObject(named);
  if (!productObject) {
    productObject = request.CreateObject("");
    if (!productObject) return;
    object->SetSlotValue("PRODUCT", productObject->GetKey());
  }
  GlobPropertyManager.SetPathToRootProperty(product, "ZRB_SAVE", "1");
  if (!SaveOnce(document, touched)) {
    status = -1;
    return;
  }
  const CADString key = productObject->GetKey();
  productObject->SetSlotValue("ZRB_PRIVATE_UPDATE_ID", key);
  GlobPropertyManager.SetPathToRootProperty(product, "ZRB_PRIVATE_PRD_UPDATE_ID", CADUnicodeString(key));
  SetIfNotEmpty(productObject, "OBID", Ref(product, "ZRB_PRODUCT_OBID"));
  SetIfNotEmpty(productObject, "DB_NAME", Ref(product, "ZRB_PRODUCT_DB_NAME"));
  const CADUnicodeString className = Ref(product, "ZRB_PRODUCT_CLASSNAME");
  productObject->SetSlotValue("CLASSNAME", className.IsEmpty() ? CADString("x0CadPrd") : Text(className));
  productObject->SetSlotValue("CHANGEABLE", Text(changeable));
  productObject->SetSlotValue("PATH", Text(document->StorageName()));
  productObject->SetSlotValue("UPD_PRODUCT", "1");
  SetIfNotEmpty(productObject, "ORIG_LOCATION",
                GlobPropertyManager.GetFileProperty(document->StorageName(), "SAM_ORIG_LOCATION"));
  SetIfNotEmpty(productObject, "CREATE_PRD_REL", Ref(product, "ZRB_CREATE_PRD_REL"));
  if (modes_.eZrbUpdateCreate && Ref(product, "ZRB_OBID").IsEmpty())
    productObject->SetSlotValue("CREATE_PRODUCT_AND_PART", "1");
  else if ((modes_.eZrbUpdateCreate || modes_.extendedUpdate) && Ref(product, "ZRB_PRODUCT_OBID").IsEmpty())
    productObject->SetSlotValue("CREATE_PRODUCT_FOR_PART", "1");
  if (!ZRBDocPropertyTransfer::SetModelInfoToZRBObject(request, product, productObject, document))
    ZRB_DEBUG("SetModelInfoToZRBObject failed ");
  WriteStdAttrsToZRBObject(product, productObject);
}

int ZRBUpdateBaseCmd::WriteDesignTables(ZRBObjectManager& request, const CADIProduct_var& product, ZRBObject* object,
                                        const CADUnicodeString& onlyFile) {
  // Whether the PDM keeps design tables is its setting, asked once per session.
  if (!ZRBInfoUtil::WorkWithDesignTables()) return 0;
  const bool one = !onlyFile.IsEmpty();
  // A part used several times has its tables once: every use shares its reference.
  const CADIProduct_var reference = product->GetReferenceProduct();
  for (const CADIProduct_var& done : tableReferences_)
    if (!one && done.get() == reference.get()) return 0;
  if (!one) tableReferences_.push_back(reference);
  // A row of its own may come after other requests: the part is switched to the mode that lists its tables.
  CADRawCollPV* tables = ZRBDesignTable::GetTables(product, one ? 1 : 0);
  if (!tables) {
    ZRB_DEBUG("ZRB: no design tables listed for %s", product->GetPartNumber().c_str());
    return 0;
  }
  CADListValCADUnicodeString known;
  for (const CADUnicodeString& item : ZRBListText::Split(Ref(product, "ZRB_DESIGNTABLES").view()))
    known.Append(ZRBFileUtil::GetFileNameFromPath(item));
  CADListValCADUnicodeString present;
  int written = 0;
  const auto add = [&]() {
    ZRBObject* table = request.CreateObject("");
    if (table) object->SlotAppend("TABLES", table->GetKey());
    return table;
  };
  for (int i = 1; i <= tables->Size(); ++i) {
    auto* table = static_cast<ZRBDesignTable*>((*tables)[i]);
    CADUnicodeString path;
    unsigned char exists = 0;
    if (!table || FAILED(table->GetFullPath(path)) || FAILED(table->FileExists(&exists)) || !exists) continue;
    const CADUnicodeString name = ZRBFileUtil::GetFileNameFromPath(path);
    present.Append(name);
    if (one && !(name == onlyFile)) continue;
    if (known.Locate(name)) {
      // A known table is sent only when its file changed since the PDM last had it.
      int state = 0;
      table->GetState(state);
      if (!(state & ZRBDesignTable::kStateDirty) ||
          GlobPropertyManager.GetFileProperty(path, "ZRB_CHANGEABLE") == "0" ||
          GlobPropertyManager.GetFileProperty(path, "ZRB_SYNC_SKIP_TAB_UPDATE") == "1")
        continue;
      if (ZRBObject* slots = add(); slots && SUCCEEDED(table->GetZRBObject(slots))) ++written;
      continue;
    }
    // A new table goes into the exchange map first: the PDM takes its file from there.
    if (FAILED(table->MoveToXMap())) {
      CADUnicodeString parameter = path;
      AddUpdateMessage("FileSaveFailed", &parameter, 1);
      continue;
    }
    ZRBObject* slots = add();
    if (!slots || FAILED(table->GetZRBObject(slots))) continue;
    slots->SetSlotValue("LINK_DESTAB", "1");
    ++written;
  }
  ZRBDesignTable::DestroyList(tables);
  CADUnicodeString xmap;
  ZRBAfx::GetXMapWithEndingSlash(xmap);
  for (const CADUnicodeString& name : known) {
    if (present.Locate(name) || (one && !(name == onlyFile))) continue;
    ZRBObject* gone = add();
    if (!gone) continue;
    const CADUnicodeString file = xmap + name;
    gone->SetSlotValue("REMOVE_IN_PDM", "1");
    gone->SetSlotValue("EXTERNAL_LOCATION", Text(file));
    SetIfNotEmpty(gone, "OBID", GlobPropertyManager.GetFileProperty(file, "ZRB_OBID"));
    SetIfNotEmpty(gone, "CLASSNAME", GlobPropertyManager.GetFileProperty(file, "ZRB_CLASSNAME"));
    SetIfNotEmpty(gone, "DB_NAME", GlobPropertyManager.GetFileProperty(file, "ZRB_DB_NAME"));
    ++written;
  }
  return written;
}

void ZRBUpdateBaseCmd::ProcessDesignTables(const CADIProduct_var& product, const ZRBObject& object,
                                           ZRBObjectManager& answer) {
  const CADListValCADString keys = object.GetSlotValueList("TABLES");
  if (keys.Size() == 0) return;
  CADListValCADUnicodeString known = ZRBListText::Split(Ref(product, "ZRB_DESIGNTABLES").view());
  for (const CADString& key : keys) {
    const ZRBObject* table = answer.GetObject(key);
    if (!table) continue;
    const CADUnicodeString name =
        ZRBFileUtil::GetFileNameFromPath(CADUnicodeString(table->GetSlotValue("EXTERNAL_LOCATION")));
    if (table->GetSlotValue("LINK_SUCCESS") == "1" && !name.IsEmpty() && !known.Locate(name)) known.Append(name);
    if (table->GetSlotValue("REMOVE_SUCCESS") == "1") {
      CADListValCADUnicodeString kept;
      for (const CADUnicodeString& item : known)
        if (!(ZRBFileUtil::GetFileNameFromPath(item) == name)) kept.Append(item);
      known = kept;
    }
    if (table->GetSlotValue("TABLE_UPD_SUCCESS") == "1") ZRBDesignTable::SetZRBProperties(table, 1);
  }
  GlobPropertyManager.SetReferenceProperty(product, "ZRB_DESIGNTABLES", ZRBListText::Join(known));
}

namespace {
// The load-time children of `parent` that are gone and whose instance was in the PDM (archives aside), by index.
std::vector<int> GoneChildren(const CADIProduct_var& parent, const Record& record) {
  std::vector<int> gone;
  for (int i = 1; i <= record.Size(); ++i) {
    if (!(record.Get(Record::InZrb, i) == "1") || record.Get(Record::ProdTypes, i) == "ZRBArchive") continue;
    bool present = false;
    const CADUnicodeString& relation = record.Get(Record::Rels, i);
    for (const CADBaseUnknown_var& item : parent->GetChildren()) {
      CADIProduct_var child(item);
      if (!child) continue;
      // A renamed instance still holds its relation: the PDM renames it, it must not remove it.
      if ((ZRBListText::RoundTrip(InstanceName(child).view()) == record.Get(Record::Instances, i) &&
           ZRBListText::RoundTrip(child->GetPartNumber().view()) == record.Get(Record::PartNumbers, i)) ||
          (!relation.IsEmpty() && ZRBListText::RoundTrip(Inst(parent, child, "ZRB_RELATION").view()) == relation)) {
        present = true;
        break;
      }
    }
    if (!present) gone.push_back(i);
  }
  return gone;
}
}  // namespace

int ZRBUpdateBaseCmd::WriteDeletedProducts(const CADIProduct_var& parent, ZRBObjectManager& request) {
  auto record = Record::Read(parent);
  if (!record || record->IsEmpty()) return 0;
  ZRBObject* removed = nullptr;
  for (const int i : GoneChildren(parent, *record)) {
    if (!removed) {
      ZRB_DEBUG("ZRB: Creating ObjMgr object for deleted product: %s", record->Get(Record::Instances, i).c_str());
      removed = request.CreateObject("");
      if (!removed) return -1;
      SetIfNotEmpty(removed, "PARENT_OBID", Ref(parent, "ZRB_OBID"));
      SetIfNotEmpty(removed, "PARENT_DB_NAME", Ref(parent, "ZRB_DB_NAME"));
      GlobPropertyManager.SetPathToRootProperty(parent, "ZRB_PRIVATE_REMOVE_SUBASS_ID",
                                                CADUnicodeString(removed->GetKey()));
    }
    removed->SlotAppend("REMOVED_SUBASS", Text(record->Get(Record::Instances, i)));
    removed->SlotAppend("INSTANCENAME", Text(record->Get(Record::Instances, i)));
    removed->SlotAppend("OBID", Text(record->Get(Record::Obids, i)));
    removed->SlotAppend("CLASSNAME", Text(record->Get(Record::Classes, i)));
    removed->SlotAppend("REL_OBID", Text(record->Get(Record::Rels, i)));
    removed->SlotAppend("PROD_TYPE", Text(record->Get(Record::ProdTypes, i)));
    removed->SlotAppend("PARTNUMBER", Text(record->Get(Record::PartNumbers, i)));
    removed->SlotAppend("DB_NAME", Text(record->Get(Record::DbNames, i)));
    removed->SlotAppend("REL_DB_NAME", Text(record->Get(Record::RelDbNames, i)));
    removed->SlotAppend("REMOVE_IN_PDM", "1");
  }
  return removed ? 1 : 0;
}

void ZRBUpdateBaseCmd::WriteDescriptionsToZRBObject(const CADIProduct_var& product, ZRBObject* object) {
  if (!product || !object) return;
  // The host keeps descriptions per reference only: an instance has none of its own to send, and the read
  // has nowhere to put one ("INSTANCE_DESCRIPTION" stays unwritten rather than repeat the reference's).
  ZRB_DEBUG("InstanceDescription: ");
  CADIPrdProperties_var reference(product->GetReferenceProduct());
  CADUnicodeString description;
  if (reference && SUCCEEDED(reference->GetDescription(description))) {
    ZRB_DEBUG("ReferenceDescription: %s", description.c_str());
    SetIfNotEmpty(object, "REFERENCE_DESCRIPTION", description);
  }
}

void ZRBUpdateBaseCmd::WriteCustomAttrsToZRBObject(const CADIProduct_var& product, ZRBObject* object) {
  if (!product) {
    ZRB_DEBUG("Input Parameter 'ChildProduct' is NULL");
    return;
  }
  if (!object) return;
  SetIfNotEmpty(object, "CUSTOM_ATTRS", Ref(product, "ZRB_CUSTOM_ATTRS"));
  SetIfNotEmpty(object, "CUSTOM_VALS", Ref(product, "ZRB_CUSTOM_VALS"));
}

void ZRBUpdateBaseCmd::WriteStdAttrsToZRBObject(const CADIProduct_var& product, ZRBObject* object) {
  if (!product || !object) return;
  CADIPrdProperties_var properties(product->GetReferenceProduct());
  if (!properties) return;
  CADUnicodeString values[4];
  properties->GetNomenclature(values[0]);
  properties->GetRevision(values[1]);
  properties->GetDefinition(values[2]);
  properties->GetDescription(values[3]);
  static constexpr const char* kNames[4] = {"CADNomenclature", "CADRevision", "CADDefinition", "CADDescription"};
  for (int i = 0; i < 4; ++i) {
    object->SlotAppend("STANDARD_ATTRS", kNames[i]);
    object->SlotAppend("STANDARD_VALS", Text(values[i]));
  }
}

// ---------------------------------------------------------------- the answer

void ZRBUpdateBaseCmd::ApplyNewIdentity(const CADIProduct_var& node, const CADIProduct_var& father,
                                        const ZRBObject& object) {
  const auto set = [&](const char* property, const char* slot) {
    const CADString value = object.GetSlotValue(slot);
    if (!value.IsEmpty()) GlobPropertyManager.SetReferenceProperty(node, property, CADUnicodeString(value));
  };
  set("ZRB_OBID", "OBID");
  set("ZRB_CLASSNAME", "CLASSNAME");
  set("ZRB_DB_NAME", "DB_NAME");
  // What the designer just created is theirs to change unless the PDM says otherwise.
  const CADString changeable = object.GetSlotValue("CHANGEABLE");
  GlobPropertyManager.SetReferenceProperty(node, "ZRB_CHANGEABLE",
                                           changeable.IsEmpty() ? CADUnicodeString("1") : CADUnicodeString(changeable));
  if (!father) return;
  const auto setInstance = [&](const char* property, const char* slot) {
    const CADString value = object.GetSlotValue(slot);
    if (!value.IsEmpty()) GlobPropertyManager.SetInstanceProperty(father, node, property, CADUnicodeString(value));
  };
  setInstance("ZRB_RELATION", "DOCREL_ID");
  setInstance("ZRB_REL_DB_NAME", "REL_DB_NAME");
  setInstance("ZRB_DOCREL_DESC", "DOCREL_DESC");
  GlobPropertyManager.SetInstanceProperty(father, node, "ZRB_INSTANCE_IN_ZRB", "1");
}

void ZRBUpdateBaseCmd::ApplyCreatedNode(const Touched& touched, const ZRBObject& object, ZRBObjectManager& answer) {
  const bool embedded = touched.node->IsEmbeddedComponent();
  ZRBObject reply = CompletedAnswer(object, touched.node, touched.saved, answer);
  if (!embedded && (!(reply.GetSlotValue("ISCOMPONENT") == "1") || !reply.GetSlotValue("CMPONENTOBID").IsEmpty()))
    ZRBDocPropertyTransfer::SetPartPropertiesFromZRBObject(touched.node, &reply);
  ApplyNewIdentity(touched.node, touched.father, object);
  if (!embedded && touched.saved &&
      !ZRBDocPropertyTransfer::SetFilePropertiesFromZRBObject(*this, reply, touched.saved, 0, touched.node))
    ZRB_DEBUG("ZRB: the file properties of %s were not set", touched.saved->StorageName().c_str());
}

int ZRBUpdateBaseCmd::ProcessNewPartFlags(const CADIProduct_var& root, ZRBObjectManager& answer) {
  ZRB_TRACE("ZRBUpdateBaseCmd::ProcessNewPartFlags");
  static_cast<void>(root);
  for (Touched& touched : touched_) {
    if (!touched.toCreate) continue;
    const CADUnicodeString key = GlobPropertyManager.GetPathToRootProperty(touched.node, "ZRB_PRIVATE_UPDATE_ID");
    const ZRBObject* object = key.IsEmpty() ? nullptr : answer.GetObjectByPrivateUpdateId(Text(key));
    if (!object) continue;
    const bool relationOnly = object->GetSlotValue("CREATE_MODEL_RELATION_ONLY") == "1" ||
                              object->GetSlotValue("CREATE_PART_RELATION_ONLY") == "1";
    const bool created = object->GetSlotValue("CREATE_PART_SUCCESS") == "1";
    // What this update sent as the original name, to tell it from a name the PDM answers.
    ZRBObject sent;
    if (touched.father) WriteOriginalInstance(touched.father, touched.node, &sent);
    if (relationOnly) {
      if (!created && !(object->GetSlotValue("INSTANTIATE_SUCCESS") == "1")) continue;
      if (touched.father && !object->GetSlotValue("DOCREL_ID").IsEmpty()) {
        GlobPropertyManager.SetInstanceProperty(touched.father, touched.node, "ZRB_RELATION",
                                                CADUnicodeString(object->GetSlotValue("DOCREL_ID")));
        GlobPropertyManager.SetInstanceProperty(touched.father, touched.node, "ZRB_INSTANCE_IN_ZRB", "1");
      }
      TakePdmInstanceName(touched.father, touched.node,
                          PdmInstanceName(*object, sent.GetSlotValue("CAD_ORIG_INSTANCENAME")));
      touched.confirmed = true;
      continue;
    }
    if (!created || object->GetSlotValue("OBID").IsEmpty()) {
      ZRB_DEBUG("ZRB: %s was not created", InstanceName(touched.node).c_str());
      continue;
    }
    // The created node ends with what a read of it would give: reference properties, then its document's file
    // properties (and its name, when the PDM chose one). An embedded node lives in its father's document and,
    // like a component the answer gives no item identity for, keeps the plain identity.
    ApplyCreatedNode(touched, *object, answer);
    ZRBDocPropertyTransfer::SetStdPropertiesFromZRBObject(touched.node, object);
    TakePdmInstanceName(touched.father, touched.node,
                        PdmInstanceName(*object, sent.GetSlotValue("CAD_ORIG_INSTANCENAME")));
    if ((!object->GetSlotValue("USER_DEF_PROPS").IsEmpty() || !object->GetSlotValue("USER_DEF_DEL_NAMES").IsEmpty()) &&
        !ZRBDocPropertyTransfer::SetUserDefinedPropertiesFromZRBObject(touched.node, object))
      GetWarnings().Append(BuildMessage("ZRBAfx", "WrongListSize"));
    if (!object->GetSlotValue("FEATURE_EXTENTIONS").IsEmpty())
      ZRBDocPropertyTransfer::GetFeatureExtentionsFromZRBObject(touched.node, object, answer);
    touched.confirmed = true;
    // The new identity lives in the document's properties: the next save writes them.
    if (touched.saved) touched.saved->SetDirty(1);
  }
  ZRB_TRACE_OK();
  return 1;
}

int ZRBUpdateBaseCmd::ProcessProductFlags(const CADIProduct_var& root, ZRBObjectManager& answer) {
  ZRB_TRACE("ZRBUpdateBaseCmd::ProcessProductFlags");
  for (Touched& touched : touched_) {
    const CADUnicodeString key = GlobPropertyManager.GetPathToRootProperty(touched.node, "ZRB_PRIVATE_PRD_UPDATE_ID");
    const ZRBObject* object = key.IsEmpty() ? nullptr : answer.GetObjectByPrivateUpdateId(Text(key));
    if (!object) continue;
    if (!(object->GetSlotValue("PRODUCT_SUCCESS") == "1") && !(object->GetSlotValue("COMPONENT_SUCCESS") == "1"))
      continue;
    GlobPropertyManager.SetReferenceProperty(touched.node, "ZRB_PRODUCT_CHANGEABLE", "1");
    const auto set = [&](const char* property, const char* slot) {
      const CADString value = object->GetSlotValue(slot);
      if (!value.IsEmpty()) GlobPropertyManager.SetReferenceProperty(touched.node, property, CADUnicodeString(value));
    };
    set("ZRB_PRODUCT_OBID", "OBID");
    set("ZRB_PRODUCT_CLASSNAME", "CLASSNAME");
    set("ZRB_PRODUCT_DB_NAME", "DB_NAME");
  }
  for (Touched& touched : touched_) {
    const CADUnicodeString key = GlobPropertyManager.GetPathToRootProperty(touched.node, "ZRB_PRIVATE_UPDATE_ID");
    if (const ZRBObject* object = key.IsEmpty() ? nullptr : answer.GetObjectByPrivateUpdateId(Text(key)))
      ProcessDesignTables(touched.node, *object, answer);
  }
  if (root) {
    const CADUnicodeString key = GlobPropertyManager.GetPathToRootProperty(root, "ZRB_PRIVATE_UPDATE_ID");
    const ZRBObject* object = key.IsEmpty() ? nullptr : answer.GetObjectByPrivateUpdateId(Text(key));
    if (object && !object->GetSlotValue("NEWFILENAME").IsEmpty() && !object->GetSlotValue("PARTNUMBER").IsEmpty() &&
        !object->GetSlotValue("WBSESSOBID").IsEmpty()) {
      GlobPropertyManager.SetReferenceProperty(root, "ZRB_WBSESSOBID",
                                               CADUnicodeString(object->GetSlotValue("WBSESSOBID")));
      ProcessVRChange(root, CADUnicodeString(object->GetSlotValue("PARTNUMBER")));
    }
  }
  ZRB_TRACE_OK();
  return 1;
}

int ZRBUpdateBaseCmd::ProcessVRChange(const CADIProduct_var& product, const CADUnicodeString& newName) {
  ZRB_TRACE("ZRBUpdateBaseCmd::ProcessVRChange");
  if (!product || newName.IsEmpty()) return 0;
  GlobPropertyManager.SetPartNumber(product, newName, 1, 0);
  CADDocument* document = xmapServices_.GetDocForProduct(product, newName, 0);
  if (!document) return 0;
  CADUnicodeString xmap, path;
  if (!ZRBXmapDocuments::GetExmapFileFullPath(document->StorageName(), xmap, path)) {
    ZRB_DEBUG("Could not get Xmap Filename");
    return 0;
  }
  ZRB_DEBUG("Saving Product to '%s'", path.c_str());
  if (!SaveAs(*document, path, "", 0)) return 0;
  ZRB_TRACE_OK();
  return 1;
}

bool ZRBUpdateBaseCmd::SaveConfirmed(const Touched& touched, const ZRBObject* object, ZRBObjectManager& answer) {
  if (touched.toCreate && !touched.confirmed) return false;
  if (object && object->GetSlotValue("MODEL_UPD_SUCCESS") == "0") return false;
  const CADUnicodeString key = GlobPropertyManager.GetPathToRootProperty(touched.node, "ZRB_PRIVATE_PRD_UPDATE_ID");
  const ZRBObject* product = key.IsEmpty() ? nullptr : answer.GetObjectByPrivateUpdateId(Text(key));
  return !product ||
         (!(product->GetSlotValue("PRODUCT_SUCCESS") == "0") && !(product->GetSlotValue("MODEL_UPD_SUCCESS") == "0"));
}

int ZRBUpdateBaseCmd::ProcessSaveFlags(int success, ZRBObjectManager& answer) {
  ZRB_TRACE("ZRBUpdateBaseCmd::ProcessSaveFlags");
  if (!success && !savedDocuments_.empty()) ZRB_DEBUG("ZRB: update canceled - restoring dirty states.");
  if (!success)
    for (CADDocument* document : savedDocuments_) document->SetDirty(1);
  for (Touched& touched : touched_) {
    const CADUnicodeString key = GlobPropertyManager.GetPathToRootProperty(touched.node, "ZRB_PRIVATE_UPDATE_ID");
    const ZRBObject* object = key.IsEmpty() ? nullptr : answer.GetObjectByPrivateUpdateId(Text(key));
    if (success && touched.saved && !SaveConfirmed(touched, object, answer)) {
      // The save as a whole went through, but not this document: its unsaved work is still unsaved.
      ZRB_DEBUG("ZRB: %s was not saved by the PDM", touched.saved->StorageName().c_str());
      touched.saved->SetDirty(1);
    }
    // The file now holds what the PDM took: later saves compare against it.
    if (success && touched.saved && SaveConfirmed(touched, object, answer)) ZRBIdentityCheck::Remember(touched.node);
    const CADString matrix = object ? object->GetSlotValue("UPD_MATRIX") : CADString();
    if (object && touched.father && (matrix == "1" || matrix == "0")) {
      // "0": the designer held the position back after it was written; it stays to be sent.
      if (!success || matrix == "0") {
        // The position was taken off the "must send" list when it was written; it goes back on it.
        KeepPositionToSend(touched.father, touched.node);
      } else if (object->GetSlotValue("UPD_MATRIX_SUCCESS") == "1" && !modes_.partOnly) {
        double position[12];
        CADUnicodeString text;
        if (GetProductPosition(touched.node, touched.father, position) &&
            SUCCEEDED(ZRBPosMatrixUtil::ConvertToString(position, text)))
          GlobPropertyManager.SetInstanceProperty(touched.father, touched.node, "ZRB_ORIG_MATRIX", text);
      } else {
        KeepPositionToSend(touched.father, touched.node);
      }
    }
    for (const char* name : kPrivateProperties) GlobPropertyManager.DeletePathToRootProperty(touched.node, name);
  }
  touched_.clear();
  savedDocuments_.clear();
  tableReferences_.clear();
  ZRB_TRACE_OK();
  return 1;
}

int ZRBUpdateBaseCmd::RecordSavedChildren(const CADIProduct_var& root, ZRBObjectManager& answer) {
  if (!root) return 0;
  // A removal the PDM did not confirm stays in its parent's record, so the next save asks for it again.
  std::vector<std::pair<CADIProduct_var, std::vector<Record::Items>>> unremoved;
  for (const Touched& touched : touched_) {
    const CADUnicodeString key =
        GlobPropertyManager.GetPathToRootProperty(touched.node, "ZRB_PRIVATE_REMOVE_SUBASS_ID");
    const ZRBObject* object = key.IsEmpty() ? nullptr : answer.GetObject(Text(key));
    const auto record = key.IsEmpty() ? nullptr : Record::Read(touched.node);
    if (!record || (object && object->GetSlotValue("REMOVE_SUCCESS") == "1")) continue;
    std::vector<Record::Items> kept;
    for (const int i : GoneChildren(touched.node, *record)) {
      Record::Items items;
      for (int f = 0; f < Record::kFieldCount; ++f) items[f] = record->Get(static_cast<Record::Field>(f), i);
      kept.push_back(items);
    }
    if (!kept.empty()) unremoved.emplace_back(touched.node, std::move(kept));
  }
  SetOrigChilds(root.get(), "", 0);
  for (const auto& [parent, kept] : unremoved) {
    for (int f = 0; f < Record::kFieldCount; ++f) {
      CADListValCADUnicodeString items = ZRBListText::Split(Ref(parent, Record::kNames[f]).view());
      for (const Record::Items& child : kept) items.Append(child[f]);
      GlobPropertyManager.SetReferenceProperty(parent, Record::kNames[f], ZRBListText::Join(items));
    }
  }
  // A child the PDM did not confirm stays out of its parent's record, so it is still new at the next save. The
  // record belongs to the parent's reference: a child of a shared subassembly is taken out once, and the
  // entries go from the last one forward, so that each index still names its child.
  struct Strip {
    CADIProduct_var father;
    const void* reference;
    int index;
  };
  std::vector<Strip> strips;
  for (const Touched& touched : touched_) {
    if (!touched.toCreate || touched.confirmed || !touched.father) continue;
    int index = 0, position = 0;
    for (const CADBaseUnknown_var& item : touched.father->GetChildren()) {
      CADIProduct_var child(item);
      if (!child) continue;
      ++position;
      if (child.get() == touched.node.get()) index = position;
    }
    const void* reference = touched.father->GetReferenceProduct().get();
    const bool known = std::any_of(strips.begin(), strips.end(),
                                   [&](const Strip& s) { return s.reference == reference && s.index == index; });
    if (index > 0 && !known) strips.push_back({touched.father, reference, index});
  }
  std::sort(strips.begin(), strips.end(), [](const Strip& a, const Strip& b) { return a.index > b.index; });
  for (const Strip& strip : strips) {
    for (const char* name : Record::kNames) {
      const CADUnicodeString text = GlobPropertyManager.GetReferenceProperty(strip.father, name);
      const CADListValCADUnicodeString items = ZRBListText::Split(text.view());
      if (strip.index > items.Size()) continue;
      CADListValCADUnicodeString kept;
      for (int i = 1; i <= items.Size(); ++i)
        if (i != strip.index) kept.Append(items[i]);
      GlobPropertyManager.SetReferenceProperty(strip.father, name, ZRBListText::Join(kept));
    }
  }
  return 1;
}

// ---------------------------------------------------------------- validation

ZRBObject* ZRBUpdateBaseCmd::CreateValidationRootObject(ZRBObjectManager& request) {
  ZRBObject* root = request.CreateObject("ROOT");
  if (!root) return nullptr;
  root->SetSlotValue("CREATING_SYSTEM", "CADHOST");
  root->SetSlotValue("PROCESS", "ValidateNodes");
  root->SetSlotValue("FILEVERSION", "1.00");
  root->SetSlotValue("ACTION_SUCCESS", "0");
  return root;
}

namespace {
void AddValidationSlots(ZRBObject* object, const CADIProduct_var& node, const CADIProduct_var& father,
                        const char* prefix) {
  const auto put = [&](const char* slot, const CADUnicodeString& value) {
    if (!value.IsEmpty()) object->SetSlotValue(CADString(std::string(prefix) + slot), Text(value));
  };
  put("CAD_TYPE", GlobPropertyManager.GetProductType(node));
  put("PARTNUMBER", node->GetPartNumber());
  put("STD_PART", Ref(node, "ZRB_IS_STD_PART"));
  put("INSTANCENAME", InstanceName(node));
  put("MATRIX_INDEX", Inst(father, node, "ZRB_MATRIX_INDEX"));
  put("DOCREL_DESC", Inst(father, node, "ZRB_DOCREL_DESC"));
  put("RELATION", Inst(father, node, "ZRB_RELATION"));
  put("REL_DB_NAME", Inst(father, node, "ZRB_REL_DB_NAME"));
  put("OBID", Ref(node, "ZRB_OBID"));
  put("DB_NAME", Ref(node, "ZRB_DB_NAME"));
  put("PRODUCT_OBID", Ref(node, "ZRB_PRODUCT_OBID"));
  put("PRODUCT_DB_NAME", Ref(node, "ZRB_PRODUCT_DB_NAME"));
  put("PRODUCT_CHANGEABLE", Ref(node, "ZRB_PRODUCT_CHANGEABLE"));
  put("PRODUCT_CLASSNAME", Ref(node, "ZRB_PRODUCT_CLASSNAME"));
  put("CHANGEABLE", Ref(node, "ZRB_CHANGEABLE"));
  put("CLASSNAME", Ref(node, "ZRB_CLASSNAME"));
  put("PARTCATEGORY", Ref(node, "ZRB_PART_CGY_FOR_VALIDATE"));
}
}  // namespace

int ZRBUpdateBaseCmd::AddNodeValidationDataToZRBObject(ZRBObject* object, const CADIProduct_var& node) {
  if (!object || !node) return 0;
  const CADIProduct_var father = ZRBPSNTreeUtil::GetFatherProduct(node);
  AddValidationSlots(object, node, father, "");
  if (node->IsEmbeddedComponent()) object->SetSlotValue("EMBEDDED", "1");
  if (father && GlobPropertyManager.IsBlackBoxItem(father, node, 1)) object->SetSlotValue("PART_OF_BLACKBOX", "1");
  if (!father) {
    ZRB_DEBUG("ZRB: Node is root");
    return 1;
  }
  AddValidationSlots(object, father, ZRBPSNTreeUtil::GetFatherProduct(father), "PARENT_");
  return 1;
}

int ZRBUpdateBaseCmd::ExecuteValidation(ZRBObjectManager& request, ZRBObjectManager* answer, int* result) {
  ZRB_TRACE("ZRBUpdateBaseCmd::ExecuteValidation");
  if (result) *result = 0;
  CADUnicodeString xmap;
  ZRBAfx::GetXMapWithEndingSlash(xmap);
  const CADUnicodeString path = xmap + CADUnicodeString("ValidateCadNodes.zrb");
  if (ZRBAfx::FileExist(path) && FAILED(CADDeleteFile(path))) {
    ZRB_DEBUG("ZRB: CADDeleteFile(%s) failed", path.c_str());
    CADUnicodeString parameter = path;
    AddUpdateMessage("NoFileAccess", &parameter, 1);
    return -1;
  }
  if (!request.Write(path)) {
    CADUnicodeString parameter = path;
    AddUpdateMessage("NoFileAccess", &parameter, 1);
    return -1;
  }
  const int run = ZRBAfx::ConnectPdm(ZRBPdmAction::Line(ZRBPdmAction::ValidateCadNodes, path), 0);
  if (run < 0) {
    ZRB_DEBUG("SYSTEM ConnectPdm x3ValidateCadNodes failed with %d errno: %d", run, errno);
    GetWarnings().Append(BuildMessage("ZRBAfx", "ConnectFailed"));
    return -1;
  }
  ZRBObjectManager own;
  ZRBObjectManager& read = answer ? *answer : own;
  if (!ZRBPdmRequest::ReadWholeAnswer(path, read)) {
    ZRB_DEBUG("ZRB: ZRB exchangefile not found");
    return -1;
  }
  // A file the PDM did not touch still says "0" in its "ROOT": never a success.
  const ZRBObject* root = read.GetObject("ROOT");
  bool valid = root && root->GetSlotValue("ACTION_SUCCESS") == "1";
  for (ZRBObject* object = read.GetFirstObject(); valid && object; object = read.GetNextObject(object)) {
    if (object->GetKey() == "ROOT") continue;
    if (!(object->GetSlotValue("VALIDATE_SUCCESS") == "1")) valid = false;
  }
  if (result) *result = valid ? 1 : 0;
  ZRB_DEBUG(valid ? "ZRB: All node validations were successful" : "ZRB: At least one node validation failed");
  ZRB_TRACE_OK();
  return 0;
}
