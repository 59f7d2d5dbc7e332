#include "ZRBSessionStateCommands.h"

#include <dlfcn.h>

#include <filesystem>

#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "ZRBSessionCommandTable.h"
#include "ZRBSessionHost.h"
#include "ZRBSessionNodes.h"
#include "ZRBSessionOutput.h"
#include "ZRBSessionRunner.h"

namespace {

using StateFn = int (*)(CADIProduct*, char*, int);
using BeginFn = void (*)();

struct StateFunctions {
  StateFn state = nullptr;
  BeginFn begin = nullptr;
};

// The viewer library is already loaded with the module; it is looked up, never loaded a second time.
StateFunctions Functions(ZRBSessionRunner& runner) {
  StateFunctions functions;
  if (!runner.Host().IsModuleLoaded()) return functions;
  const std::string path =
      (std::filesystem::path(runner.Host().GetModulePath()).parent_path() / "libZRBSessionViewer.so").string();
  void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (!library) return functions;
  functions.state = reinterpret_cast<StateFn>(dlsym(library, "ZRBSessionProductState"));
  functions.begin = reinterpret_cast<BeginFn>(dlsym(library, "ZRBSessionBeginStates"));
  dlclose(library);  // drops only the reference taken above
  return functions;
}

int ComputeState(const StateFunctions& functions, const ZRBSessionNode& node, std::string& text) {
  char buffer[256];
  const int value = functions.state(node.product.get(), buffer, sizeof buffer);
  text = buffer;
  return value;
}

void PrintStates(ZRBSessionRunner& runner, const StateFunctions& functions, const ZRBSessionNode& node,
                 std::vector<std::vector<std::string>>& rows) {
  std::string text;
  const int value = ComputeState(functions, node, text);
  rows.push_back({node.path, std::to_string(value), text});
  for (const ZRBSessionNode& child : ZRBSessionNodes::Children(node)) PrintStates(runner, functions, child, rows);
}

bool ResolveNode(ZRBSessionRunner& runner, const std::string& path, ZRBSessionNode& node) {
  std::string error;
  return ZRBSessionNodes::Resolve(path, node, error) || runner.Fail(error);
}

bool State(ZRBSessionRunner& runner, const ZRBSessionArgs& args) {
  const StateFunctions functions = Functions(runner);
  if (!functions.state || !functions.begin)
    return runner.Fail("the module's state checks are not reachable (no module or no viewer library)");
  functions.begin();
  std::vector<ZRBSessionNode> start;
  if (args.empty()) {
    start = ZRBSessionNodes::TopRoots();
  } else {
    ZRBSessionNode node;
    if (!ResolveNode(runner, args[0], node)) return false;
    start.push_back(node);
  }
  std::vector<std::vector<std::string>> rows;
  for (const ZRBSessionNode& node : start) PrintStates(runner, functions, node, rows);
  runner.Out().Table(rows);
  return true;
}

bool Remove(ZRBSessionRunner& runner, const ZRBSessionArgs& args) {
  ZRBSessionNode node;
  if (!ResolveNode(runner, args[0], node)) return false;
  if (!node.parent) return runner.Fail(node.path + " is a root: only instances are removed");
  if (FAILED(node.parent->RemoveProduct(node.product))) return runner.Fail("cannot remove " + node.path);
  runner.Out().Line("removed " + node.path);
  return true;
}

bool Replace(ZRBSessionRunner& runner, const ZRBSessionArgs& args) {
  ZRBSessionNode node;
  if (!ResolveNode(runner, args[0], node)) return false;
  if (!node.parent) return runner.Fail(node.path + " is a root: only instances are replaced");
  const std::string absolute = std::filesystem::absolute(args[1]).string();
  CADDocument* document = CADDocumentServices::GetDocumentInSession(absolute.c_str());
  if (!document && FAILED(CADDocumentServices::OpenDocument(absolute.c_str(), document)))
    return runner.Fail("cannot open " + args[1] + ": " + CADDocumentServices::GetLastError().str());
  CADIProduct_var replaced;
  if (FAILED(node.parent->ReplaceComponent(node.product, document, replaced)))
    return runner.Fail("cannot replace " + node.path + " by " + args[1]);
  runner.Out().Line("replaced " + node.path + " by " + ZRBSessionNodes::PartNumber(replaced));
  return true;
}

// What a designer does outside the CAD session: another document's file copied over a session document's file.
// The session keeps its document; only the file on disk changes, through a temporary file and a rename so that a
// failed copy leaves the old file whole.
bool ReplaceFile(ZRBSessionRunner& runner, const ZRBSessionArgs& args) {
  CADDocument* document = ZRBSessionNodes::FindDocument(args[0]);
  const std::filesystem::path target =
      document ? std::filesystem::path(document->StorageName().str()) : std::filesystem::absolute(args[0]);
  const std::filesystem::path source = std::filesystem::absolute(args[1]);
  std::error_code error;
  if (!std::filesystem::is_regular_file(source, error)) return runner.Fail(args[1] + " is no file");
  if (!std::filesystem::is_regular_file(target, error)) return runner.Fail(args[0] + " is no document file");
  if (std::filesystem::equivalent(source, target, error)) return runner.Fail(args[1] + " is that file itself");
  const std::filesystem::path temporary = target.parent_path() / ("." + target.filename().string() + ".replacing");
  if (!std::filesystem::copy_file(source, temporary, std::filesystem::copy_options::overwrite_existing, error)) {
    std::filesystem::remove(temporary, error);
    return runner.Fail("cannot copy " + args[1] + ": " + error.message());
  }
  std::filesystem::rename(temporary, target, error);
  if (error) {
    const std::string message = error.message();
    std::filesystem::remove(temporary, error);
    return runner.Fail("cannot replace " + target.string() + ": " + message);
  }
  runner.Out().Line("replaced the file " + target.string() + " by " + source.string());
  return true;
}

}  // namespace

ZRBSessionJson ZRBSessionStateCommands::StateJson(ZRBSessionRunner& runner, const ZRBSessionNode& node) {
  const StateFunctions functions = Functions(runner);
  if (!functions.state || !functions.begin) return nullptr;
  // Each root's structure is computed as one save would compute it.
  if (!node.parent) functions.begin();
  std::string text;
  const int value = ComputeState(functions, node, text);
  return ZRBSessionJson{{"value", value}, {"text", text}};
}

void ZRBSessionCommandTable::AddStateCommands(ZRBSessionCommandTable& table) {
  table.Add({"state", "state [NODE]", "the product state of every node (of NODE and its subtree) as a save sees it",
             "Computed as a save computes it, side effects included: a part or product whose file lies outside the "
             "exchange map is marked modified.",
             0, 1, State});
  table.Add({"remove", "remove NODE", "remove an instance from its parent", "", 1, 1, Remove});
  table.Add({"replace", "replace NODE FILE", "replace an instance's reference by another document",
             "The instance keeps its name, place and position. FILE is opened when it is not in the session.", 2, 2,
             Replace});
  table.Add({"replace-file", "replace-file DOC FILE", "copy another file over a document's file on disk",
             "DOC is a document of the session (file name, full path or root part number) or a path. The session "
             "keeps its document; a later save's identity check sees the file's other document.",
             2, 2, ReplaceFile});
  table.AddNodeFields([](ZRBSessionRunner& runner, const ZRBSessionNode& node, ZRBSessionJson& object) {
    object["state"] = ZRBSessionStateCommands::StateJson(runner, node);
  });
}
