// Adapts a command factory with a mode argument to the class dictionary, so that the command can also be
// created by name without an argument (it gets its default mode then).
#pragma once

#include <type_traits>

#include "CADClassDictionary.h"

class ZRBCommandFactory {
 public:
  template <class T>
  static CADClassFactory WithDefaultMode(T* (*factory)(int), int defaultMode) {
    static_assert(std::is_base_of_v<CADBaseUnknown, T>);
    return [factory, defaultMode](const CADClassArgument& argument) -> CADBaseUnknown* {
      int mode = defaultMode;
      if (!std::holds_alternative<std::monostate>(argument) && !CADClassDictionary::ArgumentAsInt(argument, mode))
        return nullptr;
      return factory(mode);
    };
  }
};
