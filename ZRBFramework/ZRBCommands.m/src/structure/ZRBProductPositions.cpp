#include "ZRBProductPositions.h"

#include "CADDocument.h"
#include "CADIMovable.h"
#include "CADMathTransformation.h"
#include "ZRBAfxBase.h"
#include "ZRBCommandContext.h"
#include "ZRBCommandStates.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBFileUtil.h"
#include "ZRBObject.h"
#include "ZRBPosMatrixUtil.h"
#include "ZRBPropertyManager.h"
#include "ZRBTrace.h"

namespace {

constexpr const char* kOrigMatrix = "ZRB_ORIG_MATRIX";
constexpr const char* kChangedPos = "S_ZRB_CHANGED_POS";

CADIMovable_var MovableOf(const CADIProduct_var& child) { return CADIMovable_var(child); }

}  // namespace

int ZRBProductPositions::GetProductPosition(const CADIProduct_var& child, const CADIProduct_var& parent,
                                            double coefficients[12]) {
  ZRB_TRACE("ZRBProductPositions::GetProductPosition");
  if (!child || !parent || !coefficients) return 0;
  CADIMovable_var movable = MovableOf(child);
  if (!movable) return 0;
  CADMathTransformation position;
  if (FAILED(movable->GetPosition(position, parent.get()))) return 0;
  position.GetCoef(coefficients);
  ZRB_TRACE_OK();
  return 1;
}

int ZRBProductPositions::MoveProduct(const CADIProduct_var& child, const CADIProduct_var& parent,
                                     const double coefficients[12]) {
  ZRB_TRACE("ZRBProductPositions::MoveProduct");
  if (!child || !parent || !coefficients) return 0;
  // A corrupt stored position must not be handed to the host: the instance would vanish into NaN space.
  if (!ZRBPosMatrixUtil::IsFinite(coefficients)) {
    ZRB_DEBUG("ZRB: refusing to move to a position that is not a finite number");
    return 0;
  }
  CADIMovable_var movable = MovableOf(child);
  if (!movable) return 0;
  CADMathTransformation current;
  if (FAILED(movable->GetPosition(current, parent.get()))) return 0;
  double currentCoefficients[12];
  current.GetCoef(currentCoefficients);
  int equal = 0;
  if (FAILED(ZRBPosMatrixUtil::Compare(currentCoefficients, coefficients, &equal))) return 0;
  if (!equal) {
    if (FAILED(movable->SetPosition(CADMathTransformation(coefficients), parent.get()))) return 0;
    // The position is stored in the father's reference: it is the father's document that changed, not the
    // child's geometry (marking the child made an unchanged part look geometry-dirty).
    CADIProduct_var father = child->GetFatherProduct();
    if (!father) father = parent;
    ZRBCommandStates::SetDirtyFlagForProduct(1, father);
  }
  ZRB_TRACE_OK();
  return 1;
}

int ZRBProductPositions::SetProductTrafoToZRBObject(ZRBCommandContext& context, ZRBObject* object,
                                                    const CADIProduct_var& child, const CADIProduct_var& parent) {
  ZRB_TRACE("ZRBProductPositions::SetProductTrafoToZRBObject");
  if (!object || !child || !parent) return 0;
  double position[12];
  if (!GetProductPosition(child, parent, position)) {
    ZRB_DEBUG("ZRB: Could not read Product position");
    return 0;
  }
  CADUnicodeString positionText;
  ZRBPosMatrixUtil::ConvertToString(position, positionText);
  object->SetSlotValue("MATRIX", positionText.str());
  object->SetSlotValue("UNIT", "1.0");

  CADUnicodeString original = GlobPropertyManager.GetInstanceProperty(parent, child, kOrigMatrix);
  if (original.IsEmpty()) original = ZRBPosMatrixUtil::kIdentityText;
  const bool mustSend = GlobPropertyManager.GetInstanceProperty(parent, child, kChangedPos) == "1";

  bool moved = mustSend;
  if (!moved && !(positionText == original)) {
    double originalPosition[12];
    if (FAILED(ZRBPosMatrixUtil::ConvertToMatrix(original, originalPosition))) {
      ZRB_DEBUG("ZRB: stored position is not readable: %s", original.c_str());
      return 0;
    }
    int equal = 0;
    if (FAILED(ZRBPosMatrixUtil::Compare(originalPosition, position, &equal))) return 0;
    moved = !equal;
  }
  if (!moved) {
    ZRB_TRACE_OK();
    return 1;
  }

  bool updateRequested = false;
  if (!GlobPropertyManager.GetInstanceProperty(parent, child, "ZRB_RELATION").IsEmpty()) {
    const bool writeProtected = g_ZRBConfig.CompareEnvVar("ZRB_NO_PUBLIC_POS_UPDATE", "ON", 1) == 1 &&
                                !(GlobPropertyManager.GetReferenceProperty(parent, "ZRB_CHANGEABLE") == "1");
    if (writeProtected) {
      CADUnicodeString parameters[2];
      child->GetPrdInstanceName(parameters[0]);
      parameters[1] = GlobPropertyManager.GetPartNumber(parent, 0);
      context.GetWarnings().Append(
          ZRBAfxBase::BuildMessage("ZRBUpdateCmd", "ZRBUpdateCmd.MatrixNotUpdatedWriteProtect", parameters, 2));
    } else {
      const CADString key = object->GetKey();
      object->SetSlotValue("UPD_MATRIX", "1");
      object->SetSlotValue("ZRB_PRIVATE_UPDATE_ID", key);
      GlobPropertyManager.SetPathToRootProperty(child, "ZRB_PRIVATE_UPDATE_ID", CADUnicodeString(key));
      updateRequested = true;
    }
    object->SetSlotValue("REL_DB_NAME",
                         GlobPropertyManager.GetInstanceProperty(parent, child, "ZRB_REL_DB_NAME").str());
  }
  // The "must send" mark goes only with a request that carries the position; a write-protected or new
  // instance keeps it for the next save.
  if (mustSend && updateRequested) GlobPropertyManager.SetInstanceProperty(parent, child, kChangedPos, "");
  ZRB_TRACE_OK();
  return 1;
}

void ZRBProductPositions::KeepPositionToSend(const CADIProduct_var& parent, const CADIProduct_var& child) {
  if (!parent || !child) return;
  GlobPropertyManager.SetInstanceProperty(parent, child, kChangedPos, "1");
}
