#include "ExchangeTestSupport.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <vector>

#include "ZRBConfigTopicManager.h"
#include "ZRBObjectManager.h"
#include "ZRBTrace.h"

ScratchDir::ScratchDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "zrb-exchange-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ignored);
  std::filesystem::remove_all(path_, ignored);
}

std::string ScratchDir::Listing() const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(path_)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  std::string out;
  for (const auto& n : names) out += (out.empty() ? "" : " ") + n;
  return out;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  if (!out) throw std::runtime_error("cannot write " + path);
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string TestData(const std::string& name) { return std::string(ZRB_TEST_DATA_DIR) + "/exchange/" + name; }

std::string Describe(const ZRBObjectManager& manager) {
  std::string out;
  for (ZRBObject* o = manager.GetFirstObject(); o != nullptr; o = manager.GetNextObject(o)) {
    if (!out.empty()) out += "|";
    out += "@" + o->GetKey().str();
    CADListValCADString names, values;
    o->GetAllSlots(names, values);
    for (int i = 1; i <= names.Size(); ++i) out += " " + names[i].str() + "=" + values[i].str();
  }
  return out;
}

TraceCapture::TraceCapture() : previous_(g_ZRBConfig.GetDebug()) {
  ZRBTrace::SetStream(&out_);
  g_ZRBConfig.SetDebug(1);
}

TraceCapture::~TraceCapture() {
  g_ZRBConfig.SetDebug(previous_);
  ZRBTrace::SetStream(nullptr);
}
