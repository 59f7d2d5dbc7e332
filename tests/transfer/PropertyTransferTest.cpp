// Part and assembly attributes through exchange objects in both directions: a session's attributes written to
// a request, carried through a file as the PDM answers them, and applied to a fresh session; the part-number,
// location and standard-attribute rules; user-defined properties with additions, changes and deletions.
#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>

#include "CADAutoProduct.h"
#include "CADIPrdProperties.h"
#include "CommandFixture.h"
#include "SampleSession.h"
#include "UserValue.h"
#include "XmapScratchDirectory.h"
#include "ZRBDocPropertyTransfer.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPropertyManager.h"

namespace {

struct Standard {
  std::string revision, nomenclature, definition, description;
  friend bool operator==(const Standard&, const Standard&) = default;
};

void PrintTo(const Standard& s, std::ostream* out) {
  *out << "{\"" << s.revision << "\", \"" << s.nomenclature << "\", \"" << s.definition << "\", \"" << s.description
       << "\"}";
}

Standard ReadStandard(const CADIProduct_var& product) {
  CADVar<CADIPrdProperties> properties(product->GetReferenceProduct().get());
  Standard s;
  CADUnicodeString v;
  if (SUCCEEDED(properties->GetRevision(v))) s.revision = v.str();
  if (SUCCEEDED(properties->GetNomenclature(v))) s.nomenclature = v.str();
  if (SUCCEEDED(properties->GetDefinition(v))) s.definition = v.str();
  if (SUCCEEDED(properties->GetDescription(v))) s.description = v.str();
  return s;
}

class PropertyTransferTest : public CommandFixture {
 protected:
  void SetUp() override {
    CommandFixture::SetUp();
    xmapVariable_ = std::make_unique<XmapScopedVariable>("ZRBXMAP", xmap_.MakeDirectory("xmap").c_str());
  }
  void TearDown() override {
    xmapVariable_.reset();
    CommandFixture::TearDown();
  }
  // Writes the objects to a file and reads them back, as they travel to and from the PDM.
  std::unique_ptr<ZRBObjectManager> ThroughFile(const ZRBObjectManager& manager) {
    const CADUnicodeString path(xmap_.Path("transfer.zrb"));
    EXPECT_EQ(manager.Write(path), 1);
    auto read = std::make_unique<ZRBObjectManager>();
    EXPECT_EQ(read->Read(path), 1);
    return read;
  }

