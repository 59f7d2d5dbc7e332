// Commands that show the session: docs, tree, props, messages, dialogs, dump
// --json, and the runner's own help, echo and quit.
#include <fstream>
#include <iostream>
#include <sstream>

#include "CADAutomationSnapshot.h"
#include "CADDlgBoxScript.h"
#include "CADDlgDialog.h"
#include "CADDocument.h"
#include "CADFrmLayout.h"
#include "CADIPrdProperties.h"
#include "ZRBSessionCommandTable.h"
#include "ZRBSessionHost.h"
#include "ZRBSessionNodes.h"
#include "ZRBSessionRunner.h"
#include "ZRBSessionStateCommands.h"
#include "ZRBSessionWords.h"

namespace {

using Tone = ZRBSessionOutput::Tone;

ZRBSessionPropertyList ReferenceProperties(ZRBSessionRunner& runner, const ZRBSessionNode& node) {
  ZRBSessionPropertyList list;
  if (const ZRBSessionViewerApi* viewer = runner.Host().GetViewer())
    viewer->referenceProperties(node.product.get(), list);
  return list;
}

ZRBSessionPropertyList InstanceProperties(ZRBSessionRunner& runner, const ZRBSessionNode& node) {
  ZRBSessionPropertyList list;
  const ZRBSessionViewerApi* viewer = runner.Host().GetViewer();
  if (viewer && node.parent) viewer->instanceProperties(node.parent.get(), node.product.get(), list);
  return list;
}

std::string Lookup(const ZRBSessionPropertyList& list, std::string_view name) {
  for (const auto& [key, value] : list)
    if (key == name) return value;
  return "";
}

std::string Attribute(const CADIProduct_var& product, HRESULT (CADIPrdProperties::*get)(CADUnicodeString&) const) {
  CADIPrdProperties_var properties(product);
  CADUnicodeString value;
  if (properties && SUCCEEDED(((*properties).*get)(value))) return value.str();
  return "";
}

// The product state as the designer would read it: where the node comes from
// and whether its document has unsaved changes.
std::string StateWord(const ZRBSessionPropertyList& reference, const CADIProduct_var& product) {
  std::string state = Lookup(reference, "ZRB_OBID").empty() ? "local" : "pdm";
  if (product->GetPartNumber().IsEmpty()) state = "unloaded";
  CADDocument* document = ZRBSessionNodes::DocumentOf(product);
  if (document && document->IsDirty()) state += ", modified";
  return state;
}

bool Docs(ZRBSessionRunner& runner, const ZRBSessionArgs&) {
  std::vector<std::vector<std::string>> rows = {{"FILE", "TYPE", "STATE", "WINDOWS", "PATH"}};
  for (CADDocument* document : ZRBSessionNodes::Documents()) {
    std::string state = document->IsDirty() ? "modified" : "saved";
    if (document->IsReadOnly()) state += ", read-only";
    rows.push_back({document->GetDisplayName().str(), document->GetType().str(), state,
                    std::to_string(CADFrmLayout::GetCurrentLayout().GetWindowsOf(document).size()),
                    document->StorageName().str()});
  }
  if (rows.size() == 1) {
    runner.Out().Line("no documents in the session");
    return true;
  }
  runner.Out().Table(rows);
  return true;
}

void PrintNode(ZRBSessionRunner& runner, const ZRBSessionNode& node, const std::string& prefix, bool last, bool root) {
  ZRBSessionOutput& out = runner.Out();
  const ZRBSessionPropertyList reference = ReferenceProperties(runner, node);
  std::string line = root ? std::string() : prefix + (last ? "└─ " : "├─ ");
  const std::string partNumber = ZRBSessionNodes::PartNumber(node.product);
  if (root) {
    line += out.Paint(partNumber.empty() ? node.path : partNumber, Tone::Heading);
    if (CADDocument* document = ZRBSessionNodes::DocumentOf(node.product))
      line += out.Paint("  " + document->GetDisplayName().str(), Tone::Dim);
  } else {
    line += out.Paint(ZRBSessionNodes::InstanceName(node.product), Tone::Heading) + "  " +
            (partNumber.empty() ? out.Paint("(not loaded)", Tone::Warn) : partNumber);
  }
  const std::string obid = Lookup(reference, "ZRB_OBID");
  if (!obid.empty()) {
    std::string identity = "OBID " + obid;
    const std::string classname = Lookup(reference, "ZRB_CLASSNAME");
    if (!classname.empty()) identity += " " + classname;
    line += "  " + out.Paint(identity, Tone::Accent);
  }
  line += "  " + out.Paint("[" + StateWord(reference, node.product) + "]", obid.empty() ? Tone::Warn : Tone::Good);
  const std::string position = ZRBSessionNodes::DescribePosition(ZRBSessionNodes::Position(node.product));
  if (!position.empty()) line += out.Paint("  " + position, Tone::Dim);
  out.Line(line);
  const std::vector<ZRBSessionNode> children = ZRBSessionNodes::Children(node);
  const std::string inner = root ? std::string() : prefix + (last ? "   " : "│  ");
  for (std::size_t i = 0; i < children.size(); ++i)
    PrintNode(runner, children[i], inner, i + 1 == children.size(), false);
}

bool Tree(ZRBSessionRunner& runner, const ZRBSessionArgs& args) {
  std::vector<ZRBSessionNode> roots;
  if (args.empty()) {
    roots = ZRBSessionNodes::TopRoots();
  } else {
    ZRBSessionNode node;
    std::string error;
    if (!ZRBSessionNodes::Resolve(args[0], node, error)) return runner.Fail(error);
    roots.push_back(node);
  }
  if (roots.empty()) runner.Out().Line("no product structure in the session");
  for (const ZRBSessionNode& root : roots) PrintNode(runner, root, "", true, true);
  return true;
}

void AddPropertyRows(std::vector<std::vector<std::string>>& rows, const char* kind,
                     const ZRBSessionPropertyList& list) {
  for (const auto& [name, value] : list) rows.push_back({kind, name, value});
}

bool Props(ZRBSessionRunner& runner, const ZRBSessionArgs& args) {
  ZRBSessionNode node;
  std::string error;
  if (!ZRBSessionNodes::Resolve(args[0], node, error)) return runner.Fail(error);
  std::vector<std::vector<std::string>> rows = {{"KIND", "NAME", "VALUE"}};
  rows.push_back({"host", "part number", ZRBSessionNodes::PartNumber(node.product)});
  rows.push_back({"host", "instance", ZRBSessionNodes::InstanceName(node.product)});
  rows.push_back({"host", "nomenclature", Attribute(node.product, &CADIPrdProperties::GetNomenclature)});
  rows.push_back({"host", "revision", Attribute(node.product, &CADIPrdProperties::GetRevision)});
  rows.push_back({"host", "definition", Attribute(node.product, &CADIPrdProperties::GetDefinition)});
  rows.push_back({"host", "description", Attribute(node.product, &CADIPrdProperties::GetDescription)});
  CADDocument* document = ZRBSessionNodes::DocumentOf(node.product);
  rows.push_back({"host", "document", document ? document->StorageName().str() : std::string()});
  const std::string position = ZRBSessionNodes::DescribePosition(ZRBSessionNodes::Position(node.product));
  rows.push_back({"host", "position", position.empty() ? "identity" : position});
  AddPropertyRows(rows, "reference", ReferenceProperties(runner, node));
  AddPropertyRows(rows, "instance", InstanceProperties(runner, node));
  runner.Out().Heading(node.path);
  runner.Out().Table(rows);
  return true;
}

const char* AnswerName(int answer) {
  static const char* const names[] = {"?", "OK", "Cancel", "Yes", "No"};
  return answer >= 1 && answer <= 4 ? names[answer] : names[0];
}

bool Dialogs(ZRBSessionRunner& runner, const ZRBSessionArgs&) {
  const auto open = CADDlgDialog::GetOpenWindows();
  if (open.empty()) runner.Out().Line("no open dialogs");
  for (CADDlgDialog* window : open) runner.Out().Line(CADDialogDriver::Describe(*window));
  return true;
}

bool Messages(ZRBSessionRunner& runner, const ZRBSessionArgs& args) {
  const auto records = CADDlgBoxScript::GetRecords();
  if (records.empty()) {
    runner.Out().Line("no message boxes so far");
  } else {
    std::vector<std::vector<std::string>> rows = {{"#", "TITLE", "ANSWER", "TEXT"}};
    for (std::size_t i = 0; i < records.size(); ++i) {
      std::string text = runner.Shown(ZRBSessionMessageCentres::Line(records[i].text.str()));
      for (char& c : text)
        if (c == '\n') c = ' ';
      rows.push_back({std::to_string(i + 1), records[i].title.str(),
                      std::string(AnswerName(records[i].answer)) + (records[i].expected ? "" : " (default)"), text});
    }
    runner.Out().Heading("message boxes");
    runner.Out().Table(rows);
  }
  // Every message centre so far, with the keys of its lines.
  for (const ZRBSessionMessageCentre& centre : runner.MessageCentres().All()) {
    runner.Out().Heading("message centre (" + centre.icon + (centre.open ? "" : ", closed") +
                         "): " + runner.Shown(centre.status));
    auto lines = [&runner](const char* kind, const std::vector<ZRBSessionMessageLine>& list) {
      for (const ZRBSessionMessageLine& line : list)
        runner.Out().Line(std::string("  ") + kind + " " + runner.Shown(line) +
                          (line.key.empty() ? "" : runner.Out().Paint("  [" + line.key + "]", Tone::Dim)));
    };
    lines("warning", centre.warnings);
    lines("information", centre.informations);
  }
  // Other windows that stay open.
  bool heading = false;
  for (CADDlgDialog* window : CADDlgDialog::GetOpenWindows()) {
    if (ZRBSessionMessageCentres::IsMessageCentre(*window)) continue;
    if (!heading) runner.Out().Heading("open windows");
    heading = true;
    runner.Out().Line(CADDialogDriver::Describe(*window));
  }
  (void)args;
  return true;
}

// --- dump --json

bool Dump(ZRBSessionRunner& runner, const ZRBSessionArgs& args) {
  if (args[0] != "--json" || args.size() > 2) return runner.Fail("usage: dump --json [FILE]");
  if (args.size() == 2) {
    std::string error;
    if (!ZRBSessionDump::WriteFile(runner, args[1], error)) return runner.Fail(error);
    runner.Out().Line("wrote " + args[1]);
  } else {
    std::cout << ZRBSessionDump::Build(runner).dump(1, ' ', false, ZRBSessionJson::error_handler_t::replace) << '\n'
              << std::flush;
  }
  return true;
}

// --- the runner's own commands

bool Help(ZRBSessionRunner& runner, const ZRBSessionArgs& args) {
  ZRBSessionOutput& out = runner.Out();
  if (args.size() == 1) {
    const ZRBSessionCommand* command = runner.Commands().Find(args[0]);
    if (!command) return runner.Fail("no command \"" + args[0] + "\"");
    out.Line(out.Paint(command->usage, Tone::Heading));
    out.Line("  " + command->summary);
    if (!command->details.empty()) out.Line("  " + command->details);
    return true;
  }
  std::vector<std::vector<std::string>> rows = {{"COMMAND", "WHAT IT DOES"}};
  for (const ZRBSessionCommand& command : runner.Commands().All()) rows.push_back({command.usage, command.summary});
  out.Table(rows);
  out.Note("products are named by path: Assembly/Bracket.2/Bolt.1 (a root part number or file, then instance names)");
  out.Note("`help COMMAND` tells more; # starts a comment");
  return true;
}

bool Echo(ZRBSessionRunner& runner, const ZRBSessionArgs& args) {
  runner.Out().Line(runner.Out().Paint(ZRBSessionWords::Join(args, 0), Tone::Heading));
  return true;
}

bool Quit(ZRBSessionRunner& runner, const ZRBSessionArgs&) {
  runner.RequestQuit();
  return true;
}

}  // namespace

