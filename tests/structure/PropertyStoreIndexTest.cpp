// The store's lookups stay right while records change keys, share keys,
// leave and come back: checked against a plain linear scan, plus the cases
// the scan cannot see (foreign records, moved stores).
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "CADSystemServices.h"
#include "ZRBPropertyManagerStore.h"

namespace {

using Field = ZRBPropertyReference::Field;

TEST(ZRBPropertyManagerStoreIndex, RemovalIgnoresForeignPointersAndReAddingGoesLast) {
  ZRBPropertyManagerStore store, other;
  ZRBPropertyPathToRoot* a = store.FindOrCreatePathToRoot("/A.1");
  ZRBPropertyPathToRoot* b = store.FindOrCreatePathToRoot("/B.1");
  store.FindOrCreatePathToRoot("/C.1");
  store.RemovePathToRoot(other.FindOrCreatePathToRoot("/A.1"));  // another store's record
  store.RemovePathToRoot(nullptr);
  EXPECT_EQ(store.FindPathToRoot("/A.1"), a);
  store.RemovePathToRoot(a);
  store.RemovePathToRoot(a);  // already gone: nothing happens
  EXPECT_EQ(store.FindPathToRoot("/A.1"), nullptr);
  EXPECT_EQ(other.FindPathToRoot("/A.1")->GetPathToRoot(), CADUnicodeString("/A.1"));
  ZRBPropertyPathToRoot* again = store.FindOrCreatePathToRoot("/A.1");
  std::vector<CADUnicodeString> order;
  for (const auto& p : store.PathToRoots()) order.push_back(p->GetPathToRoot());
  EXPECT_EQ(order, (std::vector<CADUnicodeString>{"/B.1", "/C.1", "/A.1"}));
  // Listing closed the gap; a removal after that still finds its slot.
  store.RemovePathToRoot(b);
  store.RemovePathToRoot(again);
  ASSERT_EQ(store.PathToRoots().size(), 1u);
  EXPECT_EQ(store.PathToRoots()[0]->GetPathToRoot(), CADUnicodeString("/C.1"));
}

TEST(ZRBPropertyManagerStoreIndex, MovedStoreKeepsHearingOfKeyChanges) {
  ZRBPropertyManagerStore first;
  ZRBPropertyInstance* instance = first.FindOrCreateInstance(1, "P.1");
  ZRBPropertyManagerStore second(std::move(first));
  EXPECT_TRUE(first.Instances().empty());
  ZRBPropertyManagerStore third;
  third = std::move(second);
  instance->SetChildInstanceName("P.2");
  EXPECT_EQ(third.FindInstance(1, "P.2"), instance);
  EXPECT_EQ(third.FindInstance(1, "P.1"), nullptr);
  first.FindOrCreateInstance(1, "P.1");  // the source is a working store
  EXPECT_EQ(first.Instances().size(), 1u);
  // A copy of a stored record belongs to no store.
  ZRBPropertyInstance copy(*instance);
  copy.SetChildInstanceName("P.3");
  EXPECT_EQ(third.FindInstance(1, "P.3"), nullptr);
}

// ------------------------------------------------ against a linear-scan model

// The store as it was before it had an index: records in store order, every
// lookup a scan for the first match.
struct LinearModel {
  std::vector<ZRBPropertyReference*> references;
  std::vector<ZRBPropertyInstance*> instances;
  std::vector<ZRBPropertyFile*> files;
  std::vector<ZRBPropertyPathToRoot*> paths;

