// Part and assembly attributes from exchange objects: the identity properties of assemblies and components, the
// part-number, location and standard-attribute rules, and user-defined properties with additions, changes and
// deletions. The whole round trip of a part is in DocumentTransferTest.
#include <gtest/gtest.h>

#include <string>

#include "CADAutoProduct.h"
#include "CADIPrdProperties.h"
#include "SampleSession.h"
#include "TransferFixture.h"
#include "UserValue.h"
#include "ZRBDocPropertyTransfer.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPropertyManager.h"

namespace {

using PropertyTransferTest = TransferFixture;

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
  const std::vector<std::string> s = ReadStandard(bracket);
  EXPECT_EQ(s[0], "C");  // the later repetition wins
  EXPECT_EQ(s[3], "Halter «links»");
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
  const std::vector<std::string> before = ReadStandard(bolt);
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
