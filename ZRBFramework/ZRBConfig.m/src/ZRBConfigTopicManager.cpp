#include "ZRBConfigTopicManager.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "ZRBConfigFileReader.h"

ZRBConfigTopicManager g_ZRBConfig;

namespace {
// The name is read without module prefix: the files are read at library
// load, before any command has chosen its client.
constexpr const char* kDebugVariable = "ZRB_DEBUG";
constexpr const char* kConfigFileVariable = "ZRB_CONFIG_FILE";

// Length of the longest prefix of text within limit bytes that does not end
// inside a UTF-8 sequence.
size_t Utf8SafeCut(std::string_view text, size_t limit) {
  if (text.size() <= limit) return text.size();
  size_t cut = limit;
  // Back off over continuation bytes to the lead byte of the cut sequence.
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return cut;
}
}  // namespace

ZRBConfigTopicManager::ZRBConfigTopicManager() : debug_(ParseDebugValue(std::getenv(kDebugVariable))) {
  LoadConfigFile(std::getenv(kConfigFileVariable));
}

ZRBConfigTopicManager::~ZRBConfigTopicManager() = default;

int ZRBConfigTopicManager::ParseDebugValue(const char* value) {
  if (!value || !*value) return 0;
  if (std::strcmp(value, "ON") == 0) return 1;
  errno = 0;
  char* end = nullptr;
  long n = std::strtol(value, &end, 10);
  while (end && (*end == ' ' || *end == '\t')) ++end;
  if (end == value || *end != '\0') return 0;
  // A number too large for an int is still a non-zero integer.
  if (errno == ERANGE || n > INT_MAX || n < INT_MIN) return 1;
  return static_cast<int>(n);
}

// --- environment

void ZRBConfigTopicManager::SetModulePrefix(const CADUnicodeString prefix) { environment_.SetPrefix(prefix.view()); }

CADUnicodeString ZRBConfigTopicManager::GetModulePrefix() const { return CADUnicodeString(environment_.GetPrefix()); }

const char* ZRBConfigTopicManager::GetEnvVar(const char* name, const int applyPrefix) const {
  return environment_.Get(name, applyPrefix != 0);
}

int ZRBConfigTopicManager::CompareEnvVar(const char* name, const char* value, const int applyPrefix) const {
  return environment_.Compare(name, value, applyPrefix != 0) ? 1 : 0;
}

int ZRBConfigTopicManager::ChangeEnvVar(const char* name, const char* value, const int applyPrefix) const {
  return environment_.Change(name, value, applyPrefix != 0) ? 1 : 0;
}

// --- categories and properties

int ZRBConfigTopicManager::GetFileCategory(const char* documentType, const char* fileName, char* category, int size,
                                           int* link) const {
  if (category && size > 0) category[0] = '\0';
  if (link) *link = 0;
  if (!documentType) return 0;
  for (const ZRBConfigFileCategory& entry : data_.FileCategories()) {
    if (!entry.Matches(documentType, fileName ? fileName : "")) continue;
    if (category && size > 0) {
      size_t n = Utf8SafeCut(entry.category, static_cast<size_t>(size) - 1);
      std::memcpy(category, entry.category.data(), n);
      category[n] = '\0';
    }
    if (link) *link = entry.link;
    return 1;
  }
  return 0;
}

int ZRBConfigTopicManager::GetPartCategories(CADListValCADUnicodeString& names,
                                             CADListValCADUnicodeString& displayNames) const {
  for (const ZRBConfigData::PartCategory& c : data_.PartCategories()) {
    names.Append(CADUnicodeString(c.name));
    displayNames.Append(CADUnicodeString(c.displayName));
  }
  return static_cast<int>(data_.PartCategories().size());
}

int ZRBConfigTopicManager::GetDefaultPartCategory(CADUnicodeString& name) const {
  name = CADUnicodeString(data_.DefaultPartCategory());
  return data_.DefaultPartCategory().empty() ? 0 : 1;
}

int ZRBConfigTopicManager::GetPartCategoryDisplayName(const CADUnicodeString& name,
                                                      CADUnicodeString& displayName) const {
  for (const ZRBConfigData::PartCategory& c : data_.PartCategories()) {
    if (c.name == name.view()) {
      displayName = CADUnicodeString(c.displayName);
      return 1;
    }
  }
  displayName = CADUnicodeString();
  return 0;
}

