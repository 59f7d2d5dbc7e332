#include "ZRBXmapManager.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "CADSystemServices.h"
#include "ZRBContentFileCodec.h"
#include "ZRBFileUtil.h"
#include "ZRBLinkStatus.h"
#include "ZRBReplacingFile.h"
#include "ZRBTrace.h"

namespace {

constexpr std::uint32_t kHeaderInteger = 4;

// The stream's remaining bytes: parsing them from memory spares the stream
// calls of each field.
std::string ReadAll(std::istream& in) {
  std::string bytes;
  // Sized from the stream where it tells its length (files do).
  const std::istream::pos_type start = in.tellg();
  if (start != std::istream::pos_type(-1) && in.seekg(0, std::ios::end)) {
    const std::istream::pos_type end = in.tellg();
    in.seekg(start);
    if (end != std::istream::pos_type(-1) && end > start && in) {
      bytes.resize(static_cast<std::size_t>(end - start));
      in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
      bytes.resize(static_cast<std::size_t>(in.gcount()));
    }
  }
  // Then whatever else there is: a stream of unknown length, a file that grew meanwhile.
  in.clear(in.rdstate() & ~std::ios::failbit);
  char chunk[64 * 1024];
  while (in.read(chunk, sizeof chunk) || in.gcount() > 0) bytes.append(chunk, static_cast<std::size_t>(in.gcount()));
  return bytes;
}

}  // namespace

ZRBXmapManager::ZRBXmapManager() = default;
ZRBXmapManager::~ZRBXmapManager() = default;

void ZRBXmapManager::SetContentFileFullPath(CADUnicodeString path) {
  contentFilePath_ = std::move(path);
  directory_ = ZRBFileUtil::GetDirPathFromFilePath(contentFilePath_, 0);
  directoryText_ = directory_.ConvertToString();
}

CADString ZRBXmapManager::NameOf(const CADString& path) {
  const int slash = path.FindLast("/");
  return slash < 0 ? path : path.SubString(slash + 1);
}

CADString ZRBXmapManager::SortKeyFor(const CADString& fileName) {
  if (!fileName.EndsWith(".vis")) return fileName;
  int at = fileName.Find(".CADPart.", 1);
  if (at >= 0) return fileName.SubString(0, at + 8);
  at = fileName.Find(".model.", 1);
  if (at >= 0) return fileName.SubString(0, at + 6);
  return fileName;
}

// --- content file

int ZRBXmapManager::ReadContentFile() {
  ZRB_TRACE("ZRBXmapManager::ReadContentFile");
  if (contentFilePath_.IsEmpty()) return 0;
  std::ifstream in(contentFilePath_.str(), std::ios::binary);
  const int result = ReadContent(in);
  if (result) ZRB_TRACE_OK();
  return result;
}

int ZRBXmapManager::ReadContent(std::istream& in) {
  // What the list held belongs to another file (or an older state of it).
  list_.Clear();
  modified_ = 0;
  if (!in.good()) return 1;
  const std::string bytes = ReadAll(in);
  std::string_view rest = bytes;
  if (rest.size() < static_cast<std::size_t>(ZRBXmapFile::kHeaderLength)) return 0;
  const std::string_view magic = rest.substr(0, ZRBXmapFile::kMagicLength);
  rest.remove_prefix(ZRBXmapFile::kMagicLength);
  std::uint32_t header[3] = {0, 0, 0};
  for (std::uint32_t& value : header) ZRBContentFileCodec::TakeUInt32(rest, value);
  // Another version (also a file written with the other byte order, whose
  // 4s read as 0x04000000): ignored, and replaced by the next Write.
  if (magic != ZRBXmapFile::kMagic || header[0] != kHeaderInteger || header[1] != kHeaderInteger ||
      header[2] != kHeaderInteger) {
    ZRB_DEBUG("ZRB: content file %s has another version, ignored", contentFilePath_.c_str());
    return 1;
  }
  std::vector<std::unique_ptr<ZRBXmapFile>> entries;
  while (!rest.empty()) {
    auto entry = std::make_unique<ZRBXmapFile>();
    if (!entry->Read(rest)) {
      ZRB_DEBUG("ZRB: content file %s damaged after %zu entries", contentFilePath_.c_str(), entries.size());
      break;
    }
    entries.push_back(std::move(entry));
  }
  list_.InsertAll(std::move(entries));
  return 1;
}

