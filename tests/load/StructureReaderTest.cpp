// The structure reader on prepared answers in a scratch exchange map: what a node becomes in the session (its
// instances, positions, relation and identity properties, content-file entries), below a window of its own or
// below the workbench product, and what a broken or hostile answer leaves behind.
// Opening a read's documents: a stale copy is fetched again first; top-level documents get one window each.
// Broken and hostile answers (cycles, dangling keys, locations out of the exchange map, bad positions, absurd depth)
// never crash, touch nothing outside the exchange map, and keep what could be built.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "CADFrmEditor.h"
#include "CADFrmLayout.h"
#include "CADIPrdProperties.h"
#include "ReadFixture.h"
#include "SampleSession.h"
#include "ZRBAnswerLocation.h"
#include "ZRBCache.h"
#include "ZRBCommand.h"
#include "ZRBInstancePlacement.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPosMatrixUtil.h"
#include "ZRBProductPathUtil.h"
#include "ZRBPropertyManager.h"
#include "ZRBReadSessionActions.h"

namespace {

constexpr const char* kShifted = "1 0 0 0 0 1 0 0 0 0 1 0 10 0 0 1";
// A quarter turn about z, then moved.
constexpr const char* kTurned = "0 1 0 0 -1 0 0 0 0 0 1 0 90 40 5 1";

class StructureReaderTest : public ReadFixture {
 protected:
  void SetUp() override {
    ReadFixture::SetUp();
    GlobZRBCache.Load();
  }

  // ASM with BOLT placed twice (or once); the documents written into the exchange map.
  void PrepareAssembly(bool twice = true) {
    scratch_.Write("xmap/ASM.CADProduct", StructureAnswer::ProductFile("ASM"));
    scratch_.Write("xmap/BOLT.CADPart", StructureAnswer::PartFile("BOLT"));
    ZRBObject* assembly = answer_->Assembly(xmap_, "ASM");
    answer_->Part(xmap_, "BOLT");
    answer_->Relate(nullptr, "ROOT_REL_1", "ASM", "ASM.1", ZRBPosMatrixUtil::kIdentityText, false);
    answer_->Relate(assembly, "RL1", "BOLT", "BOLT.1", kShifted);
    if (twice) answer_->Relate(assembly, "RL2", "BOLT", "BOLT.2", kTurned);
  }

