#include "CADComponentFactories.h"

#include <cstdio>

#include "CADNamedRegistry.h"

namespace {

// Never destroyed, like the class dictionary: components unregister during
// static destruction.
CADNamedRegistry<CADFactoryExtensionMaker>& Registry() {
  static auto* registry = new CADNamedRegistry<CADFactoryExtensionMaker>;
  return *registry;
}

}  // namespace

std::uint64_t CADComponentFactories::Register(std::string_view className, CADFactoryExtensionMaker maker) {
  if (!maker) return 0;
  std::uint64_t id = Registry().Add(className, std::move(maker));
  if (id == 0)
    std::fprintf(stderr, "CADComponentFactories: component \"%.*s\" already has a factory; keeping the first\n",
                 static_cast<int>(className.size()), className.data());
  return id;
}

void CADComponentFactories::Unregister(std::uint64_t id) { Registry().Remove(id); }

bool CADComponentFactories::Contains(std::string_view className) { return Registry().Find(className).has_value(); }

CADFactoryExtensionMaker CADComponentFactories::Find(std::string_view className) {
  auto maker = Registry().Find(className);
  return maker ? *maker : CADFactoryExtensionMaker();
}