std::string ZRBXmapManager::ContentBytes() const {
  std::ostringstream bytes;
  bytes.write(ZRBXmapFile::kMagic, ZRBXmapFile::kMagicLength);
  for (int i = 0; i < 3; ++i) ZRBContentFileCodec::WriteUInt32(bytes, kHeaderInteger);
  for (const ZRBXmapFile* entry : list_.InOrder()) entry->Write(&bytes);
  return std::move(bytes).str();
}

int ZRBXmapManager::Write() {
  ZRB_TRACE("ZRBXmapManager::Write");
  modified_ = 0;
  if (contentFilePath_.IsEmpty()) return 0;
  const std::string bytes = ContentBytes();
  ZRBReplacingFile file;
  if (!file.Open(contentFilePath_.view()) || !file.Write(bytes) || !file.Commit()) {
    ZRB_DEBUG("ZRB: could not write content file %s: %s", contentFilePath_.c_str(), file.Error().c_str());
    return 1;
  }
  ZRB_TRACE_OK();
  return 1;
}

void ZRBXmapManager::ClearList() {
  if (list_.Size() > 0) modified_ = 1;
  list_.Clear();
}

// --- registration

void ZRBXmapManager::AddFile(const CADString& obid, const CADString& modificationDate, const CADString& path,
                             const CADString& dbName, const CADString& className) {
  // Without a directory a bare name would be looked up where the process happens to run.
  if (directory_.IsEmpty()) return;
  CADString fileName = NameOf(path);
  CADString sortKey = SortKeyFor(fileName);
  auto entry = std::make_unique<ZRBXmapFile>(obid, modificationDate, std::move(fileName), dbName, className,
                                             std::move(sortKey), DirectoryText());
  if (!entry->IsValid()) {
    ZRB_DEBUG("ZRB: %s not registered in %s", fileName.c_str(), directory_.c_str());
    return;
  }
  list_.Insert(std::move(entry));
  modified_ = 1;
}

void ZRBXmapManager::UpdateFile(const CADString& obid, const CADString& modificationDate, const CADString& path,
                                const CADString& dbName, const CADString& className) {
  ZRBXmapFile* entry = list_.FindByFileName(NameOf(path).view());
  if (!entry || directory_.IsEmpty()) {
    AddFile(obid, modificationDate, path, dbName, className);
    return;
  }
  // An entry whose file vanished stays in place, invalid: Write skips it
  // and the next Check drops it.
  entry->Update(obid, modificationDate, dbName, className, DirectoryText());
  modified_ = 1;
}

int ZRBXmapManager::FileExist(const CADString& obid, const CADString& modificationDate, const CADString& path,
                              const CADString& dbName, const CADString& className) {
  const ZRBXmapFile* entry = list_.FindByFileName(NameOf(path).view());
  if (!entry || !entry->IsValid() || directory_.IsEmpty()) return 0;
  int unchanged = 0;
  entry->CheckFileInXmap(DirectoryText(), &unchanged);
  return unchanged && entry->GetObid() == obid.view() && entry->GetModificationDate() == modificationDate.view() &&
                 entry->GetDbName() == dbName.view() && entry->GetClassName() == className.view()
             ? 1
             : 0;
}

// --- keeping the list in line with the directory

void ZRBXmapManager::HandleUnlistedFile(const CADString& name, const CADListValCADUnicodeString* extensions,
                                        int removeUnknown) {
  const CADUnicodeString path = CADMakePath(directory_, CADUnicodeString(name));
  const ZRBLinkStatus status = ZRBLinkStatus::Of(path.str());
  if (!status.isRegular && !status.isLink) return;
  bool remove = false;
  if (removeUnknown) {
    remove = name != ZRBFileUtil::GetFileNameFromPath(contentFilePath_).ConvertToString();
  } else if (extensions) {
    for (const CADUnicodeString& extension : *extensions)
      if (ZRBFileUtil::HasExtension(path, extension)) remove = true;
  }
  if (!remove) return;
  if (FAILED(CADDeleteFile(path))) ZRB_DEBUG("ZRB: could not delete %s", path.c_str());
}