  std::string PositionText(const CADIProduct_var& child, const CADIProduct_var& parent) {
    double position[12];
    if (!command_->GetProductPosition(child, parent, position)) return "no position";
    CADUnicodeString text;
    ZRBPosMatrixUtil::ConvertToString(position, text);
    return text.str();
  }
  CADIProduct_var Assembly() { return RootOf(xmap_ + "/ASM.CADProduct"); }
};

TEST_F(StructureReaderTest, TwoUsesOfOnePartKeepTheirOwnPositionsAndRelations) {
  PrepareAssembly();
  ASSERT_EQ(Read(), 1) << Warnings();
  EXPECT_EQ(Warnings(), "");
  EXPECT_EQ(state_.warningState, 0);

  // Without a parent the assembly opens in a window of its own.
  CADIProduct_var assembly = Assembly();
  ASSERT_TRUE(assembly);
  EXPECT_EQ(CADFrmLayout::GetCurrentLayout().GetWindowList().size(), 1u);
  EXPECT_EQ(SampleSession::ChildNames(assembly), "BOLT.1,BOLT.2");
  CADIProduct_var first = SampleSession::Child(assembly, "BOLT.1");
  CADIProduct_var second = SampleSession::Child(assembly, "BOLT.2");
  ASSERT_TRUE(first && second);

  EXPECT_EQ(PositionText(first, assembly), kShifted);
  EXPECT_EQ(PositionText(second, assembly), kTurned);
  for (const auto& [bolt, matrix, relation] : {std::tuple{first, kShifted, "RL1"}, {second, kTurned, "RL2"}}) {
    EXPECT_EQ(Inst(assembly, bolt, "ZRB_ORIG_MATRIX"), matrix);
    EXPECT_EQ(Inst(assembly, bolt, "ZRB_RELATION"), relation);
    EXPECT_EQ(Inst(assembly, bolt, "ZRB_INSTANCE_IN_ZRB"), "1");
    EXPECT_EQ(Inst(assembly, bolt, "ZRB_REL_DB_NAME"), "PDMSIM");
    EXPECT_EQ(Inst(assembly, bolt, "ZRB_TRAFO_ACCUMULATE_SET"), "NO");
  }

  CADUnicodeString firstPath, secondPath, firstName, secondName;
  ZRBProductPathUtil::GetPathToRootForProduct(first, firstPath);
  ZRBProductPathUtil::GetPathToRootForProduct(second, secondPath);
  ZRBProductPathUtil::GetFullPathNameForProduct(first, firstName);
  ZRBProductPathUtil::GetFullPathNameForProduct(second, secondName);
  EXPECT_NE(firstPath.str(), secondPath.str());
  EXPECT_EQ(firstName.str(), secondName.str());

  // The identity lives on the shared reference; every delivered file is in the content file.
  EXPECT_EQ(Ref(first, "ZRB_OBID"), "IT_BOLT");
  EXPECT_EQ(Ref(assembly, "ZRB_OBID"), "IT_ASM");
  EXPECT_EQ(Ref(assembly, "ZRB_PRODUCT_OBID"), "PD_ASM");
  for (const auto& [file, key] : {std::pair{"BOLT.CADPart", "DC_BOLT"}, {"ASM.CADProduct", "PD_ASM"}}) {
    const ZRBObject* object = answer_->Answer().GetObject(key);
    EXPECT_EQ(GlobZRBCache.XMapFileExist(object->GetSlotValue("OBID"), object->GetSlotValue("MODIFICATION_DATE_GMT"),
                                         (xmap_ + "/" + file).c_str(), "PDMSIM", "CadDoc"),
              1)
        << file;
  }

  // A second read of the same answer finds everything in place.
  ASSERT_EQ(Read(), 1);
  EXPECT_EQ(SampleSession::ChildNames(assembly), "BOLT.1,BOLT.2");
  EXPECT_EQ(PositionText(second, assembly), kTurned);
  EXPECT_EQ(Warnings(), "");
}

TEST_F(StructureReaderTest, AddCommandPlacesTheStructureBelowTheWorkbenchProduct) {
  PrepareAssembly();
  CADIProduct_var workbench;
  ASSERT_EQ(ZRBReadSessionActions::CreateZRBWorkbenchProduct(0, answer_->Answer(), answer_->Root(), workbench), 1);
  ASSERT_TRUE(workbench);
  EXPECT_EQ(workbench->GetPartNumber().str(), "ZRB_Workbench");
  ASSERT_EQ(Read(workbench.get()), 1) << Warnings();

  CADIProduct_var assembly = SampleSession::Child(workbench, "ASM.1");
  ASSERT_TRUE(assembly);
  EXPECT_EQ(SampleSession::ChildNames(assembly), "BOLT.1,BOLT.2");
  EXPECT_EQ(PositionText(SampleSession::Child(assembly, "BOLT.2"), assembly), kTurned);
  // A top-level use below the workbench is an instance the PDM has, under the relation that placed it.
  EXPECT_EQ(Inst(workbench, assembly, "ZRB_RELATION"), "ROOT_REL_1");
  EXPECT_EQ(Inst(workbench, assembly, "ZRB_INSTANCE_IN_ZRB"), "1");
  EXPECT_EQ(Inst(workbench, assembly, "ZRB_ORIG_MATRIX"), ZRBPosMatrixUtil::kIdentityText);
}

TEST_F(StructureReaderTest, AnAddTemporaryReadMarksItsPartsAndLeavesTheContentFileAlone) {
  PrepareAssembly();
  state_.addTempRead = 1;
  GlobZRBCache.SetTempMode(1);
  ASSERT_EQ(Read(), 1) << Warnings();
  GlobZRBCache.SetTempMode(0);
  CADIProduct_var assembly = Assembly();
  ASSERT_TRUE(assembly);
  CADIProduct_var bolt = SampleSession::Child(assembly, "BOLT.1");
  EXPECT_EQ(Ref(bolt, "ZRB_ADD_TEMP"), "1");
  EXPECT_EQ(Ref(assembly, "ZRB_ADD_TEMP"), "1");
  EXPECT_EQ(GlobZRBCache.XMapFileExist("IT_BOLT", "2026-01-02 03:04:05.000", (xmap_ + "/BOLT.CADPart").c_str(),
                                       "PDMSIM", "CadDoc"),
            0);
}

TEST_F(StructureReaderTest, NodeAttributesSendingObjectsAndDesignTablesReachTheSession) {
  PrepareAssembly();
  ZRBObject* assemblyItem = answer_->Answer().GetObject("IT_ASM");
  StructureAnswer::Set(
      assemblyItem,
      {{"REFERENCE_DESCRIPTION", "Main frame"}, {"CUSTOM_ATTRS", "{Colour} {Finish}"}, {"CUSTOM_VALS", "{red} {}"}});
  ZRBObject* table = answer_->Answer().CreateObject("DT1");
  table->SetSlotValue("EXTERNAL_LOCATION", (xmap_ + "/sizes.txt").c_str());
  answer_->Answer().GetObject("IT_BOLT")->SetSlotValueList("TABLES", StructureAnswer::List({"DT1", "NO_TABLE"}));
  StructureAnswer::Set(
      answer_->Answer().CreateObject("SENT"),
      {{"EXTERNAL_LOCATION", "/pdm/side/BOLT.vis"}, {"ID", "V42"}, {"DB_NAME", "VAULT"}, {"CLASSNAME", "Vis"}});
  assemblyItem->SetSlotValueList("SENDING_LIST", StructureAnswer::List({"SENT"}));
  ASSERT_EQ(Read(), 1) << Warnings();

  CADIProduct_var assembly = Assembly();
  ASSERT_TRUE(assembly);
  CADUnicodeString description;
  CADVar<CADIPrdProperties> attributes(assembly);
  ASSERT_TRUE(attributes);
  attributes->GetDescription(description);
  EXPECT_EQ(description.str(), "Main frame");
  EXPECT_EQ(Ref(assembly, "ZRB_CUSTOM_ATTRS"), "{Colour} {Finish}");
  EXPECT_EQ(Ref(assembly, "ZRB_CUSTOM_VALS"), "{red} {}");
  EXPECT_EQ(Ref(assembly, "ZRB_IS_SENDING_PRODUCT"), "1");
  CADIProduct_var bolt = SampleSession::Child(assembly, "BOLT.2");
  EXPECT_EQ(Ref(bolt, "ZRB_DESIGNTABLES"), "{sizes.txt}");
  // The sending object's file is named in the exchange map, whatever directory the PDM wrote.
  const CADUnicodeString sentFile((xmap_ + "/BOLT.vis").c_str());
  EXPECT_EQ(GlobPropertyManager.GetFileProperty(sentFile, "ZRB_SENDING_OBJECT").str(), "1");
  EXPECT_EQ(GlobPropertyManager.GetFileProperty(sentFile, "ZRB_OBID").str(), "V42");
  EXPECT_EQ(GlobPropertyManager.GetFileProperty(sentFile, "ZRB_CHANGEABLE").str(), "0");
}

TEST_F(StructureReaderTest, DocumentsThePdmDoesNotLetTheUserChangeAreReadOnlyAndListed) {
  struct Case {
    const char* changeable;
    int readOnly;
  };
  for (const Case& c : {Case{"1", 0}, Case{"0", 1}, Case{"", 1}}) {
    SCOPED_TRACE(c.changeable);
    Restart();
    PrepareAssembly();
    answer_->Answer().GetObject("DC_BOLT")->SetSlotValue("CHANGEABLE", c.changeable);
    ASSERT_EQ(Read(), 1) << Warnings();
    CADDocument* bolt = CADDocumentServices::GetDocumentInSession((xmap_ + "/BOLT.CADPart").c_str());
    ASSERT_TRUE(bolt);
    EXPECT_EQ(bolt->IsReadOnly(), c.readOnly);
    const std::string informations = Informations();
    // Listed once, although both instances use it.
    EXPECT_EQ(informations.find("BOLT.CADPart") != std::string::npos, c.readOnly == 1) << informations;
    EXPECT_EQ(informations.find("BOLT.CADPart"), informations.rfind("BOLT.CADPart"));
    // Listed under the category key, from which the message centre builds its heading.
    EXPECT_EQ(informations.find("ZRBListMessages.LoadReadOnlyList") != std::string::npos, c.readOnly == 1);
  }
}

TEST_F(StructureReaderTest, AnInstanceThePdmNowFillsWithAnotherDocumentIsReplacedInPlace) {
  PrepareAssembly();
  ASSERT_EQ(Read(), 1) << Warnings();
  CADIProduct_var assembly = Assembly();
  ASSERT_TRUE(assembly);

  // The PDM now puts a nut where the second bolt was.
  scratch_.Write("xmap/NUT.CADPart", StructureAnswer::PartFile("NUT"));
  answer_->Part(xmap_, "NUT");
  answer_->Answer().GetObject("RL2")->SetSlotValue("ASS_ITEM_ID", "IT_NUT");
  ASSERT_EQ(Read(), 1) << Warnings();
  EXPECT_EQ(SampleSession::ChildNames(assembly), "BOLT.1,BOLT.2");
  CADIProduct_var replaced = SampleSession::Child(assembly, "BOLT.2");
  EXPECT_EQ(replaced->GetPartNumber().str(), "NUT");
  EXPECT_EQ(PositionText(replaced, assembly), kTurned);
  EXPECT_EQ(Inst(assembly, replaced, "ZRB_REPLACED_COMPONENT"), "1");
  EXPECT_EQ(Inst(assembly, replaced, "ZRB_RELATION"), "RL2");
  EXPECT_EQ(state_.replacedWarning, 1);
  EXPECT_EQ(state_.highlightChanged, 1);
  EXPECT_NE(Warnings().find("\"BOLT.2\" was replaced"), std::string::npos) << Warnings();
  EXPECT_EQ(SampleSession::Child(assembly, "BOLT.1")->GetPartNumber().str(), "BOLT");
}

TEST_F(StructureReaderTest, SessionWideMarksFollowTheRelationsTheAnswerNames) {
  PrepareAssembly();
  ASSERT_EQ(Read(), 1) << Warnings();
  CADIProduct_var assembly = Assembly();
  CADIProduct_var first = SampleSession::Child(assembly, "BOLT.1");
  CADIProduct_var second = SampleSession::Child(assembly, "BOLT.2");
  answer_->Answer().GetObject("RL1")->SetSlotValue("KEEP_AS_NEW", "1");
  answer_->Answer().GetObject("RL2")->SetSlotValue("NOSHOW", "1");
  ZRBReadSessionActions::SetKeepAsNewStateToSession(answer_->Answer());
  ZRBReadSessionActions::SetShowNoShowStatesToSession(answer_->Answer());
  EXPECT_EQ(Inst(assembly, first, "ZRB_KEEP_AS_NEW"), "1");
  EXPECT_EQ(Inst(assembly, second, "ZRB_KEEP_AS_NEW"), "");
  CADBoolean active = 1;
  ASSERT_TRUE(SUCCEEDED(second->GetActivationState(active)));
  EXPECT_FALSE(active);
  EXPECT_EQ(GlobPropertyManager.GetPathToRootProperty(second, "ZRB_SET_NOSHOW").str(), "1");
  answer_->Answer().GetObject("RL2")->SetSlotValue("NOSHOW", "0");
  ZRBReadSessionActions::SetShowNoShowStatesToSession(answer_->Answer());
  ASSERT_TRUE(SUCCEEDED(second->GetActivationState(active)));
  EXPECT_TRUE(active);
  EXPECT_EQ(GlobPropertyManager.IsPathToRootPropertySet(second, "ZRB_SET_NOSHOW"), 0);

  // Only a replaced or removed instance is selected for the user.
  CADFrmEditor* editor = CADFrmEditor::GetCurrentEditor();
  ASSERT_TRUE(editor);
  ZRBReadState quiet;
  ZRBReadSessionActions::HighlightProductsForUserAction(quiet);
  EXPECT_EQ(editor->GetCSO()->GetSize(), 0);
  GlobPropertyManager.SetInstanceProperty(assembly, second, "ZRB_REMOVED_IN_PDM", "1");
  ZRBReadState flagged;
  flagged.highlightRemoved = 1;
  ZRBReadSessionActions::HighlightProductsForUserAction(flagged);
  EXPECT_EQ(editor->GetCSO()->GetSize(), 1);
}

TEST_F(StructureReaderTest, InstancesThePdmRemovedStayButAreMarked) {
  struct Case {
    const char* slot;
    const char* enableDocumentRemoval;
    bool marked;
    const char* message;
  };
  for (const Case& c : {Case{"REMOVED_SUBASS", nullptr, true, "\"BOLT.2\" was removed in the PDM"},
                        Case{"REMOVED_DOCCOMS", nullptr, false, ""},
                        Case{"REMOVED_DOCCOMS", "ON", true, "\"BOLT.2\" was removed from its assembly"}}) {
    SCOPED_TRACE(std::string(c.slot) + (c.enableDocumentRemoval ? " enabled" : ""));
    Restart();
    if (c.enableDocumentRemoval) SetVariable("ZRB_ENABLE_REMOVED_DOCCOM", c.enableDocumentRemoval);
    PrepareAssembly();
    ASSERT_EQ(Read(), 1) << Warnings();
    answer_->Answer().GetObject("IT_ASM")->SetSlotValueList(c.slot, StructureAnswer::List({"BOLT.2", "GONE.1"}));
    ASSERT_EQ(Read(), 1) << Warnings();
    CADIProduct_var assembly = Assembly();
    EXPECT_EQ(SampleSession::ChildNames(assembly), "BOLT.1,BOLT.2");
    CADIProduct_var removed = SampleSession::Child(assembly, "BOLT.2");
    EXPECT_EQ(Inst(assembly, removed, "ZRB_REMOVED_IN_PDM"), c.marked ? "1" : "");
    EXPECT_EQ(state_.highlightRemoved, c.marked ? 1 : 0);
    if (c.marked)
      EXPECT_NE(Warnings().find(c.message), std::string::npos) << Warnings();
    else
      EXPECT_EQ(Warnings(), "");
  }
}

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

class HostileAnswerTest : public ReadFixture {
 protected:
  void SetUp() override {
    SetUpIn("deep/xmap");
    scratch_.Write("deep/xmap/ASM.CADProduct", StructureAnswer::ProductFile("ASM"));
    scratch_.Write("deep/xmap/BOLT.CADPart", StructureAnswer::PartFile("BOLT"));
    assembly_ = answer_->Assembly(xmap_, "ASM");
    bolt_ = answer_->Part(xmap_, "BOLT");
    answer_->Relate(nullptr, "ROOT_REL_1", "ASM", "ASM.1", ZRBPosMatrixUtil::kIdentityText, false);
    answer_->Relate(assembly_, "RL1", "BOLT", "BOLT.1", ZRBPosMatrixUtil::kIdentityText);
  }
  CADIProduct_var Assembly() const { return RootOf(xmap_ + "/ASM.CADProduct"); }

