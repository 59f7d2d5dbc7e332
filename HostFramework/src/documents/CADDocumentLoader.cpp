#include "CADDocumentLoader.h"

#include <unistd.h>

#include <climits>
#include <map>

#include "CADDesignTableObject.h"
#include "CADDocumentFactory.h"
#include "CADDocumentFiles.h"
#include "CADDocumentFormat.h"
#include "CADDocumentIdentity.h"
#include "CADDocumentReader.h"
#include "CADDocumentServices.h"
#include "CADDocumentSession.h"
#include "CADDocumentState.h"
#include "CADProductNode.h"

namespace {

CADDocumentSession& Session() { return CADDocumentSession::Get(); }

// One top-level open: the documents it brought into the session, so that a
// failure can take them all out again.
struct OpenContext {
  std::vector<CADVar<CADDocument>> added;
};

CADUnicodeString BaseName(const CADUnicodeString& path) {
  std::string name = CADDocumentFiles::FileNameOf(path.str());
  auto dot = name.rfind('.');
  return CADUnicodeString(dot == std::string::npos || dot == 0 ? name : name.substr(0, dot));
}

void FillReference(CADProductNode& node, const CADReferenceImage& image, CADDocument* document, bool embedded) {
  CADReferenceState& r = node.RefState();
  r.loaded = true;
  r.linkPath = CADUnicodeString();
  r.document = document;
  r.embedded = embedded;
  r.partNumber = image.partNumber;
  r.name = image.name;
  r.nomenclature = image.nomenclature;
  r.revision = image.revision;
  r.definition = image.definition;
  r.description = image.description;
  r.parameters = image.parameters;
  r.shapes = image.shapes;
  r.tables.clear();
  for (const CADDesignTableImage& t : image.tables)
    r.tables.push_back(CADVar<CADDesignTableObject>::Adopt(new CADDesignTableObject(t, document)));
  r.records.clear();
  ++r.recordsRevision;
  r.workMode = CADAutoProduct::kDesignMode;
}

HRESULT LoadInto(const CADUnicodeString& path, int readOnly, OpenContext& context, CADDocument*& out,
                 CADProductNode* reuse);

// The reference a file link of a product stands for: the linked file's root
// product, loaded when needed, or an unloaded stand-in when the file is
// missing, damaged, not a product file, or kept for visualisation only.
CADVar<CADProductNode> ResolveChild(const CADUnicodeString& written, const CADUnicodeString& fromDirectory,
                                    OpenContext& context) {
  CADUnicodeString resolved = CADDocumentLoader::ResolveLink(written, fromDirectory);
  if (resolved.IsEmpty()) {
    CADUnicodeString expected = written.StartsWith("/") ? written : fromDirectory + "/" + written;
    std::fprintf(stderr, "CADHost: link '%s' not found, kept unloaded\n", written.c_str());
    return Session().UnloadedReferenceFor(expected);
  }
  if (CADDocument* open = Session().Find(resolved)) {
    if (open->State().root) return open->State().root;
    return Session().UnloadedReferenceFor(resolved);
  }
  if (Session().visualizationModeLoading && CADDocumentServices::GetTypeFromPath(resolved) == "CADPart")
    return Session().UnloadedReferenceFor(resolved);
  CADDocument* child = nullptr;
  if (FAILED(LoadInto(resolved, 0, context, child, nullptr)) || !child->State().root) {
    std::fprintf(stderr, "CADHost: link '%s' could not be loaded, kept unloaded\n", written.c_str());
    return Session().UnloadedReferenceFor(resolved);
  }
  return child->State().root;
}

CADDocumentLink ResolveDocumentLink(const CADUnicodeString& written, const CADUnicodeString& fromDirectory,
                                    OpenContext& context) {
  CADDocumentLink link;
  link.written = written;
  link.resolvedPath = CADDocumentLoader::ResolveLink(written, fromDirectory);
  if (link.resolvedPath.IsEmpty()) {
    std::fprintf(stderr, "CADHost: link '%s' not found\n", written.c_str());
    return link;
  }
  CADDocument* target = nullptr;
  if (SUCCEEDED(LoadInto(link.resolvedPath, 0, context, target, nullptr)))
    link.serial = target->State().serial;
  else
    std::fprintf(stderr, "CADHost: link '%s' could not be loaded\n", written.c_str());
  return link;
}

HRESULT LoadInto(const CADUnicodeString& path, int readOnly, OpenContext& context, CADDocument*& out,
                 CADProductNode* reuse) {
  out = nullptr;
  if (CADDocument* open = Session().Find(path)) {
    if (reuse) return Session().Fail("'" + path.str() + "' is already open");
    out = open;
    return S_OK;
  }
  const CADUnicodeString type = CADDocumentServices::GetTypeFromPath(path);
  if (type.IsEmpty()) return Session().Fail("'" + path.str() + "' is no document type the host knows");
  std::string bytes, error;
  if (!CADDocumentFiles::Read(path.str(), bytes, error)) return Session().Fail(error);
  CADDocumentImage image;
  CADUnicodeString parseError;
  const bool representation = Session().IsRepresentationFormat(type);
  if (FAILED(CADDocumentReader::Read(bytes, type, representation, image, parseError)))
    return Session().Fail("'" + path.str() + "' is damaged: " + parseError.str());
  if (image.opaque && CADDocumentFormat::KindOf(type) != CADDocumentFormat::Kind::kReference && !representation)
    return Session().Fail("'" + path.str() + "' is damaged");
  if (image.opaque || (image.hasRoot && image.root.partNumber.IsEmpty())) {
    // Representation files carry no part number: the file name gives it.
    image.hasRoot = true;
    if (image.root.partNumber.IsEmpty()) image.root.partNumber = BaseName(path);
  }

  // Part-number conflicts are refused before anything enters the session.
  if (!reuse) reuse = Session().FindUnloaded(path);
  if (image.hasRoot && Session().IsPartNumberUsed(image.root.partNumber, reuse))
    return Session().Fail("part number '" + image.root.partNumber.str() + "' of '" + path.str() +
                          "' is already used in the session");
  for (const CADReferenceImage& c : image.components)
    if (Session().IsPartNumberUsed(c.partNumber, nullptr))
      return Session().Fail("part number '" + c.partNumber.str() + "' of '" + path.str() +
                            "' is already used in the session");

  CADVar<CADDocument> doc = CADDocumentFactory::Create(type, path);
  CADDocumentState& s = doc->State();
  s.opaque = image.opaque;
  s.bytes = std::move(image.bytes);
  // A file from before documents stored their identifier keeps the one it
  // answered so far, so that saving it does not make it another document.
  s.identifier = image.identifier;
  if (s.identifier.IsNull() && !s.opaque) CADDocumentIdentity::FromRealPath(path, s.identifier);
  std::map<std::string, CADVar<CADProductNode>> components;
  if (image.hasRoot) {
    s.root = reuse ? CADVar<CADProductNode>(reuse) : CADProductNode::NewReference(doc.get());
    FillReference(*s.root, image.root, doc.get(), false);
    for (const CADReferenceImage& c : image.components) {
      CADVar<CADProductNode> node = CADProductNode::NewReference(doc.get());
      FillReference(*node, c, doc.get(), true);
      components[c.partNumber.str()] = node;
      s.components.push_back(node);
    }
  }
  s.containers = image.containers;
  s.bodies = std::move(image.bodies);
  s.name = image.name;
  s.comment = image.comment;
  s.responsible = image.responsible;
  s.parameters = image.parameters;
  for (const CADDesignTableImage& t : image.tables)
    s.tables.push_back(CADVar<CADDesignTableObject>::Adopt(new CADDesignTableObject(t, doc.get())));
  s.properties = image.properties;
  s.readOnly = readOnly != 0 || !CADDocumentFiles::IsWritable(path.str());

  // In the session before its links are followed, so that a link back to it
  // finds it (and the cycle check below refuses the whole open).
  Session().Add(doc.get());
  context.added.push_back(doc);

  const CADUnicodeString directory(CADDocumentFiles::DirectoryOf(path.str()));
  auto bindRecords = [&](CADProductNode& owner, const CADReferenceImage& ref) {
    for (const CADInstanceImage& inst : ref.instances) {
      auto rec = std::make_shared<CADInstanceRecord>();
      rec->name = inst.name;
      rec->position = inst.position;
      rec->active = inst.active;
      rec->owner = &owner;
      rec->reference =
          inst.component ? components.at(inst.target.str()) : ResolveChild(inst.target, directory, context);
      owner.RefState().records.push_back(rec);
      ++owner.RefState().recordsRevision;
    }
  };
  if (image.hasRoot) {
    bindRecords(*s.root, image.root);
    for (const CADReferenceImage& c : image.components) bindRecords(*components.at(c.partNumber.str()), c);
  }
  for (const CADSheetImage& sheet : image.sheets) {
    CADDrawingSheetState state;
    state.name = sheet.name;
    for (const CADViewImage& view : sheet.views)
      state.views.push_back({view.name, ResolveDocumentLink(view.target, directory, context)});
    s.sheets.push_back(std::move(state));
  }
  for (const CADUnicodeString& link : image.links) s.links.push_back(ResolveDocumentLink(link, directory, context));
  s.dirty = false;
  out = doc.get();
  return S_OK;
}

bool HasCycle(const OpenContext& context) {
  for (const auto& doc : context.added) {
    std::vector<CADVar<CADProductNode>> refs{doc->State().root};
    refs.insert(refs.end(), doc->State().components.begin(), doc->State().components.end());
    for (const auto& ref : refs) {
      if (!ref) continue;
      for (const auto& rec : ref->RefState().records)
        if (rec->reference->Uses(ref.get())) return true;
    }
  }
  return false;
}

void RollBack(OpenContext& context) {
  for (auto it = context.added.rbegin(); it != context.added.rend(); ++it) {
    Session().ReleaseContent(it->get());
    Session().Take(it->get());
  }
  context.added.clear();
}

HRESULT OpenTopLevel(const CADUnicodeString& path, int readOnly, CADDocument*& document, CADProductNode* reuse) {
  document = nullptr;
  OpenContext context;
  CADDocument* opened = nullptr;
  HRESULT hr = LoadInto(path, readOnly, context, opened, reuse);
  if (FAILED(hr)) {
    std::string error = Session().LastError();
    RollBack(context);
    Session().KeepError(error);
    return hr;
  }
  if (HasCycle(context)) {
    RollBack(context);
    return Session().Fail("the links of '" + path.str() + "' make a product contain itself");
  }
  document = opened;
  Session().Succeed();
  return S_OK;
}

}  // namespace

