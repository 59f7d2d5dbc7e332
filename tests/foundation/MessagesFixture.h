// Fixture of the messaging tests: the host dialog setup, a catalog directory of site overrides in front of the
// shipped catalogs, the message prefix and show-message flag back at their defaults, and a captured trace.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "CADMsgCatalog.h"
#include "HostDialogFixture.h"
#include "XmapScratchDirectory.h"
#include "ZRBAfx.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBGlobalProperties.h"
#include "ZRBTrace.h"

class MessagesFixture : public HostDialogFixture {
 protected:
  void SetUp() override {
    HostDialogFixture::SetUp();
    CADMsgCatalog::SetCatalogPath(site.string() + ":" + ZRB_TEST_CATALOG_DIR);
    ZRBGlobalProperties::Process().Reset();
    ZRBAfx::SetShowMsg(0);
    g_ZRBConfig.ResetForTests();
  }
  void TearDown() override {
    ZRBTrace::SetStream(nullptr);
    g_ZRBConfig.ResetForTests();
    ZRBGlobalProperties::Process().Reset();
    HostDialogFixture::TearDown();
  }
  void WriteSiteCatalog(const std::string& file, const std::string& content) {
    std::ofstream(site / file) << content;
    CADMsgCatalog::SetCatalogPath(site.string() + ":" + ZRB_TEST_CATALOG_DIR);  // read again
  }
  void SetPrefix(const char* prefix) { ZRBGlobalProperties::Process().SetGlobalProperty("ZRB_MESSAGE_PREFIX", prefix); }
  void CaptureTrace() {
    g_ZRBConfig.SetDebug(1);
    ZRBTrace::SetStream(&trace);
  }

  XmapScratchDirectory scratch;
  const std::filesystem::path site = scratch.Root();
  std::ostringstream trace;
};
