// Commands on documents and product structures: open, new, save, close,
// window, add, move, set, select.
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADFrmEditor.h"
#include "CADFrmLayout.h"
#include "CADFrmWindow.h"
#include "CADIMovable.h"
#include "CADIPrdProperties.h"
#include "ZRBSessionCommandTable.h"
#include "ZRBSessionHost.h"
#include "ZRBSessionNodes.h"
#include "ZRBSessionRunner.h"

namespace {

std::string LastError() {
  std::string reason = CADDocumentServices::GetLastError().str();
  return reason.empty() ? std::string() : ": " + reason;
}

bool ParseNumber(const std::string& text, double& value) {
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  return !text.empty() && end && *end == '\0' && std::isfinite(value);
}

bool OpenWindowOn(ZRBSessionRunner& runner, CADDocument* document) {
  CADFrmWindow* window = nullptr;
  if (FAILED(CADFrmLayout::GetCurrentLayout().OpenWindow(document, window)))
    return runner.Fail("cannot open a window on " + document->GetDisplayName().str());
  return true;
}

bool Open(ZRBSessionRunner& runner, const ZRBSessionArgs& args) {
  int readOnly = 0;
  std::string path;
  for (const std::string& arg : args) {
    if (arg == "--read-only")
      readOnly = 1;
    else
      path = arg;
  }
  if (path.empty()) return runner.Fail("usage: open PATH [--read-only]");
  std::error_code ec;
  const std::string absolute = std::filesystem::absolute(path, ec).string();
  CADDocument* document = nullptr;
  if (FAILED(CADDocumentServices::OpenDocument(absolute.c_str(), document, readOnly)) || !document)
    return runner.Fail("cannot open " + path + LastError());
  if (CADFrmLayout::GetCurrentLayout().GetWindowsOf(document).empty() && !OpenWindowOn(runner, document)) return false;
  runner.Out().Line("opened " + document->GetDisplayName().str() + " (" + document->GetType().str() + ")");
  return true;
}

bool New(ZRBSessionRunner& runner, const ZRBSessionArgs& args) {
  CADDocument* document = nullptr;
  if (FAILED(CADDocumentServices::New(args[0].c_str(), document)) || !document)
    return runner.Fail("cannot create a " + args[0] + " document" + LastError());
  if (!OpenWindowOn(runner, document)) return false;
  runner.Out().Line("new " + document->GetDisplayName().str());
  return true;
}

CADDocument* DocumentNamed(ZRBSessionRunner& runner, const std::string& name) {
  CADDocument* document = ZRBSessionNodes::FindDocument(name);
  if (!document) runner.Fail("no document \"" + name + "\" in the session (see `docs`)");
  return document;
}

bool Save(ZRBSessionRunner& runner, const ZRBSessionArgs& args) {
  CADDocument* document = DocumentNamed(runner, args[0]);
  if (!document) return false;
  if (args.size() == 3) {
    if (args[1] != "as") return runner.Fail("usage: save DOC [as PATH]");
    const std::string target = std::filesystem::absolute(args[2]).string();
    if (FAILED(CADDocumentServices::SaveAs(document, target.c_str())))
      return runner.Fail("cannot save " + args[0] + " as " + args[2] + LastError());
  } else if (args.size() == 1) {
    if (FAILED(CADDocumentServices::Save(document))) return runner.Fail("cannot save " + args[0] + LastError());
  } else {
    return runner.Fail("usage: save DOC [as PATH]");
  }
  runner.Out().Line("saved " + document->StorageName().str());
  return true;
}

bool Close(ZRBSessionRunner& runner, const ZRBSessionArgs& args) {
  CADDocument* document = DocumentNamed(runner, args[0]);
  if (!document) return false;
  const std::string name = document->GetDisplayName().str();
  if (FAILED(CADDocumentServices::Remove(document))) return runner.Fail("cannot close " + name + LastError());
  runner.Out().Line("closed " + name);
  return true;
}

bool Window(ZRBSessionRunner& runner, const ZRBSessionArgs& args) {
  CADDocument* document = DocumentNamed(runner, args[0]);
  return document && OpenWindowOn(runner, document);
}

bool ResolveNode(ZRBSessionRunner& runner, const std::string& path, ZRBSessionNode& node) {
  std::string error;
  if (ZRBSessionNodes::Resolve(path, node, error)) return true;
  return runner.Fail(error);
}

bool AddComponent(ZRBSessionRunner& runner, const ZRBSessionArgs& args) {
  ZRBSessionNode parent;
  if (!ResolveNode(runner, args[0], parent)) return false;
  CADIProduct_var child;
  if (args[1] == "--new") {
    if (args.size() != 3) return runner.Fail("usage: add PARENT --new PARTNUMBER");
    if (FAILED(parent.product->AddNewProduct(args[2].c_str(), child)))
      return runner.Fail("cannot add a new product \"" + args[2] + "\" under " + parent.path);
  } else {
    if (args.size() != 2) return runner.Fail("usage: add PARENT FILE");
    const std::string absolute = std::filesystem::absolute(args[1]).string();
    CADDocument* document = CADDocumentServices::GetDocumentInSession(absolute.c_str());
    if (!document && FAILED(CADDocumentServices::OpenDocument(absolute.c_str(), document)))
      return runner.Fail("cannot open " + args[1] + LastError());
    if (FAILED(parent.product->AddExternalComponent(document, child)))
      return runner.Fail("cannot add " + args[1] + " under " + parent.path);
  }
  runner.Out().Line("added " + parent.path + "/" + ZRBSessionNodes::InstanceName(child));
  return true;
}

bool Move(ZRBSessionRunner& runner, const ZRBSessionArgs& args) {
  ZRBSessionNode node;
  if (!ResolveNode(runner, args[0], node)) return false;
  if (!node.parent) return runner.Fail(node.path + " is a root: only instances move");
  double t[3];
  for (int i = 0; i < 3; ++i)
    if (!ParseNumber(args[1 + i], t[i])) return runner.Fail("not a number: " + args[1 + i]);
  CADMathTransformation position = CADMathTransformation::Translation(t[0], t[1], t[2]);
  if (args.size() == 6) {
    const std::string& axisWord = args[4];
    const int axis = axisWord == "rx" ? 0 : axisWord == "ry" ? 1 : axisWord == "rz" ? 2 : -1;
    double degrees = 0;
    if (axis < 0 || !ParseNumber(args[5], degrees)) return runner.Fail("usage: move NODE X Y Z [rx|ry|rz DEGREES]");
    position = position * CADMathTransformation::Rotation(axis, degrees);
  } else if (args.size() != 4) {
    return runner.Fail("usage: move NODE X Y Z [rx|ry|rz DEGREES]");
  }
  CADIMovable_var movable(node.product);
  if (!movable || FAILED(movable->SetPosition(position, nullptr))) return runner.Fail("cannot move " + node.path);
  runner.Out().Line("moved " + node.path + " " + ZRBSessionNodes::DescribePosition(position));
  return true;
}

bool Set(ZRBSessionRunner& runner, const ZRBSessionArgs& args) {
  ZRBSessionNode node;
  if (!ResolveNode(runner, args[0], node)) return false;
  const std::string& name = args[1];
  const CADUnicodeString value(args[2].c_str());
  HRESULT hr = S_OK;
  CADIPrdProperties_var properties(node.product);
  if (name == "partnumber") {
    hr = node.product->SetPartNumber(value);
  } else if (name == "instance") {
    hr = node.product->SetPrdInstanceName(value);
  } else if (name == "nomenclature" || name == "revision" || name == "definition" || name == "description") {
    if (!properties) return runner.Fail(node.path + " has no standard attributes");
    hr = name == "nomenclature" ? properties->SetNomenclature(value)
         : name == "revision"   ? properties->SetRevision(value)
         : name == "definition" ? properties->SetDefinition(value)
                                : properties->SetDescription(value);
  } else {
    const ZRBSessionViewerApi* viewer = runner.Host().GetViewer();
    if (!viewer) return runner.Fail("the module's properties are not reachable (no module loaded)");
    hr = viewer->setReferenceProperty(node.product.get(), name.c_str(), args[2].c_str()) ? S_OK : E_FAIL;
  }
  if (FAILED(hr)) return runner.Fail("cannot set " + name + " of " + node.path);
  runner.Out().Line("set " + name + " of " + node.path);
  return true;
}

bool Select(ZRBSessionRunner& runner, const ZRBSessionArgs& args) {
  CADFrmEditor* editor = CADFrmEditor::GetCurrentEditor();
  if (!editor) return runner.Fail("no window is open (open a document first)");
  CADCSO* cso = editor->GetCSO();
  cso->Empty();
  for (const std::string& path : args) {
    if (path == "--none") continue;
    ZRBSessionNode node;
    if (!ResolveNode(runner, path, node)) return false;
    // The selection holds the whole path from the root down to the node.
    std::vector<CADIProduct_var> chain;
    for (CADIProduct_var p = node.product; p; p = p->GetFatherProduct()) chain.insert(chain.begin(), p);
    CADPathElement element;
    for (const CADIProduct_var& p : chain) element.AddChildElement(CADBaseUnknown_var(p));
    cso->AddElement(element);
  }
  runner.Out().Line("selected " + std::to_string(cso->GetSize()) + " product(s)");
  return true;
}

}  // namespace

