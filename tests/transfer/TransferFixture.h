// Fixture of the transfer tests: an exchange map in a scratch directory, the objects carried through a file as
// they travel to and from the PDM, and probe commands that live until the test ends.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "CommandFixture.h"
#include "ProbeCommand.h"
#include "XmapScratchDirectory.h"
#include "ZRBObjectManager.h"

class TransferFixture : public CommandFixture {
 protected:
  void SetUp() override {
    CommandFixture::SetUp();
    xmapDir_ = xmap_.MakeDirectory("xmap");
    xmapVariable_ = std::make_unique<XmapScopedVariable>("ZRBXMAP", xmapDir_.c_str());
  }
  void TearDown() override {
    for (ProbeCommand* c : commands_) c->Release();
    xmapVariable_.reset();
    CommandFixture::TearDown();
  }
  ProbeCommand& NewCommand() { return *commands_.emplace_back(new ProbeCommand()); }
  std::unique_ptr<ZRBObjectManager> ThroughFile(const ZRBObjectManager& manager) {
    const CADUnicodeString path(xmap_.Path("transfer.zrb"));
    EXPECT_EQ(manager.Write(path), 1);
    auto read = std::make_unique<ZRBObjectManager>();
    EXPECT_EQ(read->Read(path), 1);
    return read;
  }

  XmapScratchDirectory xmap_;
  std::string xmapDir_;
  std::unique_ptr<XmapScopedVariable> xmapVariable_;
  std::vector<ProbeCommand*> commands_;
};
