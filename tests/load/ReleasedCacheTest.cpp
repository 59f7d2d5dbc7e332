// The released cache before a read request: vis files of documents the session uses stay, the others go when
// cleaning is on; the host's time stamp in a vis name is recognised by its shape, not by the name's length.
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "CADDocumentServices.h"
#include "CommandFixture.h"
#include "StructureAnswer.h"
#include "XmapScratchDirectory.h"
#include "ZRBCacheVisName.h"
#include "ZRBReadCmd.h"

namespace {
namespace fs = std::filesystem;

struct VisNameCase {
  const char* name;
  int stamped;
  const char* base;
  int hasTimeStamp;
};

TEST(CacheVisName, TheTimeStampIsRecognisedByItsShape) {
  for (const VisNameCase& c :
       {VisNameCase{"Bolt.CADPart.2005-03-02-14.05.09.vis", 1, "Bolt.CADPart", 1},
        VisNameCase{"Bolt.CADPart.2005-03-02-14.05.09.vis", 0, "Bolt.CADPart.2005-03-02-14.05.09", 1},
        VisNameCase{"a-rather-long-model-name.CADPart.vis", 1, "a-rather-long-model-name.CADPart", 0},
        VisNameCase{"Bolt.CADPart.2005-03-02-14:05:09.vis", 1, "Bolt.CADPart.2005-03-02-14:05:09", 0},
        VisNameCase{"Bolt.CADPart.2005-03-0x-14.05.09.vis", 1, "Bolt.CADPart.2005-03-0x-14.05.09", 0},
        VisNameCase{".2005-03-02-14.05.09.vis", 1, ".2005-03-02-14.05.09", 0},
        VisNameCase{"Bolt.CADPart.vis", 1, "Bolt.CADPart", 0}, VisNameCase{"Bolt.CADPart", 1, "Bolt.CADPart", 0}}) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ZRBCacheVisName::HasTimeStamp(c.name), c.hasTimeStamp);
    EXPECT_EQ(ZRBCacheVisName::BaseName(c.name, c.stamped).str(), c.base);
  }
}

class ReleasedCacheTest : public CommandFixture {
 protected:
  void SetUp() override {
    CommandFixture::SetUp();
    CADDocumentServices::ResetSession();
    xmap = scratch.MakeDirectory("xmap");
    released = scratch.MakeDirectory("released");
    CADDocument* document = nullptr;
    const CADUnicodeString model(scratch.Write("xmap/" + kLongModel, StructureAnswer::PartFile("Bolt")));
    ASSERT_TRUE(SUCCEEDED(CADDocumentServices::OpenDocument(model, document)));
    SetVariable("ZRB_USERELEASEDCACHE", "ON");
  }
  void TearDown() override {
    CADDocumentServices::ResetSession();
    CommandFixture::TearDown();
  }

  // Tidies the released cache as a read does before its request; the names left there, sorted.
  std::vector<std::string> Tidy(HRESULT expected = S_OK) {
    auto* read = new ZRBReadCmd(1);
    EXPECT_EQ(read->DeleteNotLoadedVisFromReleasedCache(CADUnicodeString(xmap), CADUnicodeString(released)), expected);
    EXPECT_EQ(read->RestoreTimeStampInReleasedCacheFiles(), S_OK);
    read->RequestDelayedDestruction();
    Loop().RunPending();
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(released)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  void Fill() {
    for (const std::string& name : {kLongModel + ".vis", kLongModel + ".2024-05-01-10.00.00.vis",
                                    std::string("Gone.CADPart.2024-05-01-10.00.00.vis"),
                                    std::string("Gone.CADPart.vis"), std::string("notes.txt")}) {
      std::ofstream(released + "/" + name) << "vis\n";
    }
  }

  const std::string kLongModel = "LongModelNameInTheExchangeMap.CADPart";
  XmapScratchDirectory scratch;
  std::string xmap;
  std::string released;
};

TEST_F(ReleasedCacheTest, OnlyCleaningWithTheReleasedCacheDeletesAndKeepsTheVisFilesOfLoadedModels) {
  Fill();
  EXPECT_EQ(Tidy().size(), 5u) << "cleaning off";
  SetVariable("ZRB_CLEANRELEASEDCACHE", "ON");
  SetVariable("ZRB_USERELEASEDCACHE", nullptr);
  EXPECT_EQ(Tidy().size(), 5u) << "released cache not used";
  SetVariable("ZRB_USERELEASEDCACHE", "ON");
  EXPECT_EQ(Tidy(),
            (std::vector<std::string>{kLongModel + ".2024-05-01-10.00.00.vis", kLongModel + ".vis", "notes.txt"}));
  fs::remove_all(released);
  auto* read = new ZRBReadCmd(1);
  EXPECT_EQ(read->DeleteNotLoadedVisFromReleasedCache(CADUnicodeString(xmap), CADUnicodeString(released)), E_FAIL)
      << "an unreadable released cache fails";
  read->RequestDelayedDestruction();
  Loop().RunPending();
}

}  // namespace
