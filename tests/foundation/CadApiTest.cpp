#include <gtest/gtest.h>

#include <dlfcn.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADIExternalLinkType.h"
#include "CADIExternalLinks.h"
#include "CADIPointedSymbols.h"
#include "ZRBCadApi.h"
#include "ZRBConfigTopicManager.h"

namespace {

const std::string kDoubles = std::string(ZRB_LIB_DIR) + "/testdoubles/";

ZRBCadApiLibraries WithDoubles(const std::string& customerVariant = "full") {
  ZRBCadApiLibraries libraries;
  libraries.extension = kDoubles + "full/libZRBExt.so";
  libraries.customerExtension = kDoubles + customerVariant + "/libZRBCustExt.so";
  return libraries;
}

// "ZRB_USE_CUSTEXT" for the life of the object.
class CustomerExtensionSwitch {
 public:
  explicit CustomerExtensionSwitch(bool on) { g_ZRBConfig.ChangeEnvVar("ZRB_USE_CUSTEXT", on ? "ON" : "OFF", 1); }
  ~CustomerExtensionSwitch() { g_ZRBConfig.ResetForTests(); }
};

class FakeLinkType final : public CADIExternalLinkType {
 public:
  explicit FakeLinkType(std::vector<std::string> kinds) : kinds_(std::move(kinds)) {}
  int IsAKindOf(std::string_view name) const override { return std::ranges::find(kinds_, name) != kinds_.end(); }
  HRESULT QueryInterface(const CADIID& iid, void** out) override {
    return CADQueryInterfaceHelper<CADIExternalLinkType, CADBaseUnknown>(this, iid, out);
  }

 private:
  std::vector<std::string> kinds_;
};

class FakeLink final : public CADIExternalLink {
 public:
  FakeLink(std::string path, std::string typeName, std::vector<std::string> kinds = {},
           std::string className = "CADExternalLink")
      : path_(std::move(path)),
        typeName_(std::move(typeName)),
        kinds_(std::move(kinds)),
        className_(std::move(className)) {}
  HRESULT GetLinkTypeName(CADUnicodeString& typeName) const override {
    typeName = typeName_;
    return S_OK;
  }
  CADUnicodeString GetLinkClassName() const override { return className_; }
  HRESULT GetLinkType(CADBaseUnknown_var& linkType) const override {
    if (kinds_.empty()) return E_FAIL;
    linkType = CADBaseUnknown_var::Adopt(new FakeLinkType(kinds_));
    return S_OK;
  }
  CADUnicodeString GetResolvedPath() const override { return path_; }
  HRESULT QueryInterface(const CADIID& iid, void** out) override {
    return CADQueryInterfaceHelper<CADIExternalLink, CADBaseUnknown>(this, iid, out);
  }

 private:
  std::string path_, typeName_;
  std::vector<std::string> kinds_;
  std::string className_;
};

// A document that answers the link interfaces with prepared links and names.
class LinkedDocument final : public CADDocument, public CADIPointedSymbols, public CADIExternalLinks {
 public:
  LinkedDocument() : CADDocument("CADProduct", "/vault/assy.CADProduct") {}
  CADListValCADBaseUnknown_var links;
  CADListValCADUnicodeString pointedNames;
  HRESULT GetPointedFileNames(CADListValCADUnicodeString& names) override {
    names.Append(pointedNames);
    return S_OK;
  }
  HRESULT GetLinks(CADListValCADBaseUnknown_var& out) override {
    for (int i = 1; i <= links.Size(); ++i) out.Append(links[i]);
    return S_OK;
  }
  HRESULT QueryInterface(const CADIID& iid, void** out) override {
    if (iid == CADIPointedSymbols::ClassId() || iid == CADIExternalLinks::ClassId())
      return CADQueryInterfaceHelper<CADIPointedSymbols, CADIExternalLinks>(this, iid, out);
    return CADDocument::QueryInterface(iid, out);
  }
  void AddLink(CADBaseUnknown* link) {
    links.Append(CADBaseUnknown_var(link));
    link->Release();
  }
};

using Strings = CADListValCADUnicodeString;

}  // namespace

TEST(ZRBCadApiBinding, EveryLibraryAndSymbolResolves) {
  CustomerExtensionSwitch on(true);
  ZRBCadApi api(WithDoubles());
  EXPECT_EQ(api.GetMissingSymbols(), CADListValCADString()) << "a late-bound signature changed on one side";
  EXPECT_TRUE(api.HasFullPathFunction());
  EXPECT_TRUE(api.IsCustomerExtensionLoaded());
  api.Unload();
  EXPECT_EQ(api.GetMissingSymbols().Size(), 12);
  EXPECT_EQ(api.DoFlushForSave(), E_FAIL);

  // The process-wide instance found the host libraries by name.
  CADListValCADString missing = GlobZRBCadApi.GetMissingSymbols();
  for (const auto& m : missing) EXPECT_TRUE(m.StartsWith("libZRB")) << m;
  EXPECT_EQ(GlobZRBCadApi.DoFlushForSave(), S_OK);
}

