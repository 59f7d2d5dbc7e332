// The add-temporary command's clean-up of the PDM side's backup directory X/"temp.zrb".
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "ZRBAddTempCmd.h"
#include "ZRBAfx.h"
#include "ZRBTrace.h"

namespace {

namespace fs = std::filesystem;

// Backups are flat; a deeper tree is no backup of ours, and its depth must not exhaust the stack.
constexpr int kMaxDepth = 32;

// Deletes what lies below `directory`, depth first. Nothing is followed: a symbolic link is removed as the link
// it is, so its target (perhaps outside the exchange map) is never touched. 1 when everything went.
int EmptyDirectory(const fs::path& directory, int depth = 0) {
  if (depth >= kMaxDepth) {
    ZRB_DEBUG("Could not delete backup file %s (nested too deep)", directory.c_str());
    return 0;
  }
  std::error_code error;
  fs::directory_iterator it(directory, fs::directory_options::none, error);
  if (error) return 0;
  int allGone = 1;
  for (const fs::directory_iterator end; it != end; it.increment(error)) {
    const fs::path entry = it->path();
    // lstat, not the iterator's cached type: the entry may have changed since the directory was read.
    struct stat status {};
    if (::lstat(entry.c_str(), &status) != 0) continue;
    if (S_ISDIR(status.st_mode) && !EmptyDirectory(entry, depth + 1)) allGone = 0;
    const int removed = S_ISDIR(status.st_mode) ? ::rmdir(entry.c_str()) : ::unlink(entry.c_str());
    if (removed != 0) {
      ZRB_DEBUG("Could not delete backup file %s", entry.c_str());
      allGone = 0;
    }
    if (error) break;
  }
  return error ? 0 : allGone;
}

}  // namespace

void ZRBAddTempCmd::RemoveBackupDirectory(const CADUnicodeString& xmap) {
  ZRB_TRACE("ZRBAddTempCmd::RemoveBackupDirectory");
  const CADUnicodeString backups = ZRBAfx::MakePath(xmap, CADUnicodeString(kBackupDirectoryName));
  struct stat status {};
  if (::lstat(backups.c_str(), &status) != 0) {
    ZRB_TRACE_OK();  // none was made
    return;
  }
  if (!S_ISDIR(status.st_mode)) {
    // A link (or file) in the directory's place: the entry goes, whatever it points at stays.
    if (::unlink(backups.c_str()) != 0) ZRB_DEBUG("Could not delete add temp directory %s", backups.c_str());
    return;
  }
  EmptyDirectory(fs::path(backups.str()));
  if (::rmdir(backups.c_str()) != 0) {
    ZRB_DEBUG("Could not delete add temp directory %s", backups.c_str());
    return;
  }
  ZRB_TRACE_OK();
}
