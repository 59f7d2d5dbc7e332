// The files of an archive in the exchange map: every member document saved there once, the design tables moved
// there, and the modification times of the archive's non-CAD files recorded, before the archive is packed.
#pragma once

#include <functional>

#include "CADIProduct.h"
#include "CADListVal.h"
#include "CADUnicodeString.h"

class ZRBCommand;
class ZRBDesignTable;

class ZRBArchiveMembers {
 public:
  // The root's and every member's document saved into `xmap` (each file once, in structure order) and the design
  // tables moved there; the paths are appended to `files`. 0 at the first file that cannot be stored, with
  // "ZRBAttachArchiveCmd.SaveFailed" in the warnings.
  static int CopyArchiveFilesToXmap(ZRBCommand& command, const CADIProduct_var& root, const CADUnicodeString& xmap,
                                    CADListValCADUnicodeString& files);
  static int CopySingleArchiveFileToXmap(ZRBCommand& command, const CADIProduct_var& member,
                                         const CADUnicodeString& xmap, CADListValCADUnicodeString& files);
  // Each design table of the root and of its members whose file exists, each file once: a member's table belongs
  // in the archive as much as the root's, or the archive would not hold what its parts need.
  static void ForEachTable(const CADIProduct_var& root, const std::function<void(ZRBDesignTable&)>& visit);
  // Records "ZRB_LAST_KNOWN_MOD_TIME" on each non-CAD file of the archive `contentFile` (exchange map and extra
  // directory) that exists: always with `force`, else only where it is not yet set.
  static void SetTimeStampToNonCad(const CADUnicodeString& contentFile, int force);
};