  ZRBObject* assembly_ = nullptr;
  ZRBObject* bolt_ = nullptr;
};

struct Damage {
  const char* name;
  std::function<void(StructureAnswer&, ZRBObject* assembly)> apply;
  const char* expectedChildren;  // children of ASM afterwards
  int warningState;
  const char* warningText;  // part of the error lines ("" for none)
};

TEST_F(HostileAnswerTest, DamagedAnswersBuildWhatTheyCanAndSayWhatTheyLeftOut) {
  const auto matrix = [](const char* text) {
    return [text](StructureAnswer& a, ZRBObject*) { a.Answer().GetObject("RL1")->SetSlotValue("MATRIX", text); };
  };
  const char* identity = ZRBPosMatrixUtil::kIdentityText;
  const std::vector<Damage> damages = {
      {"a relation back to its own assembly",
       [identity](StructureAnswer& a, ZRBObject* asm_) { a.Relate(asm_, "RL_BACK", "ASM", "ASM.9", identity); },
       "BOLT.1", 1, "leads back into itself at \"ASM.9\""},
      {"a relation back to the answer's root",
       [identity](StructureAnswer& a, ZRBObject* asm_) {
         ZRBObject* r = a.Relate(asm_, "RL_ROOT", "ASM", "ROOT.1", identity);
         r->SetSlotValue("ASS_ITEM_ID", "ROOT");
       },
       "BOLT.1", 1, "leads back into itself"},
      {"dangling keys in every list",
       [identity](StructureAnswer& a, ZRBObject* asm_) {
         asm_->SlotAppend("SUBASSRELATIONS", "NO_SUCH_RELATION");
         asm_->SlotAppend("SENDING_LIST", "NO_SUCH_OBJECT");
         a.Root()->SlotAppend("DOCCOMS", "NO_SUCH_DOCUMENT");
         a.Relate(asm_, "RL_DANGLING", "NOBODY", "NOBODY.1", identity);
       },
       "BOLT.1", 1, "names \"NO_SUCH_RELATION\""},
      {"a location leading out of the exchange map",
       [](StructureAnswer& a, ZRBObject*) {
         a.Answer().GetObject("DC_BOLT")->SetSlotValue("EXTERNAL_LOCATION", "../../x");
       },
       "", 1, "\"x\" could not be loaded"},  // only its name is used: the exchange map has no "x"
      {"an empty matrix", matrix(""), "BOLT.1", 1, "no usable position for \"BOLT.1\""},
      {"a matrix of fifteen numbers", matrix("1 0 0 0 0 1 0 0 0 0 1 0 0 0 0"), "BOLT.1", 1, "no usable position"},
      {"a matrix with NaN", matrix("nan 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1"), "BOLT.1", 1, "no usable position"},
      {"a matrix that squashes the part flat", matrix("0 0 0 0 0 0 0 0 0 0 0 0 5 5 5 1"), "BOLT.1", 1,
       "no usable position"},
  };
  for (const Damage& damage : damages) {
    SCOPED_TRACE(damage.name);
    Restart();
    scratch_.Write("x", "outside the exchange map");
    scratch_.Write("deep/x", "outside the exchange map");
    damage.apply(*answer_, assembly_);

    EXPECT_EQ(Read(), 1);
    CADIProduct_var assembly = Assembly();
    ASSERT_TRUE(assembly);
    EXPECT_EQ(SampleSession::ChildNames(assembly), damage.expectedChildren);
    EXPECT_EQ(state_.warningState, damage.warningState) << Warnings();
    if (*damage.warningText) {
      EXPECT_NE(Warnings().find(damage.warningText), std::string::npos) << Warnings();
    } else {
      EXPECT_EQ(Warnings(), "");
    }
    // Nothing outside the exchange map was opened or changed.
    EXPECT_EQ(scratch_.Read("x"), "outside the exchange map");
    EXPECT_EQ(scratch_.Read("deep/x"), "outside the exchange map");
    EXPECT_FALSE(CADDocumentServices::GetDocumentInSession(scratch_.Path("x").c_str()));
    CADIProduct_var bolt = SampleSession::Child(assembly, "BOLT.1");
    if (bolt && std::string(damage.warningText).find("position") != std::string::npos) {
      // An unusable matrix leaves the default position and records no load-time position.
      double position[12];
      ASSERT_EQ(command_->GetProductPosition(bolt, assembly, position), 1);
      EXPECT_EQ(position[0], 1.0);
      EXPECT_EQ(position[9], 0.0);
      EXPECT_EQ(GlobPropertyManager.GetInstanceProperty(assembly, bolt, "ZRB_ORIG_MATRIX").str(), "");
    }
  }
}

TEST_F(HostileAnswerTest, AnswersDeeperThanTheCapAreCutOffThere) {
  // A chain of embedded components, each below the last: no documents needed, only depth.
  ZRBObject* parent = assembly_;
  for (int level = 1; level <= ZRBStructureReader::kMaxDepth + 20; ++level) {
    const std::string partNumber = "LEVEL" + std::to_string(level);
    ZRBObject* item = answer_->Answer().CreateObject(("IT_" + partNumber).c_str());
    item->SetSlotValue("DESCRIPTION", partNumber.c_str());
    item->SetSlotValue("USE_EMBEDDED_PRODUCT", "1");
    answer_->Relate(parent, "RL_" + partNumber, partNumber, partNumber + ".1", ZRBPosMatrixUtil::kIdentityText);
    parent = item;
  }
  EXPECT_EQ(Read(), 1);
  EXPECT_EQ(state_.warningState, 1);
  EXPECT_NE(Warnings().find("nested too deeply"), std::string::npos) << Warnings();
  int depth = 0;
  for (CADIProduct_var node = SampleSession::Child(Assembly(), "LEVEL1.1"); node;
       node = SampleSession::Child(node, "LEVEL" + std::to_string(depth + 1) + ".1"))
    ++depth;
  EXPECT_GT(depth, ZRBStructureReader::kMaxDepth - 5);
  EXPECT_LT(depth, ZRBStructureReader::kMaxDepth);
}

TEST(AnswerLocationTest, OnlyNamesInsideTheExchangeMapAreAccepted) {
  struct Case {
    const char* location;
    int accepted;
  };
  // Only the name is used: what the directory part says does not matter (a relative exchange map, one spelled
  // through "sub/../" or holding a control character).
  for (const Case& c : {Case{"/home/user/xmap/BOLT.CADPart", 1}, Case{"BOLT.CADPart", 1},
                        Case{"/elsewhere/BOLT.CADPart", 1}, Case{"../../x", 1}, Case{"a/../b.CADPart", 1},
                        Case{"rel/xmap/BOLT.CADPart", 1}, Case{"/x/ma\x01p/BOLT.CADPart", 1}, Case{"...CADPart", 1},
                        Case{"..", 0}, Case{"/xmap/..", 0}, Case{"/xmap/", 0}, Case{"/xmap/.", 0}, Case{"", 0},
                        Case{"a\\..\\b", 0}, Case{"BO\nLT.CADPart", 0}, Case{"B\x01OLT", 0}})
    EXPECT_EQ(ZRBAnswerLocation::IsAcceptable(c.location), c.accepted) << c.location;
}

TEST(InstancePositionTest, OnlyFiniteNonDegenerateSixteenNumberTextsArePositions) {
  struct Case {
    const char* text;
    int position;
  };
  // Malformed texts are the text reader's; here what a well-formed text may still not be.
  const Case cases[] = {
      {"1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1", 1},   {"0 1 0 0 -1 0 0 0 0 0 1 0 90 40 5 1", 1},
      {"2 0 0 0 0 2 0 0 0 0 2 0 0 0 0 1", 1},   {"", 0},
      {"1 0 0 0 0 1 0 0 0 0 1 0 inf 0 0 1", 0}, {"1 0 0 0 1 0 0 0 0 0 1 0 0 0 0 1", 0},  // two equal axes
  };
  for (const Case& c : cases) {
    double coefficients[12] = {};
    EXPECT_EQ(ZRBInstancePlacement::ReadPosition(c.text, coefficients), c.position) << c.text;
  }
}

}  // namespace

