#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <thread>

#include "CADAutomationBridge.h"
#include "CADAutomationClient.h"
#include "CADAutomationSnapshot.h"
#include "CADComponentFactories.h"
#include "CADIAutomation.h"
#include "CADICreateInstance.h"
#include "SessionFixture.h"
#include "ToolRun.h"
#include "XmapScratchDirectory.h"

namespace {

// Stands in for the module's automation component under its own class name, so it never meets the real one:
// keeps and publishes the status word and journals every call ("Verb arg1 arg2") in the order performed.
class FakeModComm : public CADIAutomation {
 public:
  static constexpr const char* kClassName = "TestFakeModComm";
  static inline std::vector<std::string> journal;

  HRESULT Invoke(const CADString& method, const CADListValCADUnicodeString& arguments, int& result) override {
    std::string entry = method.str();
    for (const CADUnicodeString& argument : arguments) entry += " " + argument.str();
    journal.push_back(entry);
    result = method != "StartCmd" || arguments[1] == "KnownCmd";
    if (method == "SetStatus" && arguments.Size() == 1)
      CADAutomationSnapshot::Publish(kClassName, "Status", arguments[1].str());
    else if (method != "StartCmd" && method != "WriteXml" && method != "SetUseDesignTables")
      return E_FAIL;
    return S_OK;
  }
  HRESULT QueryInterface(const CADIID& iid, void** out) override {
    return CADQueryInterfaceHelper<CADIAutomation, CADBaseUnknown>(this, iid, out);
  }
  static void Reset() {
    journal.clear();
    CADAutomationSnapshot::Reset();
  }
  static std::vector<std::string>& Journal() { return journal; }
};

class FakeModCommFactory : public CADICreateInstance {
 public:
  HRESULT CreateInstance(void** out) override {
    *out = static_cast<CADBaseUnknown*>(new FakeModComm);
    return S_OK;
  }
};
const CADComponentFactories::Registration g_registration(FakeModComm::kClassName,
                                                         [] { return new FakeModCommFactory; });

// A live bridge on a private socket, serving the fake component.
class BridgeTest : public SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    FakeModComm::Reset();
    bridge_ = std::make_unique<CADAutomationBridge>(FakeModComm::kClassName);
  }
  void TearDown() override {
    bridge_.reset();
    FakeModComm::Reset();
    SessionTest::TearDown();
  }
  void StartBridge() {
    std::string error;
    ASSERT_EQ(bridge_->Start(socketPath_, &error), S_OK) << error;
  }

  XmapScratchDirectory scratch_;
  const std::string dir_ = scratch_.Root();
  const std::string socketPath_ = dir_ + "/session.sock";
  std::unique_ptr<CADAutomationBridge> bridge_;
};

// A socket bound to `path` (what a crashed session leaves behind) or connected to it; -1 on failure.
int UnixSocket(const std::string& path, bool bound) {
  int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.data(), path.size());
  auto* a = reinterpret_cast<sockaddr*>(&address);
  if ((bound ? bind(fd, a, sizeof address) : connect(fd, a, sizeof address)) == 0) return fd;
  close(fd);
  return -1;
}

// Sends raw bytes on a fresh connection and returns whatever comes back.
std::string RawExchange(const std::string& path, const std::string& bytes) {
  int fd = UnixSocket(path, false);
  if (fd < 0) return "connect failed";
  size_t sent = 0;
  while (sent < bytes.size()) {
    ssize_t n = send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) break;
    sent += static_cast<size_t>(n);
  }
  shutdown(fd, SHUT_WR);
  std::string reply;
  char buffer[256];
  ssize_t n;
  while ((n = recv(fd, buffer, sizeof buffer, 0)) > 0) reply.append(buffer, static_cast<size_t>(n));
  close(fd);
  return reply;
}