  XmapScratchDirectory xmap_;
  std::unique_ptr<XmapScopedVariable> xmapVariable_;
};

// Awkward values: blanks at both ends (the exchange strips them), a line feed, non-ASCII text. Braces travel in
// single-valued slots (the database name below); list items cannot hold them yet.
const Standard kAwkward = {"  Rév. B-2  ", "Schraube\nM8 × 40", "DIN 933 (alt)", "Größe: ½\" – «neu»"};
const Standard kAwkwardStripped = {"Rév. B-2", "Schraube\nM8 × 40", "DIN 933 (alt)", "Größe: ½\" – «neu»"};

TEST_F(PropertyTransferTest, PartAttributesTravelToTheSessionOfAnotherDesigner) {
  std::unique_ptr<ZRBObjectManager> answer;
  {
    SampleSession first;
    CADIProduct_var bolt = first.Open("Bolt.CADPart")->GetRootProduct();
    GlobPropertyManager.SetRevision(bolt, kAwkward.revision);
    GlobPropertyManager.SetNomenclature(bolt, kAwkward.nomenclature);
    GlobPropertyManager.SetDefinition(bolt, kAwkward.definition);
    GlobPropertyManager.SetDescription(bolt, kAwkward.description);
    GlobPropertyManager.SetReferenceProperty(bolt, "ZRB_DB_NAME", " {vault} }1{ ");

    ZRBObjectManager request;
    ZRBObject* model = request.CreateObject("MODEL");
    ASSERT_EQ(ZRBDocPropertyTransfer::SetPartPropertiesToZRBObject(request, bolt, model), 1);
    auto sent = ThroughFile(request);
    const ZRBObject* m = sent->GetObject("MODEL");
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->GetSlotValue("PARTNUMBER").str(), "Bolt");
    EXPECT_EQ(m->GetSlotValue("ORIG_PARTNUMBER").str(), "Bolt");
    EXPECT_EQ(m->GetSlotValue("REVISION").str(), kAwkwardStripped.revision);
    EXPECT_EQ(m->GetSlotValue("NOMENCLATURE").str(), kAwkwardStripped.nomenclature);
    EXPECT_EQ(m->GetSlotValue("DEFINITION").str(), kAwkwardStripped.definition);
    EXPECT_EQ(m->GetSlotValue("DB_NAME").str(), "{vault} }1{");

    // The PDM answers with what it stored.
    ZRBObjectManager pdm;
    ZRBObject* a = pdm.CreateObject("ANSWER");
    a->SetSlotValue("ISCOMPONENT", "0");
    a->SetSlotValue("OBID", "P-1");
    a->SetSlotValue("CLASSNAME", "x0CadPrt");
    a->SetSlotValue("CHANGEABLE", "1");
    a->SetSlotValue("DB_NAME", m->GetSlotValue("DB_NAME"));
    a->SetSlotValue("DESCRIPTION", m->GetSlotValue("PARTNUMBER"));
    a->SetSlotValue("EXTERNAL_LOCATION", "/pdm/files/Bolt.CADPart");
    a->SetSlotValueList("STANDARD_ATTRS", {"CADRevision", "CADNomenclature", "CADDefinition", "CADDescription"});
    a->SetSlotValueList("STANDARD_VALS", {m->GetSlotValue("REVISION"), m->GetSlotValue("NOMENCLATURE"),
                                          m->GetSlotValue("DEFINITION"), kAwkward.description});
    answer = ThroughFile(pdm);
  }
  GlobPropertyManager.ResetForTests();
  SampleSession second;
  CADIProduct_var bolt = second.Open("Bolt.CADPart")->GetRootProduct();
  ASSERT_FALSE(ReadStandard(bolt) == kAwkwardStripped);
  ASSERT_EQ(ZRBDocPropertyTransfer::SetPartPropertiesFromZRBObject(bolt, answer->GetObject("ANSWER")), 1);
  EXPECT_EQ(ReadStandard(bolt), kAwkwardStripped);
  struct Ref {
    const char* name;
    const char* value;
  };
  for (Ref r : {Ref{"ZRB_OBID", "P-1"}, Ref{"ZRB_CLASSNAME", "x0CadPrt"}, Ref{"ZRB_CHANGEABLE", "1"},
                Ref{"ZRB_ISCOMPONENT", "0"}, Ref{"ZRB_PARTNUMBER", "Bolt"}, Ref{"ZRB_DB_NAME", "{vault} }1{"},
                Ref{"ZRB_EXTERNAL_LOCATION", "/pdm/files/Bolt.CADPart"}, Ref{"ZRB_REVISION", "R\xC3\xA9v. B-2"}}) {
    EXPECT_EQ(GlobPropertyManager.GetReferenceProperty(bolt, r.name).str(), r.value) << r.name;
  }
}

