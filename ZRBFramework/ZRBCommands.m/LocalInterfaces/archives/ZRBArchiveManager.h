// The archives the session knows, each under the path of the structure file it was read from (its name), and the
// queries the archive commands ask of them. One process-wide instance, GlobArchiveManager; user-interface thread.
#pragma once

#include <string>
#include <vector>

#include "CADListVal.h"
#include "CADUnicodeString.h"
#include "ZRBArchive.h"

class ZRBArchiveManager {
 public:
  // --- names: every name given in or asked for goes through here, so "a//b/x.xml" and "a/b/x.xml" are one
  static std::string NormalizeName(const std::string& name);

  // --- reading and writing files
  // Reads the structure file at `path`; it replaces any archive of that name. 1 on success; 0 (nothing loaded
  // under that name any more) for a missing or damaged file.
  int Read(const CADUnicodeString& path);
  // Reads an archive delivered for add-temporary and lists its files with where they go (sources, targets in
  // the same order); the archive is renamed to the structure file's new place and remembers the prefix.
  int ReadTemp(const CADUnicodeString& path, const CADUnicodeString& prefix, CADListValCADUnicodeString& sources,
               CADListValCADUnicodeString& targets, const CADUnicodeString& xmapDirectory,
               const CADUnicodeString& extraDirectory);
  // Writes the DTD to `path` (whole or not at all); 1 on success.
  static int WriteDTD(const CADUnicodeString& path);

  // --- the list of archives
  int ArchiveLoaded(const CADUnicodeString& name) const { return Find(name) ? 1 : 0; }
  void GetArchiveNameList(CADListValCADUnicodeString& names) const;
  void RemoveArchive(const CADUnicodeString& name);
  void RemoveAllAddTempArchive();
  int IsAddTempArchive(const CADUnicodeString& name) const;
  int GetNewId() { return ++idCounter_; }
  // Adds or replaces the archive of that name (the writer and tests hand in archives built in memory).
  void Put(const CADUnicodeString& name, ZRBArchive archive);
  // The archive of that name; null (traced) when none is loaded.
  const ZRBArchive* Find(const CADUnicodeString& name) const;
  ZRBArchive* Find(const CADUnicodeString& name);

  // --- queries; an unknown name gives empty results
  CADUnicodeString GetRootAttribute(const CADUnicodeString& name, const CADUnicodeString& attribute) const;
  void SetRootAttribute(const CADUnicodeString& name, const CADUnicodeString& attribute, const CADUnicodeString& value);
  CADUnicodeString GetParentPartNumber(const CADUnicodeString& name) const;
  void SetParentPartNumber(const CADUnicodeString& name, const CADUnicodeString& value);
  CADUnicodeString GetRootPartNumber(const CADUnicodeString& name) const {
    return GetRootAttribute(name, "PARTNUMBER");
  }
  void GetPartAttributes(const CADUnicodeString& name, const CADUnicodeString& attribute,
                         CADListValCADUnicodeString& values) const;
  CADUnicodeString GetPartAttribute(const CADUnicodeString& name, const CADUnicodeString& partId,
                                    const CADUnicodeString& attribute) const;
  CADUnicodeString GetPartPartNumber(const CADUnicodeString& name, const CADUnicodeString& partId) const {
    return GetPartAttribute(name, partId, "PARTNUMBER");
  }
  void GetNonCadAttributes(const CADUnicodeString& name, const CADUnicodeString& attribute,
                           CADListValCADUnicodeString& values) const;
  void GetChildInfoForRoot(const CADUnicodeString& name, CADListValCADUnicodeString& childIds,
                           CADListValCADUnicodeString& instanceNames, CADListValCADUnicodeString& matrices) const;
  void GetChildInfoForPart(const CADUnicodeString& name, const CADUnicodeString& partId,
                           CADListValCADUnicodeString& childIds, CADListValCADUnicodeString& instanceNames,
                           CADListValCADUnicodeString& matrices) const;
  // Every member file name (root first) with its vis file name ("" when none), parallel lists.
  void GetFileNamesAndVisFileNames(const CADUnicodeString& name, CADListValCADUnicodeString& files,
                                   CADListValCADUnicodeString& visFiles) const;
  // Every file the structure file names: members, vis files, tables and non-CAD files.
  void GetAllKnownFileNames(const CADUnicodeString& name, CADListValCADUnicodeString& files) const;

  // --- non-CAD files of an archive
  void AddNonCadObject(const CADUnicodeString& name, const CADUnicodeString& fileName, int inExtraDir);
  void RemoveAllNonCad(const CADUnicodeString& name);
  void RemoveNonCadFile(const CADUnicodeString& name, const CADUnicodeString& fileName);
  int IsNonCadInExtraDir(const CADUnicodeString& name, const CADUnicodeString& fileName) const;
  void GetNonCadFilesInXmap(const CADUnicodeString& name, CADListValCADUnicodeString& files) const;
  void GetNonCadFilesInExtraDir(const CADUnicodeString& name, CADListValCADUnicodeString& files) const;
  void SetNonCadChanged(const CADUnicodeString& name, int changed);
  int GetNonCadChanged(const CADUnicodeString& name) const;
  // Where non-CAD files kept outside the exchange map live: "ZRBOptions" "ExtraNonCadDir" when
  // "UseExtraNonCadDir" is 1 and the directory is given, else the exchange map.
  static CADUnicodeString GetStartupExtraDirForNonCad();

  // The property manager's integrity check keeps the file records (change times) of the non-CAD files of the
  // archives known then; installed with the first archive.
  static void KeepNonCadRecords();

  // Drops every archive (tests, module unload).
  void Clear() { archives_.clear(); }

 private:
  // A file name from a delivered structure file, reduced to its last component; "" for one that names no file.
  static std::string SafeFileName(const std::string& name);
  CADUnicodeString Prefixed(const ZRBArchive& archive, const std::string& attribute, const std::string& value) const;
  // The "FILENAME" values of the entries in one place, last entry first, empty ones skipped, prefixed as read.
  void NonCadFiles(const CADUnicodeString& name, bool inExtraDir, CADListValCADUnicodeString& files) const;

  std::vector<std::pair<std::string, ZRBArchive>> archives_;
  int idCounter_ = 0;
};

extern ZRBArchiveManager GlobArchiveManager;
