// The content file of a cache directory: what it keeps, what it refuses, and
// what a damaged or foreign file leaves in the list.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "XmapFixtures.h"

namespace {

// Content-file bytes built by hand: little-endian integers, texts with their length.
class ContentBytes {
 public:
  ContentBytes& Raw(std::string_view bytes) {
    data_ += bytes;
    return *this;
  }
  ContentBytes& Int(std::uint32_t value) {
    for (int i = 0; i < 4; ++i) data_ += static_cast<char>((value >> (8 * i)) & 0xFF);
    return *this;
  }
  ContentBytes& Text(std::string_view text) { return Int(static_cast<std::uint32_t>(text.size())).Raw(text); }
  ContentBytes& Header() { return Raw("ZRB_CONT_V2.0.0").Int(4).Int(4).Int(4); }
  ContentBytes& Entry(std::string_view fileName, std::string_view obid = "OB1", std::uint32_t modTime = 1000,
                      std::uint32_t access = 2000, std::uint32_t size = 3000) {
    return Int(modTime)
        .Int(access)
        .Int(size)
        .Text(obid)
        .Text("2024-01-02 03:04:05.000")
        .Text(fileName)
        .Text("DB")
        .Text("Part")
        .Text(fileName);
  }
  const std::string& str() const { return data_; }

 private:
  std::string data_;
};

class ContentFileTest : public ContentManagerFixture {
 protected:
  void Add(const std::string& name, const char* obid = "OB1", const char* date = "2024-01-02 03:04:05.000") {
    manager_.AddFile(obid, date, CADString(dir_.Path(name)), "DB", "Part");
  }
};

TEST_F(ContentFileTest, RoundTripKeepsEveryFieldAndTheOrder) {
  dir_.WriteSized("b.CADPart", 5000);
  dir_.SetModTime("b.CADPart", 1600000000);
  dir_.Write("a.CADPart.vis", "vis");
  dir_.Write("a.CADPart", "part");
  Add("b.CADPart", "OB-B");
  Add("a.CADPart.vis", "OB-A");
  Add("a.CADPart", "OB-A");
  ASSERT_EQ(manager_.Write(), 1);

  ZRBXmapManager fresh;
  ASSERT_EQ(ReadBack(fresh), 1);
  ASSERT_EQ(Names(fresh), Names(manager_));
  EXPECT_EQ(Names(fresh), (std::vector<std::string>{"a.CADPart.vis", "a.CADPart", "b.CADPart"}));
  const ZRBXmapFile* b = fresh.FindByFileName("b.CADPart");
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->GetFileModTime(), 1600000000u);
  EXPECT_EQ(b->GetLastAccess(), now_);
  EXPECT_EQ(b->GetFileSize(), 5000u);
  EXPECT_EQ(b->GetObid(), "OB-B");
  EXPECT_EQ(b->GetModificationDate(), "2024-01-02 03:04:05.000");
  EXPECT_EQ(b->GetDbName(), "DB");
  EXPECT_EQ(b->GetClassName(), "Part");
  EXPECT_EQ(b->GetSortKey(), "b.CADPart");
  // Reading again replaces the list instead of adding to it.
  ASSERT_EQ(fresh.ReadContentFile(), 1);
  EXPECT_EQ(fresh.Size(), 3);
}

TEST_F(ContentFileTest, WritesLittleEndianBytesWhateverTheMachine) {
  dir_.WriteSized("p.model", 0x0102);
  dir_.SetModTime("p.model", 0x01020304);
  now_ = 0x0A0B0C0D;
  Add("p.model", "O");
  ASSERT_EQ(manager_.Write(), 1);
  const std::string expected = ContentBytes().Header().Entry("p.model", "O", 0x01020304, 0x0A0B0C0D, 0x0102).str();
  EXPECT_EQ(dir_.Read("content.zrb"), expected);
  // The file is replaced whole: nothing is left beside it.
  EXPECT_EQ(dir_.List(), (std::vector<std::string>{"content.zrb", "p.model"}));
}