void ZRBSessionCommandTable::AddViewCommands(ZRBSessionCommandTable& table) {
  const auto any = ZRBSessionCommand::kAnyCount;
  table.Add({"docs", "docs", "list the documents of the session", "", 0, 0, Docs});
  table.Add({"tree", "tree [NODE]", "the product tree with PDM identities, states and positions",
             "Without NODE every top product of the session. [pdm] nodes carry a PDM identity, [local] ones do not.", 0,
             1, Tree});
  table.Add({"props", "props NODE", "host attributes and integration properties of a product", "", 1, 1, Props});
  table.Add({"messages", "messages", "message boxes and message centres shown so far, and the open windows", "", 0, 0,
             Messages});
  table.Add({"dialogs", "dialogs", "the open dialogs with their controls and rows", "", 0, 0, Dialogs});
  table.Add({"dump", "dump --json [FILE]", "everything the session shows, as JSON",
             "Documents and their windows, the product tree (positions as the twelve host coefficients: three axis "
             "vectors, then the translation; host attributes; reference, instance and path-to-root properties), "
             "file and global properties, the status word, message centres and boxes with their message keys, open "
             "dialogs and the results of finished commands.",
             1, 2, Dump});
  table.Add({"help", "help [COMMAND]", "list the commands or explain one", "", 0, 1, Help});
  table.Add({"echo", "echo TEXT...", "print a line (headings in scripts)", "", 0, any, Echo});
  table.Add({"quit", "quit", "end the session (the module is unloaded)", "", 0, 0, Quit});
}
