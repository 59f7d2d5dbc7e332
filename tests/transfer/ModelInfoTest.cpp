// The model-info object: each group of slots follows its switch, the bounding box comes from the installed
// source (none by default) in assembly context when a product is being edited, and a drawing gets an object
// only when one of its switches is on.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CADDocument.h"
#include "CADFrmLayout.h"
#include "CADFrmWindow.h"
#include "SampleSession.h"
#include "TransferFixture.h"
#include "ZRBCommand.h"
#include "ZRBDocPropertyTransfer.h"
#include "ZRBInfoUtil.h"
#include "ZRBModelBoxSource.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPropertyManager.h"

namespace {

// Knows one box for every product and remembers which node it was asked about.
class RecordingBoxSource : public ZRBModelBoxSource {
 public:
  bool GetBox(const CADIProduct_var& product, CADDocument*, CADFrmWindow*, double low[3], double high[3]) override {
    asked = product;
    for (int k = 0; k < 3; ++k) low[k] = -0.5 * (k + 1), high[k] = 1e20 / (k + 1);
    return true;
  }
  CADIProduct_var asked;
};

bool HasSlot(const ZRBObject& object, const char* name) {
  CADListValCADString names, values;
  object.GetAllSlots(names, values);
  return names.Locate(name) != 0;
}

class ModelInfoTest : public TransferFixture {
 protected:
  void TearDown() override {
    ZRBModelBoxSource::Install(nullptr);
    TransferFixture::TearDown();
  }
  // The model-info object of a described part document.
  const ZRBObject* DescribePart(CADDocument* document) {
    ZRBObject* documentObject = manager_.CreateObject("");
    documentObject->SetSlotValue("CADCLASSNAME", "CADPart");
    CADString key;
    EXPECT_EQ(
        ZRBDocPropertyTransfer::SetDocPropertiesToZRBObject(NewCommand(), manager_, document, documentObject, key), 1);
    return manager_.GetObject(manager_.GetObject(key)->GetSlotValue("MODEL_INFO"));
  }

  SampleSession sample_;
  ZRBObjectManager manager_;
};

TEST_F(ModelInfoTest, EachGroupOfSlotsFollowsItsSwitch) {
  ZRBInfoUtil::SetUseDesigTables(1);
  RecordingBoxSource box;
  CADDocument* plate = sample_.Open("Plate.CADPart");
  GlobPropertyManager.SetFileProperty(plate->StorageName(), "ZRB_QCKFILE_UPTODATE", "1");
  struct Case {
    const char* variable;
    const char* value;
    std::vector<std::string> slots;
  };
  const std::vector<Case> cases = {
      {"ZRB_CALC_BBOX", "ON", {"D3D_BEX1", "D3D_BEY1", "D3D_BEZ1", "D3D_BEX2", "D3D_BEY2", "D3D_BEZ2"}},
      {"ZRB_READ_UPTODATE", "ON", {"UPTODATE"}},
      {"ZRB_READ_QCKSEAL", "ON", {"QCK_SEALS"}},
      {"ZRB_QCK_TIMESTAMP", "ON", {"QCK_SEALS", "QCK_SEAL_UPTODATE"}},  // needs the seal switch too
      {"ZRB_GETPOINTEDDOCUMENTS", "ON", {"EXTERNALDOC", "EXTERNALDOCS"}},
      {"ZRB_ARCHIVE_CONTENT_FILE_NAME", "content.txt", {"ARCHIVE_CONTENT_FILE"}},
  };
  const std::vector<std::string> always = {"DT", "DT_ACTIVATE", "DT_NAME"};  // the tables switch is on
  ZRBModelBoxSource::Install(&box);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.variable);
    for (const char* variable : {"ZRB_CALC_BBOX", "ZRB_READ_UPTODATE", "ZRB_READ_QCKSEAL", "ZRB_QCK_TIMESTAMP",
                                 "ZRB_GETPOINTEDDOCUMENTS", "ZRB_ARCHIVE_CONTENT_FILE_NAME"})
      SetVariable(variable, "");
    if (std::string(c.variable) == "ZRB_QCK_TIMESTAMP") SetVariable("ZRB_READ_QCKSEAL", "ON");
    SetVariable(c.variable, c.value);
    const ZRBObject* info = DescribePart(plate);
    ASSERT_NE(info, nullptr);
    CADListValCADString names, values;
    info->GetAllSlots(names, values);
    std::vector<std::string> got;
    for (int i = 1; i <= names.Size(); ++i)
      if (!(names[i] == "CATEGORY")) got.push_back(names[i].str());
    std::vector<std::string> expected = c.slots;
    expected.insert(expected.end(), always.begin(), always.end());
    std::sort(got.begin(), got.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(got, expected);
  }
  const ZRBObject* info = DescribePart(plate);
  EXPECT_EQ(info->GetSlotValueList("DT_NAME"), CADListValCADString({"Sizes"}));
  EXPECT_EQ(info->GetSlotValueList("DT"), CADListValCADString({"PlateSizes.xls"}));
  SetVariable("ZRB_CALC_BBOX", "ON");
  info = DescribePart(plate);
  EXPECT_EQ(info->GetSlotValue("D3D_BEY1").str(), "-1.0000000000000000e+00");
  EXPECT_EQ(info->GetSlotValue("D3D_BEX2").str(), "1.0000000000000000e+20");
  // Without a source that knows the box no box slots are written, whatever the switch says.
  ZRBModelBoxSource::Install(nullptr);
  info = DescribePart(plate);
  EXPECT_TRUE(info->GetSlotValue("D3D_BEX1").IsEmpty());
}

