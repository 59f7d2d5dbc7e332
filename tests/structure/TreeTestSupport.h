// Product structures built in memory for the tree tests, with the document
// session, the property manager and the configuration reset around each test.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADIProduct.h"
#include "XmapScratchDirectory.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBPSNTreeUtil.h"
#include "ZRBPropertyManager.h"

class TreeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CADDocumentServices::ResetSession();
    g_ZRBConfig.ResetForTests();
    GlobPropertyManager.ResetForTests();
    ZRBPSNTreeUtil::ResetForTests();
    CADDocumentServices::SetNewDocumentDirectory(dir_.Root().c_str());
  }
  void TearDown() override {
    CADDocumentServices::ResetSession();
    g_ZRBConfig.ResetForTests();
    GlobPropertyManager.ResetForTests();
    ZRBPSNTreeUtil::ResetForTests();
  }

  // A new product document whose root has `partNumber`.
  static CADIProduct_var NewProduct(const char* partNumber) {
    CADDocument* document = nullptr;
    EXPECT_EQ(CADDocumentServices::New("CADProduct", document), S_OK);
    CADIProduct_var root = document->GetRootProduct();
    EXPECT_EQ(root->SetPartNumber(partNumber), S_OK);
    return root;
  }
  static CADIProduct_var AddProduct(const CADIProduct_var& parent, const char* partNumber) {
    CADIProduct_var child;
    EXPECT_EQ(parent->AddNewProduct(partNumber, child), S_OK) << partNumber;
    return child;
  }
  static CADIProduct_var AddComponent(const CADIProduct_var& parent, const char* partNumber) {
    CADIProduct_var child;
    EXPECT_EQ(parent->AddNewComponent(partNumber, child), S_OK) << partNumber;
    return child;
  }
  static CADIProduct_var AddPart(const CADIProduct_var& parent, CADDocument* part) {
    CADIProduct_var child;
    EXPECT_EQ(parent->AddExternalComponent(part, child), S_OK);
    return child;
  }
  static CADDocument* NewPart(const char* partNumber) {
    CADDocument* document = nullptr;
    EXPECT_EQ(CADDocumentServices::New("CADPart", document), S_OK);
    EXPECT_EQ(document->GetRootProduct()->SetPartNumber(partNumber), S_OK);
    return document;
  }

  // Instance names of a node list, joined by ",".
  static std::string Names(const ZRBNodeList& nodes) {
    std::string out;
    for (const auto& node : nodes) {
      CADUnicodeString name;
      CADIProduct_var(node)->GetPrdInstanceName(name);
      out += (out.empty() ? "" : ",") + name.str();
    }
    return out;
  }

  static void BehaviourOn() { g_ZRBConfig.ChangeEnvVar("ZRB_CONFIGURABLE_NODE_BEHAVIOR", "ON", 1); }
  static void Mark(const CADIProduct_var& node, const char* behaviour) {
    GlobPropertyManager.SetReferenceProperty(node, "ZRB_NODE_NEEDS_CONFIGURABLE_BEHAVIOR", "1");
    GlobPropertyManager.SetReferenceProperty(node, "ZRB_CONFIGURABLE_BEHAVIOR", behaviour);
  }

  XmapScratchDirectory dir_;
};
