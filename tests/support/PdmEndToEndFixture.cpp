#include "PdmEndToEndFixture.h"

#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "CADAutomationBridge.h"
#include "CADDocumentServices.h"
#include "CADFrmLayout.h"
#include "CADFrmWindow.h"
#include "CADSampleSession.h"
#include "ZRBCache.h"
#include "ZRBXmapCacheFileEnvironment.h"

namespace {
namespace fs = std::filesystem;

// A reader of the journal's JSON form: just the shapes pdmsim writes (objects of numbers, strings and arrays of
// strings). A shape it does not follow ends the reading; the test then sees fewer calls.
class JournalJson {
 public:
  explicit JournalJson(std::string text) : text_(std::move(text)) {}

  std::vector<PdmCall> Calls() {
    std::vector<PdmCall> calls;
    if (!Take('[')) return calls;
    while (Take('{')) {
      PdmCall call;
      do {
        std::string key;
        if (!String(key) || !Take(':')) return calls;
        if (key == "args") {
          if (!Strings(call.args)) return calls;
        } else if (key == "seq") {
          call.seq = Number();
        } else {
          std::string value;
          if (!String(value)) return calls;
          if (key == "action") call.action = value;
          if (key == "outcome") call.outcome = value;
        }
      } while (Take(','));
      if (!Take('}')) return calls;
      calls.push_back(std::move(call));
      if (!Take(',')) break;
    }
    return calls;
  }

 private:
  void Blanks() {
    while (at_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[at_]))) ++at_;
  }
  bool Take(char c) {
    Blanks();
    if (at_ >= text_.size() || text_[at_] != c) return false;
    ++at_;
    return true;
  }
  int Number() {
    Blanks();
    int value = 0;
    while (at_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[at_])))
      value = value * 10 + (text_[at_++] - '0');
    return value;
  }
  bool String(std::string& out) {
    if (!Take('"')) return false;
    while (at_ < text_.size() && text_[at_] != '"') {
      char c = text_[at_++];
      if (c == '\\' && at_ < text_.size()) {
        char e = text_[at_++];
        if (e == 'n')
          c = '\n';
        else if (e == 't')
          c = '\t';
        else if (e == 'r')
          c = '\r';
        else if (e == 'u' && at_ + 4 <= text_.size()) {
          c = static_cast<char>(std::stoi(text_.substr(at_, 4), nullptr, 16));
          at_ += 4;
        } else {
          c = e;
        }
      }
      out += c;
    }
    return Take('"');
  }
  bool Strings(std::vector<std::string>& out) {
    if (!Take('[')) return false;
    if (Take(']')) return true;
    do {
      std::string value;
      if (!String(value)) return false;
      out.push_back(std::move(value));
    } while (Take(','));
    return Take(']');
  }

  std::string text_;
  std::size_t at_ = 0;
};

}  // namespace

// ---------------------------------------------------------------- lifecycle

PdmEndToEndFixture::PdmEndToEndFixture() = default;
PdmEndToEndFixture::~PdmEndToEndFixture() = default;

void PdmEndToEndFixture::SetUp() {
  CommandFixture::SetUp();
  UseRealShell();
  CADDocumentServices::ResetSession();
  std::string pattern = (fs::temp_directory_path() / "zrb-e2e-XXXXXX").string();
  ASSERT_NE(::mkdtemp(pattern.data()), nullptr) << "cannot create a temporary directory";
  root_ = pattern;
  fs::create_directories(Xmap());
  fs::create_directories(root_ + "/new");
  CADDocumentServices::SetNewDocumentDirectory(CADUnicodeString(root_ + "/new"));

  const char* path = std::getenv("PATH");
  SetEnvironment("PATH", std::string(ZRB_BIN_DIR) + ":" + (path ? path : "/usr/bin:/bin"));
  SetEnvironment("PDMSIM_VAULT", Vault());
  SetEnvironment("PDMSIM_NOW", "2024-05-01 10:00:00.000");
  SetEnvironment("PDMSIM_SENDER", "");  // the real ZRBSender beside pdmsim
  SetEnvironment("ZRBXMAP", Xmap());
  SetVariable("ZRBXMAP", Xmap().c_str());
  GlobZRBCache.Load();

  bridge_ = std::make_unique<CADAutomationBridge>("ZRBModComm");
  std::string error;
  ASSERT_EQ(bridge_->Start(root_ + "/session.sock", &error), S_OK) << error;
  Pdm("vault", "init");
}

