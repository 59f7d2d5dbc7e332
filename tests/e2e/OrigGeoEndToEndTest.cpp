// The original-geometry commands against the reference PDM: a part of a loaded structure shown by a vis stand-in
// is swapped for the model the PDM delivers; what is not fetched, already in the session or refused by the cache
// switch stays as it was; the delivered file's time follows the PDM's date.
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "CADCSO.h"
#include "CADDlgNotify.h"
#include "CADDocumentServices.h"
#include "CADFrmEditor.h"
#include "CADVisExport.h"
#include "PdmEndToEndFixture.h"
#include "SampleSession.h"
#include "ZRBCacheFileUtil.h"
#include "ZRBGetOrigGeoAndVisCmd.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPropertyManager.h"

namespace {
using Names = std::vector<std::string>;

class OrigGeoEndToEndTest : public PdmEndToEndFixture {
 protected:
  void SetUp() override {
    PdmEndToEndFixture::SetUp();
    ImportSampleSession();
    ASSERT_TRUE(bracket_ = LoadIntoCad("Bracket"));
    GlobPropertyManager.SetCacheActivationForTests(0);
    Pdm("journal", "clear");
  }
  void TearDown() override {
    bracket_ = nullptr;
    PdmEndToEndFixture::TearDown();
  }

  // Puts a vis of the node's part in its place, as a light load leaves it. With `dropModel` the part's own
  // document is closed and its file gone, so only the PDM can bring it back.
  void ShowAsVis(const char* instance, bool dropModel) {
    CADIProduct_var node = SampleSession::Child(bracket_, instance);
    ASSERT_TRUE(node);
    CADDocument* part = node->GetShapeRepresentationDocument("Default");
    ASSERT_NE(part, nullptr);
    const CADUnicodeString partNumber(node->GetPartNumber().str() + "_VISU");
    const std::string vis = XmapFile(partNumber.str() + ".vis");
    ASSERT_EQ(CADVisExport::Save(part, CADUnicodeString(vis), partNumber), S_OK);
    CADDocument* visDocument = nullptr;
    ASSERT_EQ(CADDocumentServices::OpenDocument(CADUnicodeString(vis), visDocument), S_OK);
    std::vector<std::pair<const char*, CADUnicodeString>> identity;
    for (const char* name : {"ZRB_OBID", "ZRB_CLASSNAME", "ZRB_DB_NAME"})
      identity.emplace_back(name, GlobPropertyManager.GetReferenceProperty(node, name));
    CADIProduct_var replaced;
    ASSERT_EQ(bracket_->ReplaceComponent(node, visDocument, replaced), S_OK);
    for (const auto& [name, value] : identity) GlobPropertyManager.SetReferenceProperty(replaced, name, value);
    if (dropModel) {
      const std::string file = part->StorageName().str();
      CADDocumentServices::Remove(part);
      std::filesystem::remove(file);
    }
  }
  void Select(const Names& instances) {
    CADCSO* cso = CADFrmEditor::GetCurrentEditor()->GetCSO();
    cso->Empty();
    for (const std::string& instance : instances) {
      CADPathElement element{CADBaseUnknown_var(bracket_)};
      element.AddChildElement(CADBaseUnknown_var(SampleSession::Child(bracket_, instance)));
      cso->AddElement(element);
    }
  }
  template <class Command>
  void Run() {
    Start(new Command());
    Loop().RunPending();
  }
  std::string TypeOf(const char* instance) {
    return GlobPropertyManager.GetProductType(SampleSession::Child(bracket_, instance)).str();
  }
  std::string Request() { return JournalRequest(Journal().at(0).seq); }
  static std::string Text(const char* key, const std::string& parameter = "") {
    return MessageText(std::string("ZRBGetOrigGeoForVisCmd.") + key, parameter);
  }
  static bool Has(const CADListValCADUnicodeString& messages, const std::string& text) {
    for (const CADUnicodeString& message : messages)
      if (message.str() == text) return true;
    return false;
  }

