// The objects of one exchange object file, in file order: reading, writing
// and lookup. The manager owns its objects; pointers it hands out die with
// ClearData, Read or the manager.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "CADRawCollPV.h"
#include "CADString.h"
#include "CADUnicodeString.h"
#include "ZRBObject.h"
#include "ZRBObjectStore.h"

class ZRBObjectReadObserver;

class ZRBObjectManager {
 public:
  // Lifecycle (the copy is deep: new objects, same keys and slots, same order)
  ZRBObjectManager();
  ZRBObjectManager(const ZRBObjectManager& other);
  ZRBObjectManager& operator=(const ZRBObjectManager& other);
  ~ZRBObjectManager();

  // File round trip
  // Clears, then reads every object up to the first line that is neither a
  // header nor a slot line. 1 when the file was read (even if it holds no
  // object), 0 when it cannot be opened or read.
  int Read(const CADUnicodeString& path);
  // The same, telling `observer` what each line became.
  int Read(const CADUnicodeString& path, ZRBObjectReadObserver& observer);
  // Writes every object; the file is replaced only when all was written.
  // 1 written, 0 failed (the old file, if any, is then untouched).
  int Write(const CADUnicodeString& path) const;

  // Creation. An empty key is replaced by the next value of a process-wide
  // counter ("0", "1" ...) that is not already a key in this manager.
  ZRBObject* CreateObject(CADString key);
  // A new object with a copy of the slots of the object GetObject finds for
  // `sourceKey` (no slots when there is none); own counter for empty keys.
  ZRBObject* CreateObjectByCopy(const CADString& sourceKey, CADString newKey);

  // Lookup (exact, case-sensitive comparison of keys, values and items)
  ZRBObject* GetObject(const CADString& key) const;
  ZRBObject* GetFirstObject() const;
  // The object after `current` (found by identity, else by its key); null
  // after the last one.
  ZRBObject* GetNextObject(ZRBObject* current) const;
  // The object whose "ZRB_PRIVATE_UPDATE_ID" is `id`: the object keyed `id` when it carries it, else the first.
  ZRBObject* GetObjectByPrivateUpdateId(const CADString& id) const;
  ZRBObject* GetObjectByAttrValue(const CADString& name, const CADString& value) const;
  // All objects whose slot equals the value, in order; never null. The list
  // belongs to the caller, the objects stay the manager's.
  std::unique_ptr<CADRawCollPV> GetObjectSetByAttrValue(const CADString& name, const CADString& value) const;
  ZRBObject* GetObjectBySetValue(const CADString& name, const CADString& value) const;
  int GetObjectCount() const { return static_cast<int>(objects_.Size()); }

  void ClearData();
  // Dump of every object to the trace output (only while tracing is on).
  void Dump() const;

  // Process-wide key counters: back to "0" (tests only).
  static void ResetKeyCountersForTest();

 private:
  int ReadFile(const CADUnicodeString& path, ZRBObjectReadObserver* observer);
  ZRBObject* Append(CADString key);
  CADString NextFreeKey(std::atomic<unsigned long>& counter) const;
  // Brings the first-object-per-key index up to the end of the list.
  void IndexKeys() const;

  ZRBObjectStore objects_;
  // Lookup caches, rebuilt lazily; keys never change once an object exists.
  mutable std::unordered_map<std::string, ZRBObject*> firstByKey_;
  mutable std::size_t indexed_ = 0;
  mutable std::size_t nextHint_ = 0;  // position GetNextObject returned last

  // Touched by whichever thread creates objects (the user-interface thread).
  static std::atomic<unsigned long> s_createCounter;
  static std::atomic<unsigned long> s_copyCounter;
};
