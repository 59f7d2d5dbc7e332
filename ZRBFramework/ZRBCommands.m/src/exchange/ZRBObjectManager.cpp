#include "ZRBObjectManager.h"

#include <cstdio>

#include "ZRBObjectLineReader.h"
#include "ZRBObjectReadObserver.h"
#include "ZRBReplacingFile.h"
#include "ZRBTrace.h"

namespace {
struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Bytes gathered before each write of the file.
constexpr std::size_t kWriteChunk = 256 * 1024;
}  // namespace

std::atomic<unsigned long> ZRBObjectManager::s_createCounter{0};
std::atomic<unsigned long> ZRBObjectManager::s_copyCounter{0};

// ---- lifecycle -------------------------------------------------------------

ZRBObjectManager::ZRBObjectManager() = default;

ZRBObjectManager::ZRBObjectManager(const ZRBObjectManager& other) {
  objects_.Reserve(other.objects_.Size());
  // Stored values already obey every slot rule, so they are copied as they are.
  for (const ZRBObject* object : other.objects_) Append(object->key_)->CopySlotsFrom(*object);
}

ZRBObjectManager& ZRBObjectManager::operator=(const ZRBObjectManager& other) {
  if (this != &other) {
    ZRBObjectManager copy(other);
    objects_.Swap(copy.objects_);
    firstByKey_.clear();
    indexed_ = 0;
    nextHint_ = 0;
  }
  return *this;
}

ZRBObjectManager::~ZRBObjectManager() = default;

void ZRBObjectManager::ClearData() {
  ZRB_TRACE("ZRBObjectManager::ClearData");
  objects_.Clear();
  firstByKey_.clear();
  indexed_ = 0;
  nextHint_ = 0;
  ZRB_TRACE_OK();
}

void ZRBObjectManager::ResetKeyCountersForTest() {
  s_createCounter = 0;
  s_copyCounter = 0;
}

// ---- file round trip -------------------------------------------------------

int ZRBObjectManager::Read(const CADUnicodeString& path) { return ReadFile(path, nullptr); }

int ZRBObjectManager::Read(const CADUnicodeString& path, ZRBObjectReadObserver& observer) {
  return ReadFile(path, &observer);
}

int ZRBObjectManager::ReadFile(const CADUnicodeString& path, ZRBObjectReadObserver* observer) {
  ZRB_TRACE("ZRBObjectManager::Read");
  ClearData();
  FilePtr file(std::fopen(path.ConvertToChar(), "rb"));
  if (!file) {
    ZRB_DEBUG("ZRBObjectManager: Could not open file %s", path.c_str());
    return 0;
  }
  ZRBObjectLineReader reader(file.get());
  reader.SkipByteOrderMark();
  for (;;) {
    const ZRBObject* previous = objects_.Back();
    if (!objects_.Create(CADString())->Read(reader, observer, previous)) {
      objects_.PopBack();
      break;
    }
  }
  if (reader.Failed()) {
    // A half-read answer must not pass for the whole one.
    ZRB_DEBUG("ZRBObjectManager: Could not read file %s", path.c_str());
    ClearData();
    return 0;
  }
  ZRB_TRACE_OK();
  return 1;
}

int ZRBObjectManager::Write(const CADUnicodeString& path) const {
  ZRB_TRACE("ZRBObjectManager::Write");
  ZRBReplacingFile writer;
  if (!writer.Open(path.view())) {
    ZRB_DEBUG("ZRBObjectManager: Could not write file %s", path.c_str());
    ZRB_DEBUG("ZRBObjectManager: %s", writer.Error().c_str());
    return 0;
  }
  std::string chunk;
  chunk.reserve(kWriteChunk + kWriteChunk / 4);
  bool written = true;
  for (const ZRBObject* object : objects_) {
    if (!object->AppendLines(chunk)) {
      ZRB_DEBUG("ZRBObjectManager: an object key is empty without CR and LF");
      written = false;
      break;
    }
    chunk += '\n';
    if (chunk.size() >= kWriteChunk) {
      if (!writer.Write(chunk)) {
        written = false;
        break;
      }
      chunk.clear();
    }
  }
  written = written && writer.Write(chunk) && writer.Commit();
  if (!written) {
    ZRB_DEBUG("ZRBObjectManager: problem writing to file %s", path.c_str());
    if (!writer.Error().empty()) ZRB_DEBUG("ZRBObjectManager: %s", writer.Error().c_str());
    return 0;
  }
  ZRB_TRACE_OK();
  return 1;
}

// ---- creation --------------------------------------------------------------

ZRBObject* ZRBObjectManager::Append(CADString key) { return objects_.Create(std::move(key)); }

