#include "CADSettingRepository.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <map>
#include <memory>

namespace {

struct RegistryState {
  bool directoryOverridden = false;
  std::string directoryOverride;
  std::map<std::string, std::unique_ptr<CADSettingRepository>, std::less<>> repositories;
};

RegistryState& State() {
  static RegistryState state;
  return state;
}

bool IsPlainFileName(std::string_view name) {
  if (name.empty() || name.front() == '.') return false;
  for (char c : name)
    if (c == '/' || c == '\0') return false;
  return true;
}

bool ReadWholeFile(const std::string& path, std::string& content) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  content.clear();
  char buffer[8192];
  ssize_t n;
  while ((n = ::read(fd, buffer, sizeof buffer)) > 0) content.append(buffer, static_cast<size_t>(n));
  ::close(fd);
  return n == 0;
}

bool WriteAll(int fd, const std::string& data) {
  size_t done = 0;
  while (done < data.size()) {
    ssize_t n = ::write(fd, data.data() + done, data.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

bool ParseInt(std::string_view text, int& value) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return false;
  int parsed = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (error != std::errc() || end != text.data() + text.size()) return false;
  value = parsed;
  return true;
}

}  // namespace

// --- process-wide

HRESULT CADSettingRepository::ReadSetting(const CADString& repository, const CADString& name, int* value) {
  CADSettingRepository* settings = GetRepository(repository);
  return settings ? settings->ReadSetting(name, value) : E_FAIL;
}

CADSettingRepository* CADSettingRepository::GetRepository(const CADString& name) {
  if (!IsPlainFileName(name.view()) || GetSettingsDirectory().empty()) return nullptr;
  auto& repositories = State().repositories;
  auto it = repositories.find(name.view());
  if (it == repositories.end())
    it = repositories.emplace(name.str(), std::unique_ptr<CADSettingRepository>(new CADSettingRepository(name))).first;
  return it->second.get();
}

void CADSettingRepository::SetSettingsDirectory(std::string_view directory) {
  RegistryState& s = State();
  s.directoryOverridden = !directory.empty();
  s.directoryOverride = std::string(directory);
  s.repositories.clear();
}

std::string CADSettingRepository::GetSettingsDirectory() {
  RegistryState& s = State();
  if (s.directoryOverridden) return s.directoryOverride;
  const char* env = std::getenv("CAD_SETTINGS_DIR");
  return env ? std::string(env) : std::string();
}

void CADSettingRepository::ResetAll() { SetSettingsDirectory(""); }

std::string CADSettingRepository::GetFilePath() const {
  return GetSettingsDirectory() + "/" + name_.str() + ".settings";
}

// --- file

bool CADSettingRepository::Refresh() {
  std::string path = GetFilePath();
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
    present_ = false;
    file_ = CADSettingFile();
    mtimeNs_ = -1;
    return false;
  }
  long long mtime = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
  if (present_ && mtime == mtimeNs_ && static_cast<long long>(st.st_size) == size_ && st.st_ino == inode_) return true;
  std::string content;
  if (!ReadWholeFile(path, content)) {
    present_ = false;
    file_ = CADSettingFile();
    return false;
  }
  file_ = CADSettingFile::Parse(content, path);
  present_ = true;
  mtimeNs_ = mtime;
  size_ = static_cast<long long>(st.st_size);
  inode_ = st.st_ino;
  return true;
}

HRESULT CADSettingRepository::Store(const CADSettingFile& updated) {
  std::string directory = GetSettingsDirectory();
  if (directory.empty()) return E_FAIL;
  ::mkdir(directory.c_str(), 0700);  // the first write of a session may find no directory yet
  std::string path = GetFilePath();
  std::string temporary = path + ".tmp." + std::to_string(::getpid());
  const int flags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
  int fd = ::open(temporary.c_str(), flags, 0600);
  if (fd < 0 && errno == EEXIST) {  // left over by an earlier process of the same id
    ::unlink(temporary.c_str());
    fd = ::open(temporary.c_str(), flags, 0600);
  }
  if (fd < 0) return E_FAIL;
  bool ok = WriteAll(fd, updated.Render()) && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (!ok || ::rename(temporary.c_str(), path.c_str()) != 0) {
    ::unlink(temporary.c_str());
    return E_FAIL;
  }
  present_ = false;  // read back on next use, with the new identity
  Refresh();
  return S_OK;
}

int CADSettingRepository::IsProtected() { return Refresh() && file_.IsProtected() ? 1 : 0; }

// --- reading

HRESULT CADSettingRepository::ReadSetting(const CADString& name, int* value) {
  if (!value || !Refresh()) return E_FAIL;
  const std::string* text = file_.FindValue(name.view());
  return text && ParseInt(*text, *value) ? S_OK : E_FAIL;
}

HRESULT CADSettingRepository::ReadSetting(const CADString& name, CADString* value) {
  if (!value || !Refresh()) return E_FAIL;
  const std::string* text = file_.FindValue(name.view());
  if (!text) return E_FAIL;
  *value = CADString(*text);
  return S_OK;
}

HRESULT CADSettingRepository::ReadSetting(const CADString& name, CADUnicodeString* value) {
  if (!value || !Refresh()) return E_FAIL;
  const std::string* text = file_.FindValue(name.view());
  if (!text) return E_FAIL;
  *value = CADUnicodeString(*text);
  return S_OK;
}

HRESULT CADSettingRepository::ReadSetting(const CADString& name, CADListValCADUnicodeString* values) {
  std::vector<std::string> items;
  if (!values || !Refresh() || !file_.FindList(name.view(), items)) return E_FAIL;
  values->RemoveAll();
  for (const auto& item : items) values->Append(CADUnicodeString(item));
  return S_OK;
}

HRESULT CADSettingRepository::ReadSetting(const CADString& name, CADListValCADString* values) {
  std::vector<std::string> items;
  if (!values || !Refresh() || !file_.FindList(name.view(), items)) return E_FAIL;
  values->RemoveAll();
  for (const auto& item : items) values->Append(CADString(item));
  return S_OK;
}

// --- writing

HRESULT CADSettingRepository::WriteSetting(const CADString& name, int value) {
  return WriteSetting(name, CADUnicodeString(std::to_string(value)));
}

HRESULT CADSettingRepository::WriteSetting(const CADString& name, const CADUnicodeString& value) {
  if (!CADSettingFile::IsValidName(name.view())) return E_FAIL;
  Refresh();
  if (present_ && file_.IsProtected()) return E_FAIL;
  CADSettingFile updated = file_;
  updated.SetValue(name.view(), value.view());
  return Store(updated);
}

HRESULT CADSettingRepository::WriteSetting(const CADString& name, const CADListValCADUnicodeString& values) {
  if (!CADSettingFile::IsValidName(name.view())) return E_FAIL;
  Refresh();
  if (present_ && file_.IsProtected()) return E_FAIL;
  CADSettingFile updated = file_;
  std::vector<std::string> items;
  for (const auto& v : values) items.push_back(v.str());
  updated.SetList(name.view(), items);
  return Store(updated);
}
