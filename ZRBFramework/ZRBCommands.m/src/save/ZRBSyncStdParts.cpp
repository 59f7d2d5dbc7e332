#include "ZRBSyncStdParts.h"

#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "CADSystemServices.h"
#include "ZRBAfx.h"
#include "ZRBCommandStates.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPdmAction.h"
#include "ZRBPdmRequest.h"
#include "ZRBPropertyManager.h"
#include "ZRBTrace.h"

namespace {

CADUnicodeString Ref(const CADIProduct_var& product, const char* name) {
  return GlobPropertyManager.GetReferenceProperty(product, name);
}

bool IsPartType(const CADUnicodeString& type) { return type == "CADPart" || type == "model" || type == "vis"; }

// Every part below `node` not marked yet, once per reference (the answer is about the part, not its uses).
void Collect(const CADIProduct_var& node, std::vector<CADIProduct_var>& parts, std::unordered_set<const void*>& seen) {
  for (const CADBaseUnknown_var& item : node->GetChildren()) {
    CADIProduct_var child(item);
    if (!child || ZRBCommandStates::IsWorkbenchProduct(child) || GlobPropertyManager.IsArchiveRoot(child)) continue;
    if (!IsPartType(GlobPropertyManager.GetProductType(child))) {
      Collect(child, parts, seen);
      continue;
    }
    if (Ref(child, "ZRB_IS_STD_PART") == "1" || child->GetPartNumber().IsEmpty()) continue;
    if (seen.insert(child->GetReferenceProduct().get()).second) parts.push_back(child);
  }
}

}  // namespace

int ZRBSyncStdParts::Mark(const CADIProduct_var& root, CADListValCADUnicodeString& messages) {
  ZRB_TRACE("ZRBSyncStdParts::Mark");
  if (!root) return 0;
  std::vector<CADIProduct_var> parts;
  std::unordered_set<const void*> seen;
  Collect(root, parts, seen);
  if (parts.empty()) {
    ZRB_TRACE_OK();
    return 1;
  }
  ZRBObjectManager request;
  ZRBObject* requestRoot = ZRBPdmRequest::AddRoot(request);
  if (!requestRoot) return 0;
  requestRoot->SetSlotValue("CREATING_SYSTEM", "CADHOST");
  std::vector<std::pair<CADString, CADIProduct_var>> asked;
  CADListValCADString keys;  // set once: appending item by item re-reads the whole list each time
  for (const CADIProduct_var& part : parts) {
    ZRBObject* object = request.CreateObject("");
    if (!object) return 0;
    const CADUnicodeString obid = Ref(part, "ZRB_OBID");
    if (!obid.IsEmpty()) object->SetSlotValue("OBID", obid.ConvertToString());
    object->SetSlotValue("PARTNUMBER", part->GetPartNumber().ConvertToString());
    keys.Append(object->GetKey());
    asked.emplace_back(object->GetKey(), part);
  }
  requestRoot->SetSlotValueList("OBJECTLIST", keys);
  CADUnicodeString path;
  ZRBAfx::GetXMapWithEndingSlash(path);
  path = path + CADUnicodeString("stdfile.zrb");
  if ((ZRBAfx::FileExist(path) && FAILED(CADDeleteFile(path))) || !request.Write(path)) {
    ZRB_DEBUG("ZRB: CADDeleteFile(%s) failed", path.c_str());
    return 0;
  }
  if (ZRBPdmRequest::Run(ZRBPdmAction::GetInfoForParts, ZRBPdmAction::Line(ZRBPdmAction::GetInfoForParts, path)) < 0)
    return 0;
  ZRBObjectManager answer;
  const ZRBObject* answerRoot = ZRBPdmRequest::ReadWholeAnswer(path, answer) ? answer.GetObject("ROOT") : nullptr;
  if (answerRoot) ZRBPdmRequest::AddStats(*answerRoot, messages);
  if (!ZRBPdmRequest::IsSuccess(ZRBPdmRequest::ReadResult(answerRoot, ZRBPdmStep::OneStep))) {
    ZRB_DEBUG("ZRB: the PDM gave no part information");
    return 0;
  }
  for (const auto& [key, part] : asked) {
    const ZRBObject* object = answer.GetObject(key);
    if (!object || !(object->GetSlotValue("IS_STD_PART") == "1")) continue;
    // Only "1" is taken: a part the read marked standard stays so whatever this answer leaves out.
    GlobPropertyManager.SetReferenceProperty(part, "ZRB_IS_STD_PART", "1");
    if (!Ref(part, "ZRB_OBID").IsEmpty()) continue;
    // A known identity is never replaced; a new standard part takes the existing item's.
    const CADString obid = object->GetSlotValue("OBID"), className = object->GetSlotValue("CLASSNAME");
    if (!obid.IsEmpty()) GlobPropertyManager.SetReferenceProperty(part, "ZRB_OBID", CADUnicodeString(obid));
    if (!className.IsEmpty())
      GlobPropertyManager.SetReferenceProperty(part, "ZRB_CLASSNAME", CADUnicodeString(className));
  }
  ZRB_TRACE_OK();
  return 1;
}