  CADIProduct_var bracket_;
};

TEST_F(OrigGeoEndToEndTest, TheFetchedModelReplacesItsVisAndTheRefusedOneStays) {
  ShowAsVis("Plate.1", true);
  ShowAsVis("Bolt.1", false);  // Bolt.2 keeps the model open
  const std::string boltObid =
      GlobPropertyManager.GetReferenceProperty(SampleSession::Child(bracket_, "Bolt.1"), "ZRB_OBID").str();
  PdmFault("x3GetOrigGeoForVis", "--fail-for Bolt");
  Select({"Plate.1", "Bolt.1"});
  Run<ZRBGetOrigGeoForVisCmd>();

  ASSERT_EQ(JournalActions(), Names{"x3GetOrigGeoForVis"});
  EXPECT_NE(Request().find("{COMMAND} REQUEST_GET_ORIG_GEO\n"), std::string::npos) << "no cache needed";
  EXPECT_NE(Request().find("{ID} " + boltObid + "\n"), std::string::npos);
  EXPECT_EQ(TypeOf("Plate.1"), "CADPart");
  EXPECT_EQ(TypeOf("Bolt.1"), "vis");
  EXPECT_FALSE(
      GlobPropertyManager.GetReferenceProperty(SampleSession::Child(bracket_, "Plate.1"), "ZRB_OBID").IsEmpty());

  // The delivered file carries the PDM's date, and the module knows that time.
  ZRBObjectManager answer;
  ASSERT_EQ(answer.Read(CADUnicodeString(XmapFile("GetOrigGeoForVis.zrb"))), 1);
  std::time_t date = 0;
  for (const CADString& key : answer.GetObject("ROOT")->GetSlotValueList("ITEMLIST")) {
    const ZRBObject* item = answer.GetObject(key);
    if (item->GetSlotValue("ACTION_SUCCESS") == "1") {
      ASSERT_TRUE(ZRBCacheFileUtil::ParseModificationDate(item->GetSlotValue("MODIFICATION_DATE_GMT"), date));
    }
  }
  struct stat status {};
  ASSERT_EQ(stat(XmapFile("Plate.CADPart").c_str(), &status), 0);
  EXPECT_EQ(status.st_mtime, date);
  EXPECT_EQ(
      GlobPropertyManager.GetFileProperty(CADUnicodeString(XmapFile("Plate.CADPart")), "ZRB_LAST_KNOWN_MOD_TIME").str(),
      std::to_string(date));

  const MessageCentreView centre = Dialogs().LastMessageCentre();
  EXPECT_TRUE(Has(centre.informations, Text("ModelFetched", "Plate_VISU (Plate.CADPart)")));
  EXPECT_TRUE(Has(centre.warnings, Text("ModelNotFetched", "Bolt_VISU (Bolt_VISU.vis)")));
  EXPECT_EQ(centre.status.str(), Text("GetOrigGeoForVisOk"));
}

TEST_F(OrigGeoEndToEndTest, AModelInTheSessionIsNotRequestedAndTheCacheSwitchGuardsTheVisVariant) {
  Select({"Bolt.2"});
  Run<ZRBGetOrigGeoForVisCmd>();
  EXPECT_TRUE(JournalActions().empty());
  EXPECT_TRUE(Has(Dialogs().LastMessageCentre().informations, Text("ModelInSession", "Bolt")));

  ShowAsVis("Plate.1", true);
  Select({"Plate.1"});
  ExpectBox("ZRBGetOrigGeoForVisCmd.CacheNotActivated", CADDlgNfyAnswerOK);
  Run<ZRBGetOrigGeoAndVisCmd>();
  EXPECT_TRUE(JournalActions().empty());
  EXPECT_EQ(TypeOf("Plate.1"), "vis");

  GlobPropertyManager.SetCacheActivationForTests(1);
  Run<ZRBGetOrigGeoAndVisCmd>();
  ASSERT_EQ(JournalActions(), Names{"x3GetOrigGeoForVis"});
  EXPECT_NE(Request().find("{COMMAND} REQUEST_GET_ORIG_GEO_AND_VIS\n"), std::string::npos);
  EXPECT_NE(Request().find("{VIS_LOCATION} Plate_VISU.vis.vis\n"), std::string::npos) << Request();
  EXPECT_EQ(TypeOf("Plate.1"), "CADPart");
}

TEST_F(OrigGeoEndToEndTest, TheDeliveredFileTakesOnlyAWellFormedDateAndOnlyWhenStampingIsOn) {
  struct Case {
    const char* date;
    const char* switchedOff;  // "ZRB_DISABLE_SET_TIMESTAMP"
    const char* location;
    bool stamped;
  };
  const Case cases[] = {
      {"2020-01-02 03:04:05.000", "", "/elsewhere/Stamp.CADPart", true},  // only the name counts
      {"2020-01-02 03:04:05", "", "Stamp.CADPart", false},
      {"2020-01-02 03:04:05.000", "ON", "Stamp.CADPart", false},
      {"2020-01-02 03:04:05.000", "", "Missing.CADPart", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.date + std::string(" ") + c.switchedOff + " " + c.location);
    WriteFile(XmapFile("Stamp.CADPart"), "x");
    const CADUnicodeString path(XmapFile("Stamp.CADPart"));
    GlobPropertyManager.SetFileProperty(path, "ZRB_LAST_KNOWN_MOD_TIME", "");
    SetVariable("ZRB_DISABLE_SET_TIMESTAMP", c.switchedOff);
    ZRBObjectManager manager;
    ZRBObject* object = manager.CreateObject("ITEM");
    object->SetSlotValue("MODIFICATION_DATE_GMT", c.date);
    object->SetSlotValue("EXTERNAL_LOCATION", c.location);
    ZRBGetOrigGeoForVisCmd::SetTimeStampToFile(*object);
    struct stat status {};
    ASSERT_EQ(stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mtime == 1577934245, c.stamped);
    EXPECT_EQ(!GlobPropertyManager.GetFileProperty(path, "ZRB_LAST_KNOWN_MOD_TIME").IsEmpty(), c.stamped);
  }
}

}  // namespace