TEST(ZRBCadApiBinding, MissingLibrariesAndSymbolsFallBackCleanly) {
  ZRBCadApiLibraries libraries;
  libraries.applicationFrame = kDoubles + "full/libZRBExt.so";  // opens, but has none of the symbols
  libraries.objectModeler = "/no/such/libCADObjectModelerBase.so";
  libraries.extension = "/no/such/libZRBExt.so";
  ZRBCadApi api(libraries);
  EXPECT_EQ(api.DoFlushForSave(), E_FAIL);
  char buffer[64];
  std::memset(buffer, 'k', sizeof buffer);
  EXPECT_EQ(api.GetUuid("/etc/hostname", buffer, sizeof buffer), E_FAIL);
  EXPECT_EQ(buffer[0], 'k');
  auto document = CADVar<LinkedDocument>::Adopt(new LinkedDocument);
  EXPECT_EQ(api.CADResetDocumentBrokenLinks(document.get()), E_FAIL);
  Strings names;
  EXPECT_EQ(api.GetPointedFileNames(document.get(), names), E_FAIL);
  Strings types{"stale"}, paths{"stale"};
  EXPECT_EQ(api.GetAllPointedTypeAndPath(document.get(), types, paths), S_OK);
  EXPECT_EQ(paths.Size(), 0);
  EXPECT_EQ(types.Size(), 0);
  CADUnicodeString path("stale");
  EXPECT_EQ(api.ZRBGetFullPath(CADIExternalLink_var::Adopt(new FakeLink("/x", "Product")), path), E_FAIL);
  EXPECT_TRUE(path.IsEmpty());
}

TEST(ZRBCadApiIdentifiers, HostIdentifiersAndComparisonWithoutCustomerLibrary) {
  CustomerExtensionSwitch off(false);
  ZRBCadApi api(WithDoubles());
  EXPECT_FALSE(api.IsCustomerExtensionLoaded());  // present, but not asked for
  std::string file = testing::TempDir() + "uuid_file.CADPart";
  std::ofstream(file) << "x";

  CADString first, second;
  ASSERT_EQ(api.GetUuid(CADUnicodeString(file), first), S_OK);
  EXPECT_EQ(first.GetLength(), 36);
  EXPECT_EQ(api.GetUuid(CADUnicodeString(file), second), S_OK);
  EXPECT_EQ(first, second);
  CADString none("stale");
  EXPECT_EQ(api.GetUuid("/no/such/file", none), E_FAIL);
  EXPECT_TRUE(none.IsEmpty());

  char exact[37], tooSmall[36];
  std::memset(tooSmall, 'k', sizeof tooSmall);
  EXPECT_EQ(api.GetUuid(CADUnicodeString(file), exact, sizeof exact), S_OK);
  EXPECT_EQ(CADString(exact), first);
  EXPECT_EQ(api.GetUuid(CADUnicodeString(file), tooSmall, sizeof tooSmall), E_FAIL);
  EXPECT_EQ(tooSmall[0], 'k');
  EXPECT_EQ(api.GetUuid(CADUnicodeString(file), nullptr, 100), E_FAIL);

  unsigned char same = 7;
  EXPECT_EQ(api.CompareDSFileIdentifier(first, second, same), S_OK);
  EXPECT_EQ(same, 1);
  EXPECT_EQ(api.CompareDSFileIdentifier(first, first.ToUpper(), same), S_OK);
  EXPECT_EQ(same, 0);
  std::filesystem::remove(file);
}

TEST(ZRBCadApiIdentifiers, CustomerLibraryReadsAndComparesItsOwnIdentifiers) {
  CustomerExtensionSwitch on(true);
  CADDocumentServices::ResetSession();
  ZRBCadApi api(WithDoubles());
  CADDocument* document = nullptr;
  ASSERT_EQ(CADDocumentServices::New("CADPart", document), S_OK);
  CADUnicodeString path = document->StorageName();

  CADString identifier;
  ASSERT_EQ(api.GetUuid(path, identifier), S_OK);
  EXPECT_EQ(identifier, CADString("CUST:" + document->GetDisplayName().str()));
  char small[8];
  std::memset(small, 'k', sizeof small);
  EXPECT_EQ(api.GetUuid(path, small, sizeof small), E_FAIL);
  EXPECT_EQ(small[0], 'k');
  EXPECT_EQ(api.GetUuid("/not/in/session.CADPart", identifier), E_FAIL);

  unsigned char same = 0;
  EXPECT_EQ(api.CompareDSFileIdentifier("cust:a", "CUST:A", same), S_OK);
  EXPECT_EQ(same, 1);  // the library's rule, not the host's

  void* library = ::dlopen(WithDoubles().customerExtension.c_str(), RTLD_LAZY | RTLD_NOLOAD);
  ASSERT_NE(library, nullptr);
  auto* refreshes = static_cast<int*>(::dlsym(library, "ZRBCustExtRefreshCount"));
  int before = *refreshes;
  EXPECT_EQ(api.CADResetDocumentBrokenLinks(document), S_OK);
  EXPECT_EQ(*refreshes, before + 1);
  EXPECT_EQ(api.CADResetDocumentBrokenLinks(nullptr), E_FAIL);
  ::dlclose(library);
  CADDocumentServices::ResetSession();

  ZRBCadApi noCompare(WithDoubles("nocompare"));  // a customer library without the comparison fails it
  EXPECT_TRUE(noCompare.IsCustomerExtensionLoaded());
  same = 9;
  EXPECT_EQ(noCompare.CompareDSFileIdentifier("a", "a", same), E_FAIL);
  EXPECT_EQ(same, 0);
  EXPECT_EQ(noCompare.GetMissingSymbols(), CADListValCADString{"libZRBCustExt.so:ZRBExtCompareDSFileIdentifier"});
}

