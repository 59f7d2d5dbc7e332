// One file of a cache directory as the content file records it: the file's
// time and size when it was registered, and the PDM object it belongs to.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string_view>

#include "CADString.h"
#include "ZRBPackedTexts.h"

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
  ZRBXmapFile(CADString obid, CADString modificationDate, CADString fileName, CADString dbName, CADString className,
              CADString sortKey, const CADString& directory);

  // --- content file
  // 1 written, 0 for an invalid entry or no stream.
  int Write(std::ostream* out) const;
  // Reads one entry off the front of `bytes`; 1 for a valid one, 0 (and the
  // entry invalid) otherwise.
  int Read(std::string_view& bytes);

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
  // Views of the entry's own texts: valid while the entry lives; the file
  // name and sort key never change, the others until the next Update.
  std::string_view GetObid() const { return identity_.Get(kObid); }
  std::string_view GetModificationDate() const { return identity_.Get(kModificationDate); }
  std::string_view GetFileName() const { return names_.Get(kFileName); }
  std::string_view GetDbName() const { return identity_.Get(kDbName); }
  std::string_view GetClassName() const { return identity_.Get(kClassName); }
  std::string_view GetSortKey() const { return names_.Get(kSortKey); }

  // --- scratch mark of a directory check
  enum CheckMark : int { kUnmarked = 0, kKeep = 1, kDrop = 2 };
  int GetCheckMark() const { return checkMark_; }
  void SetCheckMark(int mark) { checkMark_ = mark; }

  // --- order of the list
  // By sortKey: a null first pointer 1, a null second -1, an empty first key
  // 1, an empty second key -1, else the byte comparison of the keys.
  static int Compare(const ZRBXmapFile* a, const ZRBXmapFile* b);
  // The same rule for two texts (empty texts last).
  static int CompareCADStrings(std::string_view a, std::string_view b);
  // The PDM dates of two objects name the same second (their first 19 characters agree).
  static bool SameDateToTheSecond(std::string_view a, std::string_view b) { return a.substr(0, 19) == b.substr(0, 19); }
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

  enum IdentityText : std::size_t { kObid, kModificationDate, kDbName, kClassName };
  enum NameText : std::size_t { kFileName, kSortKey };

  std::uint32_t fileModTime_ = 0;
  std::uint32_t lastAccess_ = 0;
  std::uint32_t fileSize_ = 0;
  ZRBPackedTexts<4> identity_;  // obid, modificationDate, dbName, className
  ZRBPackedTexts<2> names_;     // fileName, sortKey: fixed once the entry is made
  int validLength_ = 0;
  int checkMark_ = kUnmarked;
  // Place among entries of equal sortKey; set by the list that holds the entry.
  std::uint64_t listSeq_ = 0;
  std::size_t listSlot_ = 0;
};
