#include "ZRBGetOrigGeoForVisCmd.h"

#include <utime.h>

#include <algorithm>

#include "CADCSO.h"
#include "CADClassDictionary.h"
#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADFrmEditor.h"
#include "ZRBAfx.h"
#include "ZRBAnswerLocation.h"
#include "ZRBCacheFileUtil.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBFileUtil.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPdmAction.h"
#include "ZRBPdmRequest.h"
#include "ZRBPropertyManager.h"
#include "ZRBStaleFiles.h"
#include "ZRBTrace.h"

ZRBGetOrigGeoForVisCmd* fctCreateZRBGetOrigGeoForVisCmd() { return new ZRBGetOrigGeoForVisCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBGetOrigGeoForVisCmd", &fctCreateZRBGetOrigGeoForVisCmd);
constexpr const char* kRequestFileName = "GetOrigGeoForVis.zrb";
constexpr const char* kVersion = "V8.5";
// The identity a replaced node keeps: the PDM knows the model by the item the visualisation stood for.
constexpr const char* kIdentityProperties[] = {"ZRB_OBID",           "ZRB_CLASSNAME",    "ZRB_DB_NAME",
                                               "ZRB_ISCOMPONENT",    "ZRB_PRODUCT_OBID", "ZRB_PRODUCT_DB_NAME",
                                               "ZRB_SENDING_OBJECT", "ZRB_DOCREL_ID"};

CADString Text(const CADUnicodeString& text) { return text.ConvertToString(); }

CADUnicodeString TypeOf(const CADIProduct_var& product) { return GlobPropertyManager.GetProductType(product); }

CADDocument* DocumentOf(const CADIProduct_var& product) {
  CADDocument* document = nullptr;
  ZRBFileUtil::GetRefDocFromCADIProduct(product, &document);
  return document;
}

// A model node whose document is loaded holds its geometry already.
bool ModelInSession(const CADIProduct_var& node) {
  const CADUnicodeString type = TypeOf(node);
  return (type == "CADPart" || type == "model") && DocumentOf(node) != nullptr;
}

// A file the answer names, by its last component, in the exchange map or else in the released cache; "" when
// neither holds it. Whatever directory the PDM wrote is never used.
CADUnicodeString ResolveDelivered(const CADString& location) {
  CADUnicodeString path;
  if (ZRBAnswerLocation::Resolve(location, path) && ZRBAfx::FileExist(path)) return path;
  CADUnicodeString released;
  int activated = 0;
  if (location.IsEmpty() || !ZRBAnswerLocation::IsAcceptable(location.view()) ||
      FAILED(ZRBAfx::GetReleasedCacheXmapDir(released, activated)) || !activated || released.IsEmpty())
    return CADUnicodeString();
  path = ZRBAfx::MakePath(released, ZRBStaleFiles::FileNameOfLocation(location));
  return ZRBAfx::FileExist(path) ? path : CADUnicodeString();
}

}  // namespace

// ---------------------------------------------------------------- the command

CADUnicodeString ZRBGetOrigGeoForVisCmd::Message(const char* name, CADUnicodeString* parameters, int count) const {
  return BuildMessage(GetName().str(), name, parameters, count);
}

void ZRBGetOrigGeoForVisCmd::ShowFailure() {
  if (MustShowMsg()) ShowMessage(GetName().str(), "GetOrigGeoForVisFailed", kFailureStyle);
}

ZRBOneStepCommand::Outcome ZRBGetOrigGeoForVisCmd::Work() {
  ZRB_TRACE("ZRBGetOrigGeoForVisCmd::Activate");
  if (!GetEditor()) {
    ZRB_DEBUG("ZRBGetOrigGeoForVisCmd::Activate -> ERROR: m_pEditor == NULL");
    ShowFailure();
    return Outcome::Stopped;
  }
  SetShowMsg(1);
  std::vector<CADIProduct_var> nodes;
  if (FAILED(GetSelectedNodes(nodes))) {
    ZRB_DEBUG("ZRBGetOrigGeoForVisCmd::Activate -> ERROR: GetSelectedNodes FAILED");
    ShowFailure();
    return Outcome::Stopped;
  }
  if (nodes.empty()) {
    ShowMessage(GetName().str(), "SelectAtLeastOnePart", kFailureStyle);
    return Outcome::Stopped;
  }
  ZRBObjectManager request;
  std::vector<ZRBOrigGeoRequestItem> items;
  if (FAILED(CreateObjectManagerStructure(nodes, request, items))) {
    ZRB_DEBUG("ZRBGetOrigGeoForVisCmd::Activate -> ERROR: CreateObjectManagerStructure FAILED");
    ShowFailure();
    return Outcome::Stopped;
  }
  // Every node already shows its model: nothing to ask the PDM for.
  if (items.empty()) return Outcome::Succeeded;
  CADUnicodeString xmap;
  ZRBAfx::GetXMap(xmap);
  if (FAILED(GetFilesFromPdm(xmap, request, items))) {
    ZRB_DEBUG("ZRBGetOrigGeoForVisCmd::Activate -> ERROR: SendGetOrigFileRequestToPdm FAILED");
    return Outcome::Failed;
  }
  int replacedAll = 1;
  for (const ZRBOrigGeoRequestItem& item : items) {
    const ZRBObject* object = request.GetObject(item.key);
    if (!object || object->GetSlotValue("ACTION_SUCCESS") != "1") continue;
    CADIProduct_var model = ReplaceTempVis(item.node, *object);
    if (!model || !Load(model)) {
      CADUnicodeString name = item.partNumber;
      GetWarnings().Append(Message("ModelNotReplaced", &name, 1));
      replacedAll = 0;
    }
  }
  RedrawAllModelNodes();
  if (replacedAll) ZRB_TRACE_OK();
  return replacedAll ? Outcome::Succeeded : Outcome::Failed;
}

