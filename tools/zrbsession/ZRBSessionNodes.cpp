#include "ZRBSessionNodes.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "CADDocumentServices.h"
#include "CADILinkableObject.h"
#include "CADIMovable.h"
#include "ZRBSessionOutput.h"

std::vector<CADDocument*> ZRBSessionNodes::Documents() {
  std::vector<CADDocument*> documents;
  CADListValCADBaseUnknown_var all = CADDocumentServices::GetListOfDocuments();
  for (int i = 1; i <= all.Size(); ++i)
    if (auto* document = dynamic_cast<CADDocument*>(all[i].get())) documents.push_back(document);
  return documents;
}

CADDocument* ZRBSessionNodes::FindDocument(std::string_view name) {
  for (CADDocument* document : Documents()) {
    if (document->StorageName().view() == name || document->GetDisplayName().view() == name) return document;
  }
  for (CADDocument* document : Documents()) {
    CADIProduct_var root = document->GetRootProduct();
    if (root && root->GetPartNumber().view() == name) return document;
  }
  return nullptr;
}

std::vector<ZRBSessionNode> ZRBSessionNodes::TopRoots() {
  std::vector<CADDocument*> documents = Documents();
  std::set<const CADDocument*> used;
  for (CADDocument* document : documents)
    for (CADDocument* pointed : document->GetPointedDocuments())
      if (pointed != document) used.insert(pointed);
  std::vector<ZRBSessionNode> roots;
  for (CADDocument* document : documents) {
    if (used.count(document)) continue;
    CADIProduct_var root = document->GetRootProduct();
    if (!root) continue;
    std::string name = PartNumber(root);
    if (name.empty()) name = document->GetDisplayName().str();
    roots.push_back({root, nullptr, name});
  }
  return roots;
}

std::string ZRBSessionNodes::InstanceName(const CADIProduct_var& product) {
  CADUnicodeString name;
  if (product && SUCCEEDED(product->GetPrdInstanceName(name))) return name.str();
  return "";
}

std::string ZRBSessionNodes::PartNumber(const CADIProduct_var& product) {
  return product ? product->GetPartNumber().str() : std::string();
}

std::vector<ZRBSessionNode> ZRBSessionNodes::Children(const ZRBSessionNode& node) {
  std::vector<ZRBSessionNode> children;
  if (!node.product) return children;
  CADListValCADBaseUnknown_var list = node.product->GetChildren();
  for (int i = 1; i <= list.Size(); ++i) {
    CADIProduct_var child(list[i]);
    if (child) children.push_back({child, node.product, node.path + "/" + InstanceName(child)});
  }
  return children;
}

bool ZRBSessionNodes::Resolve(std::string_view path, ZRBSessionNode& node, std::string& error) {
  std::vector<std::string> levels;
  std::size_t start = 0;
  while (start <= path.size()) {
    const std::size_t slash = path.find('/', start);
    const std::size_t end = slash == std::string_view::npos ? path.size() : slash;
    if (end > start) levels.emplace_back(path.substr(start, end - start));
    if (slash == std::string_view::npos) break;
    start = slash + 1;
  }
  if (levels.empty()) {
    error = "empty product path";
    return false;
  }
  CADDocument* document = FindDocument(levels.front());
  if (!document || !document->GetRootProduct()) {
    error = "no document or root product named \"" + levels.front() + "\" (see `docs`)";
    return false;
  }
  node = {document->GetRootProduct(), nullptr, levels.front()};
  for (std::size_t i = 1; i < levels.size(); ++i) {
    bool found = false;
    for (ZRBSessionNode& child : Children(node)) {
      if (InstanceName(child.product) == levels[i]) {
        node = child;
        found = true;
        break;
      }
    }
    if (!found) {
      error = "\"" + node.path + "\" has no child instance \"" + levels[i] + "\"";
      return false;
    }
  }
  return true;
}

CADMathTransformation ZRBSessionNodes::Position(const CADIProduct_var& product) {
  CADMathTransformation position;
  CADIMovable_var movable(product);
  if (movable && product->GetFatherProduct()) movable->GetPosition(position, nullptr);
  return position;
}

std::string ZRBSessionNodes::DescribePosition(const CADMathTransformation& position) {
  if (position.IsIdentity(1e-9)) return "";
  const CADMathPoint t = position.GetTranslation();
  std::string text =
      "at " + ZRBSessionOutput::Number(t.x) + " " + ZRBSessionOutput::Number(t.y) + " " + ZRBSessionOutput::Number(t.z);
  const auto& c = position.Coefficients();
  const bool rotated = std::abs(c[0] - 1) > 1e-9 || std::abs(c[4] - 1) > 1e-9 || std::abs(c[8] - 1) > 1e-9;
  if (rotated) {
    text += ", axes";
    for (int axis = 0; axis < 3; ++axis) {
      text += axis ? " / " : " ";
      for (int k = 0; k < 3; ++k) text += (k ? "," : "") + ZRBSessionOutput::Number(c[axis * 3 + k]);
    }
  }
  return text;
}

CADDocument* ZRBSessionNodes::DocumentOf(const CADIProduct_var& product) {
  if (!product) return nullptr;
  CADILinkableObject_var link(product->GetReferenceProduct());
  return link ? link->GetDocument() : nullptr;
}