  template <class R, class P>
  static R* First(const std::vector<R*>& records, P matches) {
    for (R* r : records)
      if (matches(*r)) return r;
    return nullptr;
  }
  ZRBPropertyReference* Reference(const CADUnicodeString& pn) const {
    return First(references, [&](auto& r) { return !pn.IsEmpty() && r.GetPartNumber() == pn; });
  }
  ZRBPropertyInstance* Instance(int parent, const CADUnicodeString& name) const {
    return First(instances, [&](auto& i) { return i.GetParentId() == parent && i.GetChildInstanceName() == name; });
  }
  std::string FileName(const CADUnicodeString& path) const {
    std::string p = path.str();
    return p.substr(p.rfind('/') == std::string::npos ? 0 : p.rfind('/') + 1);
  }
};

template <class R>
std::vector<const R*> Listed(const std::vector<std::unique_ptr<R>>& records) {
  std::vector<const R*> out;
  for (const auto& r : records) out.push_back(r.get());
  return out;
}
template <class R>
std::vector<const R*> Listed(const std::vector<R*>& records) {
  return std::vector<const R*>(records.begin(), records.end());
}

TEST(ZRBPropertyManagerStoreIndex, RandomOperationsMatchALinearScan) {
  for (int os : {CADOSLinux, CADOSWindows}) {
    CADSetOperatingSystemOverride(os);
    SCOPED_TRACE(os);
    std::mt19937 random(20261206 + os);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    // Few keys, so records share them often; paths differ in case only.
    auto key = [&] { return CADUnicodeString(std::string(1, "abcdeAB"[pick(7)]) + std::to_string(pick(3))); };
    auto path = [&] {
      return CADUnicodeString(std::string(pick(2) ? "/Dir/" : "/dir/") + (pick(2) ? "x" : "X") +
                              std::to_string(pick(3)));
    };
    auto id = [&] { return pick(8); };

    ZRBPropertyManagerStore store;
    LinearModel model;
    for (int step = 0; step < 4000; ++step) {
      switch (pick(16)) {
        case 0: {
          model.references.push_back(store.CreateReference(pick(4) ? key() : CADUnicodeString()));
          break;
        }
        case 1: {
          auto record = std::make_unique<ZRBPropertyReference>(id());
          record->SetPartNumber(key());
          record->SetFullPath(path());
          model.references.push_back(record.get());
          store.Add(std::move(record));
          break;
        }
        case 2:
          if (!model.references.empty()) {
            ZRBPropertyReference* r = model.references[pick(model.references.size())];
            switch (pick(4)) {
              case 0:
                r->SetPartNumber(pick(5) ? key() : CADUnicodeString());
                break;
              case 3:
                r->Set(Field::PartNumber, key());
                break;
              case 1:
                r->SetId(id());
                break;
              default:
                r->Set(Field::FullPath, pick(5) ? path() : CADUnicodeString());
                break;
            }
          }
          break;
        case 3: {
          int parent = id();
          CADUnicodeString name = key();
          ZRBPropertyInstance* expected = model.Instance(parent, name);
          ZRBPropertyInstance* got = store.FindOrCreateInstance(parent, name);
          if (expected)
            ASSERT_EQ(got, expected);
          else
            model.instances.push_back(got);
          break;
        }
        case 4:
          if (!model.instances.empty()) {
            ZRBPropertyInstance* i = model.instances[pick(model.instances.size())];
            switch (pick(3)) {
              case 0:
                i->SetParentId(id());
                break;
              case 1:
                i->SetChildInstanceName(key());
                break;
              default:
                i->SetChildId(id());
                break;
            }
          }
          break;
        case 5: {
          CADUnicodeString p = path();
          ZRBPropertyFile* expected = LinearModel::First(
              model.files, [&](auto& f) { return ZRBPropertyManagerStore::SamePath(f.GetFullPath(), p); });
          ZRBPropertyFile* got = store.FindOrCreateFile(p);
          if (expected)
            ASSERT_EQ(got, expected);
          else
            model.files.push_back(got);
          if (pick(3) == 0) got->SetFullPath(path());
          break;
        }
        case 6: {
          CADUnicodeString p = key();
          ZRBPropertyPathToRoot* got = store.FindOrCreatePathToRoot(p);
          if (!LinearModel::First(model.paths, [&](auto& r) { return &r == got; })) model.paths.push_back(got);
          if (pick(3) == 0) got->SetPathToRoot(key());
          break;
        }
        case 7: {  // removals, several in a row as the integrity check does
          for (int n = pick(4); n > 0; --n) {
            switch (pick(4)) {
              case 0:
                if (!model.references.empty()) {
                  auto at = model.references.begin() + pick(model.references.size());
                  store.RemoveReference(*at);
                  model.references.erase(at);
                }
                break;
              case 1:
                if (!model.instances.empty()) {
                  auto at = model.instances.begin() + pick(model.instances.size());
                  store.RemoveInstance(*at);
                  model.instances.erase(at);
                }
                break;
              case 2:
                if (!model.files.empty()) {
                  auto at = model.files.begin() + pick(model.files.size());
                  store.RemoveFile(*at);
                  model.files.erase(at);
                }
                break;
              default:
                if (!model.paths.empty()) {
                  auto at = model.paths.begin() + pick(model.paths.size());
                  store.RemovePathToRoot(*at);
                  model.paths.erase(at);
                }
            }
          }
          break;
        }
        case 8: {
          int from = id(), to = id();
          std::vector<ZRBPropertyInstance*> expectedMoved;
          for (ZRBPropertyInstance* i : model.instances)
            if (i->GetChildId() == from) expectedMoved.push_back(i);
          store.RepointChildIds(from, to);
          for (ZRBPropertyInstance* i : expectedMoved) ASSERT_EQ(i->GetChildId(), to);
          break;
        }
        case 9: {
          // What the former scan would do, worked out before the store acts.
          int from = id(), to = id();
          std::vector<std::pair<ZRBPropertyInstance*, int>> expected;
          std::vector<std::pair<int, CADUnicodeString>> keys;
          for (ZRBPropertyInstance* i : model.instances) keys.emplace_back(i->GetParentId(), i->GetChildInstanceName());
          for (size_t n = 0; n < keys.size(); ++n) {
            bool taken = false;
            for (const auto& k : keys) taken = taken || (k.first == to && k.second == keys[n].second);
            if (keys[n].first == from && !taken) keys[n].first = to;
            expected.emplace_back(model.instances[n], keys[n].first);
          }
          store.RepointParentIds(from, to);
          for (const auto& [i, parent] : expected) ASSERT_EQ(i->GetParentId(), parent);
          break;
        }
        default: {  // lookups
          CADUnicodeString k = key(), p = path();
          int i = id();
          ASSERT_EQ(store.FindReference(k), model.Reference(k));
          ASSERT_EQ(store.FindReferenceById(i),
                    LinearModel::First(model.references, [&](auto& r) { return r.GetId() == i; }));
          ASSERT_EQ(store.FindReferenceByFullPath(p), LinearModel::First(model.references, [&](auto& r) {
                      return !p.IsEmpty() && ZRBPropertyManagerStore::SamePath(r.GetFullPath(), p);
                    }));
          ASSERT_EQ(store.FindReferenceByFileName(p), LinearModel::First(model.references, [&](auto& r) {
                      return model.FileName(r.GetFullPath()) == model.FileName(p);
                    }));
          ASSERT_EQ(store.FindInstance(i, k), model.Instance(i, k));
          ASSERT_EQ(store.FindFile(p), LinearModel::First(model.files, [&](auto& f) {
                      return ZRBPropertyManagerStore::SamePath(f.GetFullPath(), p);
                    }));
          ASSERT_EQ(store.FindPathToRoot(k),
                    LinearModel::First(model.paths, [&](auto& r) { return r.GetPathToRoot() == k; }));
          if (pick(4) == 0) {
            ASSERT_EQ(Listed(store.References()), Listed(model.references));
            ASSERT_EQ(Listed(store.Instances()), Listed(model.instances));
            ASSERT_EQ(Listed(store.Files()), Listed(model.files));
            ASSERT_EQ(Listed(store.PathToRoots()), Listed(model.paths));
          }
        }
      }
    }
    CADResetOperatingSystem();
  }
}

}  // namespace
