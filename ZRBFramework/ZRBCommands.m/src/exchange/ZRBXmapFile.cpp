#include "ZRBXmapFile.h"

#include "CADTime.h"
#include "ZRBContentFileCodec.h"
#include "ZRBLinkStatus.h"

namespace {

bool FitsFile(const CADString& text) { return text.GetLength() <= ZRBContentFileCodec::kMaxTextLength; }

// A time that no longer fits 32 bits is kept as the largest value; one before
// 1970 as 0.
std::uint32_t ClampTime(std::int64_t seconds) {
  return seconds < 0 ? 0u : ZRBContentFileCodec::Saturate(static_cast<std::uint64_t>(seconds));
}

}  // namespace

ZRBXmapFile::ZRBXmapFile() = default;

ZRBXmapFile::ZRBXmapFile(const CADString& obid, const CADString& modificationDate, const CADString& fileName,
                         const CADString& dbName, const CADString& className, const CADString& sortKey,
                         const CADString& directory)
    : obid_(obid),
      modificationDate_(modificationDate),
      fileName_(fileName),
      dbName_(dbName),
      className_(className),
      sortKey_(sortKey) {
  if (fileName_.IsEmpty()) return;
  Register(directory);
}

void ZRBXmapFile::Register(const CADString& directory) {
  Invalidate();
  lastAccess_ = ClampTime(CADTime::GetCurrentTime().GetTime());
  if (fileName_ == "." || fileName_ == ".." || fileName_.Find("/") >= 0) return;
  // An entry that could not be read back would end the reading of the
  // content file there and cost every entry after it.
  if (!TextsReadBack()) return;
  ZRBLinkStatus status = ZRBLinkStatus::Of(directory.str(), fileName_.str());
  if (!status.exists) return;
  fileModTime_ = ClampTime(status.modTime);
  fileSize_ = status.isRegular ? ZRBContentFileCodec::Saturate(status.size) : 0u;
  validLength_ = obid_.GetLength() + modificationDate_.GetLength() + fileName_.GetLength() + dbName_.GetLength() +
                 className_.GetLength();
}

bool ZRBXmapFile::TextsReadBack() const {
  return !obid_.IsEmpty() && !modificationDate_.IsEmpty() && !fileName_.IsEmpty() && !sortKey_.IsEmpty() &&
         FitsFile(obid_) && FitsFile(modificationDate_) && FitsFile(fileName_) && FitsFile(dbName_) &&
         FitsFile(className_) && FitsFile(sortKey_);
}

int ZRBXmapFile::Write(std::ostream* out) const {
  if (!out || !IsValid() || !TextsReadBack()) return 0;
  ZRBContentFileCodec::WriteUInt32(*out, fileModTime_);
  ZRBContentFileCodec::WriteUInt32(*out, lastAccess_);
  ZRBContentFileCodec::WriteUInt32(*out, fileSize_);
  for (const CADString* text : {&obid_, &modificationDate_, &fileName_, &dbName_, &className_, &sortKey_})
    ZRBContentFileCodec::WriteText(*out, text->str());
  return out->good() ? 1 : 0;
}

int ZRBXmapFile::Read(std::istream* in) {
  Invalidate();
  checkMark_ = kUnmarked;
  if (!in) return 0;
  std::string texts[6];
  if (!ZRBContentFileCodec::ReadUInt32(*in, fileModTime_) || !ZRBContentFileCodec::ReadUInt32(*in, lastAccess_) ||
      !ZRBContentFileCodec::ReadUInt32(*in, fileSize_))
    return 0;
  for (std::string& text : texts)
    if (!ZRBContentFileCodec::ReadText(*in, text)) return 0;
  obid_ = CADString(std::move(texts[0]));
  modificationDate_ = CADString(std::move(texts[1]));
  fileName_ = CADString(std::move(texts[2]));
  dbName_ = CADString(std::move(texts[3]));
  className_ = CADString(std::move(texts[4]));
  sortKey_ = CADString(std::move(texts[5]));
  if (obid_.IsEmpty() || modificationDate_.IsEmpty() || fileName_.IsEmpty() || sortKey_.IsEmpty()) return 0;
  validLength_ = obid_.GetLength() + modificationDate_.GetLength() + fileName_.GetLength() + dbName_.GetLength() +
                 className_.GetLength() + sortKey_.GetLength() + 28;
  return 1;
}

int ZRBXmapFile::Update(const CADString& obid, const CADString& modificationDate, const CADString& dbName,
                        const CADString& className, const CADString& directory) {
  obid_ = obid;
  modificationDate_ = modificationDate;
  dbName_ = dbName;
  className_ = className;
  checkMark_ = kUnmarked;
  Register(directory);
  return IsValid();
}

int ZRBXmapFile::CheckFileInXmap(const CADString& directory, int* unchanged) const {
  if (!unchanged) return 1;
  ZRBLinkStatus status = ZRBLinkStatus::Of(directory.str(), fileName_.str());
  *unchanged = status.exists && ClampTime(status.modTime) == fileModTime_ ? 1 : 0;
  return 1;
}

int ZRBXmapFile::GetAttrs(CADString& obid, CADString& modificationDate, CADString& fileName, CADString& dbName,
                          CADString& className) const {
  if (!IsValid()) return 0;
  obid = obid_;
  modificationDate = modificationDate_;
  fileName = fileName_;
  dbName = dbName_;
  className = className_;
  return 1;
}

int ZRBXmapFile::Compare(const ZRBXmapFile* a, const ZRBXmapFile* b) {
  if (!a) return 1;
  if (!b) return -1;
  return CompareCADStrings(a->sortKey_, b->sortKey_);
}

int ZRBXmapFile::CompareCADStrings(const CADString& a, const CADString& b) {
  if (a.IsEmpty()) return b.IsEmpty() ? 0 : 1;
  if (b.IsEmpty()) return -1;
  const int order = a.Compare(b.view());
  return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

int ZRBXmapFile::CompareByLastAccess(const ZRBXmapFile* a, const ZRBXmapFile* b) {
  if (!a) return 1;
  if (!b) return -1;
  if (a->lastAccess_ == b->lastAccess_) return 0;
  return a->lastAccess_ > b->lastAccess_ ? 1 : -1;
}
