// Whole documents through exchange objects and back: a part, an assembly, a drawing and a process described in
// one session, answered by a stand-in PDM through a file, and applied to a fresh session, which must end up
// with the same attributes, user-defined properties and feature extensions. Also the PDM's renaming of a
// document and the names it may not use.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "CADAppFeature.h"
#include "CADAutoProduct.h"
#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADFrmEditor.h"
#include "CADFrmLayout.h"
#include "CADFrmWindow.h"
#include "CADIPrdProperties.h"
#include "SampleSession.h"
#include "TransferFixture.h"
#include "UserValue.h"
#include "ZRBCommand.h"
#include "ZRBConfigData.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBDocPropertyTransfer.h"
#include "ZRBFeatureExtension.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPropertyManager.h"

namespace {

// Awkward values. Single-valued slots carry them whole (blanks at the ends are not kept by the exchange); list
// items cannot hold a closing brace (the list form has no escape for it), so the values that travel in lists
// (standard attributes, user-defined values, feature values) have opening braces only.
const std::vector<std::string> kStandard = {"Rév. B-2", "Schraube\nM8 × 40 {alt", "DIN 933 (alt)", "Größe: ½\" «neu»"};

// The configured extension: a "Hole" of client "Drill" in container "Machining".
void ConfigureHoleExtension() {
  ZRBConfigData data;
  ZRBFeatureExtension& hole = data.AddFeatureExtension(" Machining\r", "Drill ", "Hole");
  hole.AddAttribute("Diameter", "%.3f");
  hole.AddAttribute("Threaded", "");
  hole.AddAttribute("Label", "");
  hole.AddAttribute("Code", "4");
  hole.AddAttribute("Count", "%d");
  hole.AddAttribute("Steps", "%.2f");
  hole.AddAttribute("Blob", "");
  g_ZRBConfig.SetConfigData(std::move(data));
}

struct HoleValues {
  double diameter;
  CADAttrValue threaded;
  std::string label, code;
  int count;
  std::vector<double> steps;
};

CADAppFeature* AddHole(CADDocument& document, const HoleValues& v) {
  document.AddApplicativeContainer("Machining");
  CADAppFeature* hole = document.AddApplicativeFeature("Machining", "Drill", "Hole");
  hole->AddAttribute("Diameter", CADAttrType::Double, false, {v.diameter});
  hole->AddAttribute("Threaded", CADAttrType::Boolean, false, {v.threaded});
  hole->AddAttribute("Label", CADAttrType::String, false, {CADUnicodeString(v.label)});
  hole->AddAttribute("Code", CADAttrType::String, false, {CADUnicodeString(v.code)});
  hole->AddAttribute("Count", CADAttrType::Integer, false, {v.count});
  std::vector<CADAttrValue> steps(v.steps.begin(), v.steps.end());
  hole->AddAttribute("Steps", CADAttrType::Double, true, steps);
  hole->AddAttribute("Blob", CADAttrType::Octet, false, {CADUnicodeString("raw")});
  return hole;
}

const CADAttrValue& Value(const CADAppFeature& feature, const char* name, std::size_t i = 0) {
  return feature.FindAttribute(name)->values.at(i);
}

class DocumentTransferTest : public TransferFixture {
 protected:
  // The PDM stores what it was sent and answers with its identity, the stored attributes, the user-defined
  // properties (one added, one deleted on its side) and the feature extensions, under a name of its own.
  std::unique_ptr<ZRBObjectManager> PdmAnswer(const ZRBObjectManager& sent, const CADString& modelKey, const char* kind,
                                              const char* relativePath) {
    const ZRBObject& model = *sent.GetObject(modelKey);
    ZRBObjectManager pdm;
    pdm.CreateObject("ROOT")->SetSlotValue("CADCLASSNAME", kind);
    ZRBObject* a = pdm.CreateObject("ANSWER");
    a->SetSlotValue("ISCOMPONENT", "0");
    a->SetSlotValue("OBID", "P-7");
    a->SetSlotValue("CLASSNAME", "x0CadPrt");
    a->SetSlotValue("CHANGEABLE", "1");
    a->SetSlotValue("DB_NAME", model.GetSlotValue("DB_NAME"));
    a->SetSlotValue("DESCRIPTION", model.GetSlotValue("PARTNUMBER"));
    a->SetSlotValue("RELATIVE_PATH", relativePath);
    a->SetSlotValue("ORIG_LOCATION", "/vault/orig");
    a->SetSlotValueList("STANDARD_ATTRS", {"CADRevision", "CADNomenclature", "CADDefinition", "CADDescription"});
    a->SetSlotValueList("STANDARD_VALS", {model.GetSlotValue("REVISION"), model.GetSlotValue("NOMENCLATURE"),
                                          model.GetSlotValue("DEFINITION"), kStandard[3]});
    CADListValCADString displays = model.GetSlotValueList("USER_DEF_DISPLAYS");
    CADListValCADString props = model.GetSlotValueList("USER_DEF_PROPS");
    CADListValCADString values = model.GetSlotValueList("USER_DEF_VALS");
    displays.Append("Werkstoff"), props.Append("x0Material"), values.Append("Stahl 8.8 «ä»");
    a->SetSlotValueList("USER_DEF_DISPLAYS", displays);
    a->SetSlotValueList("USER_DEF_PROPS", props);
    a->SetSlotValueList("USER_DEF_VALS", values);
    a->SetSlotValueList("USER_DEF_DEL_NAMES", {"Obsolete"});
    if (const ZRBObject* fe = sent.GetObject(model.GetSlotValue("FEATURE_EXTENTIONS"))) {
      ZRBObject* copy = pdm.CreateObject("FE");
      CADListValCADString names, values;
      fe->GetAllSlots(names, values);
      for (int i = 1; i <= names.Size(); ++i) copy->SetSlotValue(names[i], values[i]);
      a->SetSlotValue("FEATURE_EXTENTIONS", "FE");
    }
    return ThroughFile(pdm);
  }
};

const HoleValues kDesigned = {8.5, true, "  M8 «ä»\n{x", "ABCDÄFG", 4, {1.5, 2.25}};
const HoleValues kBlank = {0.0, CADAttrValue(), "", "", 0, {0.0}};

TEST_F(DocumentTransferTest, PartDocumentTravelsToAFreshSessionWithItsAttributesAndFeatures) {
  ConfigureHoleExtension();
  std::unique_ptr<ZRBObjectManager> answer;
  {
    SampleSession first;
    CADDocument* document = first.Open("Bolt.CADPart");
    CADIProduct_var bolt = document->GetRootProduct();
    // Blanks at the ends do not travel; braces do in single-valued slots.
    GlobPropertyManager.SetRevision(bolt, "  " + kStandard[0] + "  ");
    GlobPropertyManager.SetNomenclature(bolt, kStandard[1]);
    GlobPropertyManager.SetDefinition(bolt, kStandard[2]);
    GlobPropertyManager.SetReferenceProperty(bolt, "ZRB_DB_NAME", " {vault} }1{ ");
    GlobPropertyManager.SetReferenceProperty(bolt, "ZRB_OBID", "P-7");
    // What the PDM sent earlier, then changed by the designer.
    ZRBObject earlier;
    earlier.SetSlotValueList("USER_DEF_DISPLAYS", {"Finish", "Obsolete"});
    earlier.SetSlotValueList("USER_DEF_PROPS", {"x0Finish", "x0Old"});
    earlier.SetSlotValueList("USER_DEF_VALS", {"raw", "old"});
    ASSERT_EQ(ZRBDocPropertyTransfer::SetUserDefinedPropertiesFromZRBObject(bolt, &earlier), 1);
    CADAutoProduct_var(bolt.get())->SetUserRefPropertyValue("Finish", "verzinkt\nmatt «ü»");
    AddHole(*document, kDesigned);
    AddHole(*document, {99, false, "second", "", 9, {}});  // a second hole is not the one transferred

    ZRBObjectManager request;
    ZRBObject* documentObject = request.CreateObject("DOC");
    documentObject->SetSlotValue("CADCLASSNAME", "CADPart");
    CADString modelKey;
    ASSERT_EQ(
        ZRBDocPropertyTransfer::SetDocPropertiesToZRBObject(NewCommand(), request, document, documentObject, modelKey),
        1);
    ZRBObject* model = request.GetObject(modelKey);
    ASSERT_NE(model, nullptr);
    ASSERT_EQ(ZRBDocPropertyTransfer::SetFeatureExtentionsToZRBObject(request, document, model), 1);
    ASSERT_EQ(ZRBDocPropertyTransfer::SetUserDefPropertiesToZRBObject(bolt, model), S_OK);
    auto sent = ThroughFile(request);
    const ZRBObject& m = *sent->GetObject(modelKey);
    EXPECT_EQ(sent->GetObject("DOC")->GetSlotValueList("SUBASSEMBLIES"), CADListValCADString({modelKey}));
    for (const char* slot : {"PATH", "EXTERNAL_LOCATION"})
      EXPECT_EQ(m.GetSlotValue(slot).str(), document->StorageName().str()) << slot;
    EXPECT_EQ(m.GetSlotValue("ID").str(), "P-7");
    EXPECT_EQ(m.GetSlotValue("PARTNUMBER").str(), "Bolt");
    EXPECT_EQ(m.GetSlotValue("ORIG_PARTNUMBER").str(), "Bolt");
    EXPECT_EQ(m.GetSlotValue("REVISION").str(), kStandard[0]);
    EXPECT_EQ(m.GetSlotValue("DB_NAME").str(), "{vault} }1{");
    EXPECT_NE(sent->GetObject(m.GetSlotValue("MODEL_INFO")), nullptr);
    const ZRBObject& fe = *sent->GetObject(m.GetSlotValue("FEATURE_EXTENTIONS"));
    EXPECT_EQ(fe.GetSlotValueList("FEATURE_ATTRS"),
              CADListValCADString({"Diameter", "Threaded", "Label", "Code", "Count", "Steps", "Steps"}));
    EXPECT_EQ(fe.GetSlotValueList("FEATURE_VALUES"),
              CADListValCADString({"8.500", "+", "  M8 «ä»\n{x", "ABCD", "4", "1.50", "2.25"}));
    EXPECT_EQ(fe.GetSlotValueList("CONTAINER_IDS").Size(), 7);
    answer = PdmAnswer(*sent, modelKey, "CADPart", "Bolt-P7");
    answer->GetObject("ANSWER")->SetSlotValue("EXTERNAL_LOCATION", "/pdm/files/Bolt.CADPart");
  }
  GlobPropertyManager.ResetForTests();
  SampleSession second;
  CADDocument* document = second.Open("Bolt.CADPart");
  CADIProduct_var bolt = document->GetRootProduct();
  CADAutoProduct_var(bolt.get())->CreateUserRefProperty("Obsolete", "String", "old");
  CADAppFeature* hole = AddHole(*document, kBlank);
  AddHole(*document, {99, false, "second", "", 9, {}});
  CADFrmWindow* window = nullptr;
  ASSERT_EQ(CADFrmLayout::GetCurrentLayout().OpenWindow(document, window), S_OK);
  const ZRBObject* a = answer->GetObject("ANSWER");

  ASSERT_EQ(ZRBDocPropertyTransfer::SetDocPropertiesFromZRBObject(NewCommand(), *answer, document, "ANSWER"), 1);
  ASSERT_EQ(ZRBDocPropertyTransfer::SetUserDefinedPropertiesFromZRBObject(bolt, a), 1);
  ASSERT_EQ(ZRBDocPropertyTransfer::GetFeatureExtentionsFromZRBObject(bolt, a, *answer), 1);

  EXPECT_EQ(ReadStandard(bolt), kStandard);
  EXPECT_EQ(UserValue(bolt, "Finish"), "verzinkt\nmatt «ü»");
  EXPECT_EQ(UserValue(bolt, "Werkstoff"), "Stahl 8.8 «ä»");
  EXPECT_EQ(UserValue(bolt, "Obsolete"), "<absent>");
  for (auto [property, value] : {std::pair{"ZRB_OBID", "P-7"},
                                 {"ZRB_CLASSNAME", "x0CadPrt"},
                                 {"ZRB_CHANGEABLE", "1"},
                                 {"ZRB_ISCOMPONENT", "0"},
                                 {"ZRB_PARTNUMBER", "Bolt"},
                                 {"ZRB_DB_NAME", "{vault} }1{"},
                                 {"ZRB_EXTERNAL_LOCATION", "/pdm/files/Bolt.CADPart"},
                                 {"ZRB_REVISION", kStandard[0].c_str()}})
    EXPECT_EQ(GlobPropertyManager.GetReferenceProperty(bolt, property).str(), value) << property;
  // The features: cut and rounded texts travelled, but the values they came from are the ones kept.
  EXPECT_EQ(Value(*hole, "Diameter"), CADAttrValue(8.5));
  EXPECT_EQ(Value(*hole, "Threaded"), CADAttrValue(true));
  EXPECT_EQ(Value(*hole, "Label"), CADAttrValue(CADUnicodeString(kDesigned.label)));
  EXPECT_EQ(Value(*hole, "Code"), CADAttrValue(CADUnicodeString("ABCD")));  // all the PDM was told
  EXPECT_EQ(Value(*hole, "Count"), CADAttrValue(4));
  EXPECT_EQ(hole->FindAttribute("Steps")->values, (std::vector<CADAttrValue>{1.5, 2.25}));
  EXPECT_EQ(Value(*hole, "Blob"), CADAttrValue(CADUnicodeString("raw")));
  std::vector<CADAppFeature*> holes;
  document->GetApplicativeFeatures("Machining", "Drill", holes);
  EXPECT_EQ(Value(*holes.at(1), "Count"), CADAttrValue(9));
  // Renamed into the exchange map as the PDM asked, titled, with its file properties.
  const std::string renamed = xmapDir_ + "/Bolt-P7.CADPart";
  EXPECT_EQ(document->StorageName().str(), renamed);
  EXPECT_EQ(window->GetEditor()->GetTitle().str(), "ZRB - Bolt-P7");
  EXPECT_EQ(GlobPropertyManager.GetFileProperty(renamed, "SAM_ORIG_LOCATION").str(), "/vault/orig");
  EXPECT_FALSE(GlobPropertyManager.GetFileProperty(renamed, "ZRB_LAST_KNOWN_MOD_TIME").IsEmpty());
  EXPECT_EQ(GlobPropertyManager.GetFullPath(bolt).str(), renamed);
}

TEST_F(DocumentTransferTest, AssemblyTravelsToAFreshSession) {
  ConfigureHoleExtension();
  std::unique_ptr<ZRBObjectManager> answer;
  CADString modelKey = "MODEL";
  {
    SampleSession first;
    CADDocument* document = first.Open("Bracket.CADProduct");
    CADIProduct_var bracket = document->GetRootProduct();
    GlobPropertyManager.SetRevision(bracket, kStandard[0]);
    GlobPropertyManager.SetNomenclature(bracket, kStandard[1]);
    GlobPropertyManager.SetDefinition(bracket, kStandard[2]);
    CADAutoProduct_var(bracket.get())->CreateUserRefProperty("Finish", "String", "  lackiert {RAL 9005}  ");
    AddHole(*document, kDesigned);
    ZRBObjectManager request;
    ZRBObject* model = request.CreateObject(modelKey);
    ASSERT_EQ(ZRBDocPropertyTransfer::SetPartPropertiesToZRBObject(request, bracket, model), 1);
    ASSERT_EQ(ZRBDocPropertyTransfer::SetFeatureExtentionsToZRBObject(request, document, model), 1);
    model->SetSlotValueList("USER_DEF_DISPLAYS", {"Finish"});
    model->SetSlotValueList("USER_DEF_PROPS", {"x0Finish"});
    model->SetSlotValueList("USER_DEF_VALS", {"lackiert {RAL 9005"});
    answer = PdmAnswer(*ThroughFile(request), modelKey, "CADProduct", "Bracket-A1");
    answer->GetObject("ANSWER")->SetSlotValue("ASSEMBLYOBID", "A-1");
    answer->GetObject("ANSWER")->SetSlotValue("PARTNUMBER", "BRK «1»");
  }
  GlobPropertyManager.ResetForTests();
  SampleSession second;
  CADDocument* document = second.Open("Bracket.CADProduct");
  CADIProduct_var bracket = document->GetRootProduct();
  CADAutoProduct_var(bracket.get())->CreateUserRefProperty("Obsolete", "String", "x");
  CADAppFeature* hole = AddHole(*document, kBlank);
  const ZRBObject* a = answer->GetObject("ANSWER");
  ASSERT_EQ(ZRBDocPropertyTransfer::SetProductPropertiesFromZRBObject(bracket, a), 1);
  ASSERT_EQ(ZRBDocPropertyTransfer::SetUserDefinedPropertiesFromZRBObject(bracket, a), 1);
  ASSERT_EQ(ZRBDocPropertyTransfer::GetFeatureExtentionsFromZRBObject(bracket, a, *answer), 1);
  ZRBObject renamed = *a;
  ASSERT_EQ(ZRBDocPropertyTransfer::SetFilePropertiesFromZRBObject(NewCommand(), renamed, document, 0, bracket), 1);

  EXPECT_EQ(bracket->GetPartNumber().str(), "BRK «1»");
  EXPECT_EQ(ReadStandard(bracket), kStandard);
  EXPECT_EQ(GlobPropertyManager.GetReferenceProperty(bracket, "ZRB_OBID").str(), "A-1");
  EXPECT_EQ(UserValue(bracket, "Finish"), "lackiert {RAL 9005");
  EXPECT_EQ(UserValue(bracket, "Werkstoff"), "Stahl 8.8 «ä»");
  EXPECT_EQ(UserValue(bracket, "Obsolete"), "<absent>");
  EXPECT_EQ(Value(*hole, "Diameter"), CADAttrValue(8.5));
  EXPECT_EQ(hole->FindAttribute("Steps")->values, (std::vector<CADAttrValue>{1.5, 2.25}));
  EXPECT_EQ(document->StorageName().str(), xmapDir_ + "/Bracket-A1.CADProduct");
  EXPECT_TRUE(document->IsDirty());
}

TEST_F(DocumentTransferTest, DrawingTravelsToAFreshSession) {
  SetVariable("ZRB_CALC_SHEET", "ON");
  std::unique_ptr<ZRBObjectManager> answer;
  CADString modelKey;
  {
    SampleSession first;
    CADDocument* document = first.Open("Plate.CADDrawing");
    CADIDrawing_var drawing(document);
    drawing->SetComment(" Prüfen {bis} Montag\nbitte ");
    drawing->SetResponsible("Zoë");
    drawing->AddSheet("Détail «A»");
    GlobPropertyManager.SetFileProperty(document->StorageName(), "ZRB_OBID", "D-1");
    ZRBObjectManager request;
    ZRBObject* documentObject = request.CreateObject("DOC");
    documentObject->SetSlotValue("CADCLASSNAME", "CADDrawing");
    ASSERT_EQ(
        ZRBDocPropertyTransfer::SetDocPropertiesToZRBObject(NewCommand(), request, document, documentObject, modelKey),
        1);
    ZRBObject* model = request.GetObject(modelKey);
    ASSERT_EQ(ZRBDocPropertyTransfer::SetModelInfoToZRBObject(request, drawing, model, document), 1);
    auto sent = ThroughFile(request);
    const ZRBObject& m = *sent->GetObject(modelKey);
    EXPECT_EQ(m.GetSlotValue("OBID").str(), "D-1");
    EXPECT_EQ(m.GetSlotValue("COMMENT").str(), "Prüfen {bis} Montag\nbitte");
    EXPECT_EQ(m.GetSlotValue("RESPONSIBLE").str(), "Zoë");
    EXPECT_EQ(sent->GetObject(m.GetSlotValue("MODEL_INFO"))->GetSlotValueList("SHEETS"),
              CADListValCADString({"Sheet.1", "Détail «A»"}));
    answer = PdmAnswer(*sent, modelKey, "CADDrawing", "Plate-D1");
    ZRBObject* a = answer->GetObject("ANSWER");
    a->SetSlotValue("DESCRIPTION", " Platte «D1» ");
    a->SetSlotValueList("STANDARD_ATTRS", {"CADRevision", "CADNomenclature"});
    a->SetSlotValueList("STANDARD_VALS", {"C", "ignored for drawings"});
    a->SetSlotValueList("PARAM_ATTRS", {"Title", "Scale", "Unknown"});
    a->SetSlotValueList("PARAM_VALS", {"Grundplatte\n«neu»", "5", "x"});
  }
  GlobPropertyManager.ResetForTests();
  SampleSession second;
  CADDocument* document = second.Open("Plate.CADDrawing");
  CADIDrawing_var drawing(document);
  drawing->AddParameter("Title", "String", "old");
  drawing->AddParameter("Scale", "Integer", "2");  // not a text: kept
  ASSERT_EQ(ZRBDocPropertyTransfer::SetDocPropertiesFromZRBObject(NewCommand(), *answer, document, "ANSWER"), 0)
      << "no window: the title cannot be set";
  const std::string path = xmapDir_ + "/Plate-D1.CADDrawing";
  EXPECT_EQ(document->StorageName().str(), path);
  CADUnicodeString name;
  drawing->GetName(name);
  EXPECT_EQ(name.str(), "Platte «D1»");
  for (auto [property, value] : {std::pair{"ZRB_OBID", "P-7"},
                                 {"ZRB_PARTNUMBER", "Platte «D1»"},
                                 {"ZRB_REVISION", "C"},
                                 {"ZRB_CLASSNAME", "x0CadPrt"}}) {
    // Stored under the name the drawing had when the answer arrived: they follow it to its new name.
    EXPECT_EQ(GlobPropertyManager.GetFileProperty(path, property).str(), value) << property;
  }
  EXPECT_FALSE(GlobPropertyManager.IsFilePropertySet(path, "ZRB_NOMENCLATURE"));
  std::vector<std::string> parameters;
  for (int i = 1; i <= drawing->GetParameterCount(); ++i) {
    CADUnicodeString n, t, v;
    drawing->GetParameter(i, n, t, v);
    parameters.push_back(n.str() + "=" + v.str());
  }
  EXPECT_EQ(parameters, (std::vector<std::string>{"Title=Grundplatte\n«neu»", "Scale=2"}));
}

TEST_F(DocumentTransferTest, ProcessIdentityGoesToTheProcessFileAndGuardsItsWriteAccess) {
  SampleSession sample;
  CADDocument* process = nullptr;
  ASSERT_EQ(CADDocumentServices::New("CADProcess", process), S_OK);
  const CADUnicodeString file(xmapDir_ + "/Weld «1».CADProcess");
  ASSERT_EQ(CADDocumentServices::SaveAs(process, file), S_OK);
  struct Case {
    const char* changeable;
    int readOnly;
  };
  for (Case c : {Case{"1", 0}, Case{"0", 1}}) {
    GlobPropertyManager.ResetForTests();
    process->SetReadOnly(0);
    ZRBObjectManager pdm;
    ZRBObject* given = pdm.CreateObject("ANSWER");
    given->SetSlotValue("CADPROCESS", "PROC");
    given->SetSlotValue("EDESC_ID", "E-1");
    given->SetSlotValue("DESCRIPTION", "Schweißen {links}\nNaht");
    given->SetSlotValueList("STANDARD_ATTRS", {"CADRevision", "CADDescription"});
    given->SetSlotValueList("STANDARD_VALS", {"B", "Nähte «alle»"});
    ZRBObject* proc = pdm.CreateObject("PROC");
    proc->SetSlotValue("EXTERNAL_LOCATION", file.str());
    proc->SetSlotValue("ID", "PR-9");
    proc->SetSlotValue("CHANGEABLE", c.changeable);
    auto answer = ThroughFile(pdm);
    GlobPropertyManager.SetFileProperty(file, "ZRB_LAST_KNOWN_MOD_TIME", "12345");  // known already: kept
    ASSERT_EQ(ZRBDocPropertyTransfer::SetProcessPropertiesFromZRBObject(*answer, answer->GetObject("ANSWER")), 1);
    for (auto [property, value] : {std::pair{"ZRB_OBID", "E-1"},
                                   {"ZRB_PARTNUMBER", "Schweißen {links}\nNaht"},
                                   {"ZRB_PROCESS_OBID", "PR-9"},
                                   {"ZRB_PROCESS_CHANGEABLE", c.changeable},
                                   {"ZRB_REVISION", "B"},
                                   {"ZRB_DESCRIPTION", "Nähte «alle»"},
                                   {"ZRB_LAST_KNOWN_MOD_TIME", "12345"}})
      EXPECT_EQ(GlobPropertyManager.GetFileProperty(file, property).str(), value) << property;
    EXPECT_EQ(process->IsReadOnly(), c.readOnly) << c.changeable;
  }
  ZRBObjectManager empty;
  ZRBObject* orphan = empty.CreateObject("ANSWER");
  orphan->SetSlotValue("CADPROCESS", "MISSING");
  EXPECT_EQ(ZRBDocPropertyTransfer::SetProcessPropertiesFromZRBObject(empty, orphan), 0);
  EXPECT_EQ(ZRBDocPropertyTransfer::SetProcessPropertiesFromZRBObject(empty, nullptr), 0);
}

TEST_F(DocumentTransferTest, RelativePathsThatLeaveTheExchangeMapAreRefusedAndTheDocumentKeepsItsName) {
  SampleSession sample;
  CADDocument* document = sample.Open("Bolt.CADPart");
  const CADUnicodeString before = document->StorageName();
  ProbeCommand& command = NewCommand();
  for (const char* hostile :
       {"/etc/passwd", "../outside", "a/../../b", "a//b", "./b", "C:\\x", "\\\\server\\s", "a/."}) {
    ZRBObject object;
    object.SetSlotValue("RELATIVE_PATH", hostile);
    EXPECT_EQ(ZRBDocPropertyTransfer::SetFilePropertiesFromZRBObject(command, object, document, 0), 0) << hostile;
    EXPECT_EQ(document->StorageName(), before) << hostile;
  }
  EXPECT_EQ(command.GetWarnings().Size(), 8);
  ZRBObject none;  // no new name: nothing to do, and that is success
  EXPECT_EQ(ZRBDocPropertyTransfer::SetFilePropertiesFromZRBObject(command, none, document, 1), 1);
  EXPECT_EQ(document->StorageName(), before);
}

TEST_F(DocumentTransferTest, AFailedSaveUnderTheNewNameIsCollectedAndKeepsTheDocumentAsItWas) {
  SampleSession sample;
  CADDocument* document = sample.Open("Bolt.CADPart");
  document->SetReadOnly(1);
  const CADUnicodeString before = document->StorageName();
  ProbeCommand& command = NewCommand();
  ZRBObject object;
  object.SetSlotValue("RELATIVE_PATH", "no-such-dir/Bolt");
  EXPECT_EQ(ZRBDocPropertyTransfer::SetFilePropertiesFromZRBObject(command, object, document, 0), 0);
  EXPECT_EQ(document->StorageName(), before);
  EXPECT_EQ(document->IsReadOnly(), 1);
  ASSERT_EQ(command.GetWarnings().Size(), 1);
  EXPECT_NE(command.GetWarnings()[1].str().find("Bolt.CADPart"), std::string::npos) << command.GetWarnings()[1].str();
}

TEST_F(DocumentTransferTest, DescribingUnknownOrMissingDocumentsWritesNothing) {
  SampleSession sample;
  CADDocument* document = sample.Open("Bolt.CADPart");
  ZRBObjectManager request;
  ZRBObject* documentObject = request.CreateObject("DOC");
  CADString key;
  for (const char* kind : {"CADProcess", ""}) {
    documentObject->SetSlotValue("CADCLASSNAME", kind);
    EXPECT_EQ(ZRBDocPropertyTransfer::SetDocPropertiesToZRBObject(NewCommand(), request, document, documentObject, key),
              0);
  }
  EXPECT_EQ(ZRBDocPropertyTransfer::SetDocPropertiesToZRBObject(NewCommand(), request, nullptr, documentObject, key),
            0);
  EXPECT_EQ(request.GetObjectCount(), 1);
  ZRBObjectManager noRoot;
  noRoot.CreateObject("ANSWER");
  EXPECT_EQ(ZRBDocPropertyTransfer::SetDocPropertiesFromZRBObject(NewCommand(), noRoot, document, "ANSWER"), 0);
}

TEST_F(DocumentTransferTest, PropertiesReachEveryNodeBelowDepthFirstAndInstancePropertiesGo) {
  SampleSession sample;
  CADIProduct_var root = sample.OpenAssembly();
  ZRBDocPropertyTransfer::SetReferencePropertyToAllChildren(root, "ZRB_MARK", "m");
  ZRBDocPropertyTransfer::SetInstancePropertyToAllChildren(root, "ZRB_INSTANCE_IN_ZRB", "1");
  ZRBDocPropertyTransfer::SetFilePropertyToAllChildren(root, "ZRB_SEEN", "1");
  CADIProduct_var deep = SampleSession::Node(root, "Fixings.1/Bolt.1");
  CADIProduct_var fixings = SampleSession::Child(root, "Fixings.1");
  EXPECT_EQ(GlobPropertyManager.GetReferenceProperty(deep, "ZRB_MARK").str(), "m");
  EXPECT_FALSE(GlobPropertyManager.IsReferencePropertySet(root, "ZRB_MARK"));
  EXPECT_EQ(GlobPropertyManager.GetInstanceProperty(fixings, deep, "ZRB_INSTANCE_IN_ZRB").str(), "1");
  EXPECT_EQ(GlobPropertyManager.GetFileProperty(sample.Path("Bolt.CADPart"), "ZRB_SEEN").str(), "1");
  ZRBDocPropertyTransfer::RemoveReferencePropertyFromAllChildren(root, "ZRB_MARK");
  EXPECT_FALSE(GlobPropertyManager.IsReferencePropertySet(deep, "ZRB_MARK"));

  EXPECT_EQ(ZRBDocPropertyTransfer::RemoveZRBPropsFromInstance(fixings, 0), 1);
  EXPECT_TRUE(GlobPropertyManager.IsInstancePropertySet(fixings, deep, "ZRB_INSTANCE_IN_ZRB"));
  EXPECT_FALSE(GlobPropertyManager.IsInstancePropertySet(root, fixings, "ZRB_INSTANCE_IN_ZRB"));
  EXPECT_EQ(ZRBDocPropertyTransfer::RemoveZRBPropsFromInstance(fixings, 1), 1);
  EXPECT_FALSE(GlobPropertyManager.IsInstancePropertySet(fixings, deep, "ZRB_INSTANCE_IN_ZRB"));
}

}  // namespace
