#include "AnswerCheck.h"

#include <filesystem>
#include <functional>
#include <regex>
#include <set>

#include "ZRBObject.h"
#include "ZRBObjectManager.h"

namespace pdmsimtest {
namespace fs = std::filesystem;

std::vector<std::string> StructureAnswerProblems(const std::string& answerPath, const std::string& xmap) {
  std::vector<std::string> problems;
  ZRBObjectManager answer;
  if (!answer.Read(CADUnicodeString(answerPath))) return {"cannot read " + answerPath};
  ZRBObject* root = answer.GetObject("ROOT");
  if (!root) return {"no ROOT object"};

  static const std::regex kDate(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3})");
  for (ZRBObject* object = answer.GetFirstObject(); object; object = answer.GetNextObject(object)) {
    std::string key = object->GetKey().str();
    for (const char* listSlot : {"SUBASSRELATIONS", "DOCCOMS", "TABLES", "PRODUCT", "ASS_ITEM_ID"}) {
      CADListValCADString items = object->GetSlotValueList(listSlot);
      for (int i = 1; i <= items.Size(); ++i) {
        if (!answer.GetObject(items[i])) {
          problems.push_back(key + "." + listSlot + " names the missing object " + items[i].str());
        }
      }
    }
    std::string date = object->GetSlotValue("MODIFICATION_DATE_GMT").str();
    if (!date.empty() && !std::regex_match(date, kDate)) {
      problems.push_back(key + " has the malformed date \"" + date + "\"");
    }
    std::string location = object->GetSlotValue("EXTERNAL_LOCATION").str();
    if (location.empty()) continue;
    fs::path file(location);
    if (file.parent_path() != fs::path(xmap)) problems.push_back(key + " names a file outside the exchange map");
    bool cached = object->GetSlotValue("USE_FILE_IN_EXMAP").str() == "1";
    std::string backup = (fs::path(xmap) / ("ZRBBACKUP_" + file.filename().string())).string();
    if (cached ? !(fs::exists(backup) || fs::exists(file)) : !fs::exists(file)) {
      problems.push_back(key + ": " + location + (cached ? " declared cached but absent" : " not delivered"));
    }
  }

  // Walk the structure from ROOT: no relation may lead back to an ancestor.
  std::set<std::string> path;
  std::function<void(ZRBObject*)> walk = [&](ZRBObject* node) {
    CADListValCADString relations = node->GetSlotValueList("SUBASSRELATIONS");
    for (int i = 1; i <= relations.Size(); ++i) {
      ZRBObject* relation = answer.GetObject(relations[i]);
      if (!relation) continue;
      std::string childKey = relation->GetSlotValue("ASS_ITEM_ID").str();
      ZRBObject* child = answer.GetObject(childKey);
      if (!child) continue;
      if (!path.insert(childKey).second) {
        problems.push_back("cycle through " + childKey);
        continue;
      }
      walk(child);
      path.erase(childKey);
    }
  };
  walk(root);
  return problems;
}

}  // namespace pdmsimtest