TEST(ZRBCadApiLinks, FullPathIsReadOnlyFromTheBuffer) {
  ZRBCadApi api(WithDoubles());
  struct Case {
    size_t length;
    HRESULT hr;
  };
  for (const Case& c : {Case{1, S_OK}, Case{262, S_OK}, Case{263, E_FAIL}, Case{1000, E_FAIL}}) {
    std::string path = "/" + std::string(c.length - 1, 'p');
    CADUnicodeString got("stale");
    EXPECT_EQ(api.ZRBGetFullPath(CADIExternalLink_var::Adopt(new FakeLink(path, "Product")), got), c.hr) << c.length;
    EXPECT_EQ(got.str(), c.hr == S_OK ? path : "") << c.length;
  }
  CADUnicodeString got;
  EXPECT_EQ(api.ZRBGetFullPath(CADIExternalLink_var(), got), E_FAIL);
  EXPECT_EQ(api.ZRBGetFullPath(CADIExternalLink_var::Adopt(new FakeLink("", "Product")), got), E_FAIL);
}

TEST(ZRBCadApiLinks, PointedDocumentsWithTheirLinkTypes) {
  ZRBCadApi api(WithDoubles());
  auto document = CADVar<LinkedDocument>::Adopt(new LinkedDocument);
  document->AddLink(new FakeLink("/vault/part.CADPart", "Product"));
  document->AddLink(new FakeLink("/vault/part.CADPart", "", {"CADLinkTypeDesign", "CADLinkTypeDesignTable"}));
  document->AddLink(new FakeLink("/vault/part.CADPart", "Product"));     // already listed with this type
  document->AddLink(new FakeLink("/vault/assy.CADProduct", "Product"));  // the document itself
  document->AddLink(new FakeLink("/vault/x.feat", "Product"));
  document->AddLink(new FakeLink("", "Product"));  // unresolved: skipped, later links still count
  document->AddLink(new FakeLink("/vault/drawing.CADDrawing", "", {}, "CADDrwTextExternalLink"));
  document->AddLink(new FakeLink("/vault/table.xls", "", {"CADLinkTypeIsComposedOf", "CADLinkTypeReference"}));
  document->AddLink(new FakeLink("/vault/odd.CADPart", "", {}));
  document->pointedNames = {"/vault/part.CADPart", "/vault/other.CADPart", "/vault/y.feat"};

  Strings types, paths;
  EXPECT_EQ(api.GetPointedTypeAndPath(document.get(), types, paths), S_OK);
  EXPECT_EQ(paths,
            (Strings{"/vault/part.CADPart", "/vault/drawing.CADDrawing", "/vault/table.xls", "/vault/odd.CADPart"}));
  EXPECT_EQ(types, (Strings{"{Product} {DesignTable}", "{DrwText}", "{Reference}", "{}"}));

  Strings names;
  EXPECT_EQ(api.GetPointedFileNames(document.get(), names), S_OK);
  EXPECT_EQ(names, (Strings{"/vault/part.CADPart", "/vault/other.CADPart"}));

  types = {"stale"};
  EXPECT_EQ(api.GetAllPointedTypeAndPath(document.get(), types, paths), S_OK);
  EXPECT_EQ(paths, (Strings{"/vault/part.CADPart", "/vault/drawing.CADDrawing", "/vault/table.xls",
                            "/vault/odd.CADPart", "/vault/other.CADPart"}));
  EXPECT_EQ(types.Size(), 5);
  EXPECT_EQ(types[5], CADUnicodeString("{unknown}"));

  // A handle that is no link ends the walk.
  document->links.InsertAt(2, CADBaseUnknown_var::Adopt(new FakeLinkType({})));
  types.RemoveAll();
  paths.RemoveAll();
  EXPECT_EQ(api.GetPointedTypeAndPath(document.get(), types, paths), E_FAIL);
  EXPECT_EQ(paths, Strings{"/vault/part.CADPart"});

  // Without the extension library only the pointed names, all of unknown type.
  ZRBCadApiLibraries noExtension;
  noExtension.extension = "";
  ZRBCadApi plain(noExtension);
  EXPECT_EQ(plain.GetAllPointedTypeAndPath(document.get(), types, paths), S_OK);
  EXPECT_EQ(paths, (Strings{"/vault/part.CADPart", "/vault/other.CADPart"}));
  EXPECT_EQ(types, (Strings{"{unknown}", "{unknown}"}));
}
