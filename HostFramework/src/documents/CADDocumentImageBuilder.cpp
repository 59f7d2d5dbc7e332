#include "CADDocumentImageBuilder.h"

#include <set>

#include "CADDesignTableObject.h"
#include "CADDocumentFiles.h"
#include "CADDocumentSession.h"
#include "CADDocumentState.h"
#include "CADProductNode.h"

namespace {

std::vector<CADDesignTableImage> Tables(const std::vector<CADVar<CADDesignTableObject>>& tables) {
  std::vector<CADDesignTableImage> out;
  for (const auto& t : tables) out.push_back(t->Image());
  return out;
}

class Builder {
 public:
  Builder(const CADDocument& document, const CADUnicodeString& storagePath)
      : document_(document), storagePath_(storagePath) {}

  CADReferenceImage Reference(const CADProductNode& node, bool root) {
    const CADReferenceState& r = node.RefState();
    CADReferenceImage out;
    out.partNumber = r.partNumber;
    if (root && r.name != r.partNumber) out.name = r.name;
    out.nomenclature = r.nomenclature;
    out.revision = r.revision;
    out.definition = r.definition;
    out.description = r.description;
    out.parameters = r.parameters;
    out.shapes = r.shapes;
    out.tables = Tables(r.tables);
    for (const auto& rec : r.records) {
      const CADProductNode& child = *rec->reference;
      CADInstanceImage inst;
      inst.name = rec->name;
      inst.position = rec->position;
      inst.active = rec->active;
      const CADReferenceState& cr = child.RefState();
      if (cr.embedded && cr.loaded && cr.document == &document_) {
        inst.component = true;
        inst.target = cr.partNumber;
        usedComponents_.push_back(&child);
      } else {
        CADUnicodeString path = child.FilePath();
        if (path.IsEmpty()) continue;  // nothing on disk to link to
        inst.target = CADDocumentImageBuilder::LinkText(path, storagePath_);
      }
      out.instances.push_back(std::move(inst));
    }
    return out;
  }

  // Embedded components used from the root, each once, in first-use order.
  std::vector<CADReferenceImage> Components() {
    std::vector<CADReferenceImage> out;
    std::set<const CADProductNode*> done;
    for (size_t i = 0; i < usedComponents_.size(); ++i) {
      const CADProductNode* c = usedComponents_[i];
      if (!done.insert(c).second) continue;
      out.push_back(Reference(*c, false));
      out.back().partNumber = c->RefState().partNumber;
    }
    return out;
  }

  CADUnicodeString Link(const CADDocumentLink& link) {
    if (CADDocument* d = CADDocumentSession::Get().FindBySerial(link.serial))
      return CADDocumentImageBuilder::LinkText(d->StorageName(), storagePath_);
    return link.written;
  }

 private:
  const CADDocument& document_;
  CADUnicodeString storagePath_;
  std::vector<const CADProductNode*> usedComponents_;
};

}  // namespace

CADUnicodeString CADDocumentImageBuilder::LinkText(const CADUnicodeString& target, const CADUnicodeString& from) {
  if (CADDocumentFiles::DirectoryOf(target.str()) == CADDocumentFiles::DirectoryOf(from.str()))
    return CADUnicodeString(CADDocumentFiles::FileNameOf(target.str()));
  return target;
}

CADDocumentImage CADDocumentImageBuilder::Build(const CADDocument& document, const CADUnicodeString& storagePath) {
  const CADDocumentState& s = document.State();
  CADDocumentImage image;
  image.type = s.type;
  if (s.opaque) {
    image.opaque = true;
    image.bytes = s.bytes;
    return image;
  }
  image.identifier = s.identifier;
  Builder builder(document, storagePath);
  if (s.root && s.root->RefState().loaded) {
    image.hasRoot = true;
    image.root = builder.Reference(*s.root, true);
    image.components = builder.Components();
  }
  image.containers = s.containers;
  image.bodies = s.bodies;
  image.name = s.name;
  image.comment = s.comment;
  image.responsible = s.responsible;
  for (const auto& sheet : s.sheets) {
    CADSheetImage out;
    out.name = sheet.name;
    for (const auto& view : sheet.views) out.views.push_back({view.name, builder.Link(view.shown)});
    image.sheets.push_back(std::move(out));
  }
  image.parameters = s.parameters;
  image.tables = Tables(s.tables);
  for (const auto& link : s.links) image.links.push_back(builder.Link(link));
  image.properties = s.properties;
  return image;
}
