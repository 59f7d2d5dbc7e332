// The list of cached files the PDM is told about: the merge of the exchange
// map's and the released cache's lists.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "XmapScratchDirectory.h"
#include "ZRBObjectManager.h"
#include "ZRBPdmContentList.h"
#include "ZRBXmapManager.h"

namespace {

struct Listed {
  const char* fileName;
  const char* obid;
  const char* date;
};

struct Advertised {
  std::string key;
  std::string modTime;
  std::string xmap;
  std::string relCache;
  bool operator==(const Advertised&) const = default;
};

void PrintTo(const Advertised& a, std::ostream* out) {
  *out << "{" << a.key << " MODTIME=" << a.modTime << " XMAP=" << a.xmap << " REL_CACHE=" << a.relCache << "}";
}

constexpr const char* kD1 = "2024-01-01 10:00:00.000";
constexpr const char* kD2 = "2024-02-02 10:00:00.000";

TEST(PdmContentListTest, MergesBySortKey) {
  struct MergeCase {
    const char* what;
    std::vector<Listed> xmap, released;
    std::vector<Advertised> expected;
    std::vector<std::string> releasedFilesLeft;
  };
  for (const MergeCase& c :
       {MergeCase{"only in the exchange map", {{"a.CADPart", "A", kD1}}, {}, {{"A", kD1, "1", ""}}, {}},
        MergeCase{
            "only in the released cache", {}, {{"b.CADPart.vis", "B", kD1}}, {{"B", kD1, "", "1"}}, {"b.CADPart.vis"}},
        MergeCase{"same key, another object",
                  {{"c.CADPart", "C1", kD1}},
                  {{"c.CADPart.vis", "C2", kD2}},
                  {{"C2", kD2, "", "1"}, {"C1", kD1, "1", ""}},
                  {"c.CADPart.vis"}},
        MergeCase{"same object, another date: the released copy goes",
                  {{"d.CADPart", "D", kD2}},
                  {{"d.CADPart.vis", "D", kD1}},
                  {{"D", kD2, "1", ""}},
                  {}},
        MergeCase{"same object and date",
                  {{"e.model", "E", kD1}},
                  {{"e.model.vis", "E", kD1}},
                  {{"E", kD1, "1", "1"}},
                  {"e.model.vis"}},
        MergeCase{"interleaved",
                  {{"a.CADPart", "A", kD1}, {"c.CADPart", "C", kD1}},
                  {{"b.CADPart.vis", "B", kD1}, {"c.CADPart.vis", "C", kD1}, {"d.model.vis", "D", kD1}},
                  {{"A", kD1, "1", ""}, {"B", kD1, "", "1"}, {"C", kD1, "1", "1"}, {"D", kD1, "", "1"}},
                  {"b.CADPart.vis", "c.CADPart.vis", "d.model.vis"}},
        MergeCase{"both empty", {}, {}, {}, {}}}) {
    XmapScratchDirectory dir;
    auto fill = [&](ZRBXmapManager& manager, const std::string& directory, const std::vector<Listed>& files) {
      dir.MakeDirectory(directory);
      manager.SetContentFileFullPath(dir.Path(directory + "/content.zrb"));
      for (const Listed& file : files) {
        dir.Write(directory + "/" + file.fileName);
        manager.AddFile(file.obid, file.date, CADString(dir.Path(directory + "/" + file.fileName)), "DB", "Part");
      }
    };
    ZRBXmapManager xmap, released;
    fill(xmap, "x", c.xmap);
    fill(released, "r", c.released);
    ZRBObjectManager list;
    const int made = ZRBPdmContentList::Build(xmap, released, list);
    std::vector<Advertised> objects;
    for (ZRBObject* o = list.GetFirstObject(); o; o = list.GetNextObject(o))
      objects.push_back({o->GetKey().str(), o->GetSlotValue("MODTIME").str(), o->GetSlotValue("XMAP").str(),
                         o->GetSlotValue("REL_CACHE").str()});
    EXPECT_EQ(objects, c.expected) << c.what;
    EXPECT_EQ(made, static_cast<int>(c.expected.size())) << c.what;
    EXPECT_EQ(dir.List("r"), c.releasedFilesLeft) << c.what;
  }
}

}  // namespace
