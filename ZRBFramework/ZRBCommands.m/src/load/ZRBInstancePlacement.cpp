#include "ZRBInstancePlacement.h"

#include <cmath>

#include "ZRBObject.h"
#include "ZRBPosMatrixUtil.h"
#include "ZRBProductPositions.h"
#include "ZRBPropertyInstance.h"
#include "ZRBPropertyManager.h"
#include "ZRBReadContext.h"
#include "ZRBTrace.h"

namespace {

CADUnicodeString Slot(const ZRBObject& object, const char* name) { return CADUnicodeString(object.GetSlotValue(name)); }

// Below this, the three axes span no volume: the host would squash the instance flat.
constexpr double kSmallestVolume = 1e-12;

double Determinant(const double c[12]) {
  return c[0] * (c[4] * c[8] - c[5] * c[7]) - c[3] * (c[1] * c[8] - c[2] * c[7]) + c[6] * (c[1] * c[5] - c[2] * c[4]);
}

}  // namespace

CADIProduct_var ZRBInstancePlacement::FindChild(const CADIProduct_var& parent, const CADUnicodeString& instanceName) {
  if (!parent || instanceName.IsEmpty()) return nullptr;
  CADListValCADBaseUnknown_var children = parent->GetChildren();
  for (int i = 1; i <= children.Size(); ++i) {
    CADIProduct_var child(children[i]);
    CADUnicodeString name;
    if (child && SUCCEEDED(child->GetPrdInstanceName(name)) && name == instanceName) return child;
  }
  return nullptr;
}

void ZRBInstancePlacement::NameInstance(const CADIProduct_var& child, const CADUnicodeString& instanceName) {
  if (!child || instanceName.IsEmpty()) return;
  CADUnicodeString current;
  if (SUCCEEDED(child->GetPrdInstanceName(current)) && current == instanceName) return;
  if (!GlobPropertyManager.SetInstanceName(child, instanceName))
    ZRB_DEBUG("ZRB: could not name instance '%s' '%s'", current.c_str(), instanceName.c_str());
}

int ZRBInstancePlacement::ReadPosition(const CADUnicodeString& text, double coefficients[12]) {
  double read[12];
  if (text.IsEmpty() || FAILED(ZRBPosMatrixUtil::ConvertToMatrix(text, read))) return 0;
  if (!ZRBPosMatrixUtil::IsFinite(read) || std::fabs(Determinant(read)) < kSmallestVolume) return 0;
  for (int i = 0; i < 12; ++i) coefficients[i] = read[i];
  return 1;
}

void ZRBInstancePlacement::MarkInstanceInPdm(ZRBPropertyInstance& record, const CADUnicodeString& relationKey) {
  record.SetProperty("ZRB_INSTANCE_IN_ZRB", "1");
  if (!relationKey.IsEmpty()) record.SetProperty("ZRB_RELATION", relationKey);
}

void ZRBInstancePlacement::Apply(ZRBReadContext& context, const CADIProduct_var& parent, const CADIProduct_var& child,
                                 const ZRBObject& relation, const ZRBObject* node) {
  ZRB_TRACE("ZRBInstancePlacement::Apply");
  if (!parent || !child) return;
  // One record takes all of the instance's properties: it is looked up once, not once per property.
  GlobPropertyManager.SetInstanceProperty(parent, child, "ZRB_IS_STD_PART",
                                          node && node->GetSlotValue("IS_STD_PART") == "1" ? "1" : "0");
  ZRBPropertyInstance* record = GlobPropertyManager.GetInstanceObject(parent, child);
  if (!record) return;
  // Every relation of the answer is an instance the PDM has, top-level items under the workbench included: the
  // state checks tell new instances from known ones by these two.
  MarkInstanceInPdm(*record, CADUnicodeString(relation.GetKey()));
  record->SetProperty("ZRB_MATRIX_INDEX", Slot(relation, "MATRIX_INDEX"));
  record->SetProperty("ZRB_REL_DB_NAME", Slot(relation, "REL_DB_NAME"));
  if (!relation.GetSlotValue("CUSTOM_ATTRS").IsEmpty()) {
    record->SetProperty("ZRB_CUSTOM_ATTRS", Slot(relation, "CUSTOM_ATTRS"));
    record->SetProperty("ZRB_CUSTOM_VALS", Slot(relation, "CUSTOM_VALS"));
  }
  record->SetProperty("ZRB_TRAFO_ACCUMULATE_SET", relation.GetSlotValue("HAS_TRAFO") == "1" ? "YES" : "NO");

  const CADUnicodeString matrix = Slot(relation, "MATRIX");
  double coefficients[12];
  if (!ReadPosition(matrix, coefficients)) {
    CADUnicodeString name;
    child->GetPrdInstanceName(name);
    ZRB_DEBUG("ZRB: relation '%s' has no usable MATRIX '%s'; '%s' keeps its position", relation.GetKey().c_str(),
              matrix.c_str(), name.c_str());
    context.AddWarning("InvalidPosition", name);
    return;
  }
  // The load-time position is recorded only once the instance stands there: recorded after a failed move, it
  // would make the next save send the old position to the PDM as a move the designer never made.
  if (!ZRBProductPositions::MoveProduct(child, parent, coefficients)) {
    ZRB_DEBUG("ZRBReadCmd::ReadProductStructure coud not MoveProduct");
    CADUnicodeString name;
    child->GetPrdInstanceName(name);
    context.AddWarning("InvalidPosition", name);
    return;
  }
  record->SetProperty("ZRB_ORIG_MATRIX", matrix);
  ZRB_TRACE_OK();
}