void ZRBGetOrigGeoForVisCmd::ShowOutcome(int success) {
  DisplayMessageCenter(success, 0, Message("GetOrigGeoForVisOk"), Message("GetOrigGeoForVisFailed"), 0);
}

// ---------------------------------------------------------------- nodes

HRESULT ZRBGetOrigGeoForVisCmd::GetSelectedNodes(std::vector<CADIProduct_var>& nodes) {
  nodes.clear();
  CADFrmEditor* editor = GetEditor();
  CADCSO* selection = editor ? editor->GetCSO() : nullptr;
  if (!selection) return E_FAIL;
  for (int i = 1; i <= selection->GetSize(); ++i) {
    const CADPathElement* element = selection->GetElement(i);
    CADIProduct_var product;
    if (element && SUCCEEDED(element->GetLeafProduct(product)) && product) AppendChildGeoToList(product, nodes);
  }
  return S_OK;
}

void ZRBGetOrigGeoForVisCmd::AppendChildGeoToList(const CADIProduct_var& product, std::vector<CADIProduct_var>& nodes) {
  const CADUnicodeString type = TypeOf(product);
  const bool geometry = type == "vis" || type == "CADPart" || type == "model";
  if (geometry) {
    const bool listed = std::any_of(nodes.begin(), nodes.end(),
                                    [&](const CADIProduct_var& node) { return node.get() == product.get(); });
    if (!listed) nodes.push_back(product);
    return;
  }
  // Below a product only the visualisations are asked for: its models are there already.
  for (const CADBaseUnknown_var& item : product->GetChildren()) {
    CADIProduct_var child(item);
    if (!child) continue;
    const CADUnicodeString childType = TypeOf(child);
    if (childType == "vis" || !(childType == "CADPart" || childType == "model")) AppendChildGeoToList(child, nodes);
  }
}

int ZRBGetOrigGeoForVisCmd::RetrieveNeededPartAttributes(const CADIProduct_var& node,
                                                         ZRBOrigGeoAttributes& attributes) {
  const auto property = [&](const char* name) { return GlobPropertyManager.GetReferenceProperty(node, name); };
  const bool component = property("ZRB_ISCOMPONENT") == "1";
  attributes.obid = property(component ? "ZRB_PRODUCT_OBID" : "ZRB_OBID");
  attributes.dbName = property(component ? "ZRB_PRODUCT_DB_NAME" : "ZRB_DB_NAME");
  attributes.className = property("ZRB_CLASSNAME");
  attributes.sendingObject = property("ZRB_SENDING_OBJECT");
  attributes.visPath = property("ZRB_VISPATH");
  attributes.ignoreTimeStamp = property("ZRB_DISABLE_CACHE_CHECK_TIMESTAMP");
  attributes.location = GlobPropertyManager.GetFullPath(node);
  // A node the property manager has no record of yet is known by its document's file.
  if (attributes.location.IsEmpty()) {
    if (CADDocument* document = DocumentOf(node)) attributes.location = document->StorageName();
  }
  return attributes.obid.IsEmpty() ? 0 : 1;
}

// ---------------------------------------------------------------- request

