// zrbtool dump [--json] FILE: the objects of an exchange object file as the
// module reads them.
#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>
#include <memory>
#include <nlohmann/json.hpp>

#include "ZRBObjectManager.h"
#include "ZRBObjectReadObserver.h"
#include "ZRBToolCommand.h"

#include "ZRBToolText.h"

namespace {
// Remembers where reading stopped, for a hint on the error stream.
class StopWatcher : public ZRBObjectReadObserver {
 public:
  void OnStop(long line, std::string_view) override { stopLine = line; }
  long stopLine = 0;
};

struct Slot {
  std::string name;
  std::string stored;
};

std::vector<Slot> SlotsOf(const ZRBObject& object) {
  CADListValCADString names, values;
  object.GetAllSlots(names, values);
  std::vector<Slot> slots;
  for (int i = 1; i <= names.Size(); ++i) slots.push_back({names[i].str(), values[i].str()});
  return slots;
}

// Writes `text` with its line breaks continued under `indent` columns.
void WriteIndented(std::ostream& out, const std::string& text, std::size_t indent) {
  if (text.empty()) {
    out << "(empty)\n";
    return;
  }
  std::size_t from = 0;
  for (;;) {
    std::size_t lf = text.find('\n', from);
    out << text.substr(from, lf == std::string::npos ? std::string::npos : lf - from) << "\n";
    if (lf == std::string::npos) break;
    out << std::string(indent, ' ');
    from = lf + 1;
  }
}

void DumpReadable(const ZRBObjectManager& manager, std::ostream& out) {
  int objects = 0;
  int slotCount = 0;
  for (ZRBObject* object = manager.GetFirstObject(); object; object = manager.GetNextObject(object)) {
    if (objects++ > 0) out << "\n";
    std::vector<Slot> slots = SlotsOf(*object);
    slotCount += static_cast<int>(slots.size());
    out << "@" << object->GetKey() << (slots.empty() ? "    (no slots)" : "") << "\n";
    std::size_t width = 0;
    for (const Slot& slot : slots) width = std::max(width, slot.name.size());
    width = std::min<std::size_t>(width, 28);
    for (const Slot& slot : slots) {
      const std::size_t column = 2 + std::max(width, slot.name.size()) + 2;
      out << "  " << slot.name << std::string(column - 2 - slot.name.size(), ' ');
      if (!slot.stored.empty() && slot.stored.front() == '{') {
        CADListValCADString items = object->GetSlotValueList(CADString(slot.name));
        out << "(list of " << items.Size() << (items.Size() == 1 ? " item)\n" : " items)\n");
        for (const CADString& item : items) {
          out << std::string(column, ' ') << "- ";
          WriteIndented(out, item.str(), column + 2);
        }
      } else {
        WriteIndented(out, object->GetSlotValue(CADString(slot.name)).str(), column);
      }
    }
  }
  if (objects > 0) out << "\n";
  out << objects << (objects == 1 ? " object, " : " objects, ") << slotCount
      << (slotCount == 1 ? " slot\n" : " slots\n");
}

void DumpJson(const ZRBObjectManager& manager, std::ostream& out) {
  nlohmann::ordered_json objects = nlohmann::ordered_json::array();
  for (ZRBObject* object = manager.GetFirstObject(); object; object = manager.GetNextObject(object)) {
    nlohmann::ordered_json slots = nlohmann::ordered_json::array();
    for (const Slot& slot : SlotsOf(*object))
      slots.push_back(
          {ZRBToolText::Utf8(slot.name), ZRBToolText::Utf8(object->GetSlotValue(CADString(slot.name)).view())});
    objects.push_back({{"key", ZRBToolText::Utf8(object->GetKey().view())}, {"slots", std::move(slots)}});
  }
  out << objects.dump(2) << "\n";
}

int RunDump(bool json, const std::string& file, std::ostream& out, std::ostream& err) {
  ZRBObjectManager manager;
  StopWatcher watcher;
  if (!manager.Read(CADUnicodeString(file), watcher)) {
    err << "zrbtool dump: cannot read '" << file << "'\n";
    return kZRBToolFileProblem;
  }
  if (json)
    DumpJson(manager, out);
  else
    DumpReadable(manager, out);
  if (watcher.stopLine > 0)
    err << "zrbtool dump: reading stopped at line " << watcher.stopLine << "; the rest of the file is ignored "
        << "(see 'zrbtool check " << file << "')\n";
  return kZRBToolOk;
}

ZRBToolRun DefineDump(CLI::App& sub) {
  struct Options {
    bool json = false;
    std::string file;
  };
  auto o = std::make_shared<Options>();
  sub.add_flag("--json", o->json, "print the objects as JSON");
  sub.add_option("FILE", o->file, "the exchange object file")->required();
  return [o](std::ostream& out, std::ostream& err) { return RunDump(o->json, o->file, out, err); };
}

const ZRBToolRegistration registration{{
    "dump",
    "dump [--json] FILE",
    "print the objects of an exchange object file",
    "Prints every object as the module reads it: the key, then one slot per line.\n"
    "List slots ({a} {b} ...) are shown as their items, and line breaks stored\n"
    "as @EOL@ as real line breaks.\n\n"
    "  --json   print [{\"key\": K, \"slots\": [[NAME, VALUE], ...]}, ...] instead,\n"
    "           VALUE as the module's GetSlotValue gives it (lists unsplit,\n"
    "           @EOL@ as \\n). Bytes that are not UTF-8 are shown as Latin-1.\n\n"
    "When reading stops before the end of the file, a note goes to the error\n"
    "stream; 'zrbtool check' tells why.\n",
    &DefineDump,
}};
}  // namespace
