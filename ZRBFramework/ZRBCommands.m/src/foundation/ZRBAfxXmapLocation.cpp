// Where the exchange map is.
#include <sys/stat.h>
#include <unistd.h>

#include <mutex>
#include <string>
#include <vector>

#include "CADSystemServices.h"
#include "ZRBAfxBase.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBTrace.h"

namespace {

// "a/./b//c/../d" as "a/b/d"; the text alone decides, so the result is only used once the file system agrees.
std::string Normalised(const std::string& absolute) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= absolute.size()) {
    std::size_t end = absolute.find('/', start);
    if (end == std::string::npos) end = absolute.size();
    const std::string part = absolute.substr(start, end - start);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    start = end + 1;
  }
  std::string result;
  for (const std::string& part : parts) result += "/" + part;
  return result.empty() ? "/" : result;
}

bool SameDirectory(const std::string& a, const std::string& b) {
  struct stat first {
  }, second{};
  return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
         first.st_ino == second.st_ino;
}

// The exchange map as an absolute path, worked out once for each value the variable takes: the PDM session runs
// in a directory of its own, and the module's own working directory may change under it.
std::string Absolute(const std::string& value) {
  std::string absolute = value;
  if (absolute.empty() || absolute[0] != '/') {
    std::vector<char> cwd(4096);
    if (!::getcwd(cwd.data(), cwd.size())) return value;
    absolute = std::string(cwd.data()) + "/" + value;
  }
  const std::string normalised = Normalised(absolute);
  // "sub/../" is only dropped where it leads to the same directory ("sub" might be a link elsewhere).
  if (normalised == absolute || SameDirectory(absolute, normalised)) return normalised;
  return absolute;
}

std::mutex g_resolvedMutex;
std::string g_resolvedFrom;  // the variable's value the resolution below belongs to
std::string g_resolved;

std::string Resolved(const std::string& value) {
  std::lock_guard<std::mutex> lock(g_resolvedMutex);
  if (g_resolved.empty() || g_resolvedFrom != value) {
    g_resolvedFrom = value;
    g_resolved = Absolute(value);
  }
  return g_resolved;
}

}  // namespace

int ZRBAfxBase::GetXMap(CADUnicodeString& path) {
  const char* value = g_ZRBConfig.GetEnvVar("ZRBXMAP", 1);
  // An empty value names no directory; taken as it is, it would put the
  // exchange map at the root of the file system.
  const int set = value && *value ? 1 : 0;
  if (set) {
    path = CADUnicodeString(Resolved(value));
  } else {
    const CADUnicodeString prefix = g_ZRBConfig.GetModulePrefix();
    const char* unprefixed = prefix.IsEmpty() ? nullptr : g_ZRBConfig.GetEnvVar("ZRBXMAP", 0);
    // No fallback to the other client's map: say plainly why the map set for it is not used.
    if (unprefixed && *unprefixed)
      ZRB_DEBUG("ZRB: %sZRBXMAP environment variable not set (ZRBXMAP is set but not used under the prefix %s)",
                prefix.c_str(), prefix.c_str());
    else
      ZRB_DEBUG("ZRB: %sZRBXMAP environment variable not set", prefix.c_str());
    CADGetTempDirectory(path);
  }
  // "/" alone stays the root rather than becoming "".
  if (path.GetLength() > 1 && path.EndsWith("/")) path = path.SubString(0, path.GetLength() - 1);
  ZRB_DEBUG("ZRB: Exchangemap set to %s", path.c_str());
  return set;
}

int ZRBAfxBase::GetXMapWithEndingSlash(CADUnicodeString& path) {
  const int set = GetXMap(path);
  if (!path.EndsWith("/")) path += "/";
  return set;
}
