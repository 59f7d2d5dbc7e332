// zrbtool content [--json] FILE: a cache directory's content file ("content.zrb")
// as the module reads it.
#include <sys/stat.h>

#include <ctime>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>
#include <memory>
#include <nlohmann/json.hpp>

#include "ZRBContentFileCodec.h"
#include "ZRBToolCommand.h"

#include "ZRBToolText.h"
#include "ZRBXmapFile.h"
#include "ZRBXmapManager.h"

namespace {

struct HeaderView {
  bool complete = false;
  std::string magic;
  std::uint32_t integers[3] = {0, 0, 0};
};

HeaderView ReadHeader(const std::string& path) {
  HeaderView header;
  std::ifstream in(path, std::ios::binary);
  char magic[ZRBXmapFile::kMagicLength];
  if (!in.read(magic, sizeof magic)) return header;
  header.magic.assign(magic, sizeof magic);
  for (std::uint32_t& value : header.integers)
    if (!ZRBContentFileCodec::ReadUInt32(in, value)) return header;
  header.complete = true;
  return header;
}

std::string Utc(std::uint32_t seconds) {
  std::time_t time = static_cast<std::time_t>(seconds);
  std::tm broken{};
  char text[32] = "";
  if (::gmtime_r(&time, &broken)) std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S UTC", &broken);
  return text;
}

// Bytes an entry took in the file.
std::uint64_t EntryBytes(const ZRBXmapFile& entry) { return static_cast<std::uint64_t>(entry.GetValidLength()) + 8; }

void PrintReadable(const std::string& path, const HeaderView& header, int read,
                   const std::vector<const ZRBXmapFile*>& entries, std::ostream& out) {
  out << "file    " << path << "\n";
  if (!header.complete) {
    out << "header  cut short (" << ZRBXmapFile::kHeaderLength << " bytes needed)\n";
  } else {
    out << "header  " << ZRBToolText::Quote(header.magic) << " " << header.integers[0] << " " << header.integers[1]
        << " " << header.integers[2];
    if (header.magic != ZRBXmapFile::kMagic)
      out << "  (another version: ignored)";
    else if (header.integers[0] == 0x04000000u)
      out << "  (written with the other byte order: ignored)";
    else if (header.integers[0] != 4 || header.integers[1] != 4 || header.integers[2] != 4)
      out << "  (unknown layout: ignored)";
    out << "\n";
  }
  out << "read    " << read << "\n";
  int index = 0;
  for (const ZRBXmapFile* entry : entries) {
    out << "\n[" << ++index << "] " << entry->GetFileName() << "\n";
    if (entry->GetSortKey() != entry->GetFileName()) out << "    sort key           " << entry->GetSortKey() << "\n";
    out << "    obid               " << entry->GetObid() << "\n"
        << "    modification date  " << entry->GetModificationDate() << "\n"
        << "    database           " << entry->GetDbName() << "\n"
        << "    class              " << entry->GetClassName() << "\n"
        << "    file time          " << entry->GetFileModTime() << "  " << Utc(entry->GetFileModTime()) << "\n"
        << "    last access        " << entry->GetLastAccess() << "  " << Utc(entry->GetLastAccess()) << "\n"
        << "    size               " << entry->GetFileSize() << " bytes\n";
  }
  if (!entries.empty()) out << "\n";
  out << entries.size() << (entries.size() == 1 ? " entry\n" : " entries\n");
}

void PrintJson(int read, const std::vector<const ZRBXmapFile*>& entries, std::ostream& out) {
  nlohmann::ordered_json list = nlohmann::ordered_json::array();
  for (const ZRBXmapFile* entry : entries)
    list.push_back({{"fileModTime", entry->GetFileModTime()},
                    {"lastAccess", entry->GetLastAccess()},
                    {"fileSize", entry->GetFileSize()},
                    {"obid", ZRBToolText::Utf8(entry->GetObid())},
                    {"modificationDate", ZRBToolText::Utf8(entry->GetModificationDate())},
                    {"fileName", ZRBToolText::Utf8(entry->GetFileName())},
                    {"dbName", ZRBToolText::Utf8(entry->GetDbName())},
                    {"className", ZRBToolText::Utf8(entry->GetClassName())},
                    {"sortKey", ZRBToolText::Utf8(entry->GetSortKey())}});
  out << nlohmann::ordered_json{{"read", read}, {"entries", std::move(list)}}.dump(2) << "\n";
}

int RunContent(bool json, const std::string& path, std::ostream& out, std::ostream& err) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || !std::ifstream(path, std::ios::binary)) {
    err << "zrbtool content: cannot read '" << path << "'\n";
    return kZRBToolFileProblem;
  }
  ZRBXmapManager manager;
  manager.SetContentFileFullPath(CADUnicodeString(path));
  const int read = manager.ReadContentFile();
  const std::vector<const ZRBXmapFile*> entries = manager.GetEntries();
  const HeaderView header = ReadHeader(path);
  if (json)
    PrintJson(read, entries, out);
  else
    PrintReadable(path, header, read, entries, out);

  if (!read) {
    err << "zrbtool content: the header is cut short; the module reads no entry\n";
    return kZRBToolFileProblem;
  }
  if (!header.complete || header.magic != ZRBXmapFile::kMagic || header.integers[0] != 4 || header.integers[1] != 4 ||
      header.integers[2] != 4) {
    err << "zrbtool content: another version or byte order; the module ignores the file and replaces it\n";
    return kZRBToolFileProblem;
  }
  std::uint64_t used = ZRBXmapFile::kHeaderLength;
  for (const ZRBXmapFile* entry : entries) used += EntryBytes(*entry);
  if (used < static_cast<std::uint64_t>(info.st_size)) {
    err << "zrbtool content: reading stopped at byte " << used << " of " << info.st_size
        << "; the entries from there on are ignored\n";
    return kZRBToolFileProblem;
  }
  return kZRBToolOk;
}

ZRBToolRun DefineContent(CLI::App& sub) {
  struct Options {
    bool json = false;
    std::string file;
  };
  auto o = std::make_shared<Options>();
  sub.add_flag("--json", o->json, "print the entries as JSON");
  sub.add_option("FILE", o->file, "the content file")->required();
  return [o](std::ostream& out, std::ostream& err) { return RunContent(o->json, o->file, out, err); };
}

const ZRBToolRegistration registration{{
    "content",
    "content [--json] FILE",
    "print the entries of a cache content file (content.zrb)",
    "Prints the header and every entry the module keeps when it reads the\n"
    "content file of a cache directory, in list order (by sort key): file\n"
    "name, PDM identity, the file's time and size when it was registered, and\n"
    "the time of last access. Times are seconds since 1970, shown in UTC too.\n\n"
    "  --json   print {\"read\": R, \"entries\": [{\"fileModTime\": N, \"lastAccess\": N,\n"
    "           \"fileSize\": N, \"obid\": S, \"modificationDate\": S, \"fileName\": S,\n"
    "           \"dbName\": S, \"className\": S, \"sortKey\": S}, ...]} instead, where R\n"
    "           is what the module's reading returns (0: header cut short).\n\n"
    "Exit code 1 when the module would ignore part or all of the file (another\n"
    "version, another byte order, a damaged entry); a note goes to the error\n"
    "stream.\n",
    &DefineContent,
}};

}  // namespace
