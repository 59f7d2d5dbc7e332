#include "ZRBSessionDump.h"

#include <cmath>
#include <fstream>

#include "CADCommand.h"
#include "CADDlgBoxScript.h"
#include "CADDlgDialog.h"
#include "CADDocument.h"
#include "CADFrmLayout.h"
#include "CADIPrdProperties.h"
#include "CADMsgCatalog.h"
#include "ZRBSessionHost.h"
#include "ZRBSessionNodes.h"
#include "ZRBSessionRunner.h"

namespace {

using Json = ZRBSessionJson;

Json Properties(const ZRBSessionPropertyList& list) {
  Json object = Json::object();
  for (const auto& [name, value] : list) object[name] = value;
  return object;
}

std::string Attribute(const CADIProduct_var& product, HRESULT (CADIPrdProperties::*get)(CADUnicodeString&) const) {
  CADIPrdProperties_var properties(product);
  CADUnicodeString value;
  if (properties && SUCCEEDED(((*properties).*get)(value))) return value.str();
  return "";
}

const char* AnswerName(int answer) {
  static const char* const names[] = {"?", "OK", "Cancel", "Yes", "No"};
  return answer >= 1 && answer <= 4 ? names[answer] : names[0];
}

Json Line(ZRBSessionRunner& runner, const ZRBSessionMessageLine& line) {
  return Json{{"text", runner.Shown(line)}, {"key", line.key}};
}

Json Lines(ZRBSessionRunner& runner, const std::vector<ZRBSessionMessageLine>& lines) {
  Json array = Json::array();
  for (const ZRBSessionMessageLine& line : lines) array.push_back(Line(runner, line));
  return array;
}

Json Node(ZRBSessionRunner& runner, const ZRBSessionNode& node) {
  const ZRBSessionViewerApi* viewer = runner.Host().GetViewer();
  ZRBSessionPropertyList reference, instance, pathToRoot;
  if (viewer) {
    viewer->referenceProperties(node.product.get(), reference);
    if (node.parent) viewer->instanceProperties(node.parent.get(), node.product.get(), instance);
    viewer->pathToRootProperties(node.product.get(), pathToRoot);
  }
  CADDocument* document = ZRBSessionNodes::DocumentOf(node.product);
  Json position = Json::array();
  const CADMathTransformation transformation = ZRBSessionNodes::Position(node.product);
  for (double c : transformation.Coefficients())
    position.push_back(std::fabs(c) < 5e-13 ? 0.0 : c);  // no "-0" or rounding dust
  Json object = {
      {"path", node.path},
      {"instance", ZRBSessionNodes::InstanceName(node.product)},
      {"partNumber", ZRBSessionNodes::PartNumber(node.product)},
      {"nomenclature", Attribute(node.product, &CADIPrdProperties::GetNomenclature)},
      {"revision", Attribute(node.product, &CADIPrdProperties::GetRevision)},
      {"definition", Attribute(node.product, &CADIPrdProperties::GetDefinition)},
      {"description", Attribute(node.product, &CADIPrdProperties::GetDescription)},
      {"document", document ? document->StorageName().str() : std::string()},
      {"position", position},
      {"properties", Properties(reference)},
      {"instanceProperties", Properties(instance)},
      {"pathToRootProperties", Properties(pathToRoot)},
  };
  for (const ZRBSessionNodeFields& fields : runner.Commands().NodeFields()) fields(runner, node, object);
  Json children = Json::array();
  for (const ZRBSessionNode& child : ZRBSessionNodes::Children(node)) children.push_back(Node(runner, child));
  object["children"] = std::move(children);
  return object;
}

}  // namespace

ZRBSessionJson ZRBSessionDump::Build(ZRBSessionRunner& runner) {
  runner.Settle();
  Json dump = Json::object();
  Json documents = Json::array();
  for (CADDocument* d : ZRBSessionNodes::Documents()) {
    const std::size_t windows = CADFrmLayout::GetCurrentLayout().GetWindowsOf(d).size();
    documents.push_back({{"file", d->GetDisplayName().str()},
                         {"path", d->StorageName().str()},
                         {"type", d->GetType().str()},
                         {"modified", d->IsDirty()},
                         {"readOnly", d->IsReadOnly()},
                         {"ownWindow", windows > 0},
                         {"windows", windows}});
  }
  dump["documents"] = std::move(documents);
  Json products = Json::array();
  for (const ZRBSessionNode& root : ZRBSessionNodes::TopRoots()) products.push_back(Node(runner, root));
  dump["products"] = std::move(products);

  const ZRBSessionViewerApi* viewer = runner.Host().GetViewer();
  ZRBSessionPropertyList globals;
  ZRBSessionKeyedProperties files;
  if (viewer) {
    viewer->globalProperties(globals);
    viewer->fileProperties(files);
  }
  dump["globals"] = Properties(globals);
  Json fileProperties = Json::object();
  for (const auto& [path, list] : files) fileProperties[path] = Properties(list);
  dump["fileProperties"] = std::move(fileProperties);
  dump["status"] = ZRBSessionRunner::StatusWord();

  Json centres = Json::array();
  for (const ZRBSessionMessageCentre& centre : runner.MessageCentres().All())
    centres.push_back({{"status", Line(runner, centre.status)},
                       {"icon", centre.icon},
                       {"warnings", Lines(runner, centre.warnings)},
                       {"informations", Lines(runner, centre.informations)},
                       {"open", centre.open}});
  dump["messageCentre"] = centres.empty() ? Json() : centres.back();
  dump["messageCentres"] = std::move(centres);

  Json boxes = Json::array();
  for (const CADDlgBoxRecord& box : CADDlgBoxScript::GetRecords()) {
    const ZRBSessionMessageLine text = ZRBSessionMessageCentres::Line(box.text.str());
    boxes.push_back({{"title", box.title.str()},
                     {"text", runner.Shown(text)},
                     {"key", text.key},
                     {"answer", AnswerName(box.answer)},
                     {"expected", box.expected}});
  }
  dump["boxes"] = std::move(boxes);
  Json dialogs = Json::array();
  for (CADDlgDialog* window : CADDlgDialog::GetOpenWindows()) dialogs.push_back(window->GetName().str());
  dump["dialogs"] = std::move(dialogs);
  Json commands = Json::array();
  for (const CADCommandOutcome& outcome : CADCommand::GetFinishedResults())
    commands.push_back({{"name", outcome.name.str()}, {"result", CADCommand::ResultWord(outcome.result)}});
  dump["commands"] = std::move(commands);
  for (const ZRBSessionDumpSection& section : runner.Commands().DumpSections()) section(runner, dump);
  return dump;
}

bool ZRBSessionDump::WriteFile(ZRBSessionRunner& runner, const std::string& path, std::string& error) {
  // Texts the module holds need not be valid UTF-8 (paths, PDM answers): they are written with replacement
  // characters rather than refused.
  const std::string text = Build(runner).dump(1, ' ', false, Json::error_handler_t::replace) + "\n";
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!(file << text) || !file.flush()) {
    error = "cannot write " + path;
    return false;
  }
  return true;
}
