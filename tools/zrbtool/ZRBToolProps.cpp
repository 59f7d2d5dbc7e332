// zrbtool props FILE: the records of a property-manager file as the module
// reads them back (local sessions, the info dialog's state).
#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>
#include <memory>

#include "ZRBPropertyManager.h"
#include "ZRBToolCommand.h"
#include "ZRBToolText.h"

namespace {

using Kind = ZRBPropertyManagerNames::Kind;
using Field = ZRBPropertyReference::Field;

// A value in double quotes with line breaks, tabs and other control
// characters made visible; never cut.
std::string Shown(const CADUnicodeString& value) {
  std::string out = "\"";
  for (unsigned char c : value.str()) {
    switch (c) {
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      default:
        if (c < 0x20) {
          static const char hex[] = "0123456789abcdef";
          out += "\\x";
          out += hex[c >> 4];
          out += hex[c & 15];
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

void PrintProperties(const ZRBPropertyContainer& record, const ZRBPropertyManagerNames& names, Kind kind,
                     std::ostream& out) {
  size_t width = 0;
  for (const auto& name : record.GetNames()) width = std::max(width, static_cast<size_t>(name.GetLength()));
  for (int i = 1; i <= record.GetPropertyCount(); ++i) {
    const CADUnicodeString& name = record.GetNames()[i];
    out << "    " << name.str() << std::string(width - static_cast<size_t>(name.GetLength()), ' ') << " = "
        << Shown(record.GetValues()[i]);
    if (!names.IsConfigured(kind, name))
      out << "   (not a configured " << ZRBPropertyManagerNames::KindName(kind) << " name)";
    out << "\n";
  }
}

std::string PartNumberOfId(const ZRBPropertyManager& manager, int id) {
  if (id == 0) return "not known yet";
  const ZRBPropertyReference* reference = manager.GetReferenceObject(id);
  if (!reference) return "missing from the file";
  return reference->GetPartNumber().IsEmpty() ? "no part number" : Shown(reference->GetPartNumber());
}

void Print(const std::string& path, ZRBPropertyManager& manager, bool whole, std::ostream& out) {
  const auto& store = manager.Store();
  const auto& names = manager.ConfiguredNames();
  out << "file        " << path << "\n"
      << "process id  " << (manager.GetProcessId() ? std::to_string(manager.GetProcessId()) : "(none)") << "\n"
      << "read        " << (whole ? "whole" : "stopped at damage: the records before it are shown") << "\n";

  if (const ZRBPropertyGlobal* global = manager.GetGlobalRecordRead()) {
    out << "\nglobal (shown only: a session keeps its own)\n";
    PrintProperties(*global, names, Kind::Global, out);
  }
  for (const auto& r : store.References()) {
    out << "\nreference " << r->GetId() << "  "
        << (r->GetPartNumber().IsEmpty() ? std::string("(no part number)") : Shown(r->GetPartNumber()))
        << (r->IsPropertySetFlag() ? "" : "  (values not applied to the product yet)") << "\n";
    for (Field field : ZRBPropertyReference::AllFields()) {
      if (field == Field::PartNumber || r->Get(field).IsEmpty()) continue;
      std::string label(ZRBPropertyReference::FieldName(field));
      out << "    " << label << std::string(label.size() < 22 ? 22 - label.size() : 1, ' ') << Shown(r->Get(field))
          << "\n";
    }
    for (const auto& root : r->BlackBoxRoots()) out << "    black-box root        " << Shown(root) << "\n";
    for (const auto& item : r->BlackBoxItems()) out << "    black-box item        " << Shown(item) << "\n";
    PrintProperties(*r, names, Kind::Reference, out);
  }
  for (const auto& f : store.Files()) {
    out << "\nfile " << Shown(f->GetFullPath()) << "\n";
    PrintProperties(*f, names, Kind::File, out);
  }
  for (const auto& i : store.Instances()) {
    out << "\ninstance " << Shown(i->GetChildInstanceName()) << " under reference " << i->GetParentId() << " ("
        << PartNumberOfId(manager, i->GetParentId()) << "), child reference " << i->GetChildId() << " ("
        << PartNumberOfId(manager, i->GetChildId()) << ")\n";
    PrintProperties(*i, names, Kind::Instance, out);
  }
  for (const auto& p : store.PathToRoots()) {
    out << "\npath-to-root " << Shown(p->GetPathToRoot()) << "\n";
    PrintProperties(*p, names, Kind::PathToRoot, out);
  }
  auto count = [](size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
  };
  out << "\n"
      << count(manager.GetGlobalRecordRead() ? 1 : 0, "global record", "global records") << ", "
      << count(store.References().size(), "reference", "references") << ", "
      << count(store.Files().size(), "file", "files") << ", "
      << count(store.Instances().size(), "instance", "instances") << ", "
      << count(store.PathToRoots().size(), "path-to-root record", "path-to-root records") << "\n";
}

int RunProps(const std::string& path, std::ostream& out, std::ostream& err) {
  ZRBPropertyManager manager;
  manager.SetCacheActivationForTests(0);  // no host settings are read by the tool
  manager.SetProcessId(0);                // the file's, when it names one
  const bool whole = manager.Read(CADUnicodeString(path)) != 0;
  const auto& store = manager.Store();
  if (!whole && store.References().empty() && store.Files().empty() && store.Instances().empty() &&
      store.PathToRoots().empty() && !manager.GetGlobalRecordRead()) {
    err << "zrbtool props: cannot read '" << path << "' as a property-manager file\n";
    return kZRBToolFileProblem;
  }
  Print(path, manager, whole, out);
  if (!whole) {
    err << "zrbtool props: the file is damaged; the module keeps only the records before the damage\n";
    return kZRBToolFileProblem;
  }
  return kZRBToolOk;
}

ZRBToolRun DefineProps(CLI::App& sub) {
  auto file = std::make_shared<std::string>();
  sub.add_option("FILE", *file, "the property-manager file")->required();
  return [file](std::ostream& out, std::ostream& err) { return RunProps(*file, out, err); };
}

const ZRBToolRegistration registration{{
    "props",
    "props FILE",
    "print the records of a property-manager file (ZRBPropertyManager.xml)",
    "Prints every record the module keeps when it reads a property-manager\n"
    "file: the global record (shown only; a running session keeps its own),\n"
    "reference records with their Id, part number, non-empty fields, black-box\n"
    "members and properties, file records, instance records (with the part\n"
    "numbers of the references they join) and path-to-root records. Values are\n"
    "quoted with \\r, \\n, \\t and other control characters made visible; names\n"
    "the module does not know for their kind are marked.\n\n"
    "Exit code 1 when the file cannot be read, or is damaged: the records\n"
    "before the damage are printed, as the module would keep them.\n",
    &DefineProps,
}};

}  // namespace
