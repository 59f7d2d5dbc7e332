#include "PdmEndToEndFixture.h"

#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "CADAutomationBridge.h"
#include "CADDocumentServices.h"
#include "CADFrmLayout.h"
#include "CADFrmWindow.h"
#include "CADSampleSession.h"
#include "ZRBAfx.h"
#include "ZRBCache.h"
#include "ZRBObjectManager.h"
#include "ZRBXmapCacheFileEnvironment.h"

namespace fs = std::filesystem;

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
  environment_ = std::make_unique<ScopedEnv>();
  environment_->Set("PATH", (std::string(ZRB_BIN_DIR) + ":" + (path ? path : "/usr/bin:/bin")).c_str());
  environment_->Set("PDMSIM_VAULT", Vault().c_str());
  environment_->Set("PDMSIM_NOW", "2024-05-01 10:00:00.000");
  environment_->Set("PDMSIM_SENDER", nullptr);  // the real ZRBSender beside pdmsim
  environment_->Set("ZRBXMAP", Xmap().c_str());
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
  environment_.reset();
  if (!root_.empty()) {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }
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

std::vector<PdmCall> PdmEndToEndFixture::Journal() {
  std::vector<PdmCall> calls;
  for (const nlohmann::json& c : nlohmann::json::parse(Pdm("journal", "--json")))
    calls.push_back({c.value("seq", 0), c.value("action", ""), c.value("args", std::vector<std::string>{}),
                     c.value("outcome", "")});
  return calls;
}

std::vector<std::string> PdmEndToEndFixture::JournalActions() {
  std::vector<std::string> actions;
  for (const PdmCall& call : Journal()) actions.push_back(call.action);
  return actions;
}

std::string PdmEndToEndFixture::JournalRequest(int seq) { return Pdm("journal", "show", std::to_string(seq)); }

bool PdmEndToEndFixture::ReadRequest(int seq, ZRBObjectManager& request) {
  const std::string copy = root_ + "/request-copy.zrb";
  WriteFile(copy, JournalRequest(seq));
  return request.Read(CADUnicodeString(copy)) == 1;
}

int PdmEndToEndFixture::LastCall(std::string_view action) {
  int seq = 0;
  for (const PdmCall& call : Journal())
    if (call.action == action) seq = call.seq;
  return seq;
}

std::vector<std::string> PdmEndToEndFixture::Words(std::string_view text) {
  std::vector<std::string> words;
  std::istringstream in{std::string(text)};
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

std::string PdmEndToEndFixture::PdmLine(std::string_view words) {
  const std::vector<std::string> args = Words(words);
  return args.empty() ? std::string() : PdmArgs(args);
}

void PdmEndToEndFixture::PdmFault(std::string_view action, std::string_view options) {
  if (!options.empty()) PdmLine("fault set " + std::string(action) + " " + std::string(options));
}

// ---------------------------------------------------------------- what the session shows

std::string PdmEndToEndFixture::MessageText(std::string_view catalogKey, const std::string& parameter) {
  const std::string key(catalogKey);
  CADUnicodeString parameters[1] = {CADUnicodeString(parameter)};
  return ZRBAfx::BuildMessage(CADString(key.substr(0, key.find('.'))), CADString(key), parameters, 1).str();
}

std::string PdmEndToEndFixture::CentreText() {
  const MessageCentreView centre = Dialogs().LastMessageCentre();
  std::string text = centre.status.str();
  for (const CADUnicodeString& line : centre.warnings) text += "|" + line.str();
  return text;
}

std::vector<std::string> PdmEndToEndFixture::Backups() const {
  std::vector<std::string> backups;
  for (const std::string& name : XmapFileNames())
    if (name.starts_with("ZRBBACKUP_")) backups.push_back(name);
  return backups;
}

bool PdmEndToEndFixture::InSession(std::string_view xmapName) const {
  return CADDocumentServices::GetDocumentInSession(CADUnicodeString(XmapFile(xmapName))) != nullptr;
}

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