TEST_F(StructureReaderTest, KeysThatNameNoObjectWarnAndNonComponentPartsKeepRevisionAndNomenclature) {
  PrepareAssembly();
  answer_->Root()->SlotAppend("SUBASSRELATIONS", "RL_GONE");
  ZRBObject* bolt = answer_->Answer().GetObject("DC_BOLT");
  bolt->SetSlotValueList("STANDARD_ATTRS", StructureAnswer::List({"CADRevision", "CADNomenclature"}));
  bolt->SetSlotValueList("STANDARD_VALS", StructureAnswer::List({"B", "Hex bolt"}));
  ASSERT_EQ(Read(), 1);
  EXPECT_NE(Warnings().find("RL_GONE"), std::string::npos) << Warnings();
  EXPECT_EQ(state_.warningState, 1);
  CADIProduct_var boltRoot = RootOf(xmap_ + "/BOLT.CADPart");
  ASSERT_TRUE(boltRoot);
  EXPECT_EQ(Ref(boltRoot, "ZRB_REVISION"), "B");
  EXPECT_EQ(Ref(boltRoot, "ZRB_NOMENCLATURE"), "Hex bolt");
}

TEST_F(StructureReaderTest, ADocumentOpenedButNotPlacedLeavesTheSessionAndFailsTheLoad) {
  PrepareAssembly();
  // The assembly's product document is a part: it opens, but cannot hold the structure.
  scratch_.Write("xmap/ASM.CADPart", StructureAnswer::PartFile("ASM"));
  answer_->Answer().GetObject("PD_ASM")->SetSlotValue("EXTERNAL_LOCATION", (xmap_ + "/ASM.CADPart").c_str());
  Read();
  EXPECT_EQ(state_.loadFailure, 1);
  EXPECT_FALSE(CADDocumentServices::GetDocumentInSession((xmap_ + "/ASM.CADPart").c_str()));
}