void PdmEndToEndFixture::TearDown() {
  if (bridge_) bridge_->Stop();
  bridge_.reset();
  CommandFixture::TearDown();
  GlobZRBCache.ResetForTests();
  ZRBXmapCacheFileEnvironment::Uninstall();
  CADDocumentServices::ResetSession();
  RestoreEnvironment();
  if (!root_.empty()) {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }
}

void PdmEndToEndFixture::SetEnvironment(const char* name, const std::string& value) {
  const char* old = std::getenv(name);
  savedEnvironment_.emplace_back(name, old ? std::make_unique<std::string>(old) : nullptr);
  if (value.empty()) {
    ::unsetenv(name);
  } else {
    ::setenv(name, value.c_str(), 1);
  }
}

void PdmEndToEndFixture::RestoreEnvironment() {
  for (auto it = savedEnvironment_.rbegin(); it != savedEnvironment_.rend(); ++it) {
    if (it->second) {
      ::setenv(it->first.c_str(), it->second->c_str(), 1);
    } else {
      ::unsetenv(it->first.c_str());
    }
  }
  savedEnvironment_.clear();
}

// ---------------------------------------------------------------- places

std::vector<std::string> PdmEndToEndFixture::XmapFileNames() const {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(Xmap(), ec)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// ---------------------------------------------------------------- pdmsim

PdmRun PdmEndToEndFixture::RunPdm(const std::vector<std::string>& args) { return RunBuiltTool("pdmsim", args); }

std::string PdmEndToEndFixture::PdmArgs(const std::vector<std::string>& args) {
  PdmRun run = RunPdm(args);
  std::string joined;
  for (const std::string& arg : args) joined += " " + arg;
  EXPECT_EQ(run.exitCode, 0) << "pdmsim" << joined << "\n" << run.out << run.err;
  return run.out;
}

std::vector<PdmCall> PdmEndToEndFixture::Journal() { return JournalJson(Pdm("journal", "--json")).Calls(); }

std::vector<std::string> PdmEndToEndFixture::JournalActions() {
  std::vector<std::string> actions;
  for (const PdmCall& call : Journal()) actions.push_back(call.action);
  return actions;
}

std::string PdmEndToEndFixture::JournalRequest(int seq) { return Pdm("journal", "show", std::to_string(seq)); }

void PdmEndToEndFixture::ImportSampleSession() {
  sampleDirectory_ = root_ + "/sample";
  fs::create_directories(sampleDirectory_);
  CADUnicodeString error;
  ASSERT_TRUE(SUCCEEDED(CADSampleSession::Write(CADUnicodeString(sampleDirectory_), error))) << error;
  Pdm("vault", "import", sampleDirectory_);
}

CADIProduct_var PdmEndToEndFixture::LoadIntoCad(const std::string& partNumber) {
  Pdm("load-into-cad", partNumber);
  Loop().RunPending();
  for (CADFrmWindow* window : CADFrmLayout::GetCurrentLayout().GetWindowList()) {
    CADIProduct_var root;
    if (SUCCEEDED(window->GetRootProduct(root)) && root && root->GetPartNumber() == partNumber.c_str()) {
      CADFrmLayout::GetCurrentLayout().SetCurrentWindow(window);
      return root;
    }
  }
  return nullptr;
}

// ---------------------------------------------------------------- files

std::string PdmEndToEndFixture::ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void PdmEndToEndFixture::WriteFile(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

bool PdmEndToEndFixture::Exists(const std::string& path) {
  std::error_code ec;
  return fs::exists(path, ec);
}
