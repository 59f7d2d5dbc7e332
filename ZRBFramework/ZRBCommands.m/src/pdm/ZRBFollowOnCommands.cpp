#include "ZRBFollowOnCommands.h"

#include <string>
#include <vector>

namespace {

struct Variant {
  std::string standardClass;
  CADUnicodeString connectionCommand;
  ZRBFollowOnCommands::Factory factory;
};

std::vector<Variant>& Variants() {
  static std::vector<Variant> variants;
  return variants;
}

}  // namespace

int ZRBFollowOnCommands::Install(std::string_view standardClass, const ZRBClientMode& client, Factory variant) {
  std::vector<Variant>& variants = Variants();
  std::erase_if(variants, [&](const Variant& v) {
    return v.standardClass == standardClass && v.connectionCommand == client.GetConnectionCommand();
  });
  if (variant) variants.push_back(Variant{std::string(standardClass), client.GetConnectionCommand(), variant});
  return 1;
}

ZRBFollowOnCommands::Factory ZRBFollowOnCommands::Find(std::string_view standardClass, const ZRBClientMode& client) {
  for (const Variant& v : Variants())
    if (v.standardClass == standardClass && v.connectionCommand == client.GetConnectionCommand()) return v.factory;
  return nullptr;
}
