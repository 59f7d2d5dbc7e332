// zrbtool archive FILE.xml: an archive's structure file as the module reads it (root, parts with their children
// and positions, tables, non-CAD files), with the checks a stored archive must pass.
#include <filesystem>
#include <memory>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "ZRBArchiveXml.h"
#include "ZRBToolCommand.h"
#include "ZRBToolText.h"

namespace {

std::string Q(const std::string& text) { return ZRBToolText::Quote(text, 200); }

bool SafeFileName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

void PrintData(const ZRBArchivePartData& data, std::ostream& out) {
  for (const auto& [name, value] : data.attributes) out << "    " << name << " = " << Q(value) << "\n";
  for (const auto& [name, value] : data.modelInfos) out << "    model info " << name << " = " << Q(value) << "\n";
  for (const auto& feature : data.features) {
    out << "    feature";
    for (const auto& [name, value] : feature.attributes) out << " " << name << "=" << Q(value);
    out << "\n";
  }
}

void PrintChildren(const std::vector<ZRBArchiveChild>& children, std::ostream& out) {
  for (const auto& child : children)
    out << "    child " << Q(child.childId) << " as " << Q(child.instanceName) << " at "
        << (child.matrix.empty() ? std::string("(no position)") : Q(child.matrix)) << "\n";
}

std::vector<std::string> Check(const ZRBArchive& archive) {
  std::vector<std::string> problems;
  const std::string& rootPartNumber = archive.root.data.Attribute("PARTNUMBER");
  if (rootPartNumber.empty()) problems.push_back("the root has no PARTNUMBER");
  if (rootPartNumber.find('/') != std::string::npos || rootPartNumber == "." || rootPartNumber == "..")
    problems.push_back("the root part number " + Q(rootPartNumber) + " cannot name an archive");
  std::set<std::string> ids;
  auto file = [&](const std::string& what, const std::string& name) {
    if (!SafeFileName(name)) problems.push_back(what + " names no plain file: " + Q(name));
  };
  file("the root", archive.root.data.Attribute("FILENAME"));
  for (const auto& part : archive.parts) {
    if (!ids.insert(part.id).second) problems.push_back("part " + Q(part.id) + " is listed twice");
    const std::string& partNumber = part.data.Attribute("PARTNUMBER");
    if (!partNumber.empty() && partNumber != part.id)
      problems.push_back("part " + Q(part.id) + " holds the part number " + Q(partNumber));
    file("part " + Q(part.id), part.data.Attribute("FILENAME"));
  }
  auto children = [&](const std::string& owner, const std::vector<ZRBArchiveChild>& list) {
    for (const auto& child : list)
      if (!ids.count(child.childId))
        problems.push_back(owner + " has child " + Q(child.childId) + ", which is no part of the archive");
  };
  children("the root", archive.root.children);
  for (const auto& part : archive.parts) children("part " + Q(part.id), part.children);
  for (const auto& table : archive.tables)
    file("table " + Q(table.id), ZRBArchiveAttribute(table.attributes, "FILENAME"));
  for (const auto& nonCad : archive.nonCads)
    file("non-CAD file " + Q(nonCad.id), ZRBArchiveAttribute(nonCad.attributes, "FILENAME"));
  return problems;
}

int RunArchive(const std::string& path, std::ostream& out, std::ostream& err) {
  ZRBArchive archive;
  if (!ZRBArchiveXml::ParseFile(path, archive)) {
    err << "zrbtool archive: cannot read '" << path << "' as an archive structure file (the module refuses it)\n";
    return kZRBToolFileProblem;
  }
  const ZRBArchiveRoot& root = archive.root;
  out << "file    " << path << "\n"
      << "root    " << Q(root.data.Attribute("PARTNUMBER")) << "  "
      << (root.inAssembly == "1" ? "under " + Q(root.parentPartnumber) : std::string("stand-alone")) << "\n";
  PrintData(root.data, out);
  PrintChildren(root.children, out);
  for (const auto& part : archive.parts) {
    out << "part    " << Q(part.id) << "\n";
    PrintData(part.data, out);
    PrintChildren(part.children, out);
  }
  for (const auto& table : archive.tables) out << "table   " << Q(table.id) << "\n";
  for (const auto& nonCad : archive.nonCads)
    out << "non-CAD " << Q(nonCad.id) << (nonCad.inExtraDir ? "  (extra directory)" : "  (exchange map)") << "\n";
  out << archive.parts.size() << " parts, " << archive.tables.size() << " tables, " << archive.nonCads.size()
      << " non-CAD files\n";

  std::vector<std::string> problems = Check(archive);
  const auto dtd = std::filesystem::path(path).parent_path() / ZRBArchiveXml::kDtdFileName;
  if (!std::filesystem::exists(dtd))
    problems.push_back("no " + std::string(ZRBArchiveXml::kDtdFileName) + " beside it");
  for (const auto& problem : problems) err << "zrbtool archive: " << problem << "\n";
  return problems.empty() ? kZRBToolOk : kZRBToolFileProblem;
}

ZRBToolRun DefineArchive(CLI::App& sub) {
  auto file = std::make_shared<std::string>();
  sub.add_option("FILE", *file, "the archive structure file")->required();
  return [file](std::ostream& out, std::ostream& err) { return RunArchive(*file, out, err); };
}

const ZRBToolRegistration registration{{
    "archive",
    "archive FILE.xml",
    "print and check an archive structure file",
    "Prints what the module reads from an archive structure file: the root\n"
    "(its father's part number when it sits in an assembly), every part with\n"
    "its attributes, model infos, features and children (instance name and\n"
    "position), the design tables and the non-CAD files.\n\n"
    "Checks: the root has a part number that can name an archive; no part is\n"
    "listed twice and each holds its own part number; every child names a part\n"
    "of the archive; every file name is a plain file name; the DTD lies beside\n"
    "the file. Exit code 1 when the module would refuse the file or a check\n"
    "fails (each problem on standard error).\n",
    &DefineArchive,
}};

}  // namespace
