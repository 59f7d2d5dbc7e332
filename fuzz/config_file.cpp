// Fuzzes the reader of the configuration file, which a site administrator
// writes by hand: any bytes must give either data or a one-line reason,
// never a crash, a hang or a leak.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>

#include "ZRBConfigFileReader.h"
#include "ZRBConfigTopicManager.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  std::string error;
  std::optional<ZRBConfigData> data =
      ZRBConfigFileReader::ReadText(std::string_view(reinterpret_cast<const char*>(bytes), size), error);
  if (!data) {
    if (error.empty() || error.find('\n') != std::string::npos) __builtin_trap();  // one line, always given
    return 0;
  }
  // Walk what was read the way the module does.
  static ZRBConfigTopicManager* config = new ZRBConfigTopicManager();
  config->SetConfigData(std::move(*data));
  std::ostringstream dump;
  config->Dump(dump);
  char category[8];
  int link = 0;
  config->GetFileCategory("CADPart", "STD_bolt.CADPart", category, sizeof category, &link);
  CADListValCADUnicodeString names, displays;
  config->GetPartCategories(names, displays);
  if (names.Size() != displays.Size()) __builtin_trap();
  ZRBConfigBehaviorManager* behaviors = config->GetConfigBehaviorManager();
  CADListPtrZRBConfigurableBehavior byPrefix = behaviors->FilterForPartNumberPrefix("STD-M10", nullptr);
  behaviors->FilterForBehaviorType("ProductNodeBehavior", &byPrefix);
  for (const ZRBFeatureExtension* e = config->GetFirstFeatureExtension(); e; e = e->GetNext())
    for (const ZRBFeatureExtensionAttribute* a = e->GetFirstAttribute(); a; a = a->GetNext()) (void)a->GetName();
  return 0;
}
