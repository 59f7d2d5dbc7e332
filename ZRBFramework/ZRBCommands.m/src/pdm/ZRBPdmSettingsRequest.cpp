// The PDM settings request ("x3GetPDMSettings" on "ifile.zrb") and the info dialog's custom-attribute request
// ("x3GetCustomAttrsCad" on "infofile.zrb"), installed as the information utilities' source when the module loads.
#include <cerrno>

#include "CADSystemServices.h"
#include "ZRBAfx.h"
#include "ZRBCommand.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPdmAction.h"
#include "ZRBPdmRequest.h"
#include "ZRBPdmSettingsSource.h"
#include "ZRBTrace.h"

namespace {

class PdmSettingsRequest final : public ZRBPdmSettingsSource {
 public:
  bool Query(Settings& settings) override {
    ZRB_TRACE("ZRBInfoUtil::GetSettingsFromPDMSystem request");
    CADUnicodeString xmap, path;
    if (!FreshRequestFile("ifile.zrb", "the PDM settings", "ZRBUpdateCmd", xmap, path)) return false;
    ZRBObjectManager request;
    ZRBObject* root = request.CreateObject("ROOT");
    if (!root) return false;
    root->SetSlotValue("CREATING_SYSTEM", "CADHOST");
    root->SetSlotValue("FILEVERSION", "1");
    root->SetSlotValue("PROCESS", "GetPDMSettings");
    root->SetSlotValue("ACTION_SUCCESS", "0");
    if (!request.Write(path)) {
      Show("ZRBUpdateCmd", "NoFileAccess");
      return false;
    }
    const int result = ZRBAfx::ConnectPdm(ZRBPdmAction::Line(ZRBPdmAction::GetPDMSettings, path), 0);
    if (result < 0) {
      const int error = errno;
      ZRB_DEBUG("SYSTEM ConnectPdm x3GetPDMSettings failed with %d errno: %d", result, error);
      Show("ZRBAfx", "ConnectFailed");
      return false;
    }
    ZRBObjectManager answer;
    if (!ZRBPdmRequest::ReadAnswer(path, answer)) return false;
    ZRBObject* answerRoot = answer.GetObject("ROOT");
    if (!answerRoot || answerRoot->GetSlotValue("ACTION_SUCCESS") != "1") {
      ZRB_DEBUG("ZRB: the PDM did not give its settings");
      return false;
    }
    settings.dataModel = answerRoot->GetSlotValue("CADPART_DATA_MODEL");
    settings.productSupport = answerRoot->GetSlotValue("PRDSUPPORT");
    settings.designTables = answerRoot->GetSlotValue("ZRB_DESIGN_TABLES");
    ZRB_TRACE_OK();
    return true;
  }

  bool QueryCustomAttributes(const CustomAttributesQuery& query, CADListValCADString& names,
                             CADListValCADString& values) override {
    ZRB_TRACE("ZRBInfoUtil::GetCustomPropertiesForDialog request");
    CADUnicodeString xmap, path;
    if (!FreshRequestFile("infofile.zrb", "the custom attributes", "ZRBAfx", xmap, path)) return false;
    ZRBObjectManager request;
    ZRBObject* command = ZRBPdmRequest::AddRoot(request) ? ZRBPdmRequest::AddCommand(request, "", xmap) : nullptr;
    if (!command) return false;
    command->SetSlotValue("CAD_CLASS", query.cadClass);
    command->SetSlotValue("PART_OBID", query.partObid);
    command->SetSlotValue("FILE_OBID", query.fileObid);
    command->SetSlotValue("PART_PART_REL_OBID", query.partPartRelObid);
    command->SetSlotValue("PART_MODEL_REL_OBID", query.partModelRelObid);
    if (!request.Write(path)) {
      Show("ZRBAfx", "NoFileAccess");
      return false;
    }
    if (ZRBPdmRequest::Run(ZRBPdmAction::GetCustomAttrsCad, ZRBPdmAction::Line(ZRBPdmAction::GetCustomAttrsCad, path)) <
        0)
      return false;
    ZRBObjectManager answer;
    if (!ZRBPdmRequest::ReadAnswer(path, answer)) return false;
    const ZRBObject* root = answer.GetObject("ROOT");
    if (!root || root->GetSlotValue("ACTION_SUCCESS") != "1") {
      ZRB_DEBUG("ZRB: the PDM gave no custom attributes");
      Show("ZRBAfx", "NoAttributesFound");
      return false;
    }
    names = root->GetSlotValueList("ATTR_NAMES");
    values = root->GetSlotValueList("ATTR_VALUES");
    if (names.Size() != values.Size()) {
      // Pairing names with the wrong values would show false data: nothing is shown.
      ZRB_DEBUG("ZRB: %d attribute names but %d values", names.Size(), values.Size());
      Show("ZRBAfx", "WrongAttributeLists");
      names = values = CADListValCADString();
      return false;
    }
    if (names.Size() == 0) {
      Show("ZRBAfx", "NoAttributesFound");
      return false;
    }
    ZRB_TRACE_OK();
    return true;
  }

 private:
  // The request file `name` in the exchange map with no earlier one left at its name; false when there is no
  // exchange map (traced, naming `what` is asked) or the old file cannot go (`catalog`'s "NoFileAccess" shown).
  static bool FreshRequestFile(const char* name, const char* what, const char* catalog, CADUnicodeString& xmap,
                               CADUnicodeString& path) {
    if (!ZRBAfx::GetXMap(xmap)) {
      ZRB_DEBUG("ZRB: no exchange map: %s cannot be asked", what);
      return false;
    }
    path = ZRBAfx::MakePath(xmap, name);
    if (SUCCEEDED(CADFileAccess(path, CADFileExists)) && FAILED(CADDeleteFile(path))) {
      ZRB_DEBUG("ZRB: CADDeleteFile(%s) failed", path.c_str());
      Show(catalog, "NoFileAccess");
      return false;
    }
    return true;
  }

  static void Show(const char* catalog, const char* key) {
    CADString full(catalog);
    full += ".";
    full += key;
    ZRBAfx::MsgBox(ZRBAfx::BuildMessage(CADString(catalog), full), ZRBCommand::kFailureStyle);
  }
};

PdmSettingsRequest g_request;
[[maybe_unused]] const bool kInstalled = (ZRBPdmSettingsSource::Install(&g_request), true);

}  // namespace
