// Writes the structure file of a product structure in the session: walks the root, its members, design tables
// and the non-CAD files the archive manager knows into a ZRBArchive, then stores it with its DTD beside it, each
// whole or not at all. Messages go to the command that asked.
#pragma once

#include "CADIProduct.h"
#include "CADUnicodeString.h"
#include "ZRBArchive.h"

class ZRBCommand;

class ZRBArchiveStructureWriter {
 public:
  explicit ZRBArchiveStructureWriter(ZRBCommand& command) : command_(command) {}

  // The structure file for `root` under `targetDirectory` + the file name of `path`, and the DTD beside it.
  // 1 on success; 0 for a missing root, a member without part number (message in the warnings) or a file that
  // cannot be written ("ZRBAttachArchiveCmd.NoFileAccess"; no half-written file is left).
  int WriteStructureFile(const CADIProduct_var& root, const CADUnicodeString& path,
                         const CADUnicodeString& targetDirectory);
  // The model of the same file; `archiveName` names the archive whose non-CAD files are listed. 1 or 0 as above.
  int BuildArchive(const CADIProduct_var& root, const CADUnicodeString& archiveName, ZRBArchive& archive);

  // --- the blocks of one product; 1 success, 0 failure
  int WritePartDataTag(ZRBArchivePartData& data, const CADIProduct_var& product);
  void WriteChildrenTag(std::vector<ZRBArchiveChild>& children, const CADIProduct_var& product);
  void WriteProductChildrenTag(std::vector<ZRBArchiveChild>& children, const CADIProduct_var& parent,
                               const CADIProduct_var& child);
  void WriteTableDataTags(ZRBArchive& archive, const CADIProduct_var& root);
  void WriteNonCadTags(ZRBArchive& archive, const CADUnicodeString& archiveName);

 private:
  ZRBCommand& command_;
};
