#include "ZRBInfoUtil.h"

#include <ctime>
#include <map>
#include <string>

#include "CADDocument.h"
#include "CADSettingRepository.h"
#include "ZRBAfxBase.h"
#include "ZRBClientMode.h"
#include "ZRBFileUtil.h"
#include "ZRBPSNTreeUtil.h"
#include "ZRBPdmSettingsSource.h"
#include "ZRBPropertyInstance.h"
#include "ZRBPropertyManager.h"
#include "ZRBPropertyReference.h"
#include "ZRBRepresentationFormats.h"
#include "ZRBTrace.h"

namespace {

// What a PDM answered about itself. Each client talks to its own PDM, so each keeps its own answers: settings
// one PDM gave never decide another's requests.
struct PdmSettings {
  CADString useDesignTables;
  CADString dataModel;
  CADString productSupport;
};

struct State {
  std::map<std::string, PdmSettings, std::less<>> perClient;  // by the client's configuration prefix
  int updateCreateFlag = 0;
  int updateFlag = 0;
  bool askedThisCommand = false;  // a failed query, or an answer without the value, is not repeated
};

State& S() {
  static State state;
  return state;
}

PdmSettings& P() { return S().perClient[ZRBClientMode::Current().GetModulePrefix().str()]; }

ZRBPdmSettingsSource*& Installed() {
  static ZRBPdmSettingsSource* source = nullptr;
  return source;
}

bool IsWorkbench(const CADIProduct_var& product) {
  return product && product->GetPartNumber() == ZRBPSNTreeUtil::kWorkbenchPartNumber;
}

// The part number the instance record was made for (the reference it points at).
CADUnicodeString PartNumberFromInstance(const CADIProduct_var& father, const CADIProduct_var& product) {
  ZRBPropertyInstance* record = GlobPropertyManager.GetInstanceObject(father, product);
  if (!record || record->GetChildId() <= 0) return {};
  ZRBPropertyReference* reference = GlobPropertyManager.GetReferenceObject(record->GetChildId());
  return reference ? reference->GetPartNumber() : CADUnicodeString();
}

// Asks the PDM unless `value` is known or this command asked already: a PDM that failed or answered without
// the value would otherwise be started again for every node of a save.
void AskWhileEmpty(const CADString& value) {
  if (value.IsEmpty() && !S().askedThisCommand) ZRBInfoUtil::GetSettingsFromPDMSystem();
}

}  // namespace

ZRBPdmSettingsSource* ZRBPdmSettingsSource::Current() { return Installed(); }
void ZRBPdmSettingsSource::Install(ZRBPdmSettingsSource* source) { Installed() = source; }

// ---------------------------------------------------------------- origin

HRESULT ZRBInfoUtil::WasLoadedFromPdm(const CADIProduct_var& product, int* out) {
  if (!product || !out) return E_FAIL;
  *out = 0;
  CADIProduct_var father = ZRBPSNTreeUtil::GetFatherProduct(product);
  if (father && !IsWorkbench(father)) {
    *out = GlobPropertyManager.GetInstanceProperty(father, product, "ZRB_INSTANCE_IN_ZRB").IsEmpty() ? 0 : 1;
    if (*out) {
      if (GlobPropertyManager.IsCachedPart(product)) {
        const CADUnicodeString productPath = GlobPropertyManager.GetProductFullPath(product);
        const CADUnicodeString fullPath = GlobPropertyManager.GetFullPath(product);
        if (!productPath.IsEmpty() && !fullPath.IsEmpty() &&
            ZRBFileUtil::GetFileNameFromPath(productPath) != ZRBFileUtil::GetFileNameFromPath(fullPath))
          *out = 0;
      } else {
        const CADUnicodeString stored = PartNumberFromInstance(father, product);
        const CADUnicodeString own = product->GetPartNumber();
        if (!stored.IsEmpty() && !own.IsEmpty() && stored != own) *out = 0;
      }
    }
  } else {
    *out = GlobPropertyManager.GetReferenceProperty(product, "ZRB_OBID").IsEmpty() ? 0 : 1;
    if (GlobPropertyManager.IsArchiveContent(product)) *out = 1;
  }
  if (!*out) {
    *out = GlobPropertyManager.GetReferenceProperty(product, "ZRB_SENDING_OBJECT").IsEmpty() ? 0 : 1;
    if (!*out) {
      const CADUnicodeString path = GlobPropertyManager.GetFullPath(product);
      if (!path.IsEmpty() && !GlobPropertyManager.GetFileProperty(path, "ZRB_SENDING_OBJECT").IsEmpty()) *out = 1;
    }
  }
  return S_OK;
}

