// The indexed list against the plain rule it stands for: a list walked from
// the end on insertion, searched front to back on lookup.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "ZRBContentFileCodec.h"
#include "ZRBXmapFileList.h"

namespace {

std::unique_ptr<ZRBXmapFile> Entry(const std::string& fileName, const std::string& sortKey, int serial) {
  std::ostringstream bytes;
  for (std::uint32_t value : {1u, static_cast<std::uint32_t>(serial), 3u})
    ZRBContentFileCodec::WriteUInt32(bytes, value);
  for (const std::string& text : {std::string("OB"), std::string("D"), fileName, std::string(), std::string(), sortKey})
    ZRBContentFileCodec::WriteText(bytes, text);
  const std::string written = bytes.str();
  std::string_view rest = written;
  auto entry = std::make_unique<ZRBXmapFile>();
  EXPECT_EQ(entry->Read(rest), 1);
  return entry;
}

// The rule written out: insert after the last entry that does not sort after the new one.
struct ReferenceList {
  std::vector<const ZRBXmapFile*> items;
  void Insert(const ZRBXmapFile* entry) {
    auto at = items.end();
    while (at != items.begin() && ZRBXmapFile::Compare(entry, *(at - 1)) < 0) --at;
    items.insert(at, entry);
  }
  const ZRBXmapFile* FindByFileName(const std::string& name) const {
    for (const ZRBXmapFile* item : items)
      if (std::string(item->GetFileName()) == name) return item;
    return nullptr;
  }
  const ZRBXmapFile* FindBySortKey(const std::string& key) const {
    for (const ZRBXmapFile* item : items)
      if (std::string(item->GetSortKey()) == key) return item;
    return nullptr;
  }
};

TEST(XmapFileListTest, AgreesWithTheLinearListUnderRandomChanges) {
  std::mt19937 random(20240607);
  const char* keys[] = {"a", "b", "b.CADPart", "c", "d.model", "e"};
  for (int round = 0; round < 20; ++round) {
    ZRBXmapFileList list;
    ReferenceList reference;
    int serial = 0;
    for (int step = 0; step < 400; ++step) {
      const int action = static_cast<int>(random() % 10);
      if (action < 6 || reference.items.empty()) {
        const std::string key = keys[random() % 6];
        const std::string name = key + (random() % 2 ? ".vis" : "") + std::to_string(random() % 8);
        reference.Insert(list.Insert(Entry(name, key, ++serial)));
      } else if (action < 8) {
        const std::size_t at = random() % reference.items.size();
        const ZRBXmapFile* victim = reference.items[at];
        reference.items.erase(reference.items.begin() + static_cast<long>(at));
        list.Erase(victim);
      } else {
        std::vector<ZRBXmapFile*> walked = list.InOrder();
        ASSERT_EQ(std::vector<const ZRBXmapFile*>(walked.begin(), walked.end()), reference.items)
            << "round " << round << " step " << step;
      }
      const std::string key = keys[random() % 6];
      ASSERT_EQ(list.FindBySortKey(key), reference.FindBySortKey(key)) << key;
      const std::string name = key + std::to_string(random() % 8);
      ASSERT_EQ(list.FindByFileName(name), reference.FindByFileName(name)) << name;
      ASSERT_EQ(list.Size(), static_cast<int>(reference.items.size()));
    }
    std::vector<std::unique_ptr<ZRBXmapFile>> taken = list.TakeAll();
    ASSERT_EQ(taken.size(), reference.items.size());
    for (std::size_t i = 0; i < taken.size(); ++i) EXPECT_EQ(taken[i].get(), reference.items[i]);
    EXPECT_EQ(list.Size(), 0);
    EXPECT_EQ(list.FindBySortKey("a"), nullptr);
  }
}

TEST(XmapFileListTest, ErasingWhatItDoesNotHoldChangesNothing) {
  ZRBXmapFileList list;
  list.Insert(Entry("a", "a", 1));
  auto stranger = Entry("a", "a", 2);
  list.Erase(stranger.get());
  list.Erase(nullptr);
  EXPECT_EQ(list.Size(), 1);
}

}  // namespace