TEST_F(PropertyTransferTest, AssemblyAndComponentIdentitiesGoToTheirOwnReferenceProperties) {
  SampleSession sample;
  CADIProduct_var bracket = sample.Open("Bracket.CADProduct")->GetRootProduct();
  ZRBObject assembly;
  assembly.SetSlotValue("ASSEMBLYOBID", "A-1");
  assembly.SetSlotValue("ASSEMBLYCLASSNAME", "x0Asm");
  assembly.SetSlotValue("ASSEMBLYCHANGEABLE", "0");
  assembly.SetSlotValue("ASSEMBLY_DB_NAME", "adb");
  assembly.SetSlotValue("OBID", "PR-1");
  assembly.SetSlotValue("DB_NAME", "pdb");
  assembly.SetSlotValue("PARTNUMBER", "BRK-100");
  assembly.SetSlotValueList("STANDARD_ATTRS", {"CADRevision", "CADDescription", "CADRevision", "Unknown"});
  assembly.SetSlotValueList("STANDARD_VALS", {"A", "Halter «links»", "C", "ignored"});
  ASSERT_EQ(ZRBDocPropertyTransfer::SetProductPropertiesFromZRBObject(bracket, &assembly), 1);
  EXPECT_EQ(bracket->GetPartNumber().str(), "BRK-100");
  const Standard s = ReadStandard(bracket);
  EXPECT_EQ(s.revision, "C");  // the later repetition wins
  EXPECT_EQ(s.description, "Halter «links»");
  struct Ref {
    const char* name;
    const char* value;
  };
  for (Ref r :
       {Ref{"ZRB_ISCOMPONENT", "0"}, Ref{"ZRB_OBID", "A-1"}, Ref{"ZRB_CLASSNAME", "x0Asm"}, Ref{"ZRB_CHANGEABLE", "0"},
        Ref{"ZRB_PRODUCT_OBID", "PR-1"}, Ref{"ZRB_CREATE_PRD_REL", "0"}, Ref{"ZRB_DB_NAME", "adb"},
        Ref{"ZRB_PRODUCT_DB_NAME", "pdb"}, Ref{"ZRB_REVISION", "C"}, Ref{"ZRB_DESCRIPTION", "Halter «links»"}}) {
    EXPECT_EQ(GlobPropertyManager.GetReferenceProperty(bracket, r.name).str(), r.value) << r.name;
  }

  CADIProduct_var bolt = sample.Open("Bolt.CADPart")->GetRootProduct();
  ZRBObject component;
  component.SetSlotValue("ISCOMPONENT", "1");
  component.SetSlotValue("DESCRIPTION", "BOLT-M8");  // no "PARTNUMBER": the description names it
  component.SetSlotValue("CMPONENTOBID", "C-1");
  component.SetSlotValue("CMPONENT_DB_NAME", "cdb");
  component.SetSlotValue("IS_VISUALIZATION", "1");
  component.SetSlotValue("EXTERNAL_LOCATION", "/pdm/files/bolt.vis");
  GlobPropertyManager.SetReferenceProperty(bolt, "ZRB_SET_VISU_MODEL_TYPE", "1");
  ASSERT_EQ(ZRBDocPropertyTransfer::SetPartPropertiesFromZRBObject(bolt, &component), 1);
  EXPECT_EQ(bolt->GetPartNumber().str(), "BOLT-M8");
  EXPECT_EQ(GlobPropertyManager.GetReferenceProperty(bolt, "ZRB_OBID").str(), "C-1");
  EXPECT_EQ(GlobPropertyManager.GetReferenceProperty(bolt, "ZRB_DB_NAME").str(), "cdb");
  EXPECT_EQ(GlobPropertyManager.GetReferenceProperty(bolt, "ZRB_ISCOMPONENT").str(), "1");
  // No "OBID": no product relation is marked as existing.
  EXPECT_FALSE(GlobPropertyManager.IsReferencePropertySet(bolt, "ZRB_CREATE_PRD_REL"));
  EXPECT_FALSE(GlobPropertyManager.IsReferencePropertySet(bolt, "ZRB_SET_VISU_MODEL_TYPE"));
  // A visualisation file is found in the exchange map, not where the PDM keeps it.
  EXPECT_EQ(GlobPropertyManager.GetReferenceProperty(bolt, "ZRB_REPRESENTATIONPATH").str(),
            xmap_.Path("xmap/bolt.vis"));
  EXPECT_FALSE(GlobPropertyManager.IsReferencePropertySet(bolt, "ZRB_EXTERNAL_LOCATION"));

  EXPECT_EQ(ZRBDocPropertyTransfer::SetPartPropertiesFromZRBObject(bolt, nullptr), 0);
  EXPECT_EQ(ZRBDocPropertyTransfer::SetProductPropertiesFromZRBObject(nullptr, &assembly), 0);
}

TEST_F(PropertyTransferTest, StandardAttributeListsOfDifferentSizesChangeNothing) {
  SampleSession sample;
  CADIProduct_var bolt = sample.Open("Bolt.CADPart")->GetRootProduct();
  const Standard before = ReadStandard(bolt);
  struct Case {
    CADListValCADString names, values;
    int result;
  };
  const Case cases[] = {
      {{"CADRevision", "CADNomenclature", "CADDefinition"}, {"R1", "N1"}, 0},
      {{"CADNomenclature"}, {""}, 1},  // an empty value leaves the host attribute as it was
  };
  for (const Case& c : cases) {
    ZRBObject object;
    object.SetSlotValueList("STANDARD_ATTRS", c.names);
    object.SetSlotValueList("STANDARD_VALS", c.values);
    EXPECT_EQ(ZRBDocPropertyTransfer::SetStdPropertiesFromZRBObject(bolt, &object), c.result);
    EXPECT_EQ(ReadStandard(bolt), before);
  }
}

TEST_F(PropertyTransferTest, PartNumberFromTheFileNameOnlyWhenNoneWasGiven) {
  struct Case {
    const char* given;
    const char* path;
    const char* expected;
  };
  const Case cases[] = {
      {"-", "/x/y/ab.model", "ab"},
      {"", "/x/y/ab.CADPart", "ab"},
      {"", "C:\\pdm\\w\\cd.vis", "cd"},
      {"", "/p.model.d/part.CADPart", "part"},  // a dotted directory does not count
      {"", "/x/plain", "plain"},
      {"", "/x/a.vis.CADPart", "a.vis"},  // ".CADPart" is looked for first
      {"", "", ""},
      {"P-100", "/x/y/ab.model", "P-100"},
  };
  for (const Case& c : cases) {
    CADUnicodeString partNumber(c.given);
    ZRBDocPropertyTransfer::ProcessPartNumber(partNumber, c.path);
    EXPECT_EQ(partNumber.str(), c.expected) << c.given << " " << c.path;
  }
}

