// Read answers come from the PDM side: whatever the answer file holds, building it into a fresh session must
// not crash, and nothing outside the exchange map may be opened, created or changed.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "ZRBCommand.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBObjectManager.h"
#include "ZRBPropertyManager.h"
#include "ZRBReadSessionActions.h"
#include "ZRBReadState.h"
#include "ZRBStructureReader.h"

namespace {

namespace fs = std::filesystem;

class FuzzCmd : public ZRBCommand {
 public:
  FuzzCmd() : ZRBCommand("FuzzCmd") {}
};

void WriteFile(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A scratch directory: the exchange map with a few documents, and beside it files that must stay untouched.
struct Scratch {
  Scratch() {
    const char* base = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    root = std::string(base) + "/zrb-fuzz-read-" + std::to_string(::getpid());
    xmap = root + "/a/xmap";
    fs::create_directories(xmap);
    WriteFile(xmap + "/ASM.CADProduct", "CADHOST-DOCUMENT 1 CADProduct\npartnumber \"ASM\"\nend\n");
    WriteFile(xmap + "/SUB.CADProduct", "CADHOST-DOCUMENT 1 CADProduct\npartnumber \"SUB\"\nend\n");
    for (const char* part : {"BOLT", "NUT"})
      WriteFile(xmap + "/" + part + ".CADPart",
                std::string("CADHOST-DOCUMENT 1 CADPart\npartnumber \"") + part + "\"\nend\n");
    WriteFile(xmap + "/BOLT.vis", "CADHOST-DOCUMENT 1 vis\nend\n");
    WriteFile(root + "/x", kOutside);
    WriteFile(root + "/a/x", kOutside);
    WriteFile(root + "/OUT.CADPart", "CADHOST-DOCUMENT 1 CADPart\npartnumber \"OUT\"\nend\n");
    outsideEntries = Entries(root);
    g_ZRBConfig.ChangeEnvVar("ZRBXMAP", xmap.c_str(), 0);
  }
  ~Scratch() {
    std::error_code ignored;
    fs::remove_all(root, ignored);
  }
  // Names directly in the directories outside the exchange map.
  std::string Entries(const std::string& directory) const {
    std::string names;
    for (const auto& entry : fs::recursive_directory_iterator(directory)) {
      const std::string path = entry.path().string();
      if (path.rfind(xmap, 0) == 0) continue;
      names += path + "\n";
    }
    return names;
  }
  static constexpr const char* kOutside = "outside the exchange map";
  std::string root, xmap, outsideEntries;
};

void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "read_answer: %s\n", what);
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Scratch scratch;
  const std::string answerFile = scratch.xmap + "/xfile.zrb";
  WriteFile(answerFile, std::string(reinterpret_cast<const char*>(data), size));

  CADDocumentServices::ResetSession();
  GlobPropertyManager.ResetForTests();
  ZRBObjectManager answer;
  if (!answer.Read(answerFile.c_str())) return 0;
  FuzzCmd* command = new FuzzCmd();
  ZRBReadState state;
  state.modelsInAssembly = size % 2;
  CADIProduct_var workbench;
  // Every other input goes below a workbench product, the rest opens top-level windows.
  if (size % 3 == 0) ZRBReadSessionActions::CreateZRBWorkbenchProduct(0, answer, answer.GetObject("ROOT"), workbench);
  {
    ZRBStructureReader reader(*command, state);
    reader.ReadProductStructure(workbench.get(), nullptr, answer, answer.GetObject("ROOT"));
  }
  // Every document the read opened lies in the exchange map (a new workbench document is not on disk).
  CADListValCADBaseUnknown_var documents = CADDocumentServices::GetListOfDocuments();
  for (int i = 1; i <= documents.Size(); ++i) {
    CADDocument_var document(documents[i]);
    if (!document || (workbench && document->GetRootProduct().get() == workbench.get())) continue;
    Check(document->StorageName().str().rfind(scratch.xmap + "/", 0) == 0, "a document outside the exchange map");
  }
  Check(ReadFile(scratch.root + "/x") == Scratch::kOutside, "a file outside the exchange map changed");
  Check(ReadFile(scratch.root + "/a/x") == Scratch::kOutside, "a file outside the exchange map changed");
  Check(scratch.Entries(scratch.root) == scratch.outsideEntries, "files outside the exchange map came or went");
  command->Release();
  workbench = nullptr;
  CADDocumentServices::ResetSession();
  return 0;
}
