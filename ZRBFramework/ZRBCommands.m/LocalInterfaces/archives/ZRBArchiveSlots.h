// The archive in an exchange file, both ways: the archive object a request carries for an archive root (attach,
// update) and the answered archive put back onto the session's properties.
#pragma once

#include "CADIProduct.h"
#include "CADListVal.h"
#include "CADString.h"
#include "CADUnicodeString.h"

class ZRBObject;
class ZRBObjectManager;

class ZRBArchiveSlots {
 public:
  // Mode 0 (a new archive): a new archive object under a generated key, listed in `node`'s "SUBASSEMBLIES",
  // and `node` stands for the father. Any other mode: `node` itself is the archive object. `documentPath` is
  // the packed archive file, `contentFile` its structure file. The archive object's key goes to `key`. 0 when
  // `node` is null or no object can be made.
  static int SetArchivePropertiesToZRBObject(ZRBObjectManager& request, const CADUnicodeString& documentPath,
                                             const CADUnicodeString& contentFile, const CADIProduct_var& root,
                                             ZRBObject* node, CADString& key, int mode);
  // The answer's archive object onto the root's instance, its document's file properties and its members'
  // content marks; the archive's structure file is read into the archive manager and its non-CAD files get
  // their stored times. 0 for a null root or an answer that names no archive identity. Unequal standard-attribute
  // lists are not applied ("ZRBAfx.WrongListSize" into `warnings`).
  static int SetArchivePropertiesFromZRBObject(const CADIProduct_var& root, const ZRBObject& object,
                                               CADListValCADUnicodeString* warnings = nullptr);
  // The structure file an answer names: the exchange map's file of "CONTENT_FILE_NAME" (last component only),
  // ".xml" added when missing; empty when the name is unusable.
  static CADUnicodeString StructureFileOf(const ZRBObject& object);
};