HRESULT ZRBGetOrigGeoForVisCmd::CreateObjectManagerStructure(const std::vector<CADIProduct_var>& nodes,
                                                             ZRBObjectManager& request,
                                                             std::vector<ZRBOrigGeoRequestItem>& items) {
  items.clear();
  CADListValCADString keys;
  for (const CADIProduct_var& node : nodes) {
    CADUnicodeString partNumber = GlobPropertyManager.GetPartNumber(node, 0);
    if (ModelInSession(node)) {
      ZRB_DEBUG("ZRB: %s opened in session ignoring load request", partNumber.c_str());
      GetInformations().Append(Message("ModelInSession", &partNumber, 1));
      continue;
    }
    ZRBOrigGeoAttributes attributes;
    if (!RetrieveNeededPartAttributes(node, attributes)) {
      // Without its PDM identity the node cannot be asked for; the others still are.
      ZRB_DEBUG("ZRB: %s carries no PDM identity, not requested", partNumber.c_str());
      CADUnicodeString parameter(partNumber.str() + " (" + ZRBFileUtil::GetFileNameFromPath(attributes.location).str() +
                                 ")");
      GetWarnings().Append(Message("ModelNotFetched", &parameter, 1));
      continue;
    }
    ZRBObject* object = request.CreateObject(CADString());
    if (!object) return E_FAIL;
    SetSlotsToObject(*object, attributes);
    keys.Append(object->GetKey());
    items.push_back({object->GetKey(), node, partNumber});
  }
  return CreateCommandObject(request, keys);
}

void ZRBGetOrigGeoForVisCmd::SetSlotsToObject(ZRBObject& object, const ZRBOrigGeoAttributes& attributes) {
  object.SetSlotValue("ID", Text(attributes.obid));
  object.SetSlotValue("DB_NAME", Text(attributes.dbName));
  object.SetSlotValue("EXTERNAL_LOCATION", Text(attributes.location));
  object.SetSlotValue("CLASSNAME", Text(attributes.className));
}

HRESULT ZRBGetOrigGeoForVisCmd::CreateCommandObject(ZRBObjectManager& request, const CADListValCADString& keys) {
  CADUnicodeString xmap;
  ZRBAfx::GetXMap(xmap);
  ZRBObject* root = ZRBPdmRequest::AddRoot(request);
  ZRBObject* command = root ? ZRBPdmRequest::AddCommand(request, "REQUEST_GET_ORIG_GEO", xmap) : nullptr;
  if (!command) return E_FAIL;
  root->SetSlotValue("ZRBVER", kVersion);
  root->SetSlotValueList("ITEMLIST", keys);
  CADUnicodeString released;
  int activated = 0;
  if (SUCCEEDED(ZRBAfx::GetReleasedCacheXmapDir(released, activated)) && activated && !released.IsEmpty())
    command->SetSlotValue("RELEASEMAP", Text(released));
  return S_OK;
}

// ---------------------------------------------------------------- the PDM call and its answer

HRESULT ZRBGetOrigGeoForVisCmd::GetFilesFromPdm(const CADUnicodeString& xmap, ZRBObjectManager& request,
                                                const std::vector<ZRBOrigGeoRequestItem>& items) {
  ZRB_TRACE("ZRBGetOrigGeoForVisCmd::GetFilesFromPdm");
  const CADUnicodeString path = ZRBAfx::MakePath(xmap, CADUnicodeString(kRequestFileName));
  if (!request.Write(path)) {
    ZRB_DEBUG("ZRB: writing %s failed", path.c_str());
    return E_FAIL;
  }
  if (RunPdmAction(ZRBPdmAction::GetOrigGeoForVis, ZRBPdmAction::Line(ZRBPdmAction::GetOrigGeoForVis, path)) < 0)
    return E_FAIL;
  ZRBObjectManager answer;
  if (!answer.Read(path)) {
    ZRB_DEBUG("ZRB: ZRB exchangefile not found");
    ShowMessage("ZRBAfx", "ConnectFailed", kFailureStyle);
    SetShowMsg(0);
    return E_FAIL;
  }
  request = std::move(answer);
  ZRBObject* root = request.GetObject("ROOT");
  if (!root) return E_FAIL;
  ZRBPdmRequest::AddStats(*root, GetWarnings());
  for (const CADString& key : root->GetSlotValueList("ITEMLIST")) {
    ZRBObject* object = request.GetObject(key);
    if (!object) {
      ZRB_DEBUG("pItemObj = NULL");
      continue;
    }
    // The item by the part number of the node it was asked for; an item the request did not hold by its key.
    const auto asked = std::find_if(items.begin(), items.end(), [&](const auto& item) { return item.key == key; });
    const std::string name = asked != items.end() ? asked->partNumber.str() : key.str();
    const CADString location = object->GetSlotValue("EXTERNAL_LOCATION");
    CADUnicodeString parameter(name + " (" + ZRBFileUtil::GetFileNameFromPath(CADUnicodeString(location)).str() + ")");
    if (object->GetSlotValue("ACTION_SUCCESS") == "1" && asked != items.end()) {
      const CADUnicodeString vis = ResolveDelivered(object->GetSlotValue("VIS_LOCATION"));
      object->SetSlotValue("VIS_LOCATION", Text(vis));
      SetTimeStampToFile(*object);
      GetInformations().Append(Message("ModelFetched", &parameter, 1));
    } else {
      object->SetSlotValue("ACTION_SUCCESS", "0");
      GetWarnings().Append(Message("ModelNotFetched", &parameter, 1));
    }
  }
  // The answer stays in the exchange map until the next request: it tells what the PDM delivered.
  ZRB_TRACE_OK();
  return S_OK;
}

