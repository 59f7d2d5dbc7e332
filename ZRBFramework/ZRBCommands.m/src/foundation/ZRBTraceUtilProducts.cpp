#include <string>

#include "ZRBTrace.h"
#include "ZRBTraceUtil.h"

void ZRBTraceUtil::PrintNodeList(const CADUnicodeString& title, CADListValCADBaseUnknown_var& nodes) {
  ZRB_TRACE("ZRBTraceUtil::PrintNodeList");
  if (ZRBTrace::IsOn()) {
    ZRBTrace::WriteLine(title.view());
    for (int i = 1; i <= nodes.Size(); ++i) {
      // The index shares its line with what PrintNode writes next.
      ZRBTrace::Write(std::to_string(i) + ".");
      PrintNode("Node", CADIProduct_var(nodes[i]));
    }
  }
  ZRB_TRACE_OK();
}

void ZRBTraceUtil::PrintNode(const CADUnicodeString& title, const CADIProduct_var& product) {
  ZRB_TRACE("ZRBTraceUtil::PrintNode");
  if (ZRBTrace::IsOn()) {
    std::string partNumber = "null";
    std::string instanceName = "null";
    if (product) {
      partNumber = product->GetPartNumber().ConvertToString().str();
      CADUnicodeString name;
      instanceName = SUCCEEDED(product->GetPrdInstanceName(name)) ? name.ConvertToString().str() : "-failed-";
    }
    ZRBTrace::WriteLine(title.str() + ":\"" + partNumber + "(" + instanceName + ")\"");
  }
  ZRB_TRACE_OK();
}