int ZRBConfigTopicManager::GetUserDefProps(CADListValCADUnicodeString& names) const {
  for (const std::string& name : data_.UserDefProps()) names.Append(CADUnicodeString(name));
  return static_cast<int>(data_.UserDefProps().size());
}

// --- feature extensions

const ZRBFeatureExtension* ZRBConfigTopicManager::GetFirstFeatureExtension() const {
  return data_.FirstFeatureExtension();
}

const ZRBFeatureExtensionAttribute* ZRBConfigTopicManager::GetFirstFeatureExtensionAttribute(
    const ZRBFeatureExtension* extension) const {
  return extension ? extension->GetFirstAttribute() : nullptr;
}

// --- diagnostics

void ZRBConfigTopicManager::Dump(std::ostream& out) const {
  out << "ZRBConfigTopicManager\n";
  out << "  debug: " << GetDebug() << "\n";
  out << "  module prefix: \"" << environment_.GetPrefix() << "\"\n";
  out << "  configuration file: " << (configFile_.empty() ? "(none)" : "\"" + configFile_ + "\"");
  if (!loadError_.empty()) out << " not used: " << loadError_;
  out << "\n";
  for (const auto& [name, value] : environment_.Overrides()) {
    if (value)
      out << "  changed variable: " << name << "=\"" << *value << "\"\n";
    else
      out << "  changed variable: " << name << " (not set)\n";
  }
  for (const ZRBConfigFileCategory& c : data_.FileCategories())
    out << "  file category: type=\"" << c.documentType << "\" pattern=\"" << c.namePattern << "\" category=\""
        << c.category << "\" link=" << c.link << "\n";
  for (const ZRBConfigData::PartCategory& c : data_.PartCategories())
    out << "  part category: \"" << c.name << "\" display=\"" << c.displayName << "\""
        << (c.name == data_.DefaultPartCategory() ? " (default)" : "") << "\n";
  for (const std::string& name : data_.UserDefProps()) out << "  user-defined property: \"" << name << "\"\n";
  for (const ZRBFeatureExtension* e = data_.FirstFeatureExtension(); e; e = e->GetNext()) {
    out << "  feature extension: container=\"" << e->GetContainerID() << "\" client=\"" << e->GetClientID()
        << "\" type=\"" << e->GetType() << "\"\n";
    for (const ZRBFeatureExtensionAttribute* a = e->GetFirstAttribute(); a; a = a->GetNext())
      out << "    attribute: \"" << a->GetName() << "\" format=\"" << a->GetFormat() << "\"\n";
  }
  for (const auto& b : data_.Behaviors())
    out << "  behavior: type=\"" << b->GetBehaviorType() << "\" behavior=\"" << b->GetBehavior() << "\" prefix=\""
        << b->GetPartNumberPrefix() << "\"\n";
  out.flush();
}

void ZRBConfigTopicManager::SetDiagnosticStream(std::ostream* stream) {
  std::lock_guard<std::mutex> lock(diagnosticMutex_);
  diagnosticStream_ = stream;
}

void ZRBConfigTopicManager::DiagnosticLine(const std::string& line) const {
  if (!GetDebug()) return;
  std::string whole = line + "\n";
  std::lock_guard<std::mutex> lock(diagnosticMutex_);
  std::ostream& out = diagnosticStream_ ? *diagnosticStream_ : std::cout;
  out << whole;
  out.flush();
}

// --- loading

int ZRBConfigTopicManager::LoadConfigFile(const char* path) {
  data_ = ZRBConfigData();
  loadError_.clear();
  configFile_ = path ? path : "";
  if (configFile_.empty()) return 1;
  std::string error;
  std::optional<ZRBConfigData> data = ZRBConfigFileReader::ReadFile(configFile_, error);
  if (!data) {
    loadError_ = error;
    DiagnosticLine("ZRB: ZRBConfigTopicManager: configuration file '" + configFile_ + "' not used (" + error +
                   "); no categories, extensions or behaviors are configured");
    return 0;
  }
  data_ = std::move(*data);
  return 1;
}

void ZRBConfigTopicManager::SetConfigData(ZRBConfigData data) {
  data_ = std::move(data);
  loadError_.clear();
  configFile_.clear();
}

void ZRBConfigTopicManager::Unload() {
  data_ = ZRBConfigData();
  configFile_.clear();
  loadError_.clear();
}

void ZRBConfigTopicManager::ResetForTests() {
  environment_.Reset();
  Unload();
  SetDebug(ParseDebugValue(std::getenv(kDebugVariable)));
}
