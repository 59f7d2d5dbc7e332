// The structure file and the save's answer both come from outside: whatever they hold, bringing the file up to
// the answer must not crash, loop or write anything but the structure file itself. The input is the structure
// file, a line "%%", and the answer (or the request, in the save that runs without the PDM); the input's length
// picks the variant.
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "CADListVal.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBStructureFileUpdate.h"

namespace {

namespace fs = std::filesystem;

struct Scratch {
  Scratch() {
    const char* base = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    xmap = std::string(base) + "/zrb-fuzz-sfile-" + std::to_string(::getpid());
    fs::create_directories(xmap);
    g_ZRBConfig.ChangeEnvVar("ZRBXMAP", xmap.c_str(), 0);
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
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::size_t split = input.find("\n%%\n");
  const std::string structure = input.substr(0, split);
  const std::string answerText = split == std::string::npos ? std::string() : input.substr(split + 4);
  for (const char* name : {"/sZRBstructure", "/eZRBstructure"})
    std::ofstream(scratch.xmap + name, std::ios::binary | std::ios::trunc) << structure;
  const std::string answerPath = scratch.xmap + "/answer.zrb";
  std::ofstream(answerPath, std::ios::binary | std::ios::trunc) << answerText;
  ZRBObjectManager answer;
  if (!answer.Read(CADUnicodeString(answerPath))) return 0;
  CADListValCADUnicodeString messages;
  ZRBStructureFileUpdate update(size % 3 == 0, messages);
  if (size % 2)
    update.UpdateWithoutPdm(answer);
  else
    update.UpdateSZRBStructure(answer);
  for (ZRBObject* object = answer.GetFirstObject(); object; object = answer.GetNextObject(object)) {
    int number = 0;
    CADString prefix;
    if (update.GetKeyIDAsIntAndPrefixString(object->GetKey(), number, prefix))
      update.GenerateNewKeyID(number, prefix, number % 2 ? "MODEL" : "RELATION");
    ZRBStructureFileUpdate::GetFatherObjectKeyID(object->GetKey());
  }
  return 0;
}
