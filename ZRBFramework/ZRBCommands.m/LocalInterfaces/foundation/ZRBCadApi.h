// Host functions and interface identifiers outside the host's published
// interface, and the optional extension libraries, bound at run time by
// library and symbol name. Every operation falls back cleanly (E_FAIL) when
// what it needs is missing. One instance per process: GlobZRBCadApi.
//
// Thread use: loading and unloading happen at module load/unload and in
// tests; the operations run on the host's user-interface thread.
#pragma once

#include <cstddef>
#include <string>

#include "CADBaseTypes.h"
#include "CADBaseUnknown.h"
#include "CADIExternalLink.h"
#include "CADListVal.h"
#include "CADListValCADBaseUnknown.h"
#include "CADString.h"
#include "CADUnicodeString.h"
#include "CADUuid.h"

class CADDocument;

// Where the five libraries are found: plain names go through the dynamic
// loader's search path; tests give full paths.
struct ZRBCadApiLibraries {
  std::string applicationFrame = "libCADApplicationFrame.so";
  std::string objectModeler = "libCADObjectModelerBase.so";
  std::string interactiveInterfaces = "libCADInteractiveInterfaces.so";
  std::string extension = "libZRBExt.so";
  std::string customerExtension = "libZRBCustExt.so";
};

class ZRBCadApi {
 public:
  // Signatures of the bound functions.
  using NewTransactionFn = HRESULT (*)(const CADUnicodeString& name, unsigned char flags, int& index);
  using ResetBrokenLinksFn = HRESULT (*)(CADDocument* document);
  using UuidFromPathFn = HRESULT (*)(const CADUnicodeString& path, CADUuid& uuid);
  using FullPathFn = HRESULT (*)(CADIExternalLink* link, char* buffer, int size);
  using RefreshDocumentFn = HRESULT (*)(CADDocument* document);
  using ReadIdentifierFn = HRESULT (*)(CADDocument* document, const char** identifier);
  using CompareIdentifierFn = HRESULT (*)(const char* a, const char* b, unsigned char* same);

  // Size of the buffer the extension library fills with a link's full path.
  static constexpr int FullPathBufferSize = 263;

  // --- lifecycle
  // Loads the libraries under their usual names.
  ZRBCadApi();
  explicit ZRBCadApi(const ZRBCadApiLibraries& libraries);
  ~ZRBCadApi();
  ZRBCadApi(const ZRBCadApi&) = delete;
  ZRBCadApi& operator=(const ZRBCadApi&) = delete;
  // Opens and resolves, in order: application frame, object modeler,
  // interactive interfaces, extension, and (only when "ZRB_USE_CUSTEXT" is
  // "ON") the customer extension. Unloads first.
  void Load(const ZRBCadApiLibraries& libraries);
  // Closes every library that was opened and clears what came from it.
  void Unload();
  // Names of the expected symbols that are not bound, as "library:symbol"
  // ("" entries for libraries not opened are listed too); for diagnostics and tests.
  CADListValCADString GetMissingSymbols() const;

  // --- document services
  // A host transaction "MyTransaction" before property changes are saved.
  HRESULT DoFlushForSave();
  // The customer refresh with "ZRB_USE_CUSTEXT" "ON", else the host's reset.
  HRESULT CADResetDocumentBrokenLinks(CADDocument* document);
  // Identifier of the document file at the path as text. The string form
  // never fails for lack of room; the buffer form fails (buffer untouched)
  // when the identifier and its terminating zero do not fit in `size`.
  HRESULT GetUuid(const CADUnicodeString& path, CADString& identifier);
  HRESULT GetUuid(const CADUnicodeString& path, char* buffer, std::size_t size);
  // `same` is 1 when the identifiers name the same file (host string
  // comparison, or the customer library's with "ZRB_USE_CUSTEXT" "ON").
  HRESULT CompareDSFileIdentifier(const CADString& a, const CADString& b, unsigned char& same);

  // --- links of a document
  // Files the document points at, without "feat" files.
  HRESULT GetPointedFileNames(CADDocument* document, CADListValCADUnicodeString& names);
  HRESULT GetExternalLinks(CADDocument* document, CADListValCADBaseUnknown_var& links);
  HRESULT GetExternalLink(const CADBaseUnknown_var& handle, CADIExternalLink_var& link);
  // Full path of the link from the extension library; "" and E_FAIL when
  // unknown or when it does not fit in the buffer.
  HRESULT ZRBGetFullPath(const CADIExternalLink_var& link, CADUnicodeString& path);
  // Parallel lists: types[i] (braced type names such as "{Product} {Design}")
  // describes paths[i]. Appends to the lists.
  HRESULT GetPointedTypeAndPath(CADDocument* document, CADListValCADUnicodeString& types,
                                CADListValCADUnicodeString& paths);
  // Empties both lists, then every pointed document, "{unknown}" where the
  // link type cannot be told.
  HRESULT GetAllPointedTypeAndPath(CADDocument* document, CADListValCADUnicodeString& types,
                                   CADListValCADUnicodeString& paths);

  // --- state (tests and diagnostics)
  bool HasFullPathFunction() const { return fullPath_ != nullptr; }
  bool IsCustomerExtensionLoaded() const { return customerExtensionLibrary_ != nullptr; }

 private:
  static bool UseCustomerExtension();
  static HRESULT QueryDocument(CADDocument* document, const CADIID* iid, void** out);
  // The link's type name as the module reports it ("Product", "DrwText" ...).
  CADUnicodeString GetLinkTypeText(const CADIExternalLink_var& link) const;

  // library handles (null when not loaded)
  void* applicationFrameLibrary_ = nullptr;
  void* objectModelerLibrary_ = nullptr;
  void* interactiveInterfacesLibrary_ = nullptr;
  void* extensionLibrary_ = nullptr;
  void* customerExtensionLibrary_ = nullptr;
  // bound symbols (null when missing)
  const CADIID* iidPointedSymbols_ = nullptr;
  NewTransactionFn newTransaction_ = nullptr;
  ResetBrokenLinksFn resetBrokenLinks_ = nullptr;
  UuidFromPathFn identifierFromPath_ = nullptr;
  UuidFromPathFn rootContainerUuidFromPath_ = nullptr;
  const CADIID* iidExternalLinks_ = nullptr;
  const CADIID* iidExternalLink_ = nullptr;
  const CADIID* iidExternalLinkType_ = nullptr;
  FullPathFn fullPath_ = nullptr;
  RefreshDocumentFn refreshDocument_ = nullptr;
  ReadIdentifierFn readIdentifier_ = nullptr;
  CompareIdentifierFn compareIdentifier_ = nullptr;
};

extern ZRBCadApi GlobZRBCadApi;
