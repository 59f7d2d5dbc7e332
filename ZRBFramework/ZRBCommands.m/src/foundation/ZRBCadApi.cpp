#include "ZRBCadApi.h"

#include <dlfcn.h>

#include <array>
#include <cstring>

#include "CADClock.h"
#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADIExternalLinkType.h"
#include "CADIExternalLinks.h"
#include "CADIPointedSymbols.h"
#include "ZRBAfxBase.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBFileUtil.h"
#include "ZRBTrace.h"

ZRBCadApi GlobZRBCadApi;

namespace {

// The host functions carry C++ link names (they have no C declaration);
// the name encodes the argument list, so a changed signature on either side
// shows up as a missing symbol instead of a wrong call.
constexpr const char* kNewTransaction = "_Z20CADAfrNewTransactionRK16CADUnicodeStringhRi";
constexpr const char* kResetBrokenLinks = "_Z27CADResetDocumentBrokenLinksP11CADDocument";
constexpr const char* kIdentifierFromPath = "_Z24CADGetIdentifierFromPathRK16CADUnicodeStringR7CADUuid";
constexpr const char* kRootContainerUuidFromPath = "_Z28GetRootContainerUUIDFromPathRK16CADUnicodeStringR7CADUuid";

template <class T>
void Bind(void* library, const char* symbol, T& target) {
  target = nullptr;
  if (!library) return;
  void* address = ::dlsym(library, symbol);
  static_assert(sizeof(T) == sizeof(void*));
  std::memcpy(&target, &address, sizeof address);
}

// The directory of the host's own libraries, where the late-bound ones are
// installed too.
std::string HostLibraryDirectory() {
  Dl_info info{};
  CADTimeB (*hostFunction)() = &CADClock::Now;
  void* address = nullptr;
  std::memcpy(&address, &hostFunction, sizeof address);
  if (!::dladdr(address, &info) || !info.dli_fname) return {};
  std::string path = info.dli_fname;
  auto slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// A plain name goes through the loader's search path first, then the host's
// library directory (a loader that does not see the caller's run path, as
// under some instrumented runtimes, would otherwise miss them).
void* Open(const std::string& name) {
  if (name.empty()) return nullptr;
  void* library = ::dlopen(name.c_str(), RTLD_LAZY);
  if (library || name.find('/') != std::string::npos) return library;
  std::string directory = HostLibraryDirectory();
  if (directory.empty()) return nullptr;
  return ::dlopen((directory + "/" + name).c_str(), RTLD_LAZY);
}

void Close(void*& library) {
  if (library) ::dlclose(library);
  library = nullptr;
}

// Host link types in the order they are tested; the last match wins, so a
// specialised type listed later overrides a general one.
constexpr std::array<std::pair<const char*, const char*>, 9> kLinkTypes = {{
    {"CADLinkTypeIsComposedOf", "IsComposedOf"},
    {"CADLinkTypeProduct", "Product"},
    {"CADLinkTypeDesign", "Design"},
    {"CADLinkTypeDesignTable", "DesignTable"},
    {"CADLinkTypeRuleBase", "RuleBase"},
    {"CADLinkTypeDownstream", "Downstream"},
    {"CADLinkTypeContextual", "Context"},
    {"CADLinkTypeResult", "Result"},
    {"CADLinkTypeReference", "Reference"},
}};

}  // namespace

ZRBCadApi::ZRBCadApi() : ZRBCadApi(ZRBCadApiLibraries()) {}

ZRBCadApi::ZRBCadApi(const ZRBCadApiLibraries& libraries) { Load(libraries); }

ZRBCadApi::~ZRBCadApi() { Unload(); }

void ZRBCadApi::Load(const ZRBCadApiLibraries& libraries) {
  Unload();
  applicationFrameLibrary_ = Open(libraries.applicationFrame);
  Bind(applicationFrameLibrary_, kNewTransaction, newTransaction_);

  objectModelerLibrary_ = Open(libraries.objectModeler);
  Bind(objectModelerLibrary_, "IID_CADIPointedSymbols", iidPointedSymbols_);
  Bind(objectModelerLibrary_, kResetBrokenLinks, resetBrokenLinks_);
  Bind(objectModelerLibrary_, kIdentifierFromPath, identifierFromPath_);
  Bind(objectModelerLibrary_, kRootContainerUuidFromPath, rootContainerUuidFromPath_);
  Bind(objectModelerLibrary_, "IID_CADIExternalLinks", iidExternalLinks_);
  Bind(objectModelerLibrary_, "IID_CADIExternalLink", iidExternalLink_);

  interactiveInterfacesLibrary_ = Open(libraries.interactiveInterfaces);
  Bind(interactiveInterfacesLibrary_, "IID_CADIExternalLinkType", iidExternalLinkType_);

  extensionLibrary_ = Open(libraries.extension);
  Bind(extensionLibrary_, "ZRBGetFullPath", fullPath_);

  if (UseCustomerExtension()) customerExtensionLibrary_ = Open(libraries.customerExtension);
  Bind(customerExtensionLibrary_, "ZRBExtRefreshDocumentInformation", refreshDocument_);
  Bind(customerExtensionLibrary_, "ZRBExtReadDSFileIdentifier", readIdentifier_);
  Bind(customerExtensionLibrary_, "ZRBExtCompareDSFileIdentifier", compareIdentifier_);
}

void ZRBCadApi::Unload() {
  iidPointedSymbols_ = nullptr;
  newTransaction_ = nullptr;
  resetBrokenLinks_ = nullptr;
  identifierFromPath_ = nullptr;
  rootContainerUuidFromPath_ = nullptr;
  iidExternalLinks_ = nullptr;
  iidExternalLink_ = nullptr;
  iidExternalLinkType_ = nullptr;
  fullPath_ = nullptr;
  refreshDocument_ = nullptr;
  readIdentifier_ = nullptr;
  compareIdentifier_ = nullptr;
  Close(customerExtensionLibrary_);
  Close(extensionLibrary_);
  Close(interactiveInterfacesLibrary_);
  Close(objectModelerLibrary_);
  Close(applicationFrameLibrary_);
}

CADListValCADString ZRBCadApi::GetMissingSymbols() const {
  CADListValCADString missing;
  auto check = [&](const void* bound, const char* library, const char* symbol) {
    if (!bound) missing.Append(CADString(std::string(library) + ":" + symbol));
  };
  auto fn = [](auto pointer) { return pointer ? reinterpret_cast<const void*>(1) : nullptr; };
  check(fn(newTransaction_), "libCADApplicationFrame.so", "CADAfrNewTransaction");
  check(iidPointedSymbols_, "libCADObjectModelerBase.so", "IID_CADIPointedSymbols");
  check(fn(resetBrokenLinks_), "libCADObjectModelerBase.so", "CADResetDocumentBrokenLinks");
  check(fn(identifierFromPath_), "libCADObjectModelerBase.so", "CADGetIdentifierFromPath");
  check(fn(rootContainerUuidFromPath_), "libCADObjectModelerBase.so", "GetRootContainerUUIDFromPath");
  check(iidExternalLinks_, "libCADObjectModelerBase.so", "IID_CADIExternalLinks");
  check(iidExternalLink_, "libCADObjectModelerBase.so", "IID_CADIExternalLink");
  check(iidExternalLinkType_, "libCADInteractiveInterfaces.so", "IID_CADIExternalLinkType");
  check(fn(fullPath_), "libZRBExt.so", "ZRBGetFullPath");
  check(fn(refreshDocument_), "libZRBCustExt.so", "ZRBExtRefreshDocumentInformation");
  check(fn(readIdentifier_), "libZRBCustExt.so", "ZRBExtReadDSFileIdentifier");
  check(fn(compareIdentifier_), "libZRBCustExt.so", "ZRBExtCompareDSFileIdentifier");
  return missing;
}

bool ZRBCadApi::UseCustomerExtension() { return g_ZRBConfig.CompareEnvVar("ZRB_USE_CUSTEXT", "ON", 1) == 1; }

HRESULT ZRBCadApi::QueryDocument(CADDocument* document, const CADIID* iid, void** out) {
  *out = nullptr;
  if (!document || !iid) return E_FAIL;
  HRESULT hr = document->QueryInterface(*iid, out);
  if (FAILED(hr) || !*out) {
    *out = nullptr;
    return E_FAIL;
  }
  return S_OK;
}

HRESULT ZRBCadApi::DoFlushForSave() {
  ZRB_TRACE("ZRBCadApi::DoFlushForSave");
  if (!newTransaction_) return E_FAIL;
  int index = 0;
  HRESULT hr = newTransaction_(CADUnicodeString("MyTransaction"), 0, index);
  if (SUCCEEDED(hr)) ZRB_TRACE_OK();
  return hr;
}

HRESULT ZRBCadApi::CADResetDocumentBrokenLinks(CADDocument* document) {
  ZRB_TRACE("ZRBCadApi::CADResetDocumentBrokenLinks");
  HRESULT hr = E_FAIL;
  if (UseCustomerExtension()) {
    if (refreshDocument_) hr = refreshDocument_(document);
  } else if (resetBrokenLinks_) {
    hr = resetBrokenLinks_(document);
  }
  if (SUCCEEDED(hr)) ZRB_TRACE_OK();
  return hr;
}

HRESULT ZRBCadApi::GetUuid(const CADUnicodeString& path, CADString& identifier) {
  ZRB_TRACE("ZRBCadApi::GetUuid");
  identifier = CADString();
  if (!UseCustomerExtension()) {
    UuidFromPathFn fromPath = rootContainerUuidFromPath_ ? rootContainerUuidFromPath_ : identifierFromPath_;
    if (!fromPath) return E_FAIL;
    CADUuid uuid;
    if (FAILED(fromPath(path, uuid))) return E_FAIL;
    identifier = uuid.ToString();
    ZRB_TRACE_OK();
    return S_OK;
  }
  CADDocument* document = CADDocumentServices::GetDocumentInSession(path);
  if (!document || !readIdentifier_) return E_FAIL;
  const char* text = nullptr;
  if (FAILED(readIdentifier_(document, &text)) || !text) return E_FAIL;
  // The text belongs to the customer library: copy it, never free it.
  identifier = CADString(text);
  ZRB_TRACE_OK();
  return S_OK;
}

HRESULT ZRBCadApi::GetUuid(const CADUnicodeString& path, char* buffer, std::size_t size) {
  if (!buffer) return E_FAIL;
  CADString identifier;
  if (FAILED(GetUuid(path, identifier))) return E_FAIL;
  std::size_t needed = static_cast<std::size_t>(identifier.GetLength()) + 1;
  if (needed > size) {
    ZRB_DEBUG("ZRB: identifier of %s needs %zu bytes, the buffer has %zu", path.c_str(), needed, size);
    return E_FAIL;
  }
  std::memcpy(buffer, identifier.c_str(), needed);
  return S_OK;
}

HRESULT ZRBCadApi::CompareDSFileIdentifier(const CADString& a, const CADString& b, unsigned char& same) {
  same = 0;
  if (!UseCustomerExtension()) {
    same = a.Compare(b.view()) == 0 ? 1 : 0;
    return S_OK;
  }
  if (!compareIdentifier_) return E_FAIL;
  return compareIdentifier_(a.c_str(), b.c_str(), &same);
}

HRESULT ZRBCadApi::GetPointedFileNames(CADDocument* document, CADListValCADUnicodeString& names) {
  ZRB_TRACE("ZRBCadApi::GetPointedFileNames");
  void* raw = nullptr;
  if (FAILED(QueryDocument(document, iidPointedSymbols_, &raw))) return E_FAIL;
  auto symbols = CADVar<CADIPointedSymbols>::Adopt(static_cast<CADIPointedSymbols*>(raw));
  CADListValCADUnicodeString found;
  HRESULT hr = symbols->GetPointedFileNames(found);
  symbols.Reset();
  if (FAILED(hr)) return hr;
  for (int i = found.Size(); i >= 1; --i)
    if (ZRBFileUtil::HasExtension(found[i], "feat")) found.RemovePosition(i);
  names = found;
  ZRB_TRACE_OK();
  return S_OK;
}

HRESULT ZRBCadApi::GetExternalLinks(CADDocument* document, CADListValCADBaseUnknown_var& links) {
  void* raw = nullptr;
  if (FAILED(QueryDocument(document, iidExternalLinks_, &raw))) return E_FAIL;
  auto externalLinks = CADVar<CADIExternalLinks>::Adopt(static_cast<CADIExternalLinks*>(raw));
  return externalLinks->GetLinks(links);
}

HRESULT ZRBCadApi::GetExternalLink(const CADBaseUnknown_var& handle, CADIExternalLink_var& link) {
  link = nullptr;
  if (!handle || !iidExternalLink_) return E_FAIL;
  void* raw = nullptr;
  if (FAILED(handle->QueryInterface(*iidExternalLink_, &raw)) || !raw) return E_FAIL;
  link = CADIExternalLink_var::Adopt(static_cast<CADIExternalLink*>(raw));
  return S_OK;
}

HRESULT ZRBCadApi::ZRBGetFullPath(const CADIExternalLink_var& link, CADUnicodeString& path) {
  path = CADUnicodeString();
  if (!link || !fullPath_) return E_FAIL;
  std::array<char, FullPathBufferSize> buffer{};
  HRESULT hr = fullPath_(link.get(), buffer.data(), FullPathBufferSize);
  if (FAILED(hr)) return hr;
  // The library may fill the buffer to the last byte without a terminating
  // zero: such a path is cut off and names some other file.
  const void* end = std::memchr(buffer.data(), '\0', buffer.size());
  if (!end) {
    ZRB_DEBUG("ZRB: full path of external link does not fit in %d bytes", FullPathBufferSize);
    return E_FAIL;
  }
  std::size_t length = static_cast<std::size_t>(static_cast<const char*>(end) - buffer.data());
  if (length > 0) path = CADUnicodeString(std::string_view(buffer.data(), length));
  return hr;
}

CADUnicodeString ZRBCadApi::GetLinkTypeText(const CADIExternalLink_var& link) const {
  CADUnicodeString type;
  link->GetLinkTypeName(type);
  if (type.IsEmpty() && link->GetLinkClassName() == "CADDrwTextExternalLink") type = "DrwText";
  if (!type.IsEmpty() || !iidExternalLinkType_) return type;
  CADBaseUnknown_var typeObject;
  if (FAILED(link->GetLinkType(typeObject)) || !typeObject) return type;
  void* raw = nullptr;
  if (FAILED(typeObject->QueryInterface(*iidExternalLinkType_, &raw)) || !raw) return type;
  auto linkType = CADIExternalLinkType_var::Adopt(static_cast<CADIExternalLinkType*>(raw));
  for (const auto& [hostName, text] : kLinkTypes)
    if (linkType->IsAKindOf(hostName)) type = text;
  return type;
}

HRESULT ZRBCadApi::GetPointedTypeAndPath(CADDocument* document, CADListValCADUnicodeString& types,
                                         CADListValCADUnicodeString& paths) {
  ZRB_TRACE("ZRBCadApi::GetPointedTypeAndPath");
  if (!document) return E_FAIL;
  const CADUnicodeString& self = document->StorageName();
  CADListValCADBaseUnknown_var links;
  HRESULT hr = GetExternalLinks(document, links);
  if (FAILED(hr)) return hr;
  for (int i = 1; i <= links.Size(); ++i) {
    CADIExternalLink_var link;
    hr = GetExternalLink(links[i], link);
    if (FAILED(hr)) break;
    CADUnicodeString type = GetLinkTypeText(link);
    // A link whose file cannot be told is skipped like one without a path:
    // one unresolved link must not hide the links after it.
    CADUnicodeString path;
    ZRBGetFullPath(link, path);
    if (path.IsEmpty() || ZRBFileUtil::HasExtension(path, "feat")) continue;
    int isSelf = 0;
    ZRBAfxBase::CompareFullPath(path, self, isSelf);
    if (isSelf) continue;
    CADUnicodeString braced = "{" + type.str() + "}";
    int found = 0, index = 0;
    ZRBAfxBase::SearchPathInList(paths, path, found, index);
    if (!found) {
      paths.Append(path);
      types.Append(braced);
    } else if (types[index].Find(braced.view()) < 0) {
      types[index] = types[index] + " " + braced;
    }
  }
  if (SUCCEEDED(hr)) ZRB_TRACE_OK();
  return hr;
}

HRESULT ZRBCadApi::GetAllPointedTypeAndPath(CADDocument* document, CADListValCADUnicodeString& types,
                                            CADListValCADUnicodeString& paths) {
  ZRB_TRACE("ZRBCadApi::GetAllPointedTypeAndPath");
  types.RemoveAll();
  paths.RemoveAll();
  if (!document) return E_FAIL;
  if (fullPath_) GetPointedTypeAndPath(document, types, paths);
  CADListValCADUnicodeString names;
  if (SUCCEEDED(GetPointedFileNames(document, names))) {
    for (const auto& name : names) {
      int found = 0;
      ZRBAfxBase::SearchPathInList(paths, name, found);
      if (found) continue;
      paths.Append(name);
      types.Append("{unknown}");
    }
  }
  ZRB_TRACE_OK();
  return S_OK;
}
