// Design tables of the session: which listings are allowed, following the file names the PDM gives, the PDM
// identity on the table file and the save state it gives, the request slots, and two tables with one file name.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "CADIParmPublisher.h"
#include "CommandFixture.h"
#include "SampleSession.h"
#include "XmapScratchDirectory.h"
#include "ZRBDesignTable.h"
#include "ZRBInfoUtil.h"
#include "ZRBObject.h"
#include "ZRBPropertyManager.h"

namespace {

// Frees a listing at the end of a scope.
struct TableList {
  CADRawCollPV* list;
  explicit TableList(CADRawCollPV* l) : list(l) {}
  ~TableList() { ZRBDesignTable::DestroyList(list); }
  ZRBDesignTable* operator[](int i) const { return static_cast<ZRBDesignTable*>((*list)[i]); }
};

class DesignTableTest : public CommandFixture {
 protected:
  void SetUp() override {
    CommandFixture::SetUp();
    xmapVariable_ = std::make_unique<XmapScopedVariable>("ZRBXMAP", xmap_.MakeDirectory("xmap").c_str());
    ZRBDesignTable::ResetRenamingLists();
    ZRBInfoUtil::SetUseDesigTables(1);
    plate_ = sample_.Open("Plate.CADPart")->GetRootProduct();
    ASSERT_TRUE(plate_);
  }
  void TearDown() override {
    ZRBDesignTable::ResetRenamingLists();
    plate_ = nullptr;
    xmapVariable_.reset();
    CommandFixture::TearDown();
  }

  // The plate's one table, as a listing of its own.
  TableList PlateTables() { return TableList(ZRBDesignTable::GetTables(plate_, 0)); }
  std::string XMap(std::string_view name) const { return xmap_.Path(std::string("xmap/") + std::string(name)); }
  static void Fill(ZRBObject& answer, std::initializer_list<std::pair<const char*, std::string>> slots) {
    for (const auto& [slot, value] : slots) answer.SetSlotValue(slot, value);
  }
  static std::string PathOf(ZRBDesignTable* table) {
    CADUnicodeString path;
    table->GetFullPath(path);
    return path.str();
  }

