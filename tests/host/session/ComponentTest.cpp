#include <gtest/gtest.h>

#include "CADClassDictionary.h"
#include "CADCommand.h"
#include "CADComponentFactories.h"
#include "CADICreateInstance.h"
#include "CADInstantiateComponent.h"

namespace {

// A command created through the dictionary, remembering its argument.
class ModeCmd : public CADCommand {
 public:
  explicit ModeCmd(int mode) : CADCommand("ModeCmd"), mode_(mode) {}
  int mode_;
};
class TextCmd : public CADCommand {
 public:
  explicit TextCmd(const CADString& text) : CADCommand("TextCmd"), text_(text) {}
  CADString text_;
};
class PlainCmd : public CADCommand {
 public:
  PlainCmd() : CADCommand("PlainCmd") {}
};

ModeCmd* fctCreateTestModeCmd(int mode) { return new ModeCmd(mode); }
TextCmd* fctCreateTestTextCmd(const CADString& text) { return new TextCmd(text); }
PlainCmd* fctCreateTestPlainCmd() { return new PlainCmd; }

const CADClassDictionary::Registration g_mode("TestModeCmd", &fctCreateTestModeCmd);
const CADClassDictionary::Registration g_text("TestTextCmd", &fctCreateTestTextCmd);
const CADClassDictionary::Registration g_plain("TestPlainCmd", &fctCreateTestPlainCmd);

// Components: an interface the probe implements and one it does not.
class ITestProbe : public virtual CADBaseUnknown {
  CAD_DECLARE_INTERFACE(ITestProbe)
 public:
  virtual int Answer() = 0;
};
class ITestMissing : public virtual CADBaseUnknown {
  CAD_DECLARE_INTERFACE(ITestMissing)
};

int g_probesAlive = 0;

class Probe : public ITestProbe {
 public:
  Probe() { ++g_probesAlive; }
  ~Probe() override { --g_probesAlive; }
  int Answer() override { return 42; }
  HRESULT QueryInterface(const CADIID& iid, void** out) override {
    return CADQueryInterfaceHelper<ITestProbe, CADBaseUnknown>(this, iid, out);
  }
};

class ProbeFactory : public CADICreateInstance {
 public:
  explicit ProbeFactory(HRESULT outcome) : outcome_(outcome) {}
  HRESULT CreateInstance(void** out) override {
    if (FAILED(outcome_)) return outcome_;
    *out = static_cast<CADBaseUnknown*>(new Probe);
    return S_OK;
  }
  HRESULT outcome_;
};

const CADComponentFactories::Registration g_probe("TestProbe", [] { return new ProbeFactory(S_OK); });
const CADComponentFactories::Registration g_starved("TestStarved", [] { return new ProbeFactory(E_OUTOFMEMORY); });

}  // namespace

TEST(CADClassDictionary, CreatesByNameWithTheArgumentKindTheFactoryTakes) {
  struct Case {
    const char* className;
    CADClassArgument argument;
    bool created;
    int mode;
    const char* text;
  };
  const Case cases[] = {
      {"TestModeCmd", 5, true, 5, ""},
      {"TestModeCmd", CADString("2"), true, 2, ""},
      {"TestModeCmd", CADString("+7"), true, 7, ""},
      {"TestModeCmd", CADString("-1"), true, -1, ""},
      {"TestModeCmd", std::monostate{}, false, 0, ""},  // a mode is required
      {"TestModeCmd", CADString("5x"), false, 0, ""},
      {"TestModeCmd", CADString("+-5"), false, 0, ""},
      {"TestModeCmd", CADString("99999999999"), false, 0, ""},
      {"TestTextCmd", CADString("part-1"), true, 0, "part-1"},
      {"TestTextCmd", 12, true, 0, "12"},
      {"TestTextCmd", std::monostate{}, true, 0, ""},
      {"TestPlainCmd", CADString("ignored"), true, 0, ""},
      {"NoSuchCmd", std::monostate{}, false, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.className);
    CADCommand* command = CADClassDictionary::CreateAs<CADCommand>(c.className, c.argument);
    ASSERT_EQ(command != nullptr, c.created);
    if (!command) continue;
    if (auto* mode = dynamic_cast<ModeCmd*>(command)) {
      EXPECT_EQ(mode->mode_, c.mode);
    }
    if (auto* text = dynamic_cast<TextCmd*>(command)) {
      EXPECT_EQ(text->text_, CADString(c.text));
    }
    command->Release();
  }
}

TEST(CADClassDictionary, KeepsTheFirstRegistrationListsSortedAndForgetsOnUnload) {
  const std::size_t live = CADCommand::LiveCount();
  {
    CADClassDictionary::Registration duplicate("TestPlainCmd", &fctCreateTestModeCmd);
    EXPECT_FALSE(duplicate.IsRegistered());
    CADClassDictionary::Registration extra("TestAAAExtraCmd", &fctCreateTestPlainCmd);
    EXPECT_TRUE(extra.IsRegistered());
    CADListValCADString names = CADClassDictionary::ListNames();
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
    EXPECT_GT(names.Locate("TestAAAExtraCmd"), 0);
  }
  EXPECT_FALSE(CADClassDictionary::Contains("TestAAAExtraCmd")) << "unregistered with its registration";
  CADBaseUnknown* plain = CADClassDictionary::Create("TestPlainCmd");
  ASSERT_NE(dynamic_cast<PlainCmd*>(plain), nullptr) << "the duplicate did not replace the first factory";
  plain->Release();
  EXPECT_EQ(CADClassDictionary::CreateAs<ModeCmd>("TestPlainCmd"), nullptr) << "wrong type, released";
  EXPECT_EQ(CADCommand::LiveCount(), live);
}

TEST(CADInstantiateComponent, HandsOutTheInterfaceOrAClearFailureWithoutLeaking) {
  struct Case {
    const char* className;
    const CADIID& iid;
    HRESULT expected;
  };
  const Case cases[] = {
      {"TestProbe", ITestProbe::ClassId(), S_OK},
      {"TestProbe", ITestMissing::ClassId(), E_NOINTERFACE},
      {"TestStarved", ITestProbe::ClassId(), E_OUTOFMEMORY},
      {"NoSuchComponent", ITestProbe::ClassId(), E_FAIL},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.className);
    void* out = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(CADInstantiateComponent(c.className, c.iid, &out), c.expected);
    if (c.expected != S_OK) {
      EXPECT_EQ(out, nullptr);
      continue;
    }
    auto* probe = static_cast<ITestProbe*>(out);
    EXPECT_EQ(probe->Answer(), 42);
    EXPECT_EQ(g_probesAlive, 1);
    probe->Release();
  }
  EXPECT_EQ(g_probesAlive, 0);
  EXPECT_EQ(CADInstantiateComponent(CADString("TestProbe"), ITestProbe::ClassId(), nullptr), E_INVALIDARG);
}
