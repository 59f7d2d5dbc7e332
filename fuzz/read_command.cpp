// The read command takes whatever the PDM left in its request file as the answer: whatever those bytes are, the
// read must end with 0 or 1, refuse an answer cut off in a line, and leave the exchange map as it found it (every
// stale file back under its own name, no backup left).
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "CADDlgBoxScript.h"
#include "CADDocumentServices.h"
#include "ZRBAfx.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBPropertyManager.h"
#include "ZRBReadCmd.h"

namespace {

namespace fs = std::filesystem;

void WriteFile(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "read_command: %s\n", what);
    std::abort();
  }
}

constexpr const char* kStale = "CADHOST-DOCUMENT 1 CADPart\npartnumber \"STALE\"\nend\n";

struct Scratch {
  Scratch() {
    const char* base = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    xmap = std::string(base) + "/zrb-fuzz-readcmd-" + std::to_string(::getpid());
    fs::create_directories(xmap);
    g_ZRBConfig.ChangeEnvVar("ZRBXMAP", xmap.c_str(), 0);
    g_ZRBConfig.ChangeEnvVar("ZRB_DISABLE_WM_SUPPORT", "ON", 0);
  }
  ~Scratch() {
    std::error_code ignored;
    fs::remove_all(xmap, ignored);
  }
  std::string xmap;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Scratch scratch;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::string answerFile = scratch.xmap + "/xfile.zrb";
  // The PDM's part: the request is replaced by the input.
  ZRBAfx::SetShellCall([&](const char*) {
    WriteFile(answerFile, bytes);
    return 0;
  });
  WriteFile(scratch.xmap + "/STALE.CADPart", kStale);

  CADDocumentServices::ResetSession();
  GlobPropertyManager.ResetForTests();
  ZRBReadCmd* read = new ZRBReadCmd(1);
  const int result = read->CreateProductStructure();
  read->ReSetTimestampSetting();
  Check(result == 0 || result == 1, "a result other than 0 or 1");
  if (!bytes.empty() && bytes.back() != '\n' && bytes.front() == '@') Check(result == 0, "a cut answer was taken");
  Check(ReadFile(scratch.xmap + "/STALE.CADPart") == kStale, "a stale file was not restored");
  for (const auto& entry : fs::directory_iterator(scratch.xmap))
    Check(entry.path().filename().string().rfind("ZRBBACKUP_", 0) != 0, "a backup outlived the read");
  read->Release();
  CADDocumentServices::ResetSession();
  CADDlgBoxScript::Reset();
  ZRBAfx::SetShellCall(nullptr);
  return 0;
}
