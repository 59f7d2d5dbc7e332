#include "ZRBWriteArcXMLCmd.h"

#include "CADClassDictionary.h"
#include "CADDocumentServices.h"
#include "ZRBArchiveStructureWriter.h"
#include "ZRBFileUtil.h"
#include "ZRBPSNTreeUtil.h"
#include "ZRBTrace.h"

ZRBWriteArcXMLCmd* fctCreateZRBWriteArcXMLCmd() { return new ZRBWriteArcXMLCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBWriteArcXMLCmd", &fctCreateZRBWriteArcXMLCmd);
}  // namespace

ZRBOneStepCommand::Outcome ZRBWriteArcXMLCmd::Work() {
  ZRB_TRACE("ZRBWriteArcXMLCmd::Work");
  CADDocument* document = nullptr;
  if (first_.IsEmpty() || FAILED(CADDocumentServices::OpenDocument(first_, document)) || !document) {
    GetWarnings().Append(CADUnicodeString("Failed to open Root Product file"));
    return Outcome::Failed;
  }
  CADIProduct_var root;
  if (FAILED(ZRBPSNTreeUtil::GetRootProductFromDocument(document, &root)) || !root) {
    GetWarnings().Append(CADUnicodeString("Failed to get Root Product from document"));
    return Outcome::Failed;
  }
  CADUnicodeString name = second_;
  if (name.IsEmpty()) {
    std::string file = ZRBFileUtil::GetFileNameFromPath(first_).str();
    file = file.substr(0, file.find_last_of('.')) + ".xml";
    name = CADUnicodeString(file);
  }
  const CADUnicodeString directory = ZRBFileUtil::GetDirPathFromFilePath(first_, 0);
  ZRBArchiveStructureWriter writer(*this);
  if (!writer.WriteStructureFile(root, name, directory)) return Outcome::Failed;
  ZRB_TRACE_OK();
  return Outcome::Succeeded;
}