TEST_F(StructureReaderTest, InstancesAddedToAnAssemblyAlreadyLoadedAreHighlighted) {
  PrepareAssembly();
  ASSERT_EQ(Read(), 1) << Warnings();
  EXPECT_EQ(state_.highlightAdded, 0);
  answer_->Relate(answer_->Answer().GetObject("IT_ASM"), "RL3", "BOLT", "BOLT.3", kShifted);
  ASSERT_EQ(Read(), 1) << Warnings();
  EXPECT_EQ(state_.highlightAdded, 1);
  ASSERT_EQ(state_.addedInstances.Size(), 1);
  EXPECT_EQ(state_.addedInstances[1].str(), "BOLT.3");
}

TEST_F(StructureReaderTest, StandardPartsComeFromTheInstallationWhenTheSiteDoesNotLoadThem) {
  struct Case {
    bool installed;
    int pdmManaged;
    int boltInstances;
    const char* message;
  } cases[] = {
      {false, 0, 0, "is not in the session"},
      {true, 0, 3, "2 instances of the standard part"},   // quantity 3 on one relation
      {false, 1, 3, "2 instances of the standard part"},  // the PDM delivers them: read from the exchange map
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    Restart();
    PrepareAssembly(false);
    answer_->Answer().GetObject("IT_BOLT")->SetSlotValue("IS_STD_PART", "1");
    answer_->Answer().GetObject("RL1")->SetSlotValue("QUANTITY", "3");
    state_.disableLoadStdCadParts = 1;
    state_.pdmManagedStdCadParts = c.pdmManaged;
    const std::string library = scratch_.MakeDirectory("library");
    if (c.installed) {
      scratch_.Write("library/BOLT.CADPart", StructureAnswer::PartFile("BOLT"));
      CADDocument* installed = nullptr;
      ASSERT_TRUE(SUCCEEDED(CADDocumentServices::OpenDocument((library + "/BOLT.CADPart").c_str(), installed)));
    }
    Read();
    const std::string all = Warnings() + Informations();
    EXPECT_NE(all.find(c.message), std::string::npos) << all;
    CADIProduct_var asm1 = Assembly();
    ASSERT_TRUE(asm1);
    EXPECT_EQ(asm1->GetChildren().Size(), c.boltInstances);
    EXPECT_EQ(CADDocumentServices::GetDocumentInSession((xmap_ + "/BOLT.CADPart").c_str()) != nullptr,
              c.pdmManaged == 1);
  }
}
