#include "VaultTreePrinter.h"

#include <algorithm>
#include <ostream>

namespace pdmsim {

std::string VaultTreePrinter::Label(const Item& item) {
  std::string label = item.partNumber;
  if (!item.nomenclature.empty()) label += "  \"" + item.nomenclature + "\"";
  if (!item.revision.empty()) label += "  rev " + item.revision;
  label += "  " + item.kind + (item.embedded ? " (embedded)" : "") + " " + item.obid;
  if (!item.changeable) label += "  read-only";
  return label;
}

void VaultTreePrinter::Print(const Item& root) {
  shown_.insert(root.obid);
  out_ << Label(root) << '\n';
  PrintDetails(root, "    ");
  std::vector<std::string> path{root.obid};
  PrintChildren(root, "", path);
}

void VaultTreePrinter::PrintDetails(const Item& item, const std::string& indent) {
  if (!item.description.empty()) out_ << indent << "description: " << item.description << '\n';
  out_ << indent << "modified " << item.modified << '\n';
  if (item.embedded) out_ << indent << "embedded component: its reference lives in the parent's product file\n";
  for (const Document& doc : catalog_.Documents(item.obid)) {
    out_ << indent << doc.role << " file " << doc.fileName << "  (" << doc.obid << ", " << doc.size
         << " bytes, modified " << doc.modified << ")\n";
  }
  for (const DesignTable& table : catalog_.DesignTables(item.obid)) {
    out_ << indent << "design table \"" << table.name << "\"" << (table.activated ? "" : " (inactive)") << '\n';
  }
  for (const Attribute& attr : catalog_.Attributes(item.obid)) {
    out_ << indent << attr.name << " = " << attr.value << '\n';
  }
}

void VaultTreePrinter::PrintChildren(const Item& item, const std::string& prefix, std::vector<std::string>& path) {
  std::vector<Relation> children = catalog_.Children(item.obid);
  for (std::size_t i = 0; i < children.size(); ++i) {
    const Relation& rel = children[i];
    bool last = i + 1 == children.size();
    std::string branch = prefix + (last ? "└── " : "├── ");
    std::string below = prefix + (last ? "    " : "│   ");
    auto child = catalog_.FindItem(rel.childObid);
    if (!child) continue;
    out_ << branch << rel.instanceName << " → " << Label(*child) << '\n';
    out_ << below << "    at " << rel.matrix << "  (relation " << rel.obid
         << (rel.quantity != "1" ? ", quantity " + rel.quantity : std::string()) << ")\n";
    if (std::find(path.begin(), path.end(), child->obid) != path.end()) {
      out_ << below << "    (cycle: " << child->partNumber << " contains itself; not followed)\n";
      continue;
    }
    if (!shown_.insert(child->obid).second) {
      out_ << below << "    (" << child->partNumber << " as above)\n";
      continue;
    }
    PrintDetails(*child, below + "    ");
    path.push_back(child->obid);
    PrintChildren(*child, below, path);
    path.pop_back();
  }
}

}  // namespace pdmsim