TEST_F(PropertyTransferTest, UserDefinedPropertiesAreAddedChangedDeletedAndOnlyChangesTravelBack) {
  SampleSession sample;
  CADIProduct_var bolt = sample.Open("Bolt.CADPart")->GetRootProduct();
  CADAutoProduct_var automation(bolt->GetReferenceProduct().get());
  ASSERT_EQ(automation->CreateUserRefProperty("Obsolete", "String", "old"), S_OK);
  ASSERT_EQ(automation->CreateUserRefProperty("Finish", "String", "raw"), S_OK);

  ZRBObjectManager pdm;
  ZRBObject* answer = pdm.CreateObject("ANSWER");
  answer->SetSlotValueList("USER_DEF_DISPLAYS", {"Finish", "Werkstoff", "Remark"});
  answer->SetSlotValueList("USER_DEF_PROPS", {"x0Finish", "x0Material", "x0Remark"});
  answer->SetSlotValueList("USER_DEF_VALS", {"verzinkt", "Stahl 8.8 «ä»", "a  b\nc"});
  answer->SetSlotValueList("USER_DEF_DEL_NAMES", {"Obsolete", "NeverThere"});
  auto received = ThroughFile(pdm);
  ASSERT_EQ(ZRBDocPropertyTransfer::SetUserDefinedPropertiesFromZRBObject(bolt, received->GetObject("ANSWER")), 1);
  EXPECT_EQ(UserValue(bolt, "Finish"), "verzinkt");
  EXPECT_EQ(UserValue(bolt, "Werkstoff"), "Stahl 8.8 «ä»");
  EXPECT_EQ(UserValue(bolt, "Remark"), "a  b\nc");
  EXPECT_EQ(UserValue(bolt, "Obsolete"), "<absent>");

  // Nothing changed in the session: nothing travels back.
  ZRBObject unchanged;
  EXPECT_EQ(ZRBDocPropertyTransfer::SetUserDefPropertiesToZRBObject(bolt, &unchanged), S_OK);
  EXPECT_EQ(unchanged.GetSlotValueList("USER_DEF_DISPLAYS").Size(), 0);

  ASSERT_EQ(automation->SetUserRefPropertyValue("Werkstoff", "Edelstahl A2"), S_OK);
  ZRBObject changed;
  EXPECT_EQ(ZRBDocPropertyTransfer::SetUserDefPropertiesToZRBObject(bolt, &changed), S_OK);
  EXPECT_EQ(changed.GetSlotValueList("USER_DEF_DISPLAYS"), CADListValCADString({"Werkstoff"}));
  EXPECT_EQ(changed.GetSlotValueList("USER_DEF_PROPS"), CADListValCADString({"x0Material"}));
  EXPECT_EQ(changed.GetSlotValueList("USER_DEF_VALS"), CADListValCADString({"Edelstahl A2"}));

  // A value the list form could only send cut comes back cut: the session keeps its whole value.
  ASSERT_EQ(automation->SetUserRefPropertyValue("Remark", "see {DIN 933} \u00a7 4"), S_OK);
  ZRBObject sentBack;
  sentBack.SetSlotValueList("USER_DEF_DISPLAYS", {"Remark"});
  sentBack.SetSlotValueList("USER_DEF_PROPS", {"x0Remark"});
  sentBack.SetSlotValueList("USER_DEF_VALS", {"see {DIN 933} \u00a7 4"});
  EXPECT_EQ(sentBack.GetSlotValueList("USER_DEF_VALS"), CADListValCADString({"see {DIN 933"}));
  ASSERT_EQ(ZRBDocPropertyTransfer::SetUserDefinedPropertiesFromZRBObject(bolt, &sentBack), 1);
  EXPECT_EQ(UserValue(bolt, "Remark"), "see {DIN 933} \u00a7 4");

  // Lists of different sizes are refused whole.
  ZRBObject uneven;
  uneven.SetSlotValueList("USER_DEF_DISPLAYS", {"Finish", "Extra"});
  uneven.SetSlotValueList("USER_DEF_PROPS", {"x0Finish"});
  uneven.SetSlotValueList("USER_DEF_VALS", {"blank", "x"});
  EXPECT_EQ(ZRBDocPropertyTransfer::SetUserDefinedPropertiesFromZRBObject(bolt, &uneven), 0);
  EXPECT_EQ(UserValue(bolt, "Finish"), "verzinkt");
  EXPECT_EQ(UserValue(bolt, "Extra"), "<absent>");
}

}  // namespace
