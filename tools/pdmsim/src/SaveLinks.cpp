// The save side's links and renames: a node to be created whose part number the vault already holds is linked to
// that item (a new relation, no new item), and a renamed instance renames its relation in place, so relation
// identities the CAD session holds stay valid.
#include <set>

#include "SaveAnswer.h"

namespace pdmsim {

std::optional<Item> SaveAnswer::LinkItem(ExchangeObject& node, const Item* parent, bool& refused) {
  refused = false;
  const std::string partNumber = node.Get("PARTNUMBER");
  // Without a part number, or with one the vault does not know, there is nothing to link: the item is created.
  std::optional<Item> existing = partNumber.empty() ? std::nullopt : catalog_.FindItemByPartNumber(partNumber);
  if (!existing) return std::nullopt;
  refused = true;
  const std::string kind = KindOf(node, Lookup(node.Get("PRODUCT")));
  if (existing->kind != kind || existing->embedded) {
    Fail(node, "CREATE_PART_SUCCESS",
         "the PDM item " + partNumber + " is " + (existing->embedded ? "embedded" : "a " + existing->kind) +
             " and cannot be linked as a " + kind + ".");
    return std::nullopt;
  }
  if (parent) {
    Relate(node, *parent, *existing);
    if (node.Get("INSTANTIATE_SUCCESS") != "1") {
      // The relation was refused (its line is written): the link as a whole did not happen.
      node.Set("CREATE_PART_SUCCESS", "0");
      return std::nullopt;
    }
  }
  refused = false;
  node.Set("OBID", existing->obid);
  node.Set("CLASSNAME", existing->className);
  node.Set("DB_NAME", existing->dbName);
  node.Set("CHANGEABLE", existing->changeable ? "1" : "0");
  node.SetList("STANDARD_ATTRS", {"CADRevision", "CADNomenclature", "CADDefinition", "CADDescription"});
  node.SetList("STANDARD_VALS",
               {existing->revision, existing->nomenclature, existing->definition, existing->description});
  // The node asked for an identity: the module takes one only with this word, whether made or found.
  node.Set("CREATE_PART_SUCCESS", "1");
  node.Set("LINK_SUCCESS", "1");
  return existing;
}

bool SaveAnswer::Rename(ExchangeObject& node, const Item& parent) {
  const std::string relObid = node.Get("REL_OBID");
  const std::string oldName = node.Get("CAD_ORIG_INSTANCENAME");
  const std::string newName = node.Get("INSTANCENAME");
  const std::vector<Relation> children = catalog_.Children(parent.obid);
  std::optional<Relation> relation;
  for (const Relation& existing : children) {
    if (relObid.empty() ? existing.instanceName == oldName : existing.obid == relObid) {
      relation = existing;
      break;
    }
  }
  if (!relation) {
    if (!relObid.empty()) Fail(node, nullptr, "the relation " + relObid + " is not in " + parent.partNumber + ".");
    return !relObid.empty();
  }
  node.Set("REL_OBID", relation->obid);
  node.Set("DOCREL_ID", relation->obid);
  node.Set("REL_DB_NAME", relation->dbName);
  // The vault keeps no matrix index: a rename that changed only the index leaves the relation as it is.
  if (!newName.empty() && newName != relation->instanceName) {
    std::string refusal;
    if (!parent.changeable) refusal = "its parent " + parent.partNumber + " is read-only; the instance keeps its name.";
    if (newName.find_first_of("\r\n") != std::string::npos) refusal = "the instance name must be a single line.";
    for (const Relation& other : children)
      if (other.obid != relation->obid && other.instanceName == newName)
        refusal = parent.partNumber + " already has an instance named " + newName + ".";
    if (refusal.empty()) {
      relation->instanceName = newName;
      catalog_.UpdateRelation(*relation);
      Touch(parent);
    } else {
      Fail(node, nullptr, refusal);
    }
  }
  // The instance as the vault now names it: the new name, or the old one when the rename was refused.
  node.Set("INSTANCENAME", relation->instanceName);
  return true;
}

bool SaveAnswer::Contains(const std::string& holder, const std::string& obid) {
  // Walks up from `obid`: its ancestors are few, while `holder` may hold a large structure.
  std::set<std::string> seen{obid};
  std::vector<std::string> next{obid};
  while (!next.empty()) {
    const std::string current = next.back();
    next.pop_back();
    if (current == holder) return true;
    for (const Relation& use : catalog_.Parents(current))
      if (seen.insert(use.parentObid).second) next.push_back(use.parentObid);
  }
  return false;
}

}  // namespace pdmsim
