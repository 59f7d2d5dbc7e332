// Exchange object files come from the PDM side: any bytes must read without
// harm, and what was read must survive a write and a second read unchanged.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ZRBObjectManager.h"
#include "ZRBObjectReadObserver.h"

namespace {
// In memory where possible: a rename over a file on disk starts writeback.
std::string ScratchPath(const char* name) {
  const char* dir = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  return std::string(dir) + "/zrb-fuzz-" + std::to_string(::getpid()) + "-" + name;
}

// Keys, names and stored values in order; keys as the writer puts them.
std::string Content(const ZRBObjectManager& manager) {
  std::string out;
  for (ZRBObject* o = manager.GetFirstObject(); o; o = manager.GetNextObject(o)) {
    out += '@';
    const CADString key = o->GetKey();
    for (char c : key.view())
      if (c != '\r' && c != '\n') out += c;
    out += '\n';
    CADListValCADString names, values;
    o->GetAllSlots(names, values);
    for (int i = 1; i <= names.Size(); ++i) {
      out += names[i].str() + '\0' + values[i].str() + '\n';
      // The accessors must cope with whatever the file held.
      (void)o->GetSlotValue(names[i]);
      (void)o->GetSlotValueList(names[i]);
    }
  }
  return out;
}

class CountingObserver : public ZRBObjectReadObserver {
 public:
  void OnObject(long, std::string_view) override { ++objects; }
  int objects = 0;
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string input = ScratchPath("in.zrb");
  static const std::string output = ScratchPath("out.zrb");
  static const struct Cleanup {
    ~Cleanup() {
      std::remove(input.c_str());
      std::remove(output.c_str());
    }
  } cleanup;
  std::FILE* f = std::fopen(input.c_str(), "wb");
  if (f == nullptr) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);

  ZRBObjectManager manager;
  CountingObserver observer;
  if (!manager.Read(CADUnicodeString(input), observer)) std::abort();  // a regular file always reads
  if (observer.objects != manager.GetObjectCount()) std::abort();
  const std::string first = Content(manager);
  // Without an observer slot lines are kept as read and parsed on first use: the same content.
  ZRBObjectManager kept;
  if (!kept.Read(CADUnicodeString(input)) || Content(kept) != first) std::abort();

  // Every key read is writable: a header needs a key that is more than CRs.
  if (!manager.Write(CADUnicodeString(output))) std::abort();
  ZRBObjectManager again;
  if (!again.Read(CADUnicodeString(output))) std::abort();
  if (Content(again) != first) std::abort();  // the round trip lost or changed something

  ZRBObjectManager copy(again);
  if (Content(copy) != first) std::abort();
  return 0;
}