CADUnicodeString CADDocumentLoader::Absolute(const CADUnicodeString& path) {
  if (path.IsEmpty() || path.StartsWith("/")) return path;
  char cwd[PATH_MAX];
  if (!::getcwd(cwd, sizeof cwd)) return path;
  std::string rest = path.str();
  while (rest.starts_with("./")) rest.erase(0, 2);
  return CADUnicodeString(std::string(cwd) + "/" + rest);
}

CADUnicodeString CADDocumentLoader::ResolveLink(const CADUnicodeString& written,
                                                const CADUnicodeString& fromDirectory) {
  if (written.IsEmpty()) return CADUnicodeString();
  const std::string name = CADDocumentFiles::FileNameOf(written.str());
  std::vector<std::string> candidates{fromDirectory.str() + "/" + name};
  if (written.StartsWith("/")) candidates.push_back(written.str());
  for (const CADUnicodeString& dir : Session().searchPath) candidates.push_back(dir.str() + "/" + name);
  for (const std::string& c : candidates)
    if (Session().Find(CADUnicodeString(c)) || CADDocumentFiles::Exists(c)) return CADUnicodeString(c);
  // Last resort, as the host does: a document of that file name already open.
  for (const auto& doc : Session().Documents())
    if (doc->GetDisplayName() == name) return doc->StorageName();
  return CADUnicodeString();
}

