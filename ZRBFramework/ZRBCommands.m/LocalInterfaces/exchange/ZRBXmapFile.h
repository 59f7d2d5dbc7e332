// One file of a cache directory as the content file records it: the file's
// time and size when it was registered, and the PDM object it belongs to.
#pragma once

#include <cstdint>
#include <istream>
#include <ostream>

#include "CADString.h"

// Used on the user-interface thread only, through its manager.
class ZRBXmapFile {
 public:
  // --- lifecycle
  // An invalid entry: empty texts, all numbers 0.
  ZRBXmapFile();
  // Registers the file directory/fileName. The entry stays invalid when the
  // name is empty, "." or "..", the file does not exist, or a text could not
  // be read back from the content file (obid, modificationDate or sortKey
  // empty, a text longer than the file allows).
  ZRBXmapFile(const CADString& obid, const CADString& modificationDate, const CADString& fileName,
              const CADString& dbName, const CADString& className, const CADString& sortKey,
              const CADString& directory);

  // --- content file
  // 1 written, 0 for an invalid entry or no stream.
  int Write(std::ostream* out) const;
  // Reads one entry; 1 for a valid one, 0 (and the entry invalid) otherwise.
  int Read(std::istream* in);

  // --- registration
  // Registers the file again under a new identity (fileName and sortKey
  // stay); 1 when the file was found, 0 leaving the entry invalid.
  int Update(const CADString& obid, const CADString& modificationDate, const CADString& dbName,
             const CADString& className, const CADString& directory);
  // *unchanged is 1 when directory/fileName exists (the link itself, for a
  // symbolic link) with the registered modification time; always returns 1.
  int CheckFileInXmap(const CADString& directory, int* unchanged) const;

  // --- identity
  // 1 and the five texts, or 0 for an invalid entry.
  int GetAttrs(CADString& obid, CADString& modificationDate, CADString& fileName, CADString& dbName,
               CADString& className) const;
  int IsValid() const { return validLength_ > 0 ? 1 : 0; }
  int GetValidLength() const { return validLength_; }
  std::uint32_t GetFileModTime() const { return fileModTime_; }
  std::uint32_t GetLastAccess() const { return lastAccess_; }
  std::uint32_t GetFileSize() const { return fileSize_; }
  const CADString& GetObid() const { return obid_; }
  const CADString& GetModificationDate() const { return modificationDate_; }
  const CADString& GetFileName() const { return fileName_; }
  const CADString& GetDbName() const { return dbName_; }
  const CADString& GetClassName() const { return className_; }
  const CADString& GetSortKey() const { return sortKey_; }

  // --- scratch mark of a directory check
  enum CheckMark : int { kUnmarked = 0, kKeep = 1, kDrop = 2 };
  int GetCheckMark() const { return checkMark_; }
  void SetCheckMark(int mark) { checkMark_ = mark; }

  // --- order of the list
  // By sortKey: a null first pointer 1, a null second -1, an empty first key
  // 1, an empty second key -1, else the byte comparison of the keys.
  static int Compare(const ZRBXmapFile* a, const ZRBXmapFile* b);
  // The same rule for two texts (empty texts last).
  static int CompareCADStrings(const CADString& a, const CADString& b);
  // Null pointers as in Compare; 0 equal lastAccess, 1 the first is later, -1 earlier.
  static int CompareByLastAccess(const ZRBXmapFile* a, const ZRBXmapFile* b);

  // --- file form
  // The 15 characters at the start of a content file.
  static constexpr const char* kMagic = "ZRB_CONT_V2.0.0";
  static constexpr int kMagicLength = 15;
  static constexpr int kHeaderLength = 27;

 private:
  // Examines the file and sets time, size and validity.
  void Register(const CADString& directory);
  // The texts satisfy what reading the entry back demands.
  bool TextsReadBack() const;
  void Invalidate() { validLength_ = 0; }

  friend class ZRBXmapFileList;

  std::uint32_t fileModTime_ = 0;
  std::uint32_t lastAccess_ = 0;
  std::uint32_t fileSize_ = 0;
  CADString obid_;
  CADString modificationDate_;
  CADString fileName_;
  CADString dbName_;
  CADString className_;
  CADString sortKey_;
  int validLength_ = 0;
  int checkMark_ = kUnmarked;
  // Place among entries of equal sortKey; set by the list that holds the entry.
  std::uint64_t listSeq_ = 0;
};
