#include "ZRBDocComponentReader.h"

#include <cstdlib>
#include <string>

#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADIDrawing.h"
#include "CADListVal.h"
#include "ZRBAfx.h"
#include "ZRBCommandContext.h"
#include "ZRBCommandStates.h"
#include "ZRBDocPropertyTransfer.h"
#include "ZRBDocumentOpener.h"
#include "ZRBFileUtil.h"
#include "ZRBInstancePlacement.h"
#include "ZRBNodeAttributes.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPropertyManager.h"
#include "ZRBReadContext.h"
#include "ZRBRepresentationFormats.h"
#include "ZRBTrace.h"

namespace {

CADDocument* DocumentOf(const CADIProduct_var& product) {
  CADDocument* document = nullptr;
  if (product) ZRBFileUtil::GetRefDocFromCADIProduct(product, &document);
  return document;
}

int ReadOnlyFor(const ZRBObject& object) { return object.GetSlotValue("CHANGEABLE") == "1" ? 0 : 1; }

}  // namespace

ZRBDocComponentReader::ZRBDocComponentReader(ZRBReadContext& context)
    : context_(context), representationFormats_(ZRBRepresentationFormats::Read()) {}

ZRBDocComponentReader::Kind ZRBDocComponentReader::KindOf(const CADUnicodeString& path) const {
  const CADUnicodeString extension = ZRBFileUtil::GetExtension(path);
  if (extension == "CADPart") return Kind::Part;
  if (extension == "vis") return Kind::Vis;
  if (extension == "model") return Kind::LegacyModel;
  if (extension == "CADDrawing") return Kind::Drawing;
  if (extension == "ZRBArchive") return Kind::Archive;
  if (extension == "CADProduct") return Kind::Product;
  if (!extension.IsEmpty() && representationFormats_.Locate(extension.ConvertToString()) > 0)
    return Kind::Representation;
  return Kind::Unknown;
}

int ZRBDocComponentReader::Read(const ZRBComponentPlace& place, ZRBObject& document, CADIProduct_var& placed) {
  placed = nullptr;
  CADUnicodeString path;
  if (!context_.FileOf(document, path)) return 0;
  switch (KindOf(path)) {
    case Kind::Part:
      if (context_.State().componentDataModel) {
        ZRB_DEBUG("ZRBReadCmd.InconsistentDataModelPartFound %s", document.GetSlotValue("DESCRIPTION").c_str());
        return 0;
      }
      return ReadCADPart(place, document, placed);
    case Kind::Vis:
    case Kind::LegacyModel:
    case Kind::Representation:
      return ReadRepresentation(place, document, placed);
    case Kind::Drawing:
      return ReadDrawing(document);
    case Kind::Archive:
      return ReadZRBArchive(document);
    case Kind::Product:
      return ReadComponent(place, document, placed, Kind::Product);
    case Kind::Unknown:
      break;
  }
  ZRB_DEBUG("ZRB: '%s' is no document kind the read knows, skipped", path.c_str());
  context_.AddWarning("LoadDocumentFailed", ZRBFileUtil::GetFileNameFromPath(path));
  return 0;
}

int ZRBDocComponentReader::ReadCADPart(const ZRBComponentPlace& place, ZRBObject& document, CADIProduct_var& placed) {
  ZRB_TRACE("ZRBReadCmd::ReadCADPart");
  const int ok = ReadComponent(place, document, placed, Kind::Part);
  if (ok) ZRB_TRACE_OK();
  return ok;
}

int ZRBDocComponentReader::ReadRepresentation(const ZRBComponentPlace& place, ZRBObject& document,
                                              CADIProduct_var& placed) {
  ZRB_TRACE("ZRBReadCmd::ReadRepresentation");
  placed = nullptr;
  CADUnicodeString path;
  if (!context_.FileOf(document, path)) return 0;
  const Kind kind = KindOf(path);
  if (kind == Kind::LegacyModel && !context_.State().modelsInAssembly) {
    // Legacy models at assemblies are shown on their own, like drawings, unless the site loads them into the
    // structure.
    CADUnicodeString partNumber(document.GetSlotValue("DESCRIPTION"));
    ZRBDocPropertyTransfer::ProcessPartNumber(partNumber, path);
    ZRBObject* object = &document;
    CADDocument* opened = nullptr;
    if (!ZRBDocumentOpener::OpenWithWindow(context_.Command(), opened, path, partNumber, ReadOnlyFor(document),
                                           context_.State().cachedFilesToRefresh, object)) {
      context_.AddWarning("LoadLegacyModelFailed", ZRBFileUtil::GetFileNameFromPath(path));
      return 0;
    }
    context_.RegisterDocument(document, path);
    context_.AddError("LegacyModelInterpretedAsDrawing", ZRBFileUtil::GetFileNameFromPath(path));
    ZRB_TRACE_OK();
    return 1;
  }
  const int ok = ReadComponent(place, document, placed, kind);
  if (ok) ZRB_TRACE_OK();
  return ok;
}

