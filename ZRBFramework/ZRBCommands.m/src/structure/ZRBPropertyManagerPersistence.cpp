// Writing the property manager's state to its XML file and DTD, and reading
// it back through the host's SAX parser.
#include <unistd.h>

#include <algorithm>

#include "CADSystemServices.h"
#include "CADXMLSAX.h"
#include "ZRBPropertyManager.h"
#include "ZRBPropertyManagerFileIO.h"
#include "ZRBPropertyManagerWriter.h"
#include "ZRBSAXDocumentHandler.h"
#include "ZRBSAXErrorHandler.h"
#include "ZRBTrace.h"

namespace {
std::string_view FileNamePart(std::string_view path) {
  auto slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}
}  // namespace

CADUnicodeString ZRBPropertyManager::EscapeString(const CADUnicodeString& text) {
  return ZRBPropertyManagerWriter::EscapeString(text.view());
}

int ZRBPropertyManager::WriteDTD(const CADUnicodeString& dtdPath) {
  ZRB_TRACE("ZRBPropertyManager::WriteDTD");
  ZRB_DEBUG("Writing PropertyManager DTDfile to: %s", dtdPath.c_str());
  if (!ZRBPropertyManagerFileIO::WriteWhole(dtdPath, ZRBPropertyManagerWriter::BuildDTD())) {
    ZRB_DEBUG("Could not open File %s", dtdPath.c_str());
    return 0;
  }
  ZRB_TRACE_OK();
  return 1;
}

int ZRBPropertyManager::Write(const CADUnicodeString& dataPath, const CADUnicodeString& dtdPath) {
  ZRB_TRACE("ZRBPropertyManager::Write");
  ZRB_DEBUG("Writing PropertyManager to: %s", dataPath.c_str());
  if (!ZRBPropertyManagerFileIO::WriteWhole(dataPath, WriteText(CADUnicodeString(FileNamePart(dtdPath.view()))))) {
    ZRB_DEBUG("Could not open File %s", dataPath.c_str());
    return 0;
  }
  ZRB_TRACE_OK();
  return 1;
}

int ZRBPropertyManager::Read(const CADUnicodeString& dataPath) {
  ZRB_TRACE("ZRBPropertyManager::Read");
  Initialize();
  if (!ZRBPropertyManagerFileIO::Exists(dataPath)) {
    ZRB_DEBUG("ZRB: PropertyManager file %s not found", dataPath.c_str());
    return 0;
  }
  int read = ParseWith([&](CADIXMLSAXParser& parser) { return parser.Parse(dataPath); });
  if (!read) {
    ZRB_DEBUG("ZRB: PropertyManager file %s is damaged, kept what was read before the damage", dataPath.c_str());
    return 0;
  }
  ZRB_TRACE_OK();
  return 1;
}

int ZRBPropertyManager::ReadText(std::string_view xml) {
  Initialize();
  return ParseWith([&](CADIXMLSAXParser& parser) { return parser.ParseText(xml); });
}

int ZRBPropertyManager::ParseWith(const std::function<HRESULT(CADIXMLSAXParser&)>& parse) {
  CADIXMLSAXFactory_var factory;
  CADIXMLSAXParser_var parser;
  if (FAILED(CreateCADIXMLSAXFactory(factory)) || !factory || FAILED(factory->CreateParser(parser)) || !parser) {
    ZRB_DEBUG("ZRB: could not create the XML parser");
    return 0;
  }
  auto documentHandler = CADVar<ZRBSAXDocumentHandler>::Adopt(new ZRBSAXDocumentHandler(*this));
  auto errorHandler = CADVar<ZRBSAXErrorHandler>::Adopt(new ZRBSAXErrorHandler());
  parser->SetDocumentHandler(CADIXMLSAXDocumentHandler_var(documentHandler));
  parser->SetErrorHandler(CADIXMLSAXErrorHandler_var(errorHandler));
  HRESULT parsed = parse(*parser);
  parser->SetDocumentHandler(nullptr);
  parser->SetErrorHandler(nullptr);

  // New Ids must not repeat the ones the file brought, or instance records
  // would end up pointing at the wrong references.
  int highest = 0;
  for (const auto& reference : store_.References()) highest = std::max(highest, reference->GetId());
  for (const auto& instance : store_.Instances())
    highest = std::max({highest, instance->GetParentId(), instance->GetChildId()});
  store_.RaiseIdCounter(highest);

  return FAILED(parsed) || errorHandler->HadFatalError() ? 0 : 1;
}