  SampleSession sample_;
  XmapScratchDirectory xmap_;
  std::unique_ptr<XmapScopedVariable> xmapVariable_;
  CADIProduct_var plate_;
};

TEST_F(DesignTableTest, ListingsFollowTheSwitches) {
  CADDocument* assemblyDocument = sample_.Open("Assembly.CADProduct");
  ASSERT_NE(assemblyDocument, nullptr);
  CADIProduct_var assembly = assemblyDocument->GetRootProduct();
  struct Case {
    const char* name;
    bool useTables;
    const char* messagePrefix;
    const char* productSwitch;
    int plateCount;     // -1: no listing (null)
    int assemblyCount;  // the same for the product node in mode 0
  };
  for (const Case& c : {Case{"switches on", true, "", "OFF", 1, -1}, Case{"tables for products", true, "", "ON", 1, 0},
                        Case{"PDM does not use tables", false, "", "ON", -1, -1},
                        Case{"second client active", true, "SAM_", "ON", -1, -1}}) {
    SCOPED_TRACE(c.name);
    ZRBInfoUtil::SetUseDesigTables(c.useTables ? 1 : 0);
    ZRBPropertyManager::Globals().SetGlobalProperty("ZRB_MESSAGE_PREFIX", c.messagePrefix);
    SetVariable("ZRB_USE_DTFORPRODUCT", c.productSwitch);
    TableList plate(ZRBDesignTable::GetTables(plate_, 0));
    TableList product(ZRBDesignTable::GetTables(assembly, 0));
    EXPECT_EQ(plate.list ? plate.list->Size() : -1, c.plateCount);
    EXPECT_EQ(product.list ? product.list->Size() : -1, c.assemblyCount);
    if (c.plateCount > 0) {
      EXPECT_EQ(plate[1]->IsAKindOf("ZRBDesignTable"), 1);
      CADUnicodeString name;
      ASSERT_EQ(plate[1]->GetName(name), S_OK);
      EXPECT_EQ(name.str(), "Sizes");  // the alias wins over "PlateSizes"
      EXPECT_EQ(PathOf(plate[1]), sample_.Path("PlateSizes.xls").str());
    }
  }
  ZRBPropertyManager::Globals().DeleteGlobalProperty("ZRB_MESSAGE_PREFIX");
  ZRBInfoUtil::SetUseDesigTables(1);
  EXPECT_EQ(ZRBDesignTable::GetTables(CADIProduct_var(), 0), nullptr);
  EXPECT_EQ(ZRBDesignTable::GetTables(CADIParmPublisher_var(), "", "", plate_, 0), nullptr);
  ZRBDesignTable::DestroyList(nullptr);
}

TEST_F(DesignTableTest, APdmRenameCopiesTheFileStoresTheIdentityAndIsFollowedByOtherWrappers) {
  TableList tables = PlateTables();
  ASSERT_TRUE(tables.list && tables.list->Size() == 1);
  ZRBDesignTable* table = tables[1];
  const std::string original = sample_.ReadFile("PlateSizes.xls");
  int state = 0;
  table->GetState(state);
  EXPECT_EQ(state, ZRBDesignTable::kStateNew | ZRBDesignTable::kStateDirty);

  ZRBObject answer;
  Fill(answer,
       {{"ID", "T-17"}, {"DB_NAME", "vault"}, {"CHANGEABLE", "1"}, {"EXTERNAL_LOCATION", "/pdm/files/PLATE-0001.xls"}});
  ASSERT_EQ(table->UpdateZRBProperties(&answer), S_OK);

  const CADUnicodeString copy(XMap("PLATE-0001.xls"));
  EXPECT_EQ(PathOf(table), copy.str());
  EXPECT_EQ(xmap_.Read("xmap/PLATE-0001.xls"), original);
  EXPECT_EQ(ZRBDesignTable::GetListOfOldNames(), CADListValCADUnicodeString({"PlateSizes.xls"}));
  EXPECT_EQ(ZRBDesignTable::GetListOfNewNames(), CADListValCADUnicodeString({"PLATE-0001.xls"}));
  // The table's sheet itself now names the copy.
  TableList again = PlateTables();
  EXPECT_EQ(PathOf(again[1]), copy.str());
  struct Property {
    const char* name;
    const char* value;
  };
  for (Property p :
       {Property{"ZRB_TYPE", "DESIGNTABLE"}, Property{"ZRB_OBID", "T-17"}, Property{"ZRB_DB_NAME", "vault"},
        Property{"ZRB_CHANGEABLE", "1"}, Property{"ZRB_TABLE_CREATED", "1"}}) {
    EXPECT_EQ(GlobPropertyManager.GetFileProperty(copy, p.name).str(), p.value) << p.name;
  }
  EXPECT_FALSE(GlobPropertyManager.IsFilePropertySet(copy, "ZRB_CLASSNAME"));
  table->GetState(state);
  EXPECT_EQ(state, ZRBDesignTable::kStateKnownToPdm);

  // A wrapper of another table that still names the old file finds the copy.
  CADIParmPublisher_var publisher(plate_.get());
  CADIDesignTable_var second;
  ASSERT_EQ(publisher->AddDesignTable("Other", sample_.Path("PlateSizes.xls"), second), S_OK);
  ZRBDesignTable* other = ZRBDesignTable::Create(second, plate_);
  ASSERT_NE(other, nullptr);
  EXPECT_EQ(PathOf(other), copy.str());
  other->Release();

  // Changed outside the session: dirty again.
  xmap_.SetModTime("xmap/PLATE-0001.xls", 1000000000);
  table->GetState(state);
  EXPECT_EQ(state, ZRBDesignTable::kStateKnownToPdm | ZRBDesignTable::kStateDirty);
}

TEST_F(DesignTableTest, NamesFromThePdmNeverLeadOutOfTheExchangeMap) {
  struct N {
    const char* name;
    const char* safe;
  };
  for (const N& c :
       {N{"/pdm/a/sizes.txt", "sizes.txt"}, N{"C:\\pdm\\sizes.txt", "sizes.txt"}, N{"../../etc/sizes.txt", "sizes.txt"},
        N{"sizes.txt", "sizes.txt"}, N{"..", ""}, N{"/pdm/..", ""}, N{"/pdm/.", ""}, N{"/pdm/", ""}, N{"", ""}})
    EXPECT_EQ(ZRBDesignTable::SafeFileName(c.name).str(), c.safe) << c.name;

  TableList tables = PlateTables();
  for (const char* hostile : {"..", "/pdm/dir/", "a/.."}) {
    SCOPED_TRACE(hostile);
    ZRBObject answer;
    Fill(answer, {{"OBID", "T-1"}, {"EXTERNAL_LOCATION", hostile}});
    EXPECT_EQ(tables[1]->UpdateZRBProperties(&answer), E_FAIL);
    EXPECT_EQ(PathOf(tables[1]), sample_.Path("PlateSizes.xls").str());
  }
  EXPECT_EQ(ZRBDesignTable::GetListOfOldNames().Size(), 0);
  EXPECT_EQ(xmap_.List("xmap"), std::vector<std::string>{});
}

TEST_F(DesignTableTest, AFailedCopyRecordsNoRenaming) {
  TableList tables = PlateTables();
  std::filesystem::remove(sample_.Path("PlateSizes.xls").str());
  EXPECT_EQ(tables[1]->SetFullPath(CADUnicodeString(XMap("NEW.xls"))), E_FAIL);
  EXPECT_EQ(ZRBDesignTable::GetListOfOldNames().Size(), 0);
  EXPECT_EQ(PathOf(tables[1]), sample_.Path("PlateSizes.xls").str());
  unsigned char exists = 1;
  ASSERT_EQ(tables[1]->FileExists(&exists), S_OK);
  EXPECT_EQ(exists, 0);
  ZRBObject object;
  EXPECT_EQ(tables[1]->GetZRBObject(&object), E_FAIL);
}

TEST_F(DesignTableTest, TwoTablesWithOneFileNameDoNotShareTheExchangeMapCopy) {
  std::filesystem::create_directories(sample_.Path("a").str());
  std::filesystem::create_directories(sample_.Path("b").str());
  sample_.WriteFile("a/sizes.txt", "plate rows");
  sample_.WriteFile("b/sizes.txt", "bracket rows");
  CADIParmPublisher_var publisher(plate_.get());
  CADIDesignTable_var first, second;
  ASSERT_EQ(publisher->AddDesignTable("First", sample_.Path("a/sizes.txt"), first), S_OK);
  CADIProduct_var bolt = sample_.Open("Bolt.CADPart")->GetRootProduct();
  ASSERT_EQ(CADIParmPublisher_var(bolt.get())->AddDesignTable("Second", sample_.Path("b/sizes.txt"), second), S_OK);
  ZRBDesignTable* a = ZRBDesignTable::Create(first, plate_);
  ZRBDesignTable* b = ZRBDesignTable::Create(second, bolt);
  ASSERT_TRUE(a && b);

  EXPECT_EQ(a->MoveToXMap(), S_OK);
  EXPECT_EQ(xmap_.Read("xmap/sizes.txt"), "plate rows");
  CaptureTrace();
  EXPECT_EQ(b->MoveToXMap(), E_FAIL);
  EXPECT_EQ(xmap_.Read("xmap/sizes.txt"), "plate rows");
  EXPECT_EQ(PathOf(b), sample_.Path("b/sizes.txt").str());
  // Moving the same table again is no conflict.
  EXPECT_EQ(a->MoveToXMap(), S_OK);
  a->Release();
  b->Release();
}

TEST_F(DesignTableTest, RequestSlotsDescribeTheTableAndAskForAGeometryUpdateOnlyWhenDue) {
  struct Case {
    const char* name;
    bool known;
    const char* changeable;
    const char* skip;
    bool modified;
    bool updGeometry;
  };
  const Case cases[] = {
      {"new table", false, "", "", true, false},
      {"known and modified", true, "1", "", true, true},
      {"known, unmodified", true, "1", "", false, false},
      {"known, not changeable", true, "0", "", true, false},
      {"known, update skipped", true, "1", "1", true, false},
  };
  TableList tables = PlateTables();
  ZRBDesignTable* table = tables[1];
  ASSERT_EQ(table->MoveToXMap(), S_OK);
  const CADUnicodeString path(XMap("PlateSizes.xls"));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GlobPropertyManager.ResetForTests();
    if (c.known) {
      ZRBObject answer;
      Fill(answer, {{"OBID", "T-5"}, {"EXTERNAL_LOCATION", path.str()}, {"CHANGEABLE", c.changeable}});
      ASSERT_EQ(ZRBDesignTable::SetZRBProperties(&answer, 1), S_OK);
    }
    GlobPropertyManager.SetFileProperty(path, "ZRB_SYNC_SKIP_TAB_UPDATE", c.skip);
    if (c.modified) GlobPropertyManager.SetFileProperty(path, "ZRB_LAST_KNOWN_MOD_TIME", "");
    ZRBObject object;
    ASSERT_EQ(table->GetZRBObject(&object), S_OK);
    EXPECT_EQ(object.GetSlotValue("EXTERNAL_LOCATION").str(), path.str());
    EXPECT_EQ(object.GetSlotValue("OBID").str(), c.known ? "T-5" : "");
    EXPECT_EQ(object.GetSlotValue("UPD_GEOMETRY").str(), c.updGeometry ? "1" : "");
  }
}

