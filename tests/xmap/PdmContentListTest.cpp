// The list of cached files the PDM is told about: the merge of the exchange
// map's and the released cache's lists.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CaseText.h"
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

struct MergeCase {
  // Shown in test names and failures instead of the bytes of the case.
  friend void PrintTo(const MergeCase& c, std::ostream* out) { *out << '"' << ZrbCaseText(c.what) << '"'; }
  const char* what;
  std::vector<Listed> xmap;
  std::vector<Listed> released;
  std::vector<Advertised> expected;
  std::vector<std::string> releasedFilesLeft;
};

class PdmContentListTest : public ::testing::TestWithParam<MergeCase> {
 protected:
  void Fill(ZRBXmapManager& manager, const std::string& directory, const std::vector<Listed>& files) {
    dir_.MakeDirectory(directory);
    manager.SetContentFileFullPath(dir_.Path(directory + "/content.zrb"));
    for (const Listed& file : files) {
      dir_.Write(directory + "/" + file.fileName);
      manager.AddFile(file.obid, file.date, CADString(dir_.Path(directory + "/" + file.fileName)), "DB", "Part");
    }
  }
  static std::vector<Advertised> Objects(const ZRBObjectManager& list) {
    std::vector<Advertised> objects;
    for (ZRBObject* o = list.GetFirstObject(); o; o = list.GetNextObject(o))
      objects.push_back({o->GetKey().str(), o->GetSlotValue("MODTIME").str(), o->GetSlotValue("XMAP").str(),
                         o->GetSlotValue("REL_CACHE").str()});
    return objects;
  }

  XmapScratchDirectory dir_;
};

constexpr const char* kD1 = "2024-01-01 10:00:00.000";
constexpr const char* kD2 = "2024-02-02 10:00:00.000";

TEST_P(PdmContentListTest, MergesBySortKey) {
  const MergeCase& c = GetParam();
  ZRBXmapManager xmap, released;
  Fill(xmap, "x", c.xmap);
  Fill(released, "r", c.released);
  ZRBObjectManager list;
  const int made = ZRBPdmContentList::Build(xmap, released, list);
  EXPECT_EQ(Objects(list), c.expected) << c.what;
  EXPECT_EQ(made, static_cast<int>(c.expected.size())) << c.what;
  EXPECT_EQ(dir_.List("r"), c.releasedFilesLeft) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PdmContentListTest,
    ::testing::Values(
        MergeCase{"only in the exchange map", {{"a.CADPart", "A", kD1}}, {}, {{"A", kD1, "1", ""}}, {}},
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
        MergeCase{"both empty", {}, {}, {}, {}}));

}  // namespace
