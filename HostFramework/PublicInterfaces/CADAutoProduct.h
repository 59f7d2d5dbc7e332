// Automation view of a product: its sub-products as a 1-based collection, the
// work mode, and the user parameters of its reference.
#pragma once

#include "CADBaseUnknown.h"
#include "CADUnicodeString.h"

class CADIProduct;

class CADAutoProduct : public virtual CADBaseUnknown {
  CAD_DECLARE_INTERFACE(CADAutoProduct)

 public:
  // Work modes of ApplyWorkMode.
  static constexpr int kVisualizationMode = 1;
  static constexpr int kDesignMode = 2;

  // Sub-products ------------------------------------------------------------
  // Number of direct children.
  virtual HRESULT get_Count(int& count) const = 0;
  // Child `index` (1..count) in child order; E_FAIL out of range.
  virtual HRESULT Item(int index, CADVar<CADIProduct>& child) const = 0;

  // Work mode -----------------------------------------------------------------
  // Design mode loads the reference's document when it is not loaded yet (a
  // part kept for visualisation only); visualisation mode only records the
  // mode. E_FAIL for another value or when the document cannot be loaded.
  virtual HRESULT ApplyWorkMode(int mode) = 0;
  virtual HRESULT GetWorkMode(int& mode) const = 0;

  // User parameters of the reference ----------------------------------------
  // Full names are the part number, "\Properties\" and the short name; types
  // are "String", "Boolean", "Integer" or "Real"; values are texts.
  virtual HRESULT GetUserRefPropertyCount(int& count) const = 0;
  virtual HRESULT GetUserRefProperty(int index, CADUnicodeString& fullName, CADUnicodeString& type,
                                     CADUnicodeString& value) const = 0;
  // E_FAIL when a parameter of that short name exists already.
  virtual HRESULT CreateUserRefProperty(const CADUnicodeString& shortName, const CADUnicodeString& type,
                                        const CADUnicodeString& value) = 0;
  // Changes the value of the parameter with that short name; E_FAIL when
  // there is none or the value does not suit its type ("true"/"false" for
  // Boolean, a number for Integer and Real).
  virtual HRESULT SetUserRefPropertyValue(const CADUnicodeString& shortName, const CADUnicodeString& value) = 0;
  virtual HRESULT RemoveUserRefProperty(const CADUnicodeString& shortName) = 0;
};

using CADAutoProduct_var = CADVar<CADAutoProduct>;