std::string ZRBPropertyManager::WriteText(const CADUnicodeString& dtdFileName) const {
  return ZRBPropertyManagerWriter::BuildDocument(GlobalRecord(), store_, dtdFileName.view(),
                                                 static_cast<unsigned long>(::getpid()));
}

int ZRBPropertyManager::TempFilePaths(CADUnicodeString& dataPath, CADUnicodeString& dtdPath) {
  CADUnicodeString directory;
  if (FAILED(CADGetTempDirectory(directory)) || directory.IsEmpty()) {
    ZRB_DEBUG("Failed to get temporary Directory");
    return 0;
  }
  CADUnicodeString login;
  if (FAILED(CADGetLoginName(login)) || login.IsEmpty()) {
    ZRB_DEBUG("Failed to get UserLogin");
    return 0;
  }
  dataPath = CADMakePath(directory, login + "ZRBPropertyManager.xml");
  dtdPath = CADMakePath(directory, login + "ZRBPropertyManager.dtd");
  return 1;
}

int ZRBPropertyManager::WritePropertiesToTmp() {
  CADUnicodeString dataPath, dtdPath;
  if (!TempFilePaths(dataPath, dtdPath)) return 0;
  if (!WriteDTD(dtdPath)) return 0;
  return Write(dataPath, dtdPath);
}

int ZRBPropertyManager::ReadPropertiesFromTmp() {
  CADUnicodeString dataPath, dtdPath;
  if (!TempFilePaths(dataPath, dtdPath)) return 0;
  // Anyone may write to the temporary directory: only our own regular file counts.
  if (ZRBPropertyManagerFileIO::Exists(dataPath) && !ZRBPropertyManagerFileIO::IsOwnRegularFile(dataPath)) {
    ZRB_DEBUG("ZRB: %s is not a regular file of this user, not read", dataPath.c_str());
    Initialize();
    return 0;
  }
  return Read(dataPath);
}

// ---------------------------------------------------------------- records read from a file

void ZRBPropertyManager::AddProperty(std::unique_ptr<ZRBPropertyGlobal> record) {
  if (!record) return;
  ZRB_DEBUG("ZRB: PropertyManager: global record of the file not applied (%d properties), the session keeps its own",
            record->GetPropertyCount());
  globalRead_ = std::move(record);
}

void ZRBPropertyManager::AddProperty(std::unique_ptr<ZRBPropertyReference> record) { store_.Add(std::move(record)); }
void ZRBPropertyManager::AddProperty(std::unique_ptr<ZRBPropertyFile> record) { store_.Add(std::move(record)); }
void ZRBPropertyManager::AddProperty(std::unique_ptr<ZRBPropertyInstance> record) { store_.Add(std::move(record)); }
void ZRBPropertyManager::AddProperty(std::unique_ptr<ZRBPropertyPathToRoot> record) { store_.Add(std::move(record)); }

// ---------------------------------------------------------------- debugging

void ZRBPropertyManager::Dump() const {
  if (!ZRBTrace::IsOn()) return;
  auto dumpProperties = [](const ZRBPropertyContainer& record) {
    for (int i = 1; i <= record.GetPropertyCount(); ++i)
      ZRB_DEBUG("ZRB:     '%s' = '%s'", record.GetNames()[i].c_str(), record.GetValues()[i].c_str());
  };
  ZRB_DEBUG("ZRB: PropertyManager dump (last Id %d, temp counter %d)", store_.GetLastId(), GetTempCounter());
  if (const ZRBPropertyGlobal* global = GlobalRecord()) {
    ZRB_DEBUG("ZRB:   Global");
    dumpProperties(*global);
  }
  for (const auto& r : store_.References()) {
    ZRB_DEBUG("ZRB:   Reference Id %d PartNumber '%s' FullPath '%s' PropertySet %d", r->GetId(),
              r->GetPartNumber().c_str(), r->GetFullPath().c_str(), r->IsPropertySetFlag() ? 1 : 0);
    dumpProperties(*r);
  }
  for (const auto& f : store_.Files()) {
    ZRB_DEBUG("ZRB:   File '%s'", f->GetFullPath().c_str());
    dumpProperties(*f);
  }
  for (const auto& i : store_.Instances()) {
    ZRB_DEBUG("ZRB:   Instance ParentId %d '%s' ChildId %d", i->GetParentId(), i->GetChildInstanceName().c_str(),
              i->GetChildId());
    dumpProperties(*i);
  }
  for (const auto& p : store_.PathToRoots()) {
    ZRB_DEBUG("ZRB:   PathToRoot '%s'", p->GetPathToRoot().c_str());
    dumpProperties(*p);
  }
}