int ZRBXmapManager::Check(const CADListValCADUnicodeString* extensions, const int& removeUnknown) {
  ZRB_TRACE("ZRBXmapManager::Check");
  CADListValCADUnicodeString names;
  if (directory_.IsEmpty() || FAILED(CADListDirectory(directory_, names))) {
    ZRB_DEBUG("Could not access %s", directory_.c_str());
    return 0;
  }
  const CADString& directory = DirectoryText();
  for (const CADUnicodeString& unicodeName : names) {
    const CADString name = unicodeName.ConvertToString();
    // By file name: for vis files the list's order (by model name) and the
    // directory's differ, so a walk in step would take listed files for unknown ones.
    ZRBXmapFile* entry = list_.FindByFileName(name.view());
    if (entry && entry->GetCheckMark() == ZRBXmapFile::kUnmarked) {
      int unchanged = 0;
      entry->CheckFileInXmap(directory, &unchanged);
      if (unchanged && entry->IsValid()) {
        entry->SetCheckMark(ZRBXmapFile::kKeep);
        continue;
      }
      entry->SetCheckMark(ZRBXmapFile::kDrop);
    }
    HandleUnlistedFile(name, extensions, removeUnknown);
  }
  for (ZRBXmapFile* entry : list_.InOrder()) {
    if (entry->GetCheckMark() == ZRBXmapFile::kKeep) {
      entry->SetCheckMark(ZRBXmapFile::kUnmarked);
      continue;
    }
    list_.Erase(entry);
    modified_ = 1;
  }
  ZRB_TRACE_OK();
  return 1;
}

int ZRBXmapManager::RemoveCacheFilesToLimit(const unsigned int& limitKb) {
  ZRB_TRACE("ZRBXmapManager::RemoveCacheFilesToLimit");
  std::vector<std::unique_ptr<ZRBXmapFile>> entries = list_.TakeAll();
  std::stable_sort(entries.begin(), entries.end(),
                   [](const auto& a, const auto& b) { return ZRBXmapFile::CompareByLastAccess(a.get(), b.get()) < 0; });
  unsigned long long totalKb = 0;
  for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
    const unsigned long long sizeKb = (*entry)->GetFileSize() / 1024u;
    if (totalKb + sizeKb < limitKb) {
      totalKb += sizeKb;
      continue;
    }
    if (!directory_.IsEmpty()) {
      const CADUnicodeString path = CADMakePath(directory_, CADUnicodeString((*entry)->GetFileName()));
      ZRB_DEBUG("ZRB: cache limit, deleting %s", path.c_str());
      CADDeleteFile(path);
    }
    entry->reset();
    modified_ = 1;
  }
  std::stable_sort(entries.begin(), entries.end(),
                   [](const auto& a, const auto& b) { return ZRBXmapFile::Compare(a.get(), b.get()) < 0; });
  for (auto& entry : entries)
    if (entry) list_.Insert(std::move(entry));
  Write();
  ZRB_TRACE_OK();
  return 1;
}

// --- vis files another object's model would inherit

int ZRBXmapManager::CheckFileVersionInReleasedChache(const CADString& obid, const CADString& modificationDate,
                                                     const CADString& path, const CADString&, const CADString&) {
  ZRB_TRACE("ZRBXmapManager::CheckFileVersionInReleasedChache");
  const ZRBXmapFile* entry = list_.FindBySortKey(NameOf(path).view());
  if (entry && !directory_.IsEmpty() && entry->GetObid() != obid.view() &&
      ZRBXmapFile::SameDateToTheSecond(entry->GetModificationDate(), modificationDate.view())) {
    const CADUnicodeString stale = CADMakePath(directory_, CADUnicodeString(entry->GetFileName()));
    ZRB_DEBUG("ZRB: released cache file %s belongs to another object, deleted", stale.c_str());
    CADDeleteFile(stale);
    list_.Erase(entry);
    modified_ = 1;
  }
  ZRB_TRACE_OK();
  return 1;
}

// --- reading the list

std::vector<const ZRBXmapFile*> ZRBXmapManager::GetEntries() const {
  std::vector<ZRBXmapFile*> order = list_.InOrder();
  return {order.begin(), order.end()};
}

const ZRBXmapFile* ZRBXmapManager::FindByFileName(const CADString& fileName) const {
  return list_.FindByFileName(fileName.view());
}

const ZRBXmapFile* ZRBXmapManager::FindBySortKey(const CADString& sortKey) const {
  return list_.FindBySortKey(sortKey.view());
}

int ZRBXmapManager::RemoveEntry(const CADString& fileName) {
  const ZRBXmapFile* entry = list_.FindByFileName(fileName.view());
  if (!entry) return 0;
  list_.Erase(entry);
  modified_ = 1;
  return 1;
}
