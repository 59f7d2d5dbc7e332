// The entry points whose work lives in their own classes.
#include "ZRBDocPropertyTransfer.h"
#include "ZRBFeatureExtensionTransfer.h"
#include "ZRBModelInfoTransfer.h"

int ZRBDocPropertyTransfer::SetModelInfoToZRBObject(ZRBObjectManager& manager, const CADIProduct_var& product,
                                                    ZRBObject* model, CADDocument* document, CADFrmWindow* window) {
  return ZRBModelInfoTransfer::ForProduct(manager, product, model, document, window);
}

int ZRBDocPropertyTransfer::SetModelInfoToZRBObject(ZRBObjectManager& manager, const CADIDrawing_var& drawing,
                                                    ZRBObject* model, CADDocument* document) {
  return ZRBModelInfoTransfer::ForDrawing(manager, drawing, model, document);
}

int ZRBDocPropertyTransfer::SetFeatureExtentionsToZRBObject(ZRBObjectManager& manager, CADDocument* document,
                                                            ZRBObject* model) {
  return ZRBFeatureExtensionTransfer::ToObject(manager, document, model);
}

int ZRBDocPropertyTransfer::GetFeatureExtentionsFromZRBObject(const CADIProduct_var& product, const ZRBObject* model,
                                                              ZRBObjectManager& manager) {
  return ZRBFeatureExtensionTransfer::FromObject(product, model, manager);
}
