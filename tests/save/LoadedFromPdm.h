#pragma once
// Marks a sample structure as the read would have left it: every node known to the PDM, every instance in it, each
// position recorded as loaded. The save tests start from this state.

#include <memory>
#include <string>
#include <vector>

#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADFrmLayout.h"
#include "CADFrmWindow.h"
#include "CADIMovable.h"
#include "CADMathTransformation.h"
#include "CommandFixture.h"
#include "SampleSession.h"
#include "UpdateLeftovers.h"
#include "ZRBCommandStates.h"
#include "ZRBInfoUtil.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPosMatrixUtil.h"
#include "ZRBPropertyManager.h"

namespace save_test {

inline std::string PositionText(const CADIProduct_var& parent, const CADIProduct_var& child) {
  double position[12];
  CADMathTransformation transformation;
  CADIMovable_var(child)->GetPosition(transformation, parent.get());
  transformation.GetCoef(position);
  CADUnicodeString text;
  ZRBPosMatrixUtil::ConvertToString(position, text);
  return text.str();
}

inline void MarkLoaded(const CADIProduct_var& node) {
  GlobPropertyManager.SetReferenceProperty(node, "ZRB_OBID", CADUnicodeString("ID-" + node->GetPartNumber().str()));
  GlobPropertyManager.SetReferenceProperty(node, "ZRB_CHANGEABLE", "1");
  GlobPropertyManager.SetReferenceProperty(node, "ZRB_PRODUCT_CHANGEABLE", "1");
  for (const CADBaseUnknown_var& item : node->GetChildren()) {
    CADIProduct_var child(item);
    GlobPropertyManager.SetInstanceProperty(node, child, "ZRB_INSTANCE_IN_ZRB", "1");
    GlobPropertyManager.SetInstanceProperty(node, child, "ZRB_RELATION",
                                            CADUnicodeString("RL-" + SampleSession::InstanceName(child)));
    GlobPropertyManager.SetInstanceProperty(node, child, "ZRB_ORIG_MATRIX",
                                            CADUnicodeString(PositionText(node, child)));
    MarkLoaded(child);
  }
}

// The sample assembly opened in a window as a fresh read leaves it: loaded from the PDM, load-time record made,
// nothing modified, the PDM's settings known (so no test starts a settings query). Null when it cannot be opened.
inline CADIProduct_var OpenLoadedAssembly(SampleSession& session) {
  ZRBInfoUtil::SetDataModelValue("LEGACY_DATA_MODEL");
  ZRBInfoUtil::SetUseDesigTables(0);
  CADIProduct_var root = session.OpenAssembly();
  if (!root) return root;
  MarkLoaded(root);
  ZRBCommandStates::SetOrigChilds(root.get(), "", 0);
  for (const CADBaseUnknown_var& entry : CADDocumentServices::GetListOfDocuments()) CADDocument_var(entry)->SetDirty(0);
  CADFrmWindow* window = nullptr;
  CADDocument* assembly = CADDocumentServices::GetDocumentInSession(session.Path("Assembly.CADProduct"));
  return CADFrmLayout::GetCurrentLayout().OpenWindow(assembly, window) == S_OK ? root : CADIProduct_var();
}

// Fixture: the loaded sample assembly in its own exchange map, where new documents are made too.
class LoadedAssemblyTest : public CommandFixture {
 public:
  using Node = CADIProduct_var;
  void SetUp() override {
    CommandFixture::SetUp();
    CADDocumentServices::ResetSession();
    session_ = std::make_unique<SampleSession>();
    SetVariable("ZRBXMAP", session_->Directory().c_str());
    CADDocumentServices::SetNewDocumentDirectory(CADUnicodeString(session_->Directory()));
    root_ = OpenLoadedAssembly(*session_);
    ASSERT_TRUE(root_);
  }
  void TearDown() override {
    root_ = nullptr;
    CADDocumentServices::ResetSession();
    session_.reset();
    CommandFixture::TearDown();
  }
  void Restart() {
    TearDown();
    SetUp();
  }
  CADDocument* Doc(const std::string& name) { return CADDocumentServices::GetDocumentInSession(session_->Path(name)); }
  Node At(std::string_view path) { return SampleSession::Node(root_, path); }
  static std::string Ref(const Node& node, const char* name) {
    return GlobPropertyManager.GetReferenceProperty(node, name).str();
  }
  // The request file a PDM command line names between its quotes.
  static CADUnicodeString RequestOf(const std::string& line) {
    const std::size_t open = line.find('\''), close = line.rfind('\'');
    return CADUnicodeString(line.substr(open + 1, close - open - 1));
  }
  static bool Has(const std::vector<std::string>& lines, const char* text) {
    for (const std::string& line : lines)
      if (line.find(text) != std::string::npos) return true;
    return false;
  }
  static int PrivateLeft(const Node& node) { return PrivateUpdatePropertiesLeft(node); }

  std::unique_ptr<SampleSession> session_;
  Node root_;
};

}  // namespace save_test
