// The host's class dictionary: factories registered under class names when a
// library is loaded, and objects created by name with an optional argument
// (an integer mode or a text).
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <type_traits>
#include <variant>

#include "CADBaseUnknown.h"
#include "CADListVal.h"
#include "CADString.h"

// No argument, an integer (a command's mode) or a text (a command's parameter).
using CADClassArgument = std::variant<std::monostate, int, CADString>;
// Returns a new object holding one reference for the caller, or null.
using CADClassFactory = std::function<CADBaseUnknown*(const CADClassArgument&)>;

class CADClassDictionary {
 public:
  // --- registration (any thread; normally static initialisation)
  // Registers `factory` under `className`; returns a registration id, or 0
  // when the name is taken (the first registration keeps it).
  static std::uint64_t Register(std::string_view className, CADClassFactory factory);
  // Removes the registration `id` (what a library does when it is unloaded).
  static void Unregister(std::uint64_t id);

  // --- lookup (any thread)
  // A new object of `className` (one reference, the caller's), or null when
  // the class is unknown or its factory refused the argument.
  static CADBaseUnknown* Create(std::string_view className, const CADClassArgument& argument = {});
  // The same, typed: null (and nothing leaked) when the object is not a T.
  template <class T>
  static T* CreateAs(std::string_view className, const CADClassArgument& argument = {}) {
    CADBaseUnknown* object = Create(className, argument);
    if (!object) return nullptr;
    if (T* typed = dynamic_cast<T*>(object)) return typed;
    object->Release();
    return nullptr;
  }
  static bool Contains(std::string_view className);
  // Every registered class name, sorted.
  static CADListValCADString ListNames();

  // Keeps a factory registered for its own lifetime: a static Registration in
  // a library registers at load and unregisters at unload. Accepts factories
  // of the three host shapes: T* f(), T* f(int mode), T* f(const CADString&).
  class Registration {
   public:
    Registration(std::string_view className, CADClassFactory factory);
    template <class T>
    Registration(std::string_view className, T* (*factory)()) : Registration(className, Adapt(factory)) {}
    template <class T>
    Registration(std::string_view className, T* (*factory)(int)) : Registration(className, Adapt(factory)) {}
    template <class T>
    Registration(std::string_view className, T* (*factory)(const CADString&))
        : Registration(className, Adapt(factory)) {}
    ~Registration();
    Registration(const Registration&) = delete;
    Registration& operator=(const Registration&) = delete;

    bool IsRegistered() const { return id_ != 0; }

   private:
    template <class T>
    static CADClassFactory Adapt(T* (*factory)()) {
      static_assert(std::is_base_of_v<CADBaseUnknown, T>);
      return [factory](const CADClassArgument&) -> CADBaseUnknown* { return factory(); };
    }
    template <class T>
    static CADClassFactory Adapt(T* (*factory)(int)) {
      static_assert(std::is_base_of_v<CADBaseUnknown, T>);
      return [factory](const CADClassArgument& argument) -> CADBaseUnknown* {
        int mode = 0;
        if (!ArgumentAsInt(argument, mode)) return nullptr;
        return factory(mode);
      };
    }
    template <class T>
    static CADClassFactory Adapt(T* (*factory)(const CADString&)) {
      static_assert(std::is_base_of_v<CADBaseUnknown, T>);
      return
          [factory](const CADClassArgument& argument) -> CADBaseUnknown* { return factory(ArgumentAsText(argument)); };
    }

    std::uint64_t id_ = 0;
  };

  // Argument conversions of the adapted factories: an integer factory takes
  // an int or a text holding a decimal integer, and refuses anything else; a
  // text factory takes a text, an int in decimal, or "" for no argument.
  static bool ArgumentAsInt(const CADClassArgument& argument, int& value);
  static CADString ArgumentAsText(const CADClassArgument& argument);
};
