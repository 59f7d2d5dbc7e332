// The host's component model: reference-counted objects, interface
// identifiers and `_var` handles. Interfaces are plain C++ classes deriving
// (virtually) from CADBaseUnknown; a handle to interface T holds a T* obtained
// by QueryInterface and keeps the object alive.
#pragma once

#include <atomic>
#include <cstring>
#include <stdexcept>
#include <type_traits>

#include "CADBaseTypes.h"

// Interface identifier: compared by name, so two libraries that each define
// the same identifier agree.
struct CADIID {
  const char* name;
  friend bool operator==(const CADIID& a, const CADIID& b) { return std::strcmp(a.name, b.name) == 0; }
};

// Declares `static const CADIID& ClassId()` for an interface class.
#define CAD_DECLARE_INTERFACE(Name)       \
 public:                                  \
  static const CADIID& ClassId() {        \
    static const CADIID id{"IID_" #Name}; \
    return id;                            \
  }

class CADBaseUnknown {
  CAD_DECLARE_INTERFACE(CADBaseUnknown)

 public:
  CADBaseUnknown() = default;
  CADBaseUnknown(const CADBaseUnknown&) = delete;
  CADBaseUnknown& operator=(const CADBaseUnknown&) = delete;

  // A new object starts with one reference, owned by its creator.
  virtual unsigned long AddRef() { return ++refs_; }
  virtual unsigned long Release() {
    unsigned long left = --refs_;
    if (left == 0) delete this;
    return left;
  }
  // Hands out the interface `iid` with one reference added, or E_NOINTERFACE.
  // The default knows CADBaseUnknown only; implementations override it (see
  // CADQueryInterfaceHelper below) or rely on the typed handles, which cast.
  virtual HRESULT QueryInterface(const CADIID& iid, void** out) {
    if (!out) return E_INVALIDARG;
    *out = nullptr;
    if (iid == ClassId()) {
      *out = this;
      AddRef();
      return S_OK;
    }
    return E_NOINTERFACE;
  }

 protected:
  virtual ~CADBaseUnknown() = default;

 private:
  std::atomic<unsigned long> refs_{1};
};

// Thrown on use of a null handle. The module tests handles before use.
class CADNullHandleError : public std::logic_error {
 public:
  CADNullHandleError() : std::logic_error("use of a null CAD interface handle") {}
};

// Typed interface handle (`CADIProduct_var` = CADVar<CADIProduct>).
template <class T>
class CADVar {
 public:
  CADVar() = default;
  CADVar(std::nullptr_t) {}  // NOLINT
  // From any component: the handle is null when the object does not
  // implement T. Adds a reference. Only component classes convert, so that
  // overloads taking a handle or a text stay unambiguous for "literals".
  // clang-format off
  template <class U>
    requires std::is_polymorphic_v<U>
  CADVar(U* object) { Assign(object); }  // NOLINT
  // clang-format on
  template <class U>
  CADVar(const CADVar<U>& other) {  // NOLINT
    Assign(other.get());
  }
  CADVar(const CADVar& other) { Assign(other.ptr_); }
  CADVar(CADVar&& other) noexcept : ptr_(other.ptr_) { other.ptr_ = nullptr; }
  CADVar& operator=(CADVar other) noexcept {
    std::swap(ptr_, other.ptr_);
    return *this;
  }
  ~CADVar() { Reset(); }

  // Takes over a reference the caller already owns (a new object).
  static CADVar Adopt(T* object) {
    CADVar v;
    v.ptr_ = object;
    return v;
  }

  T* operator->() const {
    if (!ptr_) throw CADNullHandleError();
    return ptr_;
  }
  T& operator*() const {
    if (!ptr_) throw CADNullHandleError();
    return *ptr_;
  }
  T* get() const { return ptr_; }
  explicit operator bool() const { return ptr_ != nullptr; }
  bool operator!() const { return ptr_ == nullptr; }
  bool IsNull() const { return ptr_ == nullptr; }
  void Reset() {
    if (ptr_) static_cast<CADBaseUnknown*>(ptr_)->Release();
    ptr_ = nullptr;
  }
  // Same object (compared as CADBaseUnknown, whatever the interface).
  template <class U>
  bool IsEqual(const CADVar<U>& other) const {
    return dynamic_cast<const CADBaseUnknown*>(ptr_) == dynamic_cast<const CADBaseUnknown*>(other.get());
  }
  template <class U>
  friend bool operator==(const CADVar& a, const CADVar<U>& b) {
    return a.IsEqual(b);
  }

 private:
  template <class U>
  void Assign(U* object) {
    Reset();
    if (!object) return;
    T* typed = dynamic_cast<T*>(object);
    if (!typed) return;
    ptr_ = typed;
    static_cast<CADBaseUnknown*>(ptr_)->AddRef();
  }

  T* ptr_ = nullptr;
};

using CADBaseUnknown_var = CADVar<CADBaseUnknown>;

// QueryInterface for classes implementing several interfaces:
//   HRESULT QueryInterface(const CADIID& iid, void** out) override {
//     return CADQueryInterfaceHelper<ZRBIModComm, CADBaseUnknown>(this, iid, out);
//   }
template <class... Interfaces, class Self>
HRESULT CADQueryInterfaceHelper(Self* self, const CADIID& iid, void** out) {
  if (!out) return E_INVALIDARG;
  *out = nullptr;
  bool found = ((iid == Interfaces::ClassId() ? (*out = static_cast<Interfaces*>(self), true) : false) || ...);
  if (!found) return E_NOINTERFACE;
  static_cast<CADBaseUnknown*>(self)->AddRef();
  return S_OK;
}
