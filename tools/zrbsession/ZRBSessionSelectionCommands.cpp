// `selection`: what each window has selected and its active path, as node paths the other commands accept.
#include <string>
#include <vector>

#include "CADFrmEditor.h"
#include "CADFrmLayout.h"
#include "CADFrmWindow.h"
#include "ZRBSessionCommandTable.h"
#include "ZRBSessionNodes.h"
#include "ZRBSessionOutput.h"
#include "ZRBSessionRunner.h"

namespace {

// "Assembly/Bracket.2/Bolt.1": the root's part number, then the instance names below it.
std::string Describe(const CADPathElement& path) {
  std::string text;
  for (int i = 1; i <= path.GetSize(); ++i) {
    CADIProduct_var product(path.GetElement(i));
    if (!product) continue;
    if (!text.empty()) text += "/";
    text += i == 1 ? ZRBSessionNodes::PartNumber(product) : ZRBSessionNodes::InstanceName(product);
  }
  return text;
}

bool Selection(ZRBSessionRunner& runner, const ZRBSessionArgs&) {
  std::vector<std::vector<std::string>> rows;
  for (CADFrmWindow* window : CADFrmLayout::GetCurrentLayout().GetWindowList()) {
    CADFrmEditor* editor = window ? window->GetEditor() : nullptr;
    if (!editor) continue;
    const std::string name = window->GetName().str();
    rows.push_back({name, "active", Describe(editor->GetActivePath())});
    CADCSO* cso = editor->GetCSO();
    for (int i = 1; i <= cso->GetSize(); ++i) rows.push_back({name, "selected", Describe(*cso->GetElement(i))});
  }
  runner.Out().Table(rows);
  return true;
}

}  // namespace

void ZRBSessionCommandTable::AddSelectionCommands(ZRBSessionCommandTable& table) {
  table.Add({"selection", "selection", "what is selected in each window, and its active path",
             "One line per window for its active path (\"active\") and one per selected element (\"selected\"), "
             "each as a node path: the root's part number, then instance names.",
             0, 0, Selection});
}