TEST_F(ModelInfoTest, APartDescribedWhileAProductIsEditedTakesItsBoxWhereItFirstStands) {
  SetVariable("ZRB_CALC_BBOX", "ON");
  RecordingBoxSource box;
  ZRBModelBoxSource::Install(&box);
  CADDocument* bolt = sample_.Open("Bolt.CADPart");
  DescribePart(bolt);
  ASSERT_TRUE(box.asked);
  EXPECT_TRUE(box.asked->IsReference()) << "a part edited on its own is its own context";

  CADFrmWindow* window = nullptr;
  ASSERT_EQ(CADFrmLayout::GetCurrentLayout().OpenWindow(sample_.Open("Assembly.CADProduct"), window), S_OK);
  DescribePart(bolt);
  ASSERT_TRUE(box.asked);
  EXPECT_EQ(SampleSession::InstanceName(box.asked), "Bolt.1");
  EXPECT_EQ(SampleSession::InstanceName(box.asked->GetFatherProduct()), "Bracket.1");
}

TEST_F(ModelInfoTest, ADrawingGetsAnObjectOnlyWhenOneOfItsSwitchesIsOn) {
  CADDocument* document = sample_.Open("Plate.CADDrawing");
  CADIDrawing_var drawing(document);
  drawing->AddParameter("Format", "String", "A3 «quer»");
  struct Case {
    const char* variable;
    const char* value;
    const char* slot;  // null: no object at all
  };
  const Case cases[] = {
      {"", "", nullptr},
      {"ZRB_CALC_SHEET", "ON", "SHEETS"},
      {"ZRB_REFERENCE_OF_DRAWING", "ON", "EXTERNALDOCS"},
      {"ZRB_READ_QCKSEAL", "ON", "QCK_SEALS"},
      {"ZRB_READ_DRAW_ROOTFEATUREATTR", "Format", "FORMAT"},
  };
  const ZRBObject* last = nullptr;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.variable);
    for (const char* variable :
         {"ZRB_CALC_SHEET", "ZRB_REFERENCE_OF_DRAWING", "ZRB_READ_QCKSEAL", "ZRB_READ_DRAW_ROOTFEATUREATTR"})
      SetVariable(variable, "");
    if (*c.variable) SetVariable(c.variable, c.value);
    ZRBObject* model = manager_.CreateObject("");
    ASSERT_EQ(ZRBDocPropertyTransfer::SetModelInfoToZRBObject(manager_, drawing, model, document), 1);
    const ZRBObject* info = manager_.GetObject(model->GetSlotValue("MODEL_INFO"));
    if (!c.slot) {
      EXPECT_TRUE(model->GetSlotValue("MODEL_INFO").IsEmpty());
      continue;
    }
    ASSERT_NE(info, nullptr);
    EXPECT_TRUE(HasSlot(*info, c.slot));
    last = info;
  }
  EXPECT_EQ(manager_.GetObjectCount(), 9);
  EXPECT_EQ(last->GetSlotValue("FORMAT").str(), "A3 «quer»");
}

}  // namespace