int ZRBInfoUtil::WasLoadedFromPdm(CADIProduct* product) {
  int out = 0;
  return product && SUCCEEDED(WasLoadedFromPdm(CADIProduct_var(product), &out)) ? out : 0;
}

int ZRBInfoUtil::WasLoadedFromPdm(const CADUnicodeString& path) {
  return !path.IsEmpty() && !GlobPropertyManager.GetFileProperty(path, "ZRB_OBID").IsEmpty() ? 1 : 0;
}

int ZRBInfoUtil::IsRefProductFromZRB(CADIProduct* product) {
  return product && !GlobPropertyManager.GetReferenceProperty(CADIProduct_var(product), "ZRB_OBID").IsEmpty() ? 1 : 0;
}

int ZRBInfoUtil::IsProductInstanceFromZRB(CADIProduct* product) {
  if (!product) {
    ZRB_DEBUG("ZRB ERROR: NULL parameter IsProductInstanceFromZRB( )  ");
    return 0;
  }
  if (!IsRefProductFromZRB(product)) return 0;
  CADIProduct_var node(product);
  CADIProduct_var father = ZRBPSNTreeUtil::GetFatherProduct(node);
  if (!father || IsWorkbench(father)) return 1;
  return GlobPropertyManager.GetInstanceProperty(father, node, "ZRB_INSTANCE_IN_ZRB") == "1" ? 1 : 0;
}

// ---------------------------------------------------------------- kinds of node

HRESULT ZRBInfoUtil::IsBlackBoxNode(CADIProduct_var& product, int* out) {
  if (!out) return E_FAIL;
  *out = 0;
  if (!product) return S_OK;
  CADIProduct_var father = ZRBPSNTreeUtil::GetFatherProduct(product);
  *out = GlobPropertyManager.IsBlackBoxRoot(father, product) || GlobPropertyManager.IsBlackBoxItem(father, product, 1)
             ? 1
             : 0;
  return S_OK;
}

HRESULT ZRBInfoUtil::IsCADProduct(CADIProduct_var& product, int* out) {
  if (!product || !out) return E_FAIL;
  CADUnicodeString path, format;
  *out = FAILED(product->GetShapeRepresentation("Default", path, format)) || (format != "CADPart" && format != "model")
             ? 1
             : 0;
  return S_OK;
}

HRESULT ZRBInfoUtil::IsLegacyModel(CADIProduct_var& product, int* out) {
  if (!product || !out) return E_FAIL;
  CADUnicodeString path, format;
  *out = SUCCEEDED(product->GetShapeRepresentation("Default", path, format)) && format == "model" ? 1 : 0;
  return S_OK;
}

HRESULT ZRBInfoUtil::IsCadComponent(const CADIProduct_var& product, int* out) {
  if (!product || !out) return E_FAIL;
  CADIProduct_var reference = product->GetReferenceProduct();
  *out = reference && reference->IsEmbeddedComponent() ? 1 : 0;
  return S_OK;
}

int ZRBInfoUtil::IsRepresentation(const CADUnicodeString& type) {
  return !type.IsEmpty() && ZRBRepresentationFormats::Contains(type) ? 1 : 0;
}

int ZRBInfoUtil::HasRepresentationExtension(const CADUnicodeString& path) {
  for (const CADString& format : ZRBRepresentationFormats::Read())
    if (ZRBFileUtil::HasExtension(path, CADUnicodeString(format))) return 1;
  return 0;
}

// ---------------------------------------------------------------- PDM settings

