#include "ArchiveAnswer.h"

#include <expat.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "PlainFileName.h"
#include "VaultCatalog.h"

extern char** environ;

namespace pdmsim {
namespace fs = std::filesystem;

namespace {

constexpr const char* kDtdName = "ZRBArchive.dtd";

struct MemberReader {
  int depth = 0;
  bool rootSeen = false;
  bool capturing = false;
  std::string text;
  std::string error;
  std::vector<std::string>* members = nullptr;
};

void XMLCALL Start(void* data, const XML_Char* name, const XML_Char** attributes) {
  auto& reader = *static_cast<MemberReader*>(data);
  if (reader.depth++ == 0) {
    if (std::string_view(name) != "ZRBArchive") reader.error = "the document element is not ZRBArchive";
    return;
  }
  if (std::string_view(name) == "Root") {
    if (reader.rootSeen) reader.error = "a second Root";
    reader.rootSeen = true;
  }
  if (std::string_view(name) != "Attribute") return;
  for (int i = 0; attributes[i]; i += 2) {
    if (std::string_view(attributes[i]) == "Name" && std::string_view(attributes[i + 1]) == "FILENAME") {
      reader.capturing = true;
      reader.text.clear();
    }
  }
}

void XMLCALL End(void* data, const XML_Char*) {
  auto& reader = *static_cast<MemberReader*>(data);
  --reader.depth;
  if (!reader.capturing) return;
  reader.capturing = false;
  if (!IsPlainFileName(reader.text)) {
    reader.error = "a member name that is no plain file name: \"" + reader.text + "\"";
    return;
  }
  if (std::find(reader.members->begin(), reader.members->end(), reader.text) == reader.members->end())
    reader.members->push_back(reader.text);
}

void XMLCALL Text(void* data, const XML_Char* text, int length) {
  auto& reader = *static_cast<MemberReader*>(data);
  if (reader.capturing) reader.text.append(text, static_cast<std::size_t>(length));
}

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// The unzip program with its arguments as separate words: no shell ever sees a path.
bool Unzip(const std::string& archive, const std::string& directory, std::string& error) {
  std::vector<std::string> words = {"unzip", "-o", "-q", "-d", directory, archive};
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, "unzip", &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) {
    error = "the unzip program cannot be run";
    return false;
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    error = "unzip ended with status " + std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1);
    return false;
  }
  return true;
}

std::set<std::string, std::less<>> Words(const std::string& text) {
  std::set<std::string, std::less<>> words;
  std::string word;
  for (char c : text + ",") {
    if (c == ',' || c == ' ' || c == '\t') {
      if (!word.empty()) words.insert(word);
      word.clear();
    } else {
      word += c;
    }
  }
  return words;
}

}  // namespace

bool ArchiveStore::ReadMembers(const std::string& xml, std::vector<std::string>& members, std::string& error) {
  members.clear();
  MemberReader reader;
  reader.members = &members;
  XML_Parser parser = XML_ParserCreate("UTF-8");
  if (!parser) {
    error = "no XML parser";
    return false;
  }
  XML_SetUserData(parser, &reader);
  XML_SetElementHandler(parser, Start, End);
  XML_SetCharacterDataHandler(parser, Text);
  const bool parsed = XML_Parse(parser, xml.data(), static_cast<int>(xml.size()), 1) == XML_STATUS_OK;
  if (!parsed) {
    error = std::string("not well formed at line ") + std::to_string(XML_GetCurrentLineNumber(parser)) + ": " +
            XML_ErrorString(XML_GetErrorCode(parser));
  }
  XML_ParserFree(parser);
  if (!parsed) return false;
  if (reader.error.empty() && !reader.rootSeen) reader.error = "no Root";
  error = reader.error;
  return error.empty();
}

ArchiveContent ArchiveStore::CheckDirectory(const std::string& directory) {
  ArchiveContent content;
  std::error_code ec;
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(directory, ec))
    if (entry.is_regular_file(ec)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  if (std::find(names.begin(), names.end(), kDtdName) == names.end())
    content.problems.push_back(std::string("the archive holds no ") + kDtdName);
  // The structure file is the one XML file whose document element is the archive's.
  for (const std::string& name : names) {
    if (fs::path(name).extension() != ".xml") continue;
    std::vector<std::string> members;
    std::string error;
    const std::string xml = ReadAll(fs::path(directory) / name);
    if (xml.find("<ZRBArchive") == std::string::npos) continue;
    if (!content.structureFile.empty()) {
      content.problems.push_back("the archive holds two structure files: " + content.structureFile + ", " + name);
      continue;
    }
    content.structureFile = name;
    if (!ReadMembers(xml, members, error)) {
      content.problems.push_back("the structure file " + name + " is damaged: " + error);
      continue;
    }
    content.members = members;
  }
  if (content.structureFile.empty()) content.problems.push_back("the archive holds no structure file");
  for (const std::string& member : content.members)
    if (std::find(names.begin(), names.end(), member) == names.end())
      content.problems.push_back("the structure file names " + member + ", which the archive does not hold");
  return content;
}

