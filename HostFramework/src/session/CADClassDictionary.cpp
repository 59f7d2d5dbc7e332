#include "CADClassDictionary.h"

#include <charconv>
#include <cstdio>

#include "CADNamedRegistry.h"

namespace {

// Created on first use, while the first library registers its classes, and
// never destroyed: libraries unregister during static destruction, in an
// order nobody controls.
CADNamedRegistry<CADClassFactory>& Registry() {
  static auto* registry = new CADNamedRegistry<CADClassFactory>;
  return *registry;
}

}  // namespace

std::uint64_t CADClassDictionary::Register(std::string_view className, CADClassFactory factory) {
  if (!factory) return 0;
  std::uint64_t id = Registry().Add(className, std::move(factory));
  if (id == 0)
    std::fprintf(stderr, "CADClassDictionary: class \"%.*s\" is already registered; keeping the first\n",
                 static_cast<int>(className.size()), className.data());
  return id;
}

void CADClassDictionary::Unregister(std::uint64_t id) { Registry().Remove(id); }

CADBaseUnknown* CADClassDictionary::Create(std::string_view className, const CADClassArgument& argument) {
  auto factory = Registry().Find(className);
  if (!factory) return nullptr;
  return (*factory)(argument);
}

bool CADClassDictionary::Contains(std::string_view className) { return Registry().Find(className).has_value(); }

CADListValCADString CADClassDictionary::ListNames() {
  CADListValCADString names;
  for (const auto& name : Registry().Names()) names.Append(CADString(name));
  return names;
}

CADClassDictionary::Registration::Registration(std::string_view className, CADClassFactory factory)
    : id_(CADClassDictionary::Register(className, std::move(factory))) {}

CADClassDictionary::Registration::~Registration() { CADClassDictionary::Unregister(id_); }

bool CADClassDictionary::ArgumentAsInt(const CADClassArgument& argument, int& value) {
  if (const int* number = std::get_if<int>(&argument)) {
    value = *number;
    return true;
  }
  if (const CADString* text = std::get_if<CADString>(&argument)) {
    std::string_view digits = text->view();
    if (!digits.empty() && digits.front() == '+') {
      digits.remove_prefix(1);
      if (digits.empty() || digits.front() < '0' || digits.front() > '9') return false;
    }
    int parsed = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), parsed);
    if (error != std::errc() || end != digits.data() + digits.size()) return false;
    value = parsed;
    return true;
  }
  return false;
}

CADString CADClassDictionary::ArgumentAsText(const CADClassArgument& argument) {
  if (const CADString* text = std::get_if<CADString>(&argument)) return *text;
  if (const int* number = std::get_if<int>(&argument)) return CADString(std::to_string(*number));
  return CADString();
}