CADDocument* ZRBDocComponentReader::Obtain(const CADUnicodeString& path, int readOnly, ZRBObject& document) {
  if (CADDocument* loaded = CADDocumentServices::GetDocumentInSession(path)) {
    ZRB_DEBUG("USING ALREADY LOADED PART: %s", path.c_str());
    return loaded;
  }
  CADDocument* opened = nullptr;
  ZRBObject* object = &document;
  if (!ZRBDocumentOpener::OpenDocument(context_.Command(), opened, path, static_cast<unsigned char>(readOnly),
                                       context_.State().cachedFilesToRefresh, object)) {
    context_.State().warningState = 1;
    return nullptr;
  }
  return opened;
}

int ZRBDocComponentReader::ReadComponent(const ZRBComponentPlace& place, ZRBObject& document, CADIProduct_var& placed,
                                         Kind kind) {
  placed = nullptr;
  CADUnicodeString path;
  if (!context_.FileOf(document, path)) return 0;
  CADUnicodeString partNumber(document.GetSlotValue("DESCRIPTION"));
  ZRBDocPropertyTransfer::ProcessPartNumber(partNumber, path);
  if (context_.PartNumberTakenByOtherFile(partNumber, path)) {
    context_.AddWarning("DuplicatePartnumber", partNumber);
    return 0;
  }
  if (!place.parent && (kind == Kind::Vis || kind == Kind::Representation)) {
    // A representation is only ever shown as part of the assembly that uses it, whatever its format.
    ZRB_DEBUG("Top Level VIS not supported");
    context_.AddWarning("AddTempToplevelVISFailed", ZRBFileUtil::GetFileNameFromPath(path));
    return 0;
  }
  const bool standardPart = place.node && place.node->GetSlotValue("IS_STD_PART") == "1";
  if (standardPart && StandardPartsFromInstallation())
    return ReadInstalledStandardPart(place, document, placed, partNumber, kind);
  const int readOnly = ReadOnlyFor(document);
  CADDocument* opened = place.parent ? Obtain(path, readOnly, document) : nullptr;
  if (place.parent && !opened) return 0;
  placed = Place(place, opened, document, path, partNumber, kind, readOnly);
  if (!placed) {
    context_.DropUnplaced(opened, path);
    return 0;
  }
  Describe(placed, place, document, path);
  if (standardPart) MatchStandardPartQuantity(place, placed, partNumber);
  return 1;
}

// ---------------------------------------------------------------- standard parts

int ZRBDocComponentReader::StandardPartsFromInstallation() const {
  const ZRBReadState& state = context_.State();
  return state.disableLoadStdCadParts && !state.pdmManagedStdCadParts ? 1 : 0;
}

int ZRBDocComponentReader::ReadInstalledStandardPart(const ZRBComponentPlace& place, ZRBObject& document,
                                                     CADIProduct_var& placed, const CADUnicodeString& partNumber,
                                                     Kind kind) {
  ZRB_DEBUG("ZRB: standard part '%s' is taken from the installation", partNumber.c_str());
  if (!place.parent) {
    context_.AddWarning("FoundStandardPartWithoutParent", partNumber);
    return 0;
  }
  CADDocument* installed = nullptr;
  for (const CADBaseUnknown_var& item : CADDocumentServices::GetListOfDocuments()) {
    CADDocument_var candidate(item);
    if (candidate && candidate->GetRootProduct() && candidate->GetRootProduct()->GetPartNumber() == partNumber) {
      installed = candidate.get();
      break;
    }
  }
  if (!installed) {
    context_.AddWarning("StandardPartNotFound", partNumber);
    if (!installationHintGiven_) context_.AddError("CheckStandardPartInstallation");
    installationHintGiven_ = 1;
    return 0;
  }
  const CADUnicodeString path = installed->StorageName();
  placed = Place(place, installed, document, path, partNumber, kind, installed->IsReadOnly());
  if (!placed) return 0;
  GlobPropertyManager.SetPathToRootProperty(placed, "ZRB_FROMWB", "1");
  if (GlobPropertyManager.IsCachedPart(placed)) context_.AddError("StandardPartSwitchDesignMode", partNumber);
  MatchStandardPartQuantity(place, placed, partNumber);
  return 1;
}