CADUnicodeString ZRBGetOrigGeoForVisCmd::DeliveredFile(const ZRBObject& object) {
  return ResolveDelivered(object.GetSlotValue("EXTERNAL_LOCATION"));
}

int ZRBGetOrigGeoForVisCmd::SetTimeStampToFile(const ZRBObject& object) {
  if (g_ZRBConfig.CompareEnvVar("ZRB_DISABLE_SET_TIMESTAMP", "ON", 1)) return 1;
  std::time_t seconds = 0;
  if (!ZRBCacheFileUtil::ParseModificationDate(object.GetSlotValue("MODIFICATION_DATE_GMT"), seconds)) {
    ZRB_DEBUG("ZRBGetOrigGeoForVisCmd::SetTimeStampToFile **** illegal DateTime format");
    return 0;
  }
  // Only a file the answer delivered is stamped; a name that leads nowhere changes nothing.
  const CADUnicodeString path = DeliveredFile(object);
  if (path.IsEmpty()) {
    ZRB_DEBUG("ZRBGetOrigGeoForVisCmd::SetTimeStampToFile no delivered file for '%s'",
              object.GetSlotValue("EXTERNAL_LOCATION").c_str());
    return 0;
  }
  struct utimbuf times {};
  times.actime = seconds;
  times.modtime = seconds;
  if (::utime(path.c_str(), &times) != 0) {
    ZRB_DEBUG("ZRBGetOrigGeoForVisCmd::SetTimeStampToFile failed to set DateTime on %s", path.c_str());
    return 0;
  }
  CADUnicodeString modified;
  if (SUCCEEDED(ZRBFileUtil::GetLastModificationFromFile(path, modified)))
    GlobPropertyManager.SetFileProperty(path, "ZRB_LAST_KNOWN_MOD_TIME", modified);
  return 1;
}

// ---------------------------------------------------------------- the swap

CADIProduct_var ZRBGetOrigGeoForVisCmd::ReplaceTempVis(const CADIProduct_var& node, const ZRBObject& object) {
  ZRB_TRACE("ZRBGetOrigGeoForVisCmd::ReplaceTempVis");
  const CADUnicodeString path = DeliveredFile(object);
  CADIProduct_var father = node ? node->GetFatherProduct() : nullptr;
  if (path.IsEmpty() || !father) {
    ZRB_DEBUG("ZRB: no delivered model or no father for the visualisation");
    return nullptr;
  }
  CADDocument* model = CADDocumentServices::GetDocumentInSession(path);
  const bool opened = model == nullptr;
  if (opened && (FAILED(CADDocumentServices::OpenDocument(path, model)) || !model)) {
    ZRB_DEBUG("ZRB: opening %s failed: %s", path.c_str(), CADDocumentServices::GetLastError().c_str());
    return nullptr;
  }
  if (!(model->GetType() == "CADPart")) {
    ZRB_DEBUG("ZRB: %s is no part document, the visualisation stays", path.c_str());
    if (opened) CADDocumentServices::Remove(model);
    return nullptr;
  }
  std::vector<std::pair<const char*, CADUnicodeString>> identity;
  for (const char* name : kIdentityProperties) {
    CADUnicodeString value = GlobPropertyManager.GetReferenceProperty(node, name);
    if (!value.IsEmpty()) identity.emplace_back(name, value);
  }
  CADIProduct_var replaced;
  if (FAILED(father->ReplaceComponent(node, model, replaced)) || !replaced) {
    ZRB_DEBUG("ZRB: replacing the visualisation by %s failed", path.c_str());
    if (opened) CADDocumentServices::Remove(model);
    return nullptr;
  }
  for (const auto& [name, value] : identity) GlobPropertyManager.SetReferenceProperty(replaced, name, value);
  ZRB_TRACE_OK();
  return replaced;
}

int ZRBGetOrigGeoForVisCmd::Load(const CADIProduct_var& product) {
  if (FAILED(product->LoadShapeRepresentation("Default"))) {
    ZRB_DEBUG("Failed to activate the default shape representation");
    return 0;
  }
  return 1;
}
