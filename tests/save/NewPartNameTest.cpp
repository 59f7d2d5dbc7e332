// The name a created part's instance ends with when the PDM answers one for its new relation.
#include <gtest/gtest.h>

#include "LoadedFromPdm.h"
#include "ZRBUpdateCmd.h"

namespace {

using NewPartNameTest = save_test::LoadedAssemblyTest;

TEST_F(NewPartNameTest, ThePdmsNameForTheNewRelationWinsUnlessItIsNoUsableName) {
  struct Case {
    const char* slot;   // answered on the created node
    const char* value;  // what the PDM names the relation
    bool taken;
  };
  const Case cases[] = {{"CAD_ORIG_INSTANCENAME", "Washer.7", true},
                        {"INSTANCENAME", "Washer.3", true},
                        {"INSTANCENAME", "Bracket.1", false},
                        {"CAD_ORIG_INSTANCENAME", "", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.slot) + " " + c.value);
    Restart();
    CADDocument* part = nullptr;
    CADIProduct_var added;
    ASSERT_EQ(CADDocumentServices::New("CADPart", part), S_OK);
    ASSERT_EQ(root_->AddExternalComponent(part, added), S_OK);
    const std::string before = SampleSession::InstanceName(added);
    SetShellAnswer([&](const std::string& line) {
      ZRBObjectManager file;
      file.Read(RequestOf(line));
      file.GetObject("ROOT")->SetSlotValue("ACTION_SUCCESS", "1");
      for (ZRBObject* o = file.GetFirstObject(); o; o = file.GetNextObject(o))
        if (o->GetSlotValue("CREATE_PART_IN_PDM") == "2")
          for (auto [slot, value] : {std::pair{"CREATE_PART_SUCCESS", "1"}, {"OBID", "IT-9"}, {c.slot, c.value}})
            o->SetSlotValue(slot, value);
      file.Write(RequestOf(line));
      return 0;
    });
    (new ZRBUpdateCmd())->Activate(nullptr, nullptr);
    Loop().RunPending();
    EXPECT_EQ(Ref(added, "ZRB_OBID"), "IT-9");
    EXPECT_EQ(SampleSession::InstanceName(added), c.taken ? c.value : before);
    // Nothing private of the update stays behind under the name it was sent with.
    added->SetPrdInstanceName(CADUnicodeString(before));
    EXPECT_EQ(PrivateLeft(added), 0);
  }
}

}  // namespace