HRESULT CADDocumentLoader::Open(const CADUnicodeString& path, int readOnly, CADDocument*& document) {
  if (path.IsEmpty()) {
    document = nullptr;
    return Session().Fail("no path to open");
  }
  return OpenTopLevel(Absolute(path), readOnly, document, nullptr);
}

HRESULT CADDocumentLoader::BindUnloaded(CADProductNode* reference) {
  if (!reference || reference->RefState().loaded) return S_OK;
  const CADUnicodeString path = reference->RefState().linkPath;
  if (path.IsEmpty()) return Session().Fail("the product stands for no file");
  if (CADDocument* open = Session().Find(path)) {
    // The file was opened (or saved there) under another reference since:
    // every instance of the stand-in uses that document's root from now on.
    CADVar<CADProductNode> root = open->State().root;
    if (!root) return Session().Fail("'" + path.str() + "' has no root product");
    if (root->Uses(reference)) return Session().Fail("the links of '" + path.str() + "' make a product contain itself");
    for (const auto& doc : Session().Documents()) {
      std::vector<CADVar<CADProductNode>> refs{doc->State().root};
      refs.insert(refs.end(), doc->State().components.begin(), doc->State().components.end());
      for (const auto& ref : refs)
        if (ref)
          for (const auto& rec : ref->RefState().records)
            if (rec->reference.get() == reference) rec->reference = root;
    }
    Session().Succeed();
    return S_OK;
  }
  CADDocument* document = nullptr;
  return OpenTopLevel(path, 0, document, reference);
}