TEST_F(ContentFileTest, ADamagedFileKeepsWhatPrecedesTheDamage) {
  const auto cut = [](const ContentBytes& bytes, std::size_t length) { return bytes.str().substr(0, length); };
  const auto header = [] { return ContentBytes().Header(); };
  struct D {
    const char* what;
    std::string bytes;
    int result;
    std::vector<std::string> kept;
  };
  const D cases[] = {
      {"another version", ContentBytes().Raw("ZRB_CONT_V1.0.0").Int(4).Int(4).Int(4).Entry("a").str(), 1, {}},
      {"written with the other byte order",
       ContentBytes().Raw("ZRB_CONT_V2.0.0").Int(0x04000000).Int(0x04000000).Int(0x04000000).Entry("a").str(),
       1,
       {}},
      {"a 26-byte header", cut(header(), 26), 0, {}},
      {"header only", header().str(), 1, {}},
      {"length 1025 in the second entry",
       header().Entry("a").Int(1).Int(2).Int(3).Int(1025).Raw(std::string(1025, 'x')).str(),
       1,
       {"a"}},
      {"negative length", header().Entry("a").Int(1).Int(2).Int(3).Int(0xFFFFFFFF).str(), 1, {"a"}},
      {"entry cut short", cut(header().Entry("a").Entry("b"), 27 + 70 + 10), 1, {"a"}},
      {"empty obid", header().Entry("a").Entry("b", "").Entry("c").str(), 1, {"a"}},
      {"length 1024 is still fine",
       header().Entry(std::string(1024, 'n')).Entry("b").str(),
       1,
       {"b", std::string(1024, 'n')}}};
  dir_.Write("old.CADPart");
  for (const D& c : cases) {
    dir_.Write("content.zrb", c.bytes);
    ZRBXmapManager manager;
    manager.SetContentFileFullPath(dir_.Path("content.zrb"));
    manager.AddFile("OB1", "2024", CADString(dir_.Path("old.CADPart")), "DB", "Part");  // held before reading
    EXPECT_EQ(manager.ReadContentFile(), c.result) << c.what;
    EXPECT_EQ(Names(manager), c.kept) << c.what;
  }
}

TEST_F(ContentFileTest, VisFilesSortUnderTheirModel) {
  struct K {
    const char* fileName;
    const char* sortKey;
  };
  for (const K& c : {K{"a.CADPart.vis", "a.CADPart"}, K{"b.model.vis", "b.model"}, K{"c.vis", "c.vis"},
                     K{"d.CADPart.2005-03-02-14.05.09.vis", "d.CADPart"}, K{".CADPart.vis", ".CADPart.vis"},
                     K{"e.model.CADPart.vis", "e.model.CADPart"}, K{"f.CADPart", "f.CADPart"}}) {
    dir_.Write(c.fileName);
    Add(c.fileName);
    const ZRBXmapFile* entry = manager_.FindByFileName(c.fileName);
    ASSERT_NE(entry, nullptr) << c.fileName;
    EXPECT_EQ(entry->GetSortKey(), c.sortKey);
    EXPECT_EQ(manager_.FindBySortKey(c.sortKey), entry) << c.fileName;
  }
}

TEST_F(ContentFileTest, RegistersOnlyFilesThatExistAndCanBeReadBack) {
  dir_.Write("long.CADPart");
  dir_.MakeDirectory("sub");
  Add("missing.CADPart");
  manager_.AddFile("OB1", "2024", CADString(dir_.Path("long.CADPart")), std::string(1025, 'd'), "Part");
  manager_.AddFile("", "2024", CADString(dir_.Path("long.CADPart")), "DB", "Part");
  manager_.AddFile("OB1", "", CADString(dir_.Path("long.CADPart")), "DB", "Part");
  Add("..");
  Add("");
  EXPECT_EQ(manager_.Size(), 0);
  EXPECT_EQ(manager_.IsModified(), 0);
  Add("sub");  // a directory: listed, without a size
  ASSERT_EQ(manager_.Size(), 1);
  EXPECT_EQ(manager_.GetEntries()[0]->GetFileSize(), 0u);
}

TEST_F(ContentFileTest, RepeatedFileNameKeepsItsPlaceWithTheNewIdentity) {
  for (const char* name : {"a.CADPart", "b.CADPart", "c.CADPart"}) dir_.Write(name);
  for (const char* name : {"a.CADPart", "b.CADPart", "c.CADPart"}) Add(name);
  now_ += 100;
  manager_.UpdateFile("NEW", "2025-05-05 05:05:05.000", CADString(dir_.Path("b.CADPart")), "DB2", "Assy");
  EXPECT_EQ(Names(manager_), (std::vector<std::string>{"a.CADPart", "b.CADPart", "c.CADPart"}));
  const ZRBXmapFile* b = manager_.FindByFileName("b.CADPart");
  EXPECT_EQ(b->GetObid(), "NEW");
  EXPECT_EQ(b->GetDbName(), "DB2");
  EXPECT_EQ(b->GetClassName(), "Assy");
  EXPECT_EQ(b->GetLastAccess(), now_);
  EXPECT_EQ(manager_.FindByFileName("a.CADPart")->GetLastAccess(), now_ - 100);
}

TEST_F(ContentFileTest, SizesBeyondFourGigabytesSaturate) {
  dir_.WriteSized("huge.model", 5ull << 30);
  Add("huge.model");
  ASSERT_EQ(manager_.Size(), 1);
  EXPECT_EQ(manager_.GetEntries()[0]->GetFileSize(), 0xFFFFFFFFu);
}

}  // namespace
