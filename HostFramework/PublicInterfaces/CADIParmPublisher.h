// Owner of design tables: a product's reference (parts and products) or a
// drawing document.
#pragma once

#include "CADBaseUnknown.h"
#include "CADIDesignTable.h"
#include "CADListValCADBaseUnknown.h"
#include "CADUnicodeString.h"

class CADIParmPublisher : public virtual CADBaseUnknown {
  CAD_DECLARE_INTERFACE(CADIParmPublisher)

 public:
  // The tables in their order (CADIDesignTable objects); E_FAIL when the
  // owner is not loaded.
  virtual HRESULT ListDesignTables(CADListValCADBaseUnknown_var& tables) const = 0;
  // Appends a table (activated, without alias); E_FAIL for an empty name or
  // sheet path, or a name the owner already has.
  virtual HRESULT AddDesignTable(const CADUnicodeString& name, const CADUnicodeString& sheetPath,
                                 CADIDesignTable_var& table) = 0;
  virtual HRESULT RemoveDesignTable(const CADIDesignTable_var& table) = 0;
};

using CADIParmPublisher_var = CADVar<CADIParmPublisher>;