HRESULT CADDocumentLoader::CreateNew(const CADUnicodeString& type, const CADUnicodeString& partNumber,
                                     CADDocument*& document) {
  document = nullptr;
  static const std::map<std::string, std::string> kBase{{"CADPart", "Part"},
                                                        {"CADProduct", "Product"},
                                                        {"CADDrawing", "Drawing"},
                                                        {"CADProcess", "Process"},
                                                        {"CADAnalysis", "Analysis"}};
  auto base = kBase.find(type.str());
  if (base == kBase.end()) return Session().Fail("cannot create a document of type '" + type.str() + "'");
  const bool hasRoot = CADDocumentFormat::KindOf(type) == CADDocumentFormat::Kind::kReference;
  if (!partNumber.IsEmpty() && Session().IsPartNumberUsed(partNumber, nullptr))
    return Session().Fail("part number '" + partNumber.str() + "' is used by another product");
  CADUnicodeString directory =
      Session().newDocumentDirectory.IsEmpty() ? Absolute(".") : Session().newDocumentDirectory;
  if (directory.EndsWith("/.")) directory = directory.SubString(0, directory.GetLength() - 2);
  CADUnicodeString number, path;
  for (int n = 1;; ++n) {
    number = partNumber.IsEmpty() ? CADUnicodeString(base->second + std::to_string(n)) : partNumber;
    CADUnicodeString stem =
        partNumber.IsEmpty() || n == 1 ? number : number + CADUnicodeString("_" + std::to_string(n));
    path = directory + "/" + stem + "." + type;
    bool free = !Session().Find(path) && !CADDocumentFiles::Exists(path.str()) &&
                !(hasRoot && partNumber.IsEmpty() && Session().IsPartNumberUsed(number, nullptr));
    if (free) break;
  }
  CADVar<CADDocument> doc = CADDocumentFactory::Create(type, path);
  doc->State().identifier = CADDocumentIdentity::Fresh(path);
  if (hasRoot) {
    CADVar<CADProductNode> root = CADProductNode::NewReference(doc.get());
    CADReferenceImage image;
    image.partNumber = number;
    FillReference(*root, image, doc.get(), false);
    doc->State().root = root;
  }
  doc->State().dirty = true;
  Session().Add(doc.get());
  document = doc.get();
  Session().Succeed();
  return S_OK;
}