void ZRBDocComponentReader::MatchStandardPartQuantity(const ZRBComponentPlace& place, const CADIProduct_var& placed,
                                                      const CADUnicodeString& partNumber) {
  // The PDM may list a standard part once with a count instead of once per instance.
  const int quantity = place.relation ? std::atoi(place.relation->GetSlotValue("QUANTITY").c_str()) : 0;
  CADDocument* document = DocumentOf(placed);
  if (quantity <= 1 || !place.parent || !document) return;
  int present = 0;
  CADListValCADBaseUnknown_var children = place.parent->GetChildren();
  for (int i = 1; i <= children.Size(); ++i) {
    CADIProduct_var child(children[i]);
    if (child && DocumentOf(child) == document) ++present;
  }
  if (present > quantity) {
    context_.AddWarning("StandardPartTooManyInstances", partNumber);
    return;
  }
  // A count beyond any real assembly is a damaged answer, not a request for millions of instances.
  constexpr int kMaxInstances = 10000;
  int added = 0;
  for (; present < quantity && present < kMaxInstances; ++present, ++added) {
    CADIProduct_var instance;
    if (FAILED(place.parent->AddExternalComponent(document, instance)) || !instance) break;
    GlobPropertyManager.SetPathToRootProperty(instance, "ZRB_FROMWB", "1");
    context_.NoteAdded(place.parent, instance);
  }
  if (added == 0) return;
  CADUnicodeString parameters[2] = {CADUnicodeString(std::to_string(added)), partNumber};
  context_.Command().GetInformations().Append(
      ZRBAfx::BuildMessage("ZRBReadCmd", "ZRBReadCmd.StandardPartAddedInstances", parameters, 2));
}

CADIProduct_var ZRBDocComponentReader::Place(const ZRBComponentPlace& place, CADDocument* document, ZRBObject& object,
                                             const CADUnicodeString& path, const CADUnicodeString& partNumber,
                                             Kind kind, int readOnly) {
  if (!place.parent) {
    // Legacy models and products alike: in a window of their own.
    static_cast<void>(kind);
    CADDocument* shown = nullptr;
    const int opened = ZRBDocumentOpener::OpenWithWindow(context_.Command(), shown, path, partNumber, readOnly,
                                                         context_.State().cachedFilesToRefresh, &object);
    if (!opened || !shown || !shown->GetRootProduct()) {
      context_.State().warningState = 1;
      return nullptr;
    }
    return shown->GetRootProduct();
  }
  if (place.existing) {
    if (DocumentOf(place.existing) == document) {
      ZRB_DEBUG("REUSING ALREADY BUILTIN PART: %s", path.c_str());
      return place.existing;
    }
    CADIProduct_var replaced;
    if (FAILED(place.parent->ReplaceComponent(place.existing, document, replaced)) || !replaced) {
      context_.AddWarning("ReloadPartFailed", ZRBFileUtil::GetFileNameFromPath(path));
      return nullptr;
    }
    GlobPropertyManager.SetInstanceProperty(place.parent, replaced, "ZRB_REPLACED_COMPONENT", "1");
    context_.AddError("ReplacedComponent", place.instanceName);
    context_.State().replacedWarning = 1;
    context_.State().highlightChanged = 1;
    return replaced;
  }
  const CADString relationDescription = object.GetSlotValue("DOCREL_DESC");
  if (place.instanceName.IsEmpty()) {
    // A document listed at an assembly has no instance name of its own: the child showing that file with the
    // same document relation is the one.
    CADListValCADBaseUnknown_var children = place.parent->GetChildren();
    for (int i = 1; i <= children.Size(); ++i) {
      CADIProduct_var child(children[i]);
      if (!child || DocumentOf(child) != document) continue;
      if (GlobPropertyManager.GetInstanceProperty(place.parent, child, "ZRB_DOCREL_DESC") ==
          CADUnicodeString(relationDescription)) {
        ZRB_DEBUG("REUSING ALREADY BUILTIN PART: %s", path.c_str());
        return child;
      }
    }
  }
  CADIProduct_var added;
  if (FAILED(place.parent->AddExternalComponent(document, added)) || !added) {
    ZRB_DEBUG("ZRB: could not add '%s': %s", path.c_str(), CADDocumentServices::GetLastError().c_str());
    context_.AddWarning("AddProductFailed", ZRBFileUtil::GetFileNameFromPath(path));
    return nullptr;
  }
  ZRBInstancePlacement::NameInstance(added, place.instanceName);
  context_.NoteAdded(place.parent, added);
  if (!relationDescription.IsEmpty())
    GlobPropertyManager.SetInstanceProperty(place.parent, added, "ZRB_DOCREL_DESC",
                                            CADUnicodeString(relationDescription));
  return added;
}

