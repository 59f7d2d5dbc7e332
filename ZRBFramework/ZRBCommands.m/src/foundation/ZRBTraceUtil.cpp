#include "ZRBTraceUtil.h"

#include <string>

#include "ZRBTrace.h"

namespace {
template <class List>
void WriteList(const CADUnicodeString& title, const List& list) {
  ZRBTrace::WriteLine(title.view());
  for (int i = 1; i <= list.Size(); ++i) ZRBTrace::WriteLine(std::to_string(i) + ".[" + list[i].str() + "]");
}
}  // namespace

void ZRBTraceUtil::PrintStringList(const CADUnicodeString& title, const CADListValCADString& list) {
  ZRB_TRACE("ZRBTraceUtil::PrintStringList");
  if (ZRBTrace::IsOn()) WriteList(title, list);
  ZRB_TRACE_OK();
}

void ZRBTraceUtil::PrintStringList(const CADUnicodeString& title, const CADListValCADUnicodeString& list) {
  ZRB_TRACE("ZRBTraceUtil::PrintStringList2");
  if (ZRBTrace::IsOn()) WriteList(title, list);
  ZRB_TRACE_OK();
}