void ZRBSessionCommandTable::AddDocumentCommands(ZRBSessionCommandTable& table) {
  const auto any = ZRBSessionCommand::kAnyCount;
  table.Add({"open", "open PATH [--read-only]", "open a document and a window on it",
             "Opens the file (and the documents it links to) the way the host does, and shows it in a new window.", 1,
             2, Open});
  table.Add({"new", "new TYPE", "create a new document (CADPart, CADProduct, CADDrawing ...)",
             "The document is created in the work directory, modified and not yet saved.", 1, 1, New});
  table.Add({"save", "save DOC [as PATH]", "save a document, or save it under a new path",
             "DOC is a file name, a full path or a root part number.", 1, 3, Save});
  table.Add({"close", "close DOC", "take a document out of the session",
             "Products of other documents that used it keep an unloaded reference.", 1, 1, Close});
  table.Add({"window", "window DOC", "open another window on a document and make it current", "", 1, 1, Window});
  table.Add({"add", "add PARENT FILE | add PARENT --new PARTNUMBER", "add a component under a product",
             "PARENT is a product path such as Assembly/Bracket.1. FILE is opened when it is not in the session.", 2, 3,
             AddComponent});
  table.Add({"move", "move NODE X Y Z [rx|ry|rz DEGREES]", "place an instance relative to its father",
             "The position is a translation, optionally after a rotation about one axis.", 4, 6, Move});
  table.Add({"set", "set NODE NAME VALUE", "set an attribute or an integration property",
             "NAME partnumber, instance, nomenclature, revision, definition or description sets the host's attribute;"
             " any other name sets a property of the node's reference in the module's property manager.",
             3, 3, Set});
  table.Add({"select", "select NODE... | select --none", "select products in the current window", "", 1, any, Select});
}
