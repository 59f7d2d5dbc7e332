#include "SampleSession.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "CADDocumentServices.h"
#include "CADSampleSession.h"

SampleSession::SampleSession() {
  CADDocumentServices::ResetSession();
  std::string pattern = (std::filesystem::temp_directory_path() / "zrb-sample-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) {
    ADD_FAILURE() << "cannot create a temporary directory";
    return;
  }
  directory_ = pattern;
  CADDocumentServices::SetNewDocumentDirectory(directory_.c_str());
  CADUnicodeString error;
  if (FAILED(CADSampleSession::Write(directory_.c_str(), error))) ADD_FAILURE() << "sample not written: " << error;
}

SampleSession::~SampleSession() {
  CADDocumentServices::ResetSession();
  if (!directory_.empty()) {
    std::error_code ignored;
    // Write-protected files and directories left by a test must not stop the clean-up.
    std::filesystem::permissions(directory_, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(directory_, ignored);
  }
}

CADUnicodeString SampleSession::Path(std::string_view fileName) const {
  return CADUnicodeString(directory_ + "/" + std::string(fileName));
}

CADDocument* SampleSession::Open(std::string_view fileName) {
  CADDocument* document = nullptr;
  HRESULT hr = CADDocumentServices::OpenDocument(Path(fileName), document);
  if (FAILED(hr) || !document) {
    ADD_FAILURE() << "cannot open " << fileName << ": " << CADDocumentServices::GetLastError();
    return nullptr;
  }
  return document;
}

CADIProduct_var SampleSession::OpenAssembly() {
  CADDocument* document = Open("Assembly.CADProduct");
  return document ? document->GetRootProduct() : CADIProduct_var();
}

std::string SampleSession::InstanceName(const CADIProduct_var& product) {
  CADUnicodeString name;
  if (!product || FAILED(product->GetPrdInstanceName(name))) return "<none>";
  return name.str();
}

CADIProduct_var SampleSession::Child(const CADIProduct_var& parent, std::string_view instanceName) {
  if (!parent) return nullptr;
  for (const CADBaseUnknown_var& child : parent->GetChildren()) {
    CADIProduct_var product(child);
    if (InstanceName(product) == instanceName) return product;
  }
  return nullptr;
}

CADIProduct_var SampleSession::Node(const CADIProduct_var& root, std::string_view path) {
  CADIProduct_var node = root;
  while (node && !path.empty()) {
    auto slash = path.find('/');
    node = Child(node, path.substr(0, slash));
    path = slash == std::string_view::npos ? std::string_view() : path.substr(slash + 1);
  }
  return node;
}

std::string SampleSession::ChildNames(const CADIProduct_var& product) {
  std::string out;
  if (!product) return out;
  for (const CADBaseUnknown_var& child : product->GetChildren()) {
    if (!out.empty()) out += ",";
    out += InstanceName(CADIProduct_var(child));
  }
  return out;
}

void SampleSession::WriteFile(std::string_view fileName, std::string_view text) const {
  std::ofstream out(Path(fileName).str(), std::ios::binary | std::ios::trunc);
  out << text;
}

std::string SampleSession::ReadFile(std::string_view fileName) const {
  std::ifstream in(Path(fileName).str(), std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}
