#include "ZRBXmapCommandServices.h"

#include "CADDocument.h"
#include "ZRBCommand.h"

int ZRBXmapCommandServices::SaveAs(CADDocument& document, const CADUnicodeString& path, const CADUnicodeString& format,
                                   unsigned char flag) {
  return command_.SaveAs(document, path, format, flag);
}

int ZRBXmapCommandServices::Save(CADDocument* document, unsigned char flag) { return command_.Save(document, flag); }
