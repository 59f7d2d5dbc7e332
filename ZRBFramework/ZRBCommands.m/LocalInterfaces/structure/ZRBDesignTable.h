// One design table of the session as the PDM sees it: its sheet file (moved into the exchange map under the name
// the PDM gives), the table item's PDM identity kept as file properties of that file, its save state, and the
// exchange-object slots that describe it in requests.
#pragma once

#include <string_view>

#include "CADBaseUnknown.h"
#include "CADIDesignTable.h"
#include "CADIDrawing.h"
#include "CADIParmPublisher.h"
#include "CADIProduct.h"
#include "CADListVal.h"
#include "CADRawCollPV.h"
#include "CADUnicodeString.h"

class ZRBObject;

// User-interface thread only, like the renaming lists it shares with every wrapper.
class ZRBDesignTable : public CADBaseUnknown {
 public:
  // Bits of the table state (those of the product state).
  static constexpr int kStateKnownToPdm = 1;
  static constexpr int kStateNew = 2;
  static constexpr int kStateDirty = 32;

  // --- lifecycle
  // A wrapper for `table` of `product` (null for a drawing's table); null when the table has no sheet path.
  static ZRBDesignTable* Create(const CADIDesignTable_var& table, const CADIProduct_var& product);
  // A copy of another wrapper (same table, product and path); a null source gives an empty wrapper.
  explicit ZRBDesignTable(const ZRBDesignTable* source);
  ZRBDesignTable(const ZRBDesignTable&) = delete;
  ZRBDesignTable& operator=(const ZRBDesignTable&) = delete;
  int IsAKindOf(std::string_view className) const;

  // --- listing; the caller owns the collection and its wrappers and frees both with DestroyList. A listing
  // that is not allowed gives null, not an empty collection.
  // Mode 1 first switches the product to the work mode that loads its tables.
  static CADRawCollPV* GetTables(const CADIProduct_var& product, unsigned char mode);
  static CADRawCollPV* GetTables(const CADIDrawing_var& drawing);
  static CADRawCollPV* GetTables(const CADIParmPublisher_var& publisher, const CADUnicodeString& unused1,
                                 const CADUnicodeString& unused2, const CADIProduct_var& product,
                                 const unsigned char mode);
  static void DestroyList(CADRawCollPV* list);

  // --- renaming lists: table file names the exchange map holds under another name (1-based, parallel)
  static const CADListValCADUnicodeString& GetListOfOldNames();
  static const CADListValCADUnicodeString& GetListOfNewNames();
  static void ResetRenamingLists();

  // --- the table and its file
  HRESULT GetFullPath(CADUnicodeString& path);
  HRESULT GetName(CADUnicodeString& name) const;
  HRESULT SetName(const CADUnicodeString& name);
  HRESULT FileExists(unsigned char* exists);
  HRESULT IsActivated(unsigned char* active) const;
  // Copies the file to `path` and points the table's sheet there; the renaming is recorded only once the copy
  // succeeded.
  HRESULT SetFullPath(const CADUnicodeString& path);
  // Follows a renaming recorded by another wrapper of the same file.
  HRESULT SetPathForMultiUsage();
  // Copies the file into the exchange map under its own name. Refused when another file of that name is there
  // and is the sheet of another table of the session.
  HRESULT MoveToXMap();

  // --- save state
  HRESULT WasLoadedByZrb(unsigned char* loaded);
  HRESULT Dirty(unsigned char* dirty) const;
  HRESULT GetState(int& state);

  // --- PDM identity on the table file
  HRESULT UpdateZRBProperties(const ZRBObject* answer);
  static HRESULT SetZRBProperties(const ZRBObject* answer, const int force);

  // --- request slots
  HRESULT GetZRBObject(ZRBObject* object);
  HRESULT AddNodeValidationDataToZRBObject(ZRBObject* object);
  HRESULT AddArchiveValidationDataToZRBObject(ZRBObject* object);

  // --- products around the table
  CADUnicodeString GetPartNumberOfFather() const;
  CADUnicodeString GetPartNumberOfAssembly();
  CADIProduct_var GetDirectFatherProduct();
  CADIProduct_var GetProductOfTCPart();

  // --- helpers shared with the callers
  // 1 when `fileName` is an item of the list text `listText` (the "{a} {b}" list form), compared item by item.
  static int IsTableInList(const CADUnicodeString& listText, const CADUnicodeString& fileName);
  // The file-name part of a name the PDM sent; "" when it is empty, ".", ".." or contains a separator after
  // the last one was removed (nothing that could lead outside the exchange map).
  static CADUnicodeString SafeFileName(const CADUnicodeString& pdmName);

 protected:
  ~ZRBDesignTable() override;

 private:
  ZRBDesignTable(const CADIDesignTable_var& table, const CADIProduct_var& product, const CADUnicodeString& path);
  static int ExchangeMap(CADUnicodeString& directory);
  bool IsSheetOfAnotherTable(const CADUnicodeString& path) const;

  CADIDesignTable_var table_;  // held for the wrapper's life
  CADIProduct_var product_;    // null for a drawing's table
  CADUnicodeString path_;      // never empty in a wrapper made by Create
};
