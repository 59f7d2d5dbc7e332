#include "ZRBXmapFile.h"

#include "CADTime.h"
#include "ZRBContentFileCodec.h"
#include "ZRBLinkStatus.h"

namespace {

bool FitsFile(std::string_view text) {
  return text.size() <= static_cast<std::size_t>(ZRBContentFileCodec::kMaxTextLength);
}

// A time that no longer fits 32 bits is kept as the largest value; one before
// 1970 as 0.
std::uint32_t ClampTime(std::int64_t seconds) {
  return seconds < 0 ? 0u : ZRBContentFileCodec::Saturate(static_cast<std::uint64_t>(seconds));
}

}  // namespace

ZRBXmapFile::ZRBXmapFile() = default;

ZRBXmapFile::ZRBXmapFile(CADString obid, CADString modificationDate, CADString fileName, CADString dbName,
                         CADString className, CADString sortKey, const CADString& directory) {
  identity_.Set({obid.view(), modificationDate.view(), dbName.view(), className.view()});
  names_.Set({fileName.view(), sortKey.view()});
  if (fileName.IsEmpty()) return;
  Register(directory);
}

void ZRBXmapFile::Register(const CADString& directory) {
  Invalidate();
  lastAccess_ = ClampTime(CADTime::GetCurrentTime().GetTime());
  const std::string_view fileName = GetFileName();
  if (fileName == "." || fileName == ".." || fileName.find('/') != std::string_view::npos) return;
  // An entry that could not be read back would end the reading of the
  // content file there and cost every entry after it.
  if (!TextsReadBack()) return;
  ZRBLinkStatus status = ZRBLinkStatus::Of(directory.str(), std::string(fileName));
  if (!status.exists) return;
  fileModTime_ = ClampTime(status.modTime);
  fileSize_ = status.isRegular ? ZRBContentFileCodec::Saturate(status.size) : 0u;
  validLength_ = static_cast<int>(GetObid().size() + GetModificationDate().size() + fileName.size() +
                                  GetDbName().size() + GetClassName().size());
}

bool ZRBXmapFile::TextsReadBack() const {
  return !GetObid().empty() && !GetModificationDate().empty() && !GetFileName().empty() && !GetSortKey().empty() &&
         FitsFile(GetObid()) && FitsFile(GetModificationDate()) && FitsFile(GetFileName()) && FitsFile(GetDbName()) &&
         FitsFile(GetClassName()) && FitsFile(GetSortKey());
}

int ZRBXmapFile::Write(std::ostream* out) const {
  if (!out || !IsValid() || !TextsReadBack()) return 0;
  ZRBContentFileCodec::WriteUInt32(*out, fileModTime_);
  ZRBContentFileCodec::WriteUInt32(*out, lastAccess_);
  ZRBContentFileCodec::WriteUInt32(*out, fileSize_);
  for (std::string_view text :
       {GetObid(), GetModificationDate(), GetFileName(), GetDbName(), GetClassName(), GetSortKey()})
    ZRBContentFileCodec::WriteText(*out, text);
  return out->good() ? 1 : 0;
}

int ZRBXmapFile::Read(std::string_view& bytes) {
  Invalidate();
  checkMark_ = kUnmarked;
  if (!ZRBContentFileCodec::TakeUInt32(bytes, fileModTime_) || !ZRBContentFileCodec::TakeUInt32(bytes, lastAccess_) ||
      !ZRBContentFileCodec::TakeUInt32(bytes, fileSize_))
    return 0;
  std::string_view texts[6];
  for (std::string_view& text : texts)
    if (!ZRBContentFileCodec::TakeText(bytes, text)) return 0;
  identity_.Set({texts[0], texts[1], texts[3], texts[4]});
  names_.Set({texts[2], texts[5]});
  if (texts[0].empty() || texts[1].empty() || texts[2].empty() || texts[5].empty()) return 0;
  std::size_t total = 28;
  for (std::string_view text : texts) total += text.size();
  validLength_ = static_cast<int>(total);
  return 1;
}

int ZRBXmapFile::Update(const CADString& obid, const CADString& modificationDate, const CADString& dbName,
                        const CADString& className, const CADString& directory) {
  identity_.Set({obid.view(), modificationDate.view(), dbName.view(), className.view()});
  checkMark_ = kUnmarked;
  Register(directory);
  return IsValid();
}

int ZRBXmapFile::CheckFileInXmap(const CADString& directory, int* unchanged) const {
  if (!unchanged) return 1;
  ZRBLinkStatus status = ZRBLinkStatus::Of(directory.str(), std::string(GetFileName()));
  *unchanged = status.exists && ClampTime(status.modTime) == fileModTime_ ? 1 : 0;
  return 1;
}

int ZRBXmapFile::GetAttrs(CADString& obid, CADString& modificationDate, CADString& fileName, CADString& dbName,
                          CADString& className) const {
  if (!IsValid()) return 0;
  obid = CADString(GetObid());
  modificationDate = CADString(GetModificationDate());
  fileName = CADString(GetFileName());
  dbName = CADString(GetDbName());
  className = CADString(GetClassName());
  return 1;
}

int ZRBXmapFile::Compare(const ZRBXmapFile* a, const ZRBXmapFile* b) {
  if (!a) return 1;
  if (!b) return -1;
  return CompareCADStrings(a->GetSortKey(), b->GetSortKey());
}

int ZRBXmapFile::CompareCADStrings(std::string_view a, std::string_view b) {
  if (a.empty()) return b.empty() ? 0 : 1;
  if (b.empty()) return -1;
  const int order = a.compare(b);
  return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

int ZRBXmapFile::CompareByLastAccess(const ZRBXmapFile* a, const ZRBXmapFile* b) {
  if (!a) return 1;
  if (!b) return -1;
  if (a->lastAccess_ == b->lastAccess_) return 0;
  return a->lastAccess_ > b->lastAccess_ ? 1 : -1;
}
