#include "ZRBReadContext.h"

#include "ZRBAfx.h"
#include "ZRBAnswerLocation.h"
#include "ZRBCache.h"
#include "ZRBCommandContext.h"
#include "ZRBFileUtil.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBTrace.h"

ZRBObject* ZRBReadContext::Lookup(const CADString& key, const char* slot) const {
  if (key.IsEmpty()) return nullptr;
  ZRBObject* object = answer_.GetObject(key);
  if (!object) ZRB_DEBUG("ZRB: '%s' names no object of the answer (%s), skipped", key.c_str(), slot);
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
  ZRBAfx::AddMessageCategoryToList(command_.GetInformations(),
                                   ZRBAfx::BuildMessage("ZRBListMessages", "ZRBListMessages.LoadReadOnlyHeader"),
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