CADString ZRBObjectManager::NextFreeKey(std::atomic<unsigned long>& counter) const {
  for (;;) {
    CADString key = CADString::BuildFromNum("%lu", counter.fetch_add(1));
    if (GetObject(key) == nullptr) return key;
  }
}

ZRBObject* ZRBObjectManager::CreateObject(CADString key) {
  ZRB_TRACE("ZRBObjectManager::CreateObject");
  if (key.IsEmpty()) key = NextFreeKey(s_createCounter);
  ZRBObject* object = Append(std::move(key));
  ZRB_TRACE_OK();
  return object;
}

ZRBObject* ZRBObjectManager::CreateObjectByCopy(const CADString& sourceKey, CADString newKey) {
  ZRB_TRACE("ZRBObjectManager::CreateObjectByCopy");
  const ZRBObject* source = GetObject(sourceKey);
  if (source != nullptr)
    source->Dump();
  else
    ZRB_DEBUG("ZRBObjectManager: no object [%s] to copy, the new object has no slots", sourceKey.c_str());
  if (newKey.IsEmpty()) newKey = NextFreeKey(s_copyCounter);
  ZRBObject* copy = Append(std::move(newKey));
  if (source != nullptr) copy->CopySlotsFrom(*source);
  ZRB_TRACE_OK();
  return copy;
}

// ---- lookup ----------------------------------------------------------------

void ZRBObjectManager::IndexKeys() const {
  for (; indexed_ < objects_.Size(); ++indexed_) firstByKey_.emplace(objects_[indexed_]->KeyText(), objects_[indexed_]);
}

ZRBObject* ZRBObjectManager::GetObject(const CADString& key) const {
  IndexKeys();
  auto found = firstByKey_.find(key.str());
  if (found != firstByKey_.end() && found->second->KeyText() != key.str()) {
    // An object of ours was re-read from a file under another key.
    firstByKey_.clear();
    indexed_ = 0;
    IndexKeys();
    found = firstByKey_.find(key.str());
  }
  return found == firstByKey_.end() ? nullptr : found->second;
}

ZRBObject* ZRBObjectManager::GetFirstObject() const { return objects_.Empty() ? nullptr : objects_[0]; }

ZRBObject* ZRBObjectManager::GetNextObject(ZRBObject* current) const {
  if (current == nullptr) return nullptr;
  const std::size_t size = objects_.Size();
  std::size_t pos = size;
  if (nextHint_ < size && objects_[nextHint_] == current) {
    pos = nextHint_;
  } else {
    for (std::size_t i = 0; i < size; ++i)
      if (objects_[i] == current) {
        pos = i;
        break;
      }
  }
  if (pos == size) {
    // Not one of ours (a copy's object, say): the first object with its key.
    for (std::size_t i = 0; i < size; ++i)
      if (objects_[i]->KeyText() == current->KeyText()) {
        pos = i;
        break;
      }
  }
  if (pos + 1 >= size) return nullptr;
  nextHint_ = pos + 1;
  return objects_[pos + 1];
}

ZRBObject* ZRBObjectManager::GetObjectByPrivateUpdateId(const CADString& id) const {
  // The module gives every object its own key as its id, so the keyed lookup finds it at once (an update matches
  // every node: a scan each would be quadratic); the scan stays for files whose objects were keyed otherwise.
  static constexpr std::string_view kSlot = "ZRB_PRIVATE_UPDATE_ID";
  ZRBObject* keyed = GetObject(id);
  if (keyed && keyed->SlotEquals(kSlot, id.view())) return keyed;
  return GetObjectByAttrValue(CADString(kSlot), id);
}

ZRBObject* ZRBObjectManager::GetObjectByAttrValue(const CADString& name, const CADString& value) const {
  for (ZRBObject* object : objects_)
    if (object->SlotEquals(name.view(), value.view())) return object;
  return nullptr;
}

std::unique_ptr<CADRawCollPV> ZRBObjectManager::GetObjectSetByAttrValue(const CADString& name,
                                                                        const CADString& value) const {
  auto set = std::make_unique<CADRawCollPV>();
  for (ZRBObject* object : objects_)
    if (object->SlotEquals(name.view(), value.view())) set->Append(object);
  return set;
}

ZRBObject* ZRBObjectManager::GetObjectBySetValue(const CADString& name, const CADString& value) const {
  for (ZRBObject* object : objects_)
    if (object->GetSlotValueList(name).Locate(value) != 0) return object;
  return nullptr;
}

void ZRBObjectManager::Dump() const {
  if (!ZRBTrace::IsOn()) return;
  for (const ZRBObject* object : objects_) object->Dump();
}
