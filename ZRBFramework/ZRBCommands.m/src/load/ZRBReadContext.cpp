#include "ZRBReadContext.h"

#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "ZRBAfx.h"
#include "ZRBAnswerLocation.h"
#include "ZRBCache.h"
#include "ZRBCommandContext.h"
#include "ZRBFileUtil.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBTrace.h"

ZRBReadContext::ZRBReadContext(ZRBCommandContext& command, ZRBReadState& state, ZRBObjectManager& answer)
    : command_(command), state_(state), answer_(answer) {
  for (const CADBaseUnknown_var& item : CADDocumentServices::GetListOfDocuments()) {
    CADDocument_var document(item);
    if (document) before_.insert(document.get());
  }
}

void ZRBReadContext::NoteAdded(const CADIProduct_var& parent, const CADIProduct_var& child) {
  if (!parent || !child) return;
  CADDocument* parentDocument = nullptr;
  ZRBFileUtil::GetRefDocFromCADIProduct(parent, &parentDocument);
  if (!parentDocument || !WasInSession(parentDocument)) return;
  CADUnicodeString name;
  if (FAILED(child->GetPrdInstanceName(name)) || name.IsEmpty()) return;
  state_.highlightAdded = 1;
  state_.addedInstances.Append(name);
}

void ZRBReadContext::DropUnplaced(CADDocument* document, const CADUnicodeString& path) {
  state_.warningState = 1;
  if (!document || WasInSession(document)) return;
  ZRB_DEBUG("ZRB: '%s' was opened but could not be placed; it is closed again", path.c_str());
  CADDocumentServices::Remove(document);
  state_.loadFailure = 1;
}

ZRBObject* ZRBReadContext::Lookup(const CADString& key, const char* slot) {
  if (key.IsEmpty()) return nullptr;
  ZRBObject* object = answer_.GetObject(key);
  if (!object) {
    ZRB_DEBUG("ZRB: '%s' names no object of the answer (%s), skipped", key.c_str(), slot);
    // Part of the structure is missing: the load must not pass for a clean one. One line per key is enough.
    if (missingKeys_.insert(key.str()).second) AddWarning("ObjectNotInAnswer", CADUnicodeString(key));
  }
  return object;
}

int ZRBReadContext::FileOf(const ZRBObject& object, CADUnicodeString& path) {
  const CADString location = object.GetSlotValue("EXTERNAL_LOCATION");
  if (ZRBAnswerLocation::Resolve(location, path)) return 1;
  AddWarning("LoadDocumentFailed", CADUnicodeString(location));
  return 0;
}

void ZRBReadContext::AddError(const char* name) {
  CADString key("ZRBReadCmd.");
  key += name;
  command_.GetWarnings().Append(ZRBAfx::BuildMessage("ZRBReadCmd", key));
}

void ZRBReadContext::AddError(const char* name, const CADUnicodeString& parameter) {
  CADString key("ZRBReadCmd.");
  key += name;
  CADUnicodeString parameters[1] = {parameter};
  command_.GetWarnings().Append(ZRBAfx::BuildMessage("ZRBReadCmd", key, parameters, 1));
}

void ZRBReadContext::AddWarning(const char* name, const CADUnicodeString& parameter) {
  AddError(name, parameter);
  state_.warningState = 1;
}

void ZRBReadContext::AddWrongListSize() {
  command_.GetWarnings().Append(ZRBAfx::BuildMessage("ZRBAfx", "ZRBAfx.WrongListSize"));
}

void ZRBReadContext::RegisterDocument(const ZRBObject& object, const CADUnicodeString& path) {
  GlobZRBCache.RegisterObjectFile(object, path);
}

void ZRBReadContext::NoteReadOnly(const CADUnicodeString& path) {
  if (!readOnlyNoted_.insert(path.str()).second) return;
  // The category is the key: the message centre builds its heading from it.
  ZRBAfx::AddMessageCategoryToList(command_.GetInformations(), "ZRBListMessages.LoadReadOnlyList",
                                   ZRBFileUtil::GetFileNameFromPath(path));
}

int ZRBReadContext::PartNumberTakenByOtherFile(const CADUnicodeString& partNumber, const CADUnicodeString& path) {
  if (partNumber.IsEmpty()) return 0;
  auto [entry, added] = fileOfPartNumber_.emplace(partNumber.str(), path.str());
  if (added || entry->second == path.str()) return 0;
  int same = 0;
  ZRBAfx::CompareFullPath(CADUnicodeString(entry->second.c_str()), path, same);
  return same ? 0 : 1;
}