CADAutomationReply Send(const std::string& path, const char* compact) {
  CADAutomationRequest request;
  std::string error;
  EXPECT_TRUE(CADAutomationRequest::ParseCompact(compact, request, error)) << error;
  CADAutomationReply reply;
  EXPECT_EQ(CADAutomationClient::Send(path, request, reply, error), CADAutomationClient::Outcome::Replied) << error;
  return reply;
}

}  // namespace

TEST_F(BridgeTest, ExportsAnOwnerOnlySocketAndRemovesItAtStop) {
  StartBridge();
  EXPECT_EQ(CADAutomationClient::SessionSocketFromEnvironment(), socketPath_);
  struct stat st;
  ASSERT_EQ(lstat(socketPath_.c_str(), &st), 0);
  EXPECT_TRUE(S_ISSOCK(st.st_mode));
  EXPECT_EQ(st.st_mode & 0777, 0600u);

  std::string error;
  CADAutomationBridge second(FakeModComm::kClassName);
  EXPECT_EQ(second.Start(socketPath_, &error), E_FAIL);
  EXPECT_NE(error.find("another session is listening"), std::string::npos) << error;
  EXPECT_TRUE(Send(socketPath_, "GetStatus").IsOk()) << "the refused start left the live session alone";

  bridge_->Stop();
  bridge_->Stop();
  EXPECT_NE(lstat(socketPath_.c_str(), &st), 0);
  EXPECT_EQ(CADAutomationClient::SessionSocketFromEnvironment(), "");
}

TEST_F(BridgeTest, ReplacesADeadSessionsSocketButNothingElse) {
  const int dead = UnixSocket(socketPath_, true);  // nobody listens on it
  ASSERT_GE(dead, 0);
  close(dead);
  StartBridge();
  EXPECT_TRUE(Send(socketPath_, "GetStatus").IsOk());
  bridge_->Stop();

  struct Case {
    std::string path;
    const char* error;
  };
  const std::string regular = dir_ + "/notes.txt";
  std::ofstream(regular) << "keep me";
  for (const Case& c : {Case{regular, "is not a socket"}, Case{dir_ + "/" + std::string(120, 'x'), "too long"},
                        Case{dir_ + "/missing/dir/s.sock", "cannot bind"}}) {
    std::string error;
    CADAutomationBridge bridge(FakeModComm::kClassName);
    EXPECT_EQ(bridge.Start(c.path, &error), E_FAIL) << c.path;
    EXPECT_NE(error.find(c.error), std::string::npos) << error;
  }
  std::string kept;
  std::getline(std::ifstream(regular), kept);
  EXPECT_EQ(kept, "keep me");
}

