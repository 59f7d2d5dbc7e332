#include "CADDocument.h"
#include "ZRBDocPropertyTransfer.h"

int ZRBDocPropertyTransfer::SetDocPropertiesToZRBObject(ZRBCommand&, ZRBObjectManager&, CADDocument*, ZRBObject*,
                                                        CADString&) { return 0; }
int ZRBDocPropertyTransfer::SetDrawingPropertiesToZRBObject(ZRBObjectManager&, const CADIDrawing_var&, ZRBObject*) {
  return 0;
}
int ZRBDocPropertyTransfer::SetModelInfoToZRBObject(ZRBObjectManager&, const CADIProduct_var&, ZRBObject*,
                                                    CADDocument*, CADFrmWindow*) { return 0; }
int ZRBDocPropertyTransfer::SetModelInfoToZRBObject(ZRBObjectManager&, const CADIDrawing_var&, ZRBObject*,
                                                    CADDocument*) { return 0; }
int ZRBDocPropertyTransfer::SetFeatureExtentionsToZRBObject(ZRBObjectManager&, CADDocument*, ZRBObject*) { return 0; }
int ZRBDocPropertyTransfer::SetDocPropertiesFromZRBObject(ZRBCommand&, ZRBObjectManager&, CADDocument*,
                                                          const CADString&) { return 0; }
int ZRBDocPropertyTransfer::SetFilePropertiesFromZRBObject(ZRBCommand&, ZRBObject&, CADDocument*, int,
                                                           const CADIProduct_var&) { return 0; }
int ZRBDocPropertyTransfer::SetDrawingPropertiesFromZRBObject(const CADIDrawing_var&, CADDocument*,
                                                              const ZRBObject*) { return 0; }
int ZRBDocPropertyTransfer::SetProcessPropertiesFromZRBObject(ZRBObjectManager&, const ZRBObject*) { return 0; }
int ZRBDocPropertyTransfer::SetParameterFromZrbObject(CADDocument&, const ZRBObject*) { return 0; }
int ZRBDocPropertyTransfer::SetParameterToDrawing(CADDocument&, const CADListValCADUnicodeString&,
                                                  const CADListValCADUnicodeString&) { return 0; }
int ZRBDocPropertyTransfer::GetFeatureExtentionsFromZRBObject(const CADIProduct_var&, const ZRBObject*,
                                                              ZRBObjectManager&) { return 0; }
void ZRBDocPropertyTransfer::SetReferencePropertyToAllChildren(const CADIProduct_var&, const CADUnicodeString&,
                                                               const CADUnicodeString&) {}
void ZRBDocPropertyTransfer::SetInstancePropertyToAllChildren(const CADIProduct_var&, const CADUnicodeString&,
                                                              const CADUnicodeString&) {}
void ZRBDocPropertyTransfer::SetFilePropertyToAllChildren(const CADIProduct_var&, const CADUnicodeString&,
                                                          const CADUnicodeString&) {}
void ZRBDocPropertyTransfer::SetPathToRootPropertyToAllChildren(const CADIProduct_var&, const CADUnicodeString&,
                                                                const CADUnicodeString&) {}
void ZRBDocPropertyTransfer::RemoveReferencePropertyFromAllChildren(const CADIProduct_var&, const CADUnicodeString&) {}
int ZRBDocPropertyTransfer::RemoveZRBPropsFromInstance(const CADIProduct_var&, int) { return 0; }
