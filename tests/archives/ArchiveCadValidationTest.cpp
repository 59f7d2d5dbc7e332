// What a sub-structure must be to become an archive, checked in the session: each refusal with its reason, and
// the content marks of a refused run taken back. The bracket (a plate and two bolts) under the assembly.
#include <gtest/gtest.h>

#include <functional>

#include "CADIVisProperties.h"
#include "CommandFixture.h"
#include "ProbeCommand.h"
#include "SampleSession.h"
#include "ZRBArchiveCadValidation.h"
#include "ZRBArchiveSlots.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPropertyManager.h"

namespace {

class ArchiveCadValidationTest : public CommandFixture {};

TEST_F(ArchiveCadValidationTest, EachRefusalSaysWhyAndLeavesNoMarks) {
  using Node = CADIProduct_var;
  struct Case {
    const char* name;
    std::function<void(const Node& assembly, const Node& bracket)> arrange;
    const char* reason;  // nullptr: accepted
  };
  auto fromPdm = [](const Node& node) { GlobPropertyManager.SetReferenceProperty(node, "ZRB_OBID", "ID-X"); };
  auto firstParent = [](const char* value) {
    return [=](const Node& assembly, const Node& bracket) {
      GlobPropertyManager.SetReferenceProperty(assembly, "ZRB_OBID", "ID-A");
      GlobPropertyManager.SetReferenceProperty(SampleSession::Child(bracket, "Bolt.1"), "ZRB_FIRST_PARENT_PARTNUMBER",
                                               value);
    };
  };
  const Case cases[] = {
      {"father not from the PDM", [](const Node&, const Node&) {}, "parent does not come from the PDM"},
      {"accepted", [&](const Node& assembly, const Node&) { fromPdm(assembly); }, nullptr},
      {"selection already from the PDM",
       [&](const Node& assembly, const Node& bracket) {
         fromPdm(assembly);
         fromPdm(bracket);
       },
       "already comes from the PDM"},
      {"hidden member",
       [&](const Node& assembly, const Node& bracket) {
         fromPdm(assembly);
         SetVariable("ZRB_ENABLE_HIDECHECKINARCHIVE", "ON");
         CADIVisProperties_var(SampleSession::Child(bracket, "Bolt.2"))->SetShowAttr(CADShowAttr::NoShow);
       },
       "hidden members"},
      {"member of another archive", firstParent("Other"), "already used under another parent"},
      {"member of this archive stored again", firstParent("Bracket"), nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    SetVariable("ZRB_ENABLE_UNIQUEPARENTRULE", "ON");
    SampleSession sample;
    const Node assembly = sample.OpenAssembly();
    const Node bracket = SampleSession::Child(assembly, "Bracket.2");
    ASSERT_TRUE(bracket);
    c.arrange(assembly, bracket);
    ProbeCommand command;
    ZRBArchiveCadValidation validation(command);
    CADUnicodeString message;
    const int result = validation.ValidateArchiveInCad(bracket, message, 1, 1);
    const CADUnicodeString mark =
        GlobPropertyManager.GetReferenceProperty(SampleSession::Child(bracket, "Plate.1"), "ZRB_CONTENT_IN_ARC");
    if (!c.reason) {
      EXPECT_EQ(result, 1) << message.str();
      EXPECT_EQ(mark, "1");
      continue;
    }
    EXPECT_EQ(result, 0);
    EXPECT_NE(message.str().find(c.reason), std::string::npos) << message.str();
    EXPECT_EQ(mark, "") << "a refused run takes its marks back";
  }
}

// The answered archive lands on the root; lists of unequal length are not paired but reported.
TEST_F(ArchiveCadValidationTest, AnAnswerWithUnequalListsKeepsTheIdentityButNotTheAttributes) {
  SampleSession sample;
  const CADIProduct_var bracket = SampleSession::Child(sample.OpenAssembly(), "Bracket.2");
  ZRBObjectManager answer;
  ZRBObject* object = answer.CreateObject("A");
  object->SetSlotValue("OBID", "AR-1");
  object->SetSlotValue("CONTENT_FILE_NAME", "../Bracket");
  object->SetSlotValueList("STANDARD_ATTRS", {"CADRevision", "CADNomenclature"});
  object->SetSlotValueList("STANDARD_VALS", {"B"});
  CADListValCADUnicodeString warnings;
  ASSERT_EQ(ZRBArchiveSlots::SetArchivePropertiesFromZRBObject(bracket, *object, &warnings), 1);
  const CADUnicodeString file = GlobPropertyManager.GetProductFullPath(bracket);
  EXPECT_EQ(GlobPropertyManager.GetFileProperty(file, "ZRB_ARCHIVE_OBID"), "AR-1");
  const std::string structure = GlobPropertyManager.GetFileProperty(file, "ZRB_ARCHIVE_CONTENT_FILE_NAME").str();
  EXPECT_TRUE(structure.ends_with("/Bracket.xml") && structure.find("..") == std::string::npos) << structure;
  EXPECT_EQ(GlobPropertyManager.GetFileProperty(file, "ZRB_ARCHIVE_REVISION"), "");
  EXPECT_EQ(warnings.Size(), 1);

  object->SetSlotValue("OBID", "");
  EXPECT_EQ(ZRBArchiveSlots::SetArchivePropertiesFromZRBObject(bracket, *object, &warnings), 0)
      << "no identity, nothing to keep";
}

}  // namespace