int ZRBInfoUtil::GetSettingsFromPDMSystem() {
  ZRB_TRACE("ZRBInfoUtil::GetSettingsFromPDMSystem");
  ZRBPdmSettingsSource* source = ZRBPdmSettingsSource::Current();
  ZRBPdmSettingsSource::Settings settings;
  S().askedThisCommand = true;
  if (!source || !source->Query(settings)) return 0;
  P().dataModel = settings.dataModel;
  P().productSupport = settings.productSupport;
  P().useDesignTables = settings.designTables;
  ZRB_TRACE_OK();
  return 1;
}

int ZRBInfoUtil::SetUseDesigTables(const int flag) {
  P().useDesignTables = flag ? "ON" : "OFF";
  return 1;
}

const CADString& ZRBInfoUtil::GetUseDesignTables() { return P().useDesignTables; }

int ZRBInfoUtil::WorkWithDesignTables() {
  AskWhileEmpty(P().useDesignTables);
  return P().useDesignTables == "ON" ? 1 : 0;
}

int ZRBInfoUtil::IsCADProductSupportOn() {
  AskWhileEmpty(P().productSupport);
  return P().productSupport == "1" ? 1 : 0;
}

int ZRBInfoUtil::IsCmponentDataModelMode() {
  AskWhileEmpty(P().dataModel);
  return P().dataModel == "CMPONENT_DATA_MODEL" ? 1 : 0;
}

void ZRBInfoUtil::SetDataModelValue(const CADString& value) { P().dataModel = value; }

const CADString& ZRBInfoUtil::GetDataModelValue() { return P().dataModel; }

void ZRBInfoUtil::StartOfCommand() { S().askedThisCommand = false; }

// ---------------------------------------------------------------- flags

void ZRBInfoUtil::SetEZRBUpdateCreateFlag(int flag) { S().updateCreateFlag = flag; }
int ZRBInfoUtil::IsEzrbUpdateCreate() { return S().updateCreateFlag; }
void ZRBInfoUtil::SetEZRBUpdateFlag(int flag) { S().updateFlag = flag; }
int ZRBInfoUtil::IsEzrbUpdate() { return S().updateFlag; }

int ZRBInfoUtil::GetNumberOfOccurrencesInList(const CADString& item, const CADListValCADString& list, int enabled) {
  if (!enabled) return 0;
  int count = 0;
  for (const CADString& entry : list) count += entry == item ? 1 : 0;
  return count;
}

// ---------------------------------------------------------------- info dialog

int ZRBInfoUtil::GetCustomPropertiesForDialog(const CADString& cadClass, const CADString& partObid,
                                              const CADString& fileObid, const CADString& partPartRelObid,
                                              const CADString& partModelRelObid, CADListValCADString& names,
                                              CADListValCADString& values) {
  ZRB_TRACE("ZRBInfoUtil::GetCustomPropertiesForDialog");
  names = CADListValCADString();
  values = CADListValCADString();
  if (partObid.IsEmpty() && fileObid.IsEmpty()) {
    // Without an identity the PDM has nothing to look up.
    ZRBAfxBase::MsgBox(ZRBAfxBase::BuildMessage("ZRBAfx", "ZRBAfx.NoAttributesFound"), 0x4000200);
    return 0;
  }
  ZRBPdmSettingsSource* source = ZRBPdmSettingsSource::Current();
  if (!source) return 0;
  const ZRBPdmSettingsSource::CustomAttributesQuery query{cadClass, partObid, fileObid, partPartRelObid,
                                                          partModelRelObid};
  if (!source->QueryCustomAttributes(query, names, values)) return 0;
  ZRB_TRACE_OK();
  return 1;
}

HRESULT ZRBInfoUtil::GetTimeSettings(int& daylight, int& format) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  daylight = localtime_r(&now, &local) && local.tm_isdst > 0 ? 1 : 0;
  format = 0;
  if (FAILED(CADSettingRepository::ReadSetting("CADCache", "TSFMT", &format))) format = 0;
  return S_OK;
}

void ZRBInfoUtil::ResetForTests() { S() = State(); }