TEST_F(DesignTableTest, StoringTheIdentityWithoutForceKeepsTheKnownTime) {
  const std::string file = xmap_.Write("xmap/t.txt", "rows");
  ZRBObject answer;
  Fill(answer, {{"OBID", "T-9"}, {"CLASSNAME", "x0Table"}, {"EXTERNAL_LOCATION", file}});
  GlobPropertyManager.SetFileProperty(CADUnicodeString(file), "ZRB_LAST_KNOWN_MOD_TIME", "12");
  ASSERT_EQ(ZRBDesignTable::SetZRBProperties(&answer, 0), S_OK);
  EXPECT_EQ(GlobPropertyManager.GetFileProperty(CADUnicodeString(file), "ZRB_LAST_KNOWN_MOD_TIME").str(), "12");
  EXPECT_EQ(GlobPropertyManager.GetFileProperty(CADUnicodeString(file), "ZRB_CLASSNAME").str(), "x0Table");
  ASSERT_EQ(ZRBDesignTable::SetZRBProperties(&answer, 1), S_OK);
  EXPECT_NE(GlobPropertyManager.GetFileProperty(CADUnicodeString(file), "ZRB_LAST_KNOWN_MOD_TIME").str(), "12");
  EXPECT_EQ(ZRBDesignTable::SetZRBProperties(nullptr, 1), E_FAIL);
}

TEST_F(DesignTableTest, ATableNameIsFoundInTheListItemByItem) {
  struct L {
    const char* list;
    const char* name;
    int found;
  };
  for (const L& c : {L{"{ba.txt}", "a.txt", 0}, L{"{a.txt} {b.txt}", "b.txt", 1}, L{"{a.txt}", "a.txt", 1},
                     L{"{a.txt.bak}", "a.txt", 0}, L{"", "a.txt", 0}, L{"{a.txt}", "", 0},
                     L{"{my sizes.xls} {x}", "my sizes.xls", 1}})
    EXPECT_EQ(ZRBDesignTable::IsTableInList(c.list, c.name), c.found) << c.list << " / " << c.name;
}

}  // namespace
