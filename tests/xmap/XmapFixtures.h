// Fixtures shared by the exchange-map tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "CADClock.h"
#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "XmapScratchDirectory.h"
#include "ZRBCache.h"
#include "ZRBPropertyManager.h"
#include "ZRBXmapManager.h"

inline std::vector<std::string> ListedNames(const ZRBXmapManager* manager) {
  std::vector<std::string> names;
  if (manager)
    for (const ZRBXmapFile* entry : manager->GetEntries()) names.push_back(std::string(entry->GetFileName()));
  return names;
}

// A content-file manager on a scratch directory, with the clock held at `now_`.

class ContentManagerFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    CADClock::SetOverride([this] { return CADTimeB{now_, 0}; });
    manager_.SetContentFileFullPath(dir_.Path("content.zrb"));
  }
  void TearDown() override { CADClock::SetOverride({}); }

  static std::vector<std::string> Names(const ZRBXmapManager& manager) { return ListedNames(&manager); }
  int ReadBack(ZRBXmapManager& fresh) {
    fresh.SetContentFileFullPath(dir_.Path("content.zrb"));
    return fresh.ReadContentFile();
  }

  std::uint64_t now_ = 1700000000;
  XmapScratchDirectory dir_;
  ZRBXmapManager manager_;
};

// A fresh session and property store, with an exchange map and a work directory for new documents.
class XmapSessionFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    CADDocumentServices::ResetSession();
    GlobPropertyManager.ResetForTests();
    xmap_ = dir_.MakeDirectory("xmap");
    work_ = dir_.MakeDirectory("work");
    CADDocumentServices::SetNewDocumentDirectory(CADUnicodeString(work_));
  }
  void TearDown() override {
    CADDocumentServices::ResetSession();
    GlobPropertyManager.ResetForTests();
    GlobZRBCache.ResetForTests();
  }
  CADDocument* NewPart(const std::string& path) {
    CADDocument* document = nullptr;
    EXPECT_EQ(CADDocumentServices::New("CADPart", document), S_OK);
    EXPECT_EQ(CADDocumentServices::SaveAs(document, CADUnicodeString(path)), S_OK)
        << CADDocumentServices::GetLastError();
    return document;
  }

  XmapScratchDirectory dir_;
  std::string xmap_;
  std::string work_;
};
