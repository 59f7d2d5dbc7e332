#include <gtest/gtest.h>

#include "CADAutomationReply.h"
#include "CADAutomationRequest.h"

namespace {

std::vector<std::string> Fields(const CADAutomationRequest& request) {
  std::vector<std::string> fields{request.GetVerb().str()};
  for (const CADUnicodeString& argument : request.GetArguments()) fields.push_back(argument.str());
  return fields;
}

}  // namespace

TEST(AutomationRequest, ParsesProtocolLines) {
  struct Case {
    std::string line;
    std::vector<std::string> fields;  // empty: refused
    const char* error;
  };
  const Case cases[] = {
      {"GetStatus\n", {"GetStatus"}, ""},
      {"SetStatus\tPDM_ADDTEMP_READY\r\n", {"SetStatus", "PDM_ADDTEMP_READY"}, ""},
      {"StartCmd\tZRBReadCmd\t", {"StartCmd", "ZRBReadCmd", ""}, ""},
      {"WriteXml\t%2Ftmp%2Fa%09b\tc%25d%0Ae", {"WriteXml", "/tmp/a\tb", "c%d\ne"}, ""},
      {"SetStatus\t\xC3\xA9t\xC3\xA9", {"SetStatus", "\xC3\xA9t\xC3\xA9"}, ""},
      {"SetStatus\t%c3%a9", {"SetStatus", "\xC3\xA9"}, ""},
      {"", {}, "empty request"},
      {"\n", {}, "empty request"},
      {"\tPDM", {}, "empty verb"},
      {"SetStatus\t%4", {}, "bad percent escape in argument 1"},
      {"SetStatus\t%zz", {}, "bad percent escape"},
      {"Set%", {}, "bad percent escape in the verb"},
      {"SetStatus\ta%00b", {}, "NUL character"},
      {"SetStatus\t\xC3", {}, "invalid UTF-8"},
      {"SetStatus\t%C0%AF", {}, "invalid UTF-8"},     // overlong '/'
      {"SetStatus\t%ED%A0%80", {}, "invalid UTF-8"},  // surrogate
      {"SetStatus\ta\rb", {}, "raw line break"},
      {"GetStatus\nSetStatus\tx\n", {}, "raw line break"},
      {std::string("Set\0Status", 10), {}, "raw line break or NUL"},
      {"SetStatus\t" + std::string(CADAutomationRequest::kMaxLineBytes, 'x'), {}, "longer than"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line.substr(0, 60));
    CADAutomationRequest request;
    std::string error;
    bool ok = CADAutomationRequest::ParseLine(c.line, request, error);
    EXPECT_EQ(ok, !c.fields.empty()) << error;
    if (ok) {
      EXPECT_EQ(Fields(request), c.fields);
    } else {
      EXPECT_NE(error.find(c.error), std::string::npos) << error;
    }
  }
}

TEST(AutomationRequest, FormatsWhatItParsesForAwkwardValues) {
  const std::vector<std::string> awkward = {"",      "50% done", "tab\there",        "line\nbreak\r",
                                            "a:b:c", "\x01\x7F", "\xE2\x82\xAC uro", "%41"};
  for (const std::string& value : awkward) {
    CADAutomationRequest request("WriteXml", {CADUnicodeString(value), CADUnicodeString("second")});
    std::string line = request.FormatLine();
    ASSERT_EQ(line.find('\n'), line.size() - 1) << "one line only";
    CADAutomationRequest back;
    std::string error;
    ASSERT_TRUE(CADAutomationRequest::ParseLine(line, back, error)) << error;
    EXPECT_EQ(Fields(back), (std::vector<std::string>{"WriteXml", value, "second"}));
  }
}

TEST(AutomationRequest, ParsesAndValidatesTheCompactFormOfTheCommandLineClient) {
  struct Case {
    const char* text;
    std::vector<std::string> fields;  // empty: refused
    const char* invalid;              // why Validate refuses the parsed request; "" when valid
  };
  const Case cases[] = {
      {"GetStatus", {"GetStatus"}, ""},
      {"SetStatus:PDM_ADDTEMP_READY", {"SetStatus", "PDM_ADDTEMP_READY"}, ""},
      {"SetStatus:", {"SetStatus", ""}, ""},
      {"SetStatus:a:b", {"SetStatus", "a:b"}, ""},  // the last argument runs to the end
      {"StartCmd:ZRBReadCmd", {"StartCmd", "ZRBReadCmd"}, ""},
      {"StartCmd:ZRBReadCmd:ZRB_ADD_CMD", {"StartCmd", "ZRBReadCmd", "ZRB_ADD_CMD"}, ""},
      {"StartCmd", {"StartCmd"}, "StartCmd takes 1 or 2 arguments, got 0"},
      {"WriteXml:C%3A%5Cdir:/tmp/out.xml", {"WriteXml", "C:\\dir", "/tmp/out.xml"}, ""},
      {"WriteXml:only", {"WriteXml", "only"}, "WriteXml takes 2 arguments, got 1"},
      {"SetUseDesignTables:1", {"SetUseDesignTables", "1"}, ""},
      {"SetUseDesignTables:-3", {"SetUseDesignTables", "-3"}, ""},
      {"SetUseDesignTables:yes", {"SetUseDesignTables", "yes"}, "takes an integer"},
      {"SetUseDesignTables:", {"SetUseDesignTables", ""}, "takes an integer"},
      {"getstatus", {"getstatus"}, "unknown verb \"getstatus\""},
      {"GetStatus:", {"GetStatus", ""}, "GetStatus takes 0 arguments, got 1"},  // split here, refused by Validate
      {"", {}, ""},
      {":x", {}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    CADAutomationRequest request;
    std::string error;
    bool ok = CADAutomationRequest::ParseCompact(c.text, request, error);
    EXPECT_EQ(ok, !c.fields.empty()) << error;
    if (!ok) continue;
    EXPECT_EQ(Fields(request), c.fields);
    const bool valid = request.Validate(error);
    EXPECT_EQ(valid, std::string(c.invalid).empty()) << error;
    if (!valid) {
      EXPECT_NE(error.find(c.invalid), std::string::npos) << error;
    }
  }
}

TEST(AutomationReply, RoundTripsAndRefusesMalformedLines) {
  const CADAutomationReply replies[] = {CADAutomationReply::Ok(1), CADAutomationReply::Ok(-7, {"NO_STATUS", ""}),
                                        CADAutomationReply::Ok(0, {"tab\there\n"}),
                                        CADAutomationReply::Err("unknown verb \"x\"\n100%")};
  for (const CADAutomationReply& reply : replies) {
    CADAutomationReply back;
    std::string error;
    ASSERT_TRUE(CADAutomationReply::ParseLine(reply.FormatLine(), back, error)) << error;
    EXPECT_EQ(back.IsOk(), reply.IsOk());
    EXPECT_EQ(back.GetValue(), reply.GetValue());
    EXPECT_EQ(back.GetFields(), reply.GetFields());
    EXPECT_EQ(back.GetError(), reply.GetError());
  }
  for (const char* bad : {"", "OK", "OK\tone", "OK\t1x", "MAYBE\t1", "OK\t%G1"}) {
    CADAutomationReply back;
    std::string error;
    EXPECT_FALSE(CADAutomationReply::ParseLine(bad, back, error)) << bad;
  }
}