TEST_F(BridgeTest, ZRBSenderReportsEachOutcomeByItsExitStatus) {
  StartBridge();
  CADAutomationBridge unserved("NoSuchComponent");
  const std::string unservedPath = dir_ + "/unserved.sock";
  ASSERT_EQ(unserved.Start(unservedPath), S_OK);
  setenv(CADAutomationBridge::kSocketVariable, socketPath_.c_str(), 1);  // the second start re-exported

  struct Case {
    std::vector<std::string> arguments;
    bool noSocketVariable;
    int exitCode;
    std::string output;  // expected substring ("" matches anything)
  };
  for (const Case& c :
       {Case{{"GetStatus"}, false, 0, "\n"}, Case{{"SetStatus:PDM_CANCEL"}, false, 0, ""},
        Case{{"StartCmd", "KnownCmd", "a:b c"}, false, 0, ""},
        Case{{"--socket", socketPath_, "SetUseDesignTables:1"}, true, 0, ""}, Case{{""}, false, 0, ""},
        Case{{"--help"}, false, 0, "usage: ZRBSender"}, Case{{}, false, 2, "usage: ZRBSender"},
        Case{{"Bogus:1"}, false, 2, "unknown verb \"Bogus\""},
        Case{{"SetStatus"}, false, 2, "SetStatus takes 1 argument"},
        Case{{"SetStatus:50%"}, false, 2, "bad percent escape"}, Case{{"--socket"}, false, 2, "needs a path"},
        Case{{"--socket", unservedPath, "SetStatus:x"}, false, 1, "no automation component \"NoSuchComponent\""},
        Case{{"GetStatus"}, true, 3, "CAD_AUTOMATION_SOCKET is not set"},
        Case{{"--socket", dir_ + "/nobody.sock", "GetStatus"}, false, 3, "no CAD session listening"}}) {
    std::string label;
    for (const auto& a : c.arguments) label += "[" + a + "]";
    SCOPED_TRACE(label);
    ToolRun run = RunBuiltTool("ZRBSender", c.arguments,
                               c.noSocketVariable ? std::map<std::string, std::string>{{"CAD_AUTOMATION_SOCKET", ""}}
                                                  : std::map<std::string, std::string>{});
    const std::string output = run.out + run.err;
    EXPECT_EQ(run.exitCode, c.exitCode) << output;
    EXPECT_NE(output.find(c.output), std::string::npos) << output;
  }
  EXPECT_TRUE(FakeModComm::Journal().empty()) << "nothing is performed before the loop turns";
  Loop().RunPending();
  EXPECT_EQ(FakeModComm::Journal(),
            (std::vector<std::string>{"SetStatus PDM_CANCEL", "StartCmd KnownCmd a:b c", "SetUseDesignTables 1"}));
  EXPECT_EQ(RunBuiltTool("ZRBSender", {"GetStatus"}).out, "PDM_CANCEL\n");
}

TEST_F(BridgeTest, MalformedConnectionsGetAnErrorAndTheBridgeCarriesOn) {
  StartBridge();
  struct Case {
    std::string bytes;
    std::string reply;
  };
  const Case cases[] = {
      {"", "ERR\tempty request\n"},
      {"SetStatus\t%zz\n", "ERR\tbad percent escape in argument 1\n"},
      {"SetStatus\tX", "OK\t1\n"},  // the end of the stream ends the line too
      {"GetStatus\ntrailing junk is ignored\n", "OK\t1\t\n"},
      {std::string(CADAutomationRequest::kMaxLineBytes + 100, 'x'), "ERR\trequest longer than 65536 bytes\n"},
      {"Hello\n", "ERR\tunknown verb"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes.substr(0, 40));
    std::string reply = RawExchange(socketPath_, c.bytes);
    EXPECT_EQ(reply.substr(0, c.reply.size()), c.reply);
  }
  EXPECT_EQ(bridge_->GetServedCount(), std::size(cases));
}

TEST_F(BridgeTest, ManyClientsAtOnceAreAllAnsweredAndKeepTheirOwnOrder) {
  StartBridge();
  constexpr int kClients = 6, kRequests = 15;
  std::vector<std::thread> clients;
  std::atomic<int> ok{0};
  for (int c = 0; c < kClients; ++c)
    clients.emplace_back([&, c] {
      for (int i = 0; i < kRequests; ++i) {
        CADAutomationRequest request("SetStatus", {CADUnicodeString(std::to_string(c) + "-" + std::to_string(i))});
        CADAutomationReply reply;
        std::string error;
        if (CADAutomationClient::Send(socketPath_, request, reply, error) == CADAutomationClient::Outcome::Replied &&
            reply.IsOk())
          ++ok;
      }
    });
  for (auto& client : clients) client.join();
  EXPECT_EQ(ok.load(), kClients * kRequests);
  Loop().RunPending();
  ASSERT_EQ(FakeModComm::Journal().size(), static_cast<size_t>(kClients * kRequests));
  std::vector<int> next(kClients, 0);
  for (const std::string& entry : FakeModComm::Journal()) {
    int client = 0, index = 0;
    ASSERT_EQ(std::sscanf(entry.c_str(), "SetStatus %d-%d", &client, &index), 2);
    EXPECT_EQ(index, next[static_cast<size_t>(client)]++) << "client " << client << " out of order";
  }
}
