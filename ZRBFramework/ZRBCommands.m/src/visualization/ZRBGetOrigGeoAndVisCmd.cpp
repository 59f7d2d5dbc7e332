#include "ZRBGetOrigGeoAndVisCmd.h"

#include "CADClassDictionary.h"
#include "ZRBFileUtil.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPropertyManager.h"
#include "ZRBTrace.h"

ZRBGetOrigGeoAndVisCmd* fctCreateZRBGetOrigGeoAndVisCmd() { return new ZRBGetOrigGeoAndVisCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBGetOrigGeoAndVisCmd", &fctCreateZRBGetOrigGeoAndVisCmd);
}  // namespace

ZRBOneStepCommand::Outcome ZRBGetOrigGeoAndVisCmd::Work() {
  // The vis files go to the host's cache: without it there is nowhere to keep them.
  if (!GlobPropertyManager.IsCacheActivationOn()) {
    ZRB_DEBUG("ZRBGetOrigGeoForVisCmd::Cache not activated");
    ShowMessage("ZRBGetOrigGeoForVisCmd", "CacheNotActivated", kFailureStyle);
    return Outcome::Stopped;
  }
  return ZRBGetOrigGeoForVisCmd::Work();
}

void ZRBGetOrigGeoAndVisCmd::SetSlotsToObject(ZRBObject& object, const ZRBOrigGeoAttributes& attributes) {
  ZRBGetOrigGeoForVisCmd::SetSlotsToObject(object, attributes);
  const CADUnicodeString name = ZRBFileUtil::GetFileNameFromPath(attributes.location);
  if (!name.IsEmpty()) object.SetSlotValue("VIS_LOCATION", CADString(name.str() + ".vis"));
}

HRESULT ZRBGetOrigGeoAndVisCmd::CreateCommandObject(ZRBObjectManager& request, const CADListValCADString& keys) {
  if (FAILED(ZRBGetOrigGeoForVisCmd::CreateCommandObject(request, keys))) return E_FAIL;
  request.GetObject("COMMAND")->SetSlotValue("COMMAND", "REQUEST_GET_ORIG_GEO_AND_VIS");
  return S_OK;
}
