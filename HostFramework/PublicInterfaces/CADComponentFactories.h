// The registered factory extensions of component classes, by class name: a
// library registers one for each component that others create by name.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "CADICreateInstance.h"

// Returns a new factory extension (one reference, the caller's), or null.
using CADFactoryExtensionMaker = std::function<CADICreateInstance*()>;

class CADComponentFactories {
 public:
  // --- registration (any thread; normally static initialisation)
  // Returns a registration id, or 0 when the class already has a factory.
  static std::uint64_t Register(std::string_view className, CADFactoryExtensionMaker maker);
  static void Unregister(std::uint64_t id);

  // --- lookup (any thread)
  static bool Contains(std::string_view className);
  // The maker for `className`, or an empty function.
  static CADFactoryExtensionMaker Find(std::string_view className);

  // Keeps a factory extension registered for its own lifetime (a static
  // object of the library that implements the component).
  class Registration {
   public:
    Registration(std::string_view className, CADFactoryExtensionMaker maker)
        : id_(Register(className, std::move(maker))) {}
    ~Registration() { Unregister(id_); }
    Registration(const Registration&) = delete;
    Registration& operator=(const Registration&) = delete;
    bool IsRegistered() const { return id_ != 0; }

   private:
    std::uint64_t id_;
  };
};