ArchiveContent ArchiveStore::Check(const std::string& archivePath) {
  std::error_code ec;
  std::string pattern = (fs::temp_directory_path(ec) / "pdmsim-archive-XXXXXX").string();
  if (!mkdtemp(pattern.data())) {
    ArchiveContent failed;
    failed.problems.push_back("no scratch directory to unpack into");
    return failed;
  }
  ArchiveContent content;
  std::string error;
  if (!fs::is_regular_file(archivePath, ec)) {
    content.problems.push_back("there is no archive file " + archivePath);
  } else if (!Unzip(archivePath, pattern, error)) {
    content.problems.push_back("the archive " + archivePath + " cannot be unpacked: " + error);
  } else {
    content = CheckDirectory(pattern);
  }
  fs::remove_all(pattern, ec);
  return content;
}

namespace {
std::string StoredName(const std::string& partNumber) { return partNumber + ".zip"; }
std::string StoredKey(const std::string& partNumber) { return "archive.stored." + partNumber; }
}  // namespace

bool ArchiveStore::Keep(Vault& vault, const std::string& partNumber, const std::string& archivePath,
                        std::string& error) {
  if (!IsPlainFileName(StoredName(partNumber))) {
    error = "no archive can be kept for the part number \"" + partNumber + "\"";
    return false;
  }
  const ArchiveContent content = Check(archivePath);
  if (!content.Ok()) {
    error = content.problems.front();
    return false;
  }
  std::error_code ec;
  const fs::path directory = fs::path(vault.Directory()) / "archives";
  fs::create_directories(directory, ec);
  const fs::path target = directory / StoredName(partNumber);
  const fs::path temporary = directory / (StoredName(partNumber) + ".new");
  if (!fs::copy_file(archivePath, temporary, fs::copy_options::overwrite_existing, ec)) {
    error = "the archive cannot be kept: " + ec.message();
    return false;
  }
  fs::rename(temporary, target, ec);
  if (ec) {
    fs::remove(temporary, ec);
    error = "the archive cannot be kept: " + ec.message();
    return false;
  }
  vault.SetSetting(StoredKey(partNumber), content.structureFile);
  return true;
}

int ArchiveStore::Deliver(Vault& vault, ExchangeFile& answer, const std::vector<std::string>& partNumbers,
                          const std::string& exchangeMap) {
  VaultCatalog catalog(vault);
  int delivered = 0;
  for (const std::string& partNumber : partNumbers) {
    const std::optional<std::string> structure = vault.Setting(StoredKey(partNumber));
    if (!structure || !IsPlainFileName(StoredName(partNumber))) continue;
    std::error_code ec;
    const fs::path source = fs::path(vault.Directory()) / "archives" / StoredName(partNumber);
    const fs::path target = fs::path(exchangeMap) / StoredName(partNumber);
    ExchangeObject& root = answer.FindOrAdd("ROOT", true);
    if (!fs::copy_file(source, target, fs::copy_options::overwrite_existing, ec)) {
      root.Append("STATS", "Reference PDM: the archive of " + partNumber + " cannot be delivered: " + ec.message());
      continue;
    }
    ExchangeObject& object = answer.FindOrAdd("ZRBARCHIVE_" + std::to_string(++delivered), false);
    object.Set("CADCLASSNAME", "ZRBArchive");
    object.Set("PARTNUMBER", partNumber);
    object.Set("ARCHIVE_FILE", StoredName(partNumber));
    object.Set("CONTENT_FILE_NAME", *structure);
    // The archive's identity, as a save answers it: the session makes the loaded root an archive root with it.
    if (const std::optional<Item> item = catalog.FindItemByPartNumber(partNumber)) {
      object.Set("OBID", item->obid);
      object.Set("CLASSNAME", item->className);
      object.Set("DB_NAME", item->dbName);
      object.Set("CHANGEABLE", item->changeable ? "1" : "0");
      object.Set("ROOT_PART_NUMBER", partNumber);
      object.Set("RELATIVE_PATH", StoredName(partNumber));
    }
  }
  return delivered;
}

