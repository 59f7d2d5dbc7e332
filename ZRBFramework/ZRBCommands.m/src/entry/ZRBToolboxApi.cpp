// The exported toolbox functions. Each checks what the caller hands over before anything reaches the exchange
// map, and never throws: the caller may be written in any language.
#include "ZRBToolboxApi.h"

#include <cstring>
#include <string>

#include "CADDocument.h"
#include "CADIProduct.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPdmAction.h"
#include "ZRBPropertyManager.h"
#include "ZRBToolboxRoundTrip.h"
#include "ZRBToolboxUtil.h"
#include "ZRBTrace.h"

namespace {

// The subject of a call: a product or a drawing document.
struct Subject {
  CADIProduct* product = nullptr;
  CADDocument* drawing = nullptr;
};

bool IsText(const char* text) { return text != nullptr; }

// The request of one call: "ROOT", "DATA" and the "COMMAND" object the PDM's word reads its arguments from.
int Prepare(const Subject& subject, ZRBObjectManager& request, ZRBObject*& command) {
  const int filled = subject.product ? ZRBToolboxUtil::FillDataObjMgr(CADIProduct_var(subject.product), request)
                                     : ZRBToolboxUtil::FillDataObjMgr(subject.drawing, request);
  if (filled != 0) return ZRB_TOOLBOX_NO_IDENTITY;
  command = request.CreateObject("COMMAND");
  if (!command) {
    ZRB_DEBUG("ZRB: Failed to get command object");
    return ZRB_TOOLBOX_NO_FILE_ACCESS;
  }
  return ZRB_TOOLBOX_OK;
}

int NoSubject(const char* trace) {
  ZRB_DEBUG("%s", trace);
  return ZRB_TOOLBOX_NO_SUBJECT;
}

int GetAttribute(const Subject& subject, const char* name, char* value, size_t valueSize) {
  if (value && valueSize > 0) value[0] = '\0';
  if (!IsText(name) || !ZRBToolboxUtil::IsValidName(name) || !value || valueSize == 0) return ZRB_TOOLBOX_BAD_ARGUMENT;
  ZRBObjectManager request;
  ZRBObject* command = nullptr;
  if (const int prepared = Prepare(subject, request, command)) return prepared;
  command->SetSlotValue("ATTRIBUTE_NAME", name);
  std::string got;
  const int result = ZRBToolboxRoundTrip::Run(ZRBPdmAction::GetPartAttributeApi, request, nullptr, &got, nullptr);
  if (result != ZRB_TOOLBOX_OK) return result;
  if (got.size() >= valueSize) return ZRB_TOOLBOX_BUFFER_TOO_SMALL;
  std::memcpy(value, got.c_str(), got.size() + 1);
  return ZRB_TOOLBOX_OK;
}

int SupplyAttribute(const Subject& subject, const char* name, const char* value, int* pdmCode) {
  if (pdmCode) *pdmCode = -1;
  if (!IsText(name) || !IsText(value) || !ZRBToolboxUtil::IsValidName(name) || !ZRBToolboxUtil::IsValidValue(value))
    return ZRB_TOOLBOX_BAD_ARGUMENT;
  ZRBObjectManager request;
  ZRBObject* command = nullptr;
  if (const int prepared = Prepare(subject, request, command)) return prepared;
  command->SetSlotValue("ATTRIBUTE_NAME", name);
  const std::string text(value);
  return ZRBToolboxRoundTrip::Run(ZRBPdmAction::PutPartAttributeApi, request, &text, nullptr, pdmCode);
}

int SupplyFile(const Subject& subject, const char* path, const char* info, int* pdmCode) {
  if (pdmCode) *pdmCode = -1;
  if (!IsText(path) || !*path || std::strlen(path) > 4096 || std::strpbrk(path, "\n\r{}") || !IsText(info) ||
      !ZRBToolboxUtil::IsValidValue(info) || std::strpbrk(info, "\n\r{}"))
    return ZRB_TOOLBOX_BAD_ARGUMENT;
  ZRBObjectManager request;
  ZRBObject* command = nullptr;
  if (const int prepared = Prepare(subject, request, command)) return prepared;
  if (!GlobPropertyManager.IsFilePropertySet(CADUnicodeString(path), "ZRB_OBID")) ZRB_DEBUG("File not from ZRB?");
  command->SetSlotValue("FILENAME", path);
  command->SetSlotValue("INFOFROMCAD", info);
  return ZRBToolboxRoundTrip::Run(ZRBPdmAction::StoreSupplyFile, request, nullptr, nullptr, pdmCode);
}

}  // namespace

extern "C" {

int ZRBGetPartAttributeFromPdm(CADIProduct* product, const char* name, char* value, size_t valueSize) {
  if (!product) {
    if (value && valueSize > 0) value[0] = '\0';
    return NoSubject("spProduct == NULL_var");
  }
  return GetAttribute({product, nullptr}, name, value, valueSize);
}

int ZRBGetDrawingAttributeFromPdm(CADDocument* drawing, const char* name, char* value, size_t valueSize) {
  if (!drawing) {
    if (value && valueSize > 0) value[0] = '\0';
    return NoSubject("pDocument == NULL");
  }
  return GetAttribute({nullptr, drawing}, name, value, valueSize);
}

int ZRBSupplyPartAttributeToPdm(CADIProduct* product, const char* name, const char* value, int* pdmCode) {
  if (!product) return NoSubject("spProduct == NULL_var");
  return SupplyAttribute({product, nullptr}, name, value, pdmCode);
}

int ZRBSupplyDrawingAttributeToPdm(CADDocument* drawing, const char* name, const char* value, int* pdmCode) {
  if (!drawing) return NoSubject("pDocument == NULL");
  return SupplyAttribute({nullptr, drawing}, name, value, pdmCode);
}

int ZRBSupplyAdditionalFileForPrdToPdm(CADIProduct* product, const char* path, const char* info, int* pdmCode) {
  if (!product) return NoSubject("spProduct == NULL_var");
  return SupplyFile({product, nullptr}, path, info, pdmCode);
}

int ZRBSupplyAdditionalFileForDrwToPdm(CADDocument* drawing, const char* path, const char* info, int* pdmCode) {
  if (!drawing) return NoSubject("pDocument == NULL");
  return SupplyFile({nullptr, drawing}, path, info, pdmCode);
}

int ZRBInZRBArchive(CADIProduct* product) {
  if (!product) {
    ZRB_DEBUG("spProduct == NULL_var");
    return ZRB_IN_ARCHIVE_NO_PRODUCT;
  }
  return ZRBToolboxUtil::ClassifyForArchive(CADIProduct_var(product));
}

}  // extern "C"
