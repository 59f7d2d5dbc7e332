#include "ZRBRepresentationFormats.h"

#include "ZRBConfigTopicManager.h"
#include "ZRBObject.h"

CADListValCADString ZRBRepresentationFormats::Read() {
  const char* value = g_ZRBConfig.GetEnvVar("ZRB_REP_FORMATS", 1);
  if (!value || !*value) return {};
  ZRBObject scratch;
  scratch.SetSlotValue("TMP", value);
  CADListValCADString formats = scratch.GetSlotValueList("TMP");
  const CADString text = CADString(value).Strip();
  if (formats.IsEmpty() && text.Find("{") < 0 && !text.IsEmpty()) formats.Append(text);
  return formats;
}

int ZRBRepresentationFormats::Contains(const CADUnicodeString& type) {
  if (type.IsEmpty()) return 0;
  return Read().Locate(type.ConvertToString()) > 0 ? 1 : 0;
}