std::string AnswerValidateArchive(Vault& vault, ExchangeFile& request, const std::optional<Fault>& fault) {
  std::set<std::string, std::less<>> refused = Words(vault.Setting("archive.refuse_parts").value_or(""));
  if (fault) refused.insert(fault->validateFail.begin(), fault->validateFail.end());
  const bool needsFile = vault.Setting("archive.require_filename").value_or("ON") != "OFF";
  ExchangeObject& root = request.FindOrAdd("ROOT", true);
  std::vector<std::string> keys = {"ROOT"};
  for (const std::string& key : root.GetList("SUBASSEMBLIES")) keys.push_back(key);
  int failed = 0;
  for (const std::string& key : keys) {
    ExchangeObject* object = request.Find(key);
    if (!object) {
      root.Set("ACTION_SUCCESS", "0");
      root.Append("STATS", "Reference PDM: the archive member " + key + " is not in the request.");
      return "unknown member " + key;
    }
    const std::string partNumber = object->Get("PARTNUMBER");
    std::string reason;
    if (refused.count(partNumber)) {
      reason = " may not be archive content here.";
    } else if (needsFile && object->Get("FILENAME").empty()) {
      reason = " names no file.";
    }
    object->Set("VALIDATION_FAILED", reason.empty() ? "0" : "1");
    if (reason.empty()) continue;
    ++failed;
    object->Set("VALIDATION_MSG", "Reference PDM: " + partNumber + reason);
  }
  root.Set("ACTION_SUCCESS", "1");
  return std::to_string(keys.size()) + " archive objects, " + std::to_string(failed) + " refused";
}

ArchiveSaveReport ApplySaveArchives(Vault& vault, ExchangeFile& request, const std::string& exchangeMap) {
  ArchiveSaveReport report;
  VaultCatalog catalog(vault);
  for (ExchangeObject& object : request.Objects()) {
    const bool create = object.Get("CREATE_ARCHIVE_IN_PDM") == "1";
    // A known archive's node without "CONTENT_FILE_NAME" is only placed or left alone: nothing was packed.
    const bool again = !create && object.Get("CLASSNAME") == "x0CadArc" && !object.Get("OBID").empty() &&
                       !object.Get("PATH").empty() && !object.Get("CONTENT_FILE_NAME").empty();
    if (!create && !again) continue;
    const std::string partNumber = object.Get("PARTNUMBER");
    auto fail = [&](const std::string& line) {
      object.Set(create ? "CREATE_PART_SUCCESS" : "MODEL_UPD_SUCCESS", "0");
      // The save must not act on an archive it refused: no identity, no document.
      object.Set("OBID", "");
      object.Set("UPD_GEOMETRY", "");
      report.warnings.push_back("Reference PDM: archive " + partNumber + ": " + line);
      ++report.failed;
    };
    std::string path = object.Get("PATH");
    if (!path.empty() && !fs::path(path).is_absolute()) path = exchangeMap + "/" + path;
    std::optional<Item> item;
    if (create) {
      item = catalog.FindItemByPartNumber(partNumber);
      if (item && item->className != "x0CadArc") {
        fail("the part number is already used in the PDM.");
        continue;
      }
    } else {
      item = catalog.FindItem(object.Get("OBID"));
      if (!item || item->className != "x0CadArc") {
        fail("the PDM holds no archive " + object.Get("OBID") + ".");
        continue;
      }
    }
    std::string error;
    if (partNumber.empty() || (item && item->partNumber != partNumber)) {
      fail("the archive's part number does not match.");
      continue;
    }
    if (!ArchiveStore::Keep(vault, partNumber, path, error)) {
      fail(error + ".");
      continue;
    }
    if (!item) {
      Item fresh;
      fresh.partNumber = partNumber;
      fresh.kind = "part";  // the vault knows three kinds; the class tells an archive apart
      fresh.className = "x0CadArc";
      item = catalog.AddItem(fresh);
      ++report.created;
      object.Set("CREATE_PART_SUCCESS", "1");
    } else {
      catalog.TouchItem(item->obid);
      ++report.stored;
      object.Set("MODEL_UPD_SUCCESS", "1");
    }
    const std::string structure = vault.Setting(StoredKey(partNumber)).value_or("");
    object.Set("OBID", item->obid);
    object.Set("CLASSNAME", item->className);
    object.Set("DB_NAME", item->dbName);
    object.Set("CHANGEABLE", item->changeable ? "1" : "0");
    object.Set("ROOT_PART_NUMBER", partNumber);
    object.Set("CONTENT_FILE_NAME", structure);
    object.Set("RELATIVE_PATH", fs::path(path).filename().string());
    object.Set("EXTERNAL_LOCATION", object.Get("PATH"));
    const bool standAlone = object.Get("PARENT_OBID").empty();
    object.Set("IS_STAND_ALONE", standAlone ? "1" : "0");
    if (standAlone) object.Set("ORIG_PART_NUMBER", partNumber);
    object.SetList("STANDARD_ATTRS", {"CADRevision", "CADNomenclature", "CADDefinition", "CADDescription"});
    object.SetList("STANDARD_VALS", {item->revision, item->nomenclature, item->definition, item->description});
    // The packed file is the archive, not a document version of the item.
    object.Set("UPD_GEOMETRY", "");
    object.Set("CREATE_ARCHIVE_IN_PDM", "");
  }
  return report;
}

}  // namespace pdmsim
