// The bracket of the sample session as an archive: its members saved into the exchange map, its structure file
// "Bracket.xml" written, all packed into "Bracket.zip" there. 1 on success.
#pragma once

#include <string>

#include "ProbeCommand.h"
#include "ZRBArchiveMembers.h"
#include "ZRBArchivePacker.h"
#include "ZRBArchiveStructureWriter.h"

inline int PackBracket(const CADIProduct_var& bracket, const std::string& xmapDirectory) {
  ProbeCommand command;
  const CADUnicodeString xmap((xmapDirectory + "/").c_str());
  CADListValCADUnicodeString files;
  if (!ZRBArchiveMembers::CopyArchiveFilesToXmap(command, bracket, xmap, files)) return 0;
  if (!ZRBArchiveStructureWriter(command).WriteStructureFile(bracket, "Bracket.xml", xmap)) return 0;
  return ZRBArchivePacker(command).PackFilesToArchive(CADUnicodeString((xmapDirectory + "/Bracket.zip").c_str()),
                                                      CADUnicodeString((xmapDirectory + "/Bracket.xml").c_str()),
                                                      files);
}
