// Fixture of the read tests: a scratch exchange map, an answer built object by object, the read state, a probe
// command collecting the lines shown to the user, and the structure reader run on them.
#pragma once

#include <memory>
#include <string>

#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CommandFixture.h"
#include "ProbeCommand.h"
#include "StructureAnswer.h"
#include "XmapScratchDirectory.h"
#include "ZRBCache.h"
#include "ZRBPropertyManager.h"
#include "ZRBReadState.h"
#include "ZRBStructureReader.h"

class ReadFixture : public CommandFixture {
 protected:
  void SetUp() override { SetUpIn("xmap"); }
  // The exchange map at `relative` below the scratch directory.
  void SetUpIn(const std::string& relative) {
    CommandFixture::SetUp();
    CADDocumentServices::ResetSession();
    xmap_ = scratch_.MakeDirectory(relative);
    SetVariable("ZRBXMAP", xmap_.c_str());
    GlobZRBCache.ResetForTests();
    command_ = new ProbeCommand();
    answer_ = std::make_unique<StructureAnswer>();
    state_ = ZRBReadState();
  }
  void TearDown() override {
    command_->Release();
    GlobZRBCache.ResetForTests();
    CADDocumentServices::ResetSession();
    CommandFixture::TearDown();
  }

  void Restart() {
    TearDown();
    SetUp();
  }
  int Read(CADIProduct* parent = nullptr) {
    ZRBStructureReader reader(*command_, state_);
    return reader.ReadProductStructure(parent, nullptr, answer_->Answer(), answer_->Root());
  }
  std::string Warnings() const { return Lines(command_->GetWarnings()); }
  std::string Informations() const { return Lines(command_->GetInformations()); }
  static std::string Lines(const CADListValCADUnicodeString& lines) {
    std::string all;
    for (const CADUnicodeString& line : lines) all += line.str() + "\n";
    return all;
  }
  static CADIProduct_var RootOf(const std::string& path) {
    CADDocument* document = CADDocumentServices::GetDocumentInSession(path.c_str());
    return document ? document->GetRootProduct() : nullptr;
  }
  static std::string Ref(const CADIProduct_var& node, const char* name) {
    return GlobPropertyManager.GetReferenceProperty(node, name).str();
  }
  static std::string Inst(const CADIProduct_var& parent, const CADIProduct_var& child, const char* name) {
    return GlobPropertyManager.GetInstanceProperty(parent, child, name).str();
  }

  XmapScratchDirectory scratch_;
  std::string xmap_;
  std::unique_ptr<StructureAnswer> answer_;
  ZRBReadState state_;
  ProbeCommand* command_ = nullptr;
};
