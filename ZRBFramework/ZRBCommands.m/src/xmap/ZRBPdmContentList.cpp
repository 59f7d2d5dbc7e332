#include "ZRBPdmContentList.h"

#include <vector>

#include "CADSystemServices.h"
#include "ZRBObjectManager.h"
#include "ZRBTrace.h"
#include "ZRBXmapManager.h"

namespace {

void AddObject(ZRBObjectManager& out, const ZRBXmapFile& file, bool inXmap, bool inReleased) {
  ZRBObject* object = out.CreateObject(file.GetObid());
  if (!object) return;
  object->SetSlotValue("MODTIME", file.GetModificationDate());
  if (inReleased) object->SetSlotValue("REL_CACHE", "1");
  if (inXmap) object->SetSlotValue("XMAP", "1");
}

// The entries worth telling the PDM about: an entry whose file vanished at
// its last registration stays listed (invalid) until the next check.
std::vector<const ZRBXmapFile*> ValidEntries(const ZRBXmapManager& manager) {
  std::vector<const ZRBXmapFile*> entries = manager.GetEntries();
  std::erase_if(entries, [](const ZRBXmapFile* entry) { return !entry->IsValid(); });
  return entries;
}

}  // namespace

int ZRBPdmContentList::Build(const ZRBXmapManager& xmap, ZRBXmapManager& released, ZRBObjectManager& out) {
  ZRB_TRACE("ZRBPdmContentList::Build");
  const std::vector<const ZRBXmapFile*> x = ValidEntries(xmap);
  const std::vector<const ZRBXmapFile*> r = ValidEntries(released);
  std::vector<CADString> outdatedReleased;
  int made = 0;
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < x.size() || j < r.size()) {
    const ZRBXmapFile* xi = i < x.size() ? x[i] : nullptr;
    const ZRBXmapFile* rj = j < r.size() ? r[j] : nullptr;
    const int order = ZRBXmapFile::Compare(xi, rj);
    if (order < 0) {
      AddObject(out, *xi, true, false);
      ++i;
    } else if (order > 0) {
      AddObject(out, *rj, false, true);
      ++j;
    } else if (xi->GetObid() != rj->GetObid()) {
      AddObject(out, *rj, false, true);
      AddObject(out, *xi, true, false);
      ++made;
      ++i;
      ++j;
    } else if (xi->GetModificationDate() != rj->GetModificationDate()) {
      // The released copy is of another version of the object.
      outdatedReleased.push_back(rj->GetFileName());
      AddObject(out, *xi, true, false);
      ++i;
      ++j;
    } else {
      AddObject(out, *xi, true, true);
      ++i;
      ++j;
    }
    ++made;
  }
  if (released.GetDirectory().IsEmpty()) outdatedReleased.clear();
  for (const CADString& name : outdatedReleased) {
    const CADUnicodeString path = CADMakePath(released.GetDirectory(), CADUnicodeString(name));
    ZRB_DEBUG("ZRB: released cache file %s is outdated, deleted", path.c_str());
    CADDeleteFile(path);
    released.RemoveEntry(name);
  }
  ZRB_TRACE_OK();
  return made;
}