void ZRBDocComponentReader::Describe(const CADIProduct_var& product, const ZRBComponentPlace& place, ZRBObject& object,
                                     const CADUnicodeString& path) {
  ZRBPropertyManager& properties = GlobPropertyManager;
  ZRBDocPropertyTransfer::SetPartPropertiesFromZRBObject(product, &object);
  if (place.node && !ZRBDocPropertyTransfer::SetUserDefinedPropertiesFromZRBObject(product, place.node))
    context_.AddWrongListSize();
  ZRBNodeAttributes::SetCustomAttrsToNode(product, &object);
  ZRBDocPropertyTransfer::GetFeatureExtentionsFromZRBObject(product, &object, context_.Answer());
  properties.SetFullPath(product, path);
  properties.SetPathToRootProperty(product, "ZRB_FROMWB", "1");
  if (context_.State().addTempRead) properties.SetReferenceProperty(product, "ZRB_ADD_TEMP", "1");
  if (!properties.IsFilePropertySet(path, "ZRB_LAST_KNOWN_MOD_TIME")) {
    CADUnicodeString seconds;
    if (SUCCEEDED(ZRBFileUtil::GetLastModificationFromFile(path, seconds)))
      properties.SetFileProperty(path, "ZRB_LAST_KNOWN_MOD_TIME", seconds);
  }
  if (CADDocument* document = DocumentOf(product)) document->SetReadOnly(ReadOnlyFor(object));
  if (ReadOnlyFor(object)) context_.NoteReadOnly(path);
  context_.RegisterDocument(object, path);
}

int ZRBDocComponentReader::ReadDrawing(ZRBObject& object) {
  ZRB_TRACE("ZRBReadCmd::ReadDrawing");
  CADUnicodeString path;
  if (!context_.FileOf(object, path)) return 0;
  CADDocument* document = nullptr;
  if (!ZRBDocumentOpener::OpenWithWindow(context_.Command(), document, path, CADUnicodeString(), ReadOnlyFor(object),
                                         context_.State().cachedFilesToRefresh, &object)) {
    context_.State().warningState = 1;
    return 0;
  }
  CADIDrawing_var drawing(document);
  const int readOnly = document->IsReadOnly();
  document->SetReadOnly(0);
  ZRBDocPropertyTransfer::SetDrawingPropertiesFromZRBObject(drawing, document, &object);
  document->SetReadOnly(readOnly);
  if (!GlobPropertyManager.IsFilePropertySet(path, "ZRB_LAST_KNOWN_MOD_TIME")) {
    CADUnicodeString seconds;
    if (SUCCEEDED(ZRBFileUtil::GetLastModificationFromFile(path, seconds)))
      GlobPropertyManager.SetFileProperty(path, "ZRB_LAST_KNOWN_MOD_TIME", seconds);
  }
  context_.RegisterDocument(object, path);
  ZRB_TRACE_OK();
  return 1;
}

int ZRBDocComponentReader::ReadZRBArchive(ZRBObject& object) {
  ZRB_TRACE("ZRBReadCmd::ReadZRBArchive");
  CADUnicodeString path;
  if (!context_.FileOf(object, path)) return 0;
  if (context_.State().addTempRead) {
    context_.AddWarning("ZRBArchiveTypeNotSupportedForAddTemp", ZRBFileUtil::GetFileNameFromPath(path));
    return 0;
  }
  ZRB_DEBUG("ZRB: archive '%s' (stand-alone %s) kept in the exchange map, not loaded", path.c_str(),
            object.GetSlotValue("IS_STAND_ALONE") == "1" ? "yes" : "no");
  context_.RegisterDocument(object, path);
  ZRB_TRACE_OK();
  return 1;
}

int ZRBDocComponentReader::ReadProcess(ZRBObject& node) {
  ZRB_TRACE("ZRBReadCmd::ReadProcess");
  ZRBObject* process = context_.Lookup(node.GetSlotValue("CADPROCESS"), "CADPROCESS");
  if (!process) {
    ZRB_DEBUG("pProcessObject == NULL");
    context_.AddWarning("LoadDocumentFailed", CADUnicodeString(node.GetSlotValue("DESCRIPTION")));
    return 0;
  }
  CADUnicodeString path;
  if (!context_.FileOf(*process, path)) return 0;
  if (!Obtain(path, ReadOnlyFor(*process), *process)) return 0;
  ZRBDocPropertyTransfer::SetProcessPropertiesFromZRBObject(context_.Answer(), &node);
  // The products the process links are loaded as they are now: later changes are found against that.
  ZRBCommandStates::SetOrigChildsToProp(CADDocumentServices::GetDocumentInSession(path));
  context_.RegisterDocument(*process, path);
  ZRB_TRACE_OK();
  return 1;
}
