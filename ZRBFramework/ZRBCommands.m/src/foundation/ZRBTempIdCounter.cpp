#include "ZRBTempIdCounter.h"

#include <climits>

#include "ZRBConfigTopicManager.h"
#include "ZRBTrace.h"

CADUnicodeString ZRBTempIdCounter::GetNewTmpId() {
  if (counter_ == INT_MAX) {
    ZRB_DEBUG("ZRB: temporary identifier counter exhausted at %d, no identifier given", counter_);
    return CADUnicodeString();
  }
  const char* prefix = g_ZRBConfig.GetEnvVar("ZRB_ADDTEMP_PRAEFIX1", 1);
  const char* suffix = g_ZRBConfig.GetEnvVar("ZRB_ADDTEMP_PRAEFIX2", 1);
  CADUnicodeString id =
      CADUnicodeString(prefix ? prefix : "") + CADUnicodeString::BuildFromNum("%d", counter_) + (suffix ? suffix : "");
  ++counter_;
  return id;
}

void ZRBTempIdCounter::SetTmpCounter(int n) {
  if (n > counter_) counter_ = n;
}
