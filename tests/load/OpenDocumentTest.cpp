// Opening a read's documents: a stale cached copy is fetched again before it is opened (and never dropped when
// it cannot be asked for again), and top-level documents get one window each.
#include <gtest/gtest.h>

#include <string>

#include "CADFrmLayout.h"
#include "ReadFixture.h"
#include "ZRBCommand.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"

namespace {

class OpenDocumentTest : public ReadFixture {
 protected:
  void SetUp() override {
    ReadFixture::SetUp();
    path_ = scratch_.Write("xmap/BOLT.CADPart", StructureAnswer::PartFile("BOLT"));
    object_.SetSlotValue("OBID", "IT_BOLT");
    object_.SetSlotValue("DB_NAME", "PDMSIM");
  }
  // The PDM delivers the file again (as `partNumber`) and answers `success` for the item.
  void AnswerRefetch(const std::string& success, const std::string& partNumber) {
    SetShellAnswer([this, success, partNumber](const std::string& line) {
      if (line.find("x3GetOrigGeoForVis") == std::string::npos) return 0;
      ZRBObjectManager answer;
      const std::string request = xmap_ + "/GetOrigGeoForVis.zrb";
      if (!answer.Read(request.c_str())) return 1;
      for (const CADString& key : answer.GetObject("ROOT")->GetSlotValueList("ITEMLIST"))
        answer.GetObject(key)->SetSlotValue("ACTION_SUCCESS", success.c_str());
      answer.Write(request.c_str());
      if (success == "1") scratch_.Write("xmap/BOLT.CADPart", StructureAnswer::PartFile(partNumber));
      return 0;
    });
  }

  std::string path_;
  ZRBObject object_;
};

TEST_F(OpenDocumentTest, AStaleCopyIsFetchedAgainBeforeItIsOpened) {
  CADListValCADUnicodeString refresh;
  refresh.Append(path_.c_str());
  AnswerRefetch("1", "BOLT_NEW");
  CaptureTrace();
  CADDocument* document = nullptr;
  ZRBObject* object = &object_;
  ASSERT_EQ(command_->OpenDocument(document, path_.c_str(), 0, refresh, object), 1) << Warnings() << Trace();
  ASSERT_TRUE(document);
  EXPECT_EQ(document->GetRootProduct()->GetPartNumber().str(), "BOLT_NEW");
  EXPECT_EQ(refresh.Size(), 0);
  ASSERT_EQ(ShellLines().size(), 1u);
  EXPECT_NE(ShellLines()[0].find("x3GetOrigGeoForVis"), std::string::npos);
  EXPECT_FALSE(scratch_.Exists("xmap/GetOrigGeoForVis.zrb"));
}

TEST_F(OpenDocumentTest, FailuresAreReportedAndAStaleCopyWithoutIdentityIsKept) {
  enum Object { None, WithoutIdentity, Known };
  struct Case {
    const char* name;
    bool listed;
    Object object;
    const char* pdmSuccess;
    bool fileKept;
    size_t pdmCalls;
  };
  for (const Case& c : {Case{"listed, no object to ask the PDM with", true, None, "1", true, 0},
                        Case{"listed, object without identity", true, WithoutIdentity, "1", true, 0},
                        Case{"listed, the PDM cannot deliver it", true, Known, "0", false, 1},
                        Case{"not listed, file missing", false, Known, "1", false, 0}}) {
    SCOPED_TRACE(c.name);
    Restart();
    if (c.object == WithoutIdentity) object_ = ZRBObject();
    if (!c.listed) std::remove(path_.c_str());
    AnswerRefetch(c.pdmSuccess, "BOLT");
    CADListValCADUnicodeString refresh;
    if (c.listed) refresh.Append(path_.c_str());
    CADDocument* document = nullptr;
    ZRBObject* object = c.object == None ? nullptr : &object_;
    EXPECT_EQ(command_->OpenDocument(document, path_.c_str(), 0, refresh, object), 0);
    EXPECT_EQ(document, nullptr);
    EXPECT_NE(Warnings().find("\"BOLT.CADPart\" could not be loaded"), std::string::npos) << Warnings();
    EXPECT_EQ(scratch_.Exists("xmap/BOLT.CADPart"), c.fileKept);
    EXPECT_EQ(ShellLines().size(), c.pdmCalls);
  }
}

TEST_F(OpenDocumentTest, ATopLevelDocumentKeepsItsOneWindowAndTakesThePartNumberAndState) {
  CADListValCADUnicodeString refresh;
  CADDocument* first = nullptr;
  ASSERT_EQ(command_->OpenProductWithWindow(first, path_.c_str(), "BOLT_PDM", 1, refresh, nullptr), 1) << Warnings();
  CADDocument* second = nullptr;
  ASSERT_EQ(command_->OpenProductWithWindow(second, path_.c_str(), "BOLT_PDM", 0, refresh, nullptr), 1);
  EXPECT_EQ(first, second);
  EXPECT_EQ(CADFrmLayout::GetCurrentLayout().GetWindowList().size(), 1u);
  EXPECT_EQ(second->GetRootProduct()->GetPartNumber().str(), "BOLT_PDM");
  EXPECT_EQ(second->IsReadOnly(), 0);
  CADDocument* missing = nullptr;
  EXPECT_EQ(command_->OpenDrawingWithWindow(missing, (xmap_ + "/none.CADDrawing").c_str(), 1, refresh, nullptr), 0);
  EXPECT_EQ(CADFrmLayout::GetCurrentLayout().GetWindowList().size(), 1u);
}

}  // namespace
