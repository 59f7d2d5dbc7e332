#include "CADDocumentFactory.h"

#include "CADDrawingDocument.h"

CADVar<CADDocument> CADDocumentFactory::Create(const CADUnicodeString& type, const CADUnicodeString& storageName) {
  if (type == "CADDrawing") return CADVar<CADDocument>::Adopt(new CADDrawingDocument(storageName));
  return CADVar<CADDocument>::Adopt(new CADDocument(type, storageName));
}
