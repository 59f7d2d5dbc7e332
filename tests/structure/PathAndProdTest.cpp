#include "CADFrmEditor.h"
#include "CADFrmLayout.h"
#include "CADILinkableObject.h"
#include "CADPathElement.h"
#include "TreeTestSupport.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBProd.h"
#include "ZRBProductPathUtil.h"

TEST_F(TreeTest, TwoInstancesOfOnePartHaveTheirOwnPathAndOneFullPathName) {
  CADIProduct_var root = NewProduct("ROOT");
  ASSERT_EQ(root->SetPrdInstanceName("Root.1"), S_OK);
  CADDocument* part = NewPart("PART");
  CADIProduct_var sub = AddProduct(root, "SUB");
  CADIProduct_var first = AddPart(sub, part);
  CADIProduct_var second = AddPart(sub, part);

  struct Row {
    CADIProduct_var node;
    const char* pathToRoot;
    const char* fullPathName;
    int levels;
  } rows[] = {
      {root, "/Root.1", "/ROOT", 1},
      {sub, "/Root.1/SUB.1", "/ROOT/SUB", 2},
      {first, "/Root.1/SUB.1/PART.1", "/ROOT/SUB/PART", 3},
      {second, "/Root.1/SUB.1/PART.2", "/ROOT/SUB/PART", 3},
  };
  for (const Row& row : rows) {
    CADUnicodeString path, names;
    ZRBProductPathUtil::GetPathToRootForProduct(row.node, path);
    ZRBProductPathUtil::GetFullPathNameForProduct(row.node, names);
    EXPECT_EQ(path.str(), row.pathToRoot);
    EXPECT_EQ(names.str(), row.fullPathName);
    CADPathElement element;
    ZRBProductPathUtil::GetCADPathElementFromRoot(row.node, element);
    ASSERT_EQ(element.GetSize(), row.levels);
    EXPECT_TRUE(CADIProduct_var(element.GetElement(1)) == root);
    EXPECT_TRUE(CADIProduct_var(element.GetLeaf()) == row.node);
  }
  // Path-to-root properties stay apart for the two instances.
  GlobPropertyManager.SetPathToRootProperty(first, "ZRB_PRIVATE_UPDATE_ID", "7");
  EXPECT_EQ(GlobPropertyManager.GetPathToRootProperty(second, "ZRB_PRIVATE_UPDATE_ID"), CADUnicodeString(""));
  EXPECT_EQ(GlobPropertyManager.GetPathToRootProperty("/Root.1/SUB.1/PART.1", "ZRB_PRIVATE_UPDATE_ID"),
            CADUnicodeString("7"));
  // A null product leaves the output alone.
  CADUnicodeString untouched("keep");
  ZRBProductPathUtil::GetPathToRootForProduct(nullptr, untouched);
  EXPECT_EQ(untouched, CADUnicodeString("keep"));
}

TEST_F(TreeTest, SelectionTakesEveryMatchingInstanceAsItsPath) {
  CADIProduct_var root = NewProduct("ROOT");
  CADDocument* part = NewPart("PART");
  CADIProduct_var a = AddProduct(root, "A");
  CADIProduct_var b = AddProduct(root, "B");
  CADIProduct_var inA = AddPart(a, part);
  AddPart(b, part);
  CADDocument* rootDoc = CADILinkableObject_var(root)->GetDocument();
  ASSERT_EQ(ZRBPSNTreeUtil::SelectInstanceInActWindow("PART.1", 0), E_FAIL);  // no window yet
  CADFrmWindow* window = nullptr;
  ASSERT_EQ(CADFrmLayout::GetCurrentLayout().OpenWindow(rootDoc, window), S_OK);
  ASSERT_EQ(ZRBPSNTreeUtil::SelectInstanceInActWindow("PART.1", 0), S_OK);
  CADCSO* cso = CADFrmEditor::GetCurrentEditor()->GetCSO();
  ASSERT_EQ(cso->GetSize(), 2);
  CADIProduct_var leaf;
  cso->GetElement(1)->GetLeafProduct(leaf);
  EXPECT_TRUE(leaf == inA);
  ASSERT_EQ(ZRBPSNTreeUtil::SelectInstanceInActWindow(CADListValCADUnicodeString{"A.1", "B.1"}, 1), S_OK);
  EXPECT_EQ(cso->GetSize(), 2);
  ASSERT_EQ(ZRBPSNTreeUtil::UnselectInstancesInActWindow(), S_OK);
  EXPECT_EQ(cso->GetSize(), 0);
  CADIProduct_var top;
  ASSERT_EQ(ZRBPSNTreeUtil::GetTopLevelProduct(top), S_OK);
  EXPECT_TRUE(top == root);
}

namespace {
// A node object of an answer with the slots given as name, value pairs.
ZRBObject* Node(ZRBObjectManager& answer, const char* key,
                std::initializer_list<std::pair<const char*, const char*>> slots) {
  ZRBObject* object = answer.CreateObject(key);
  for (const auto& [name, value] : slots) object->SetSlotValue(name, value);
  return object;
}
}  // namespace

// The node keeps its own copies of the texts it is made from, and a node without objects has safe defaults.
TEST_F(TreeTest, ProdKeepsItsOwnCopies) {
  ZRBObjectManager answer;
  ZRBObject* product = Node(answer, "P1", {{"CHANGEABLE", "0"}});
  ZRBObject* node = Node(answer, "N1", {{"PRODUCT", "P1"}, {"DESCRIPTION", "PN-1"}});
  std::unique_ptr<ZRBProd> prod;
  {
    // Temporaries die before the record is used.
    prod = std::make_unique<ZRBProd>(nullptr, answer, node, CADString("REL") + CADString("-7"), CADString("3"));
  }
  EXPECT_EQ(prod->GetRelationObjectName(), CADString("REL-7"));
  EXPECT_EQ(prod->GetQuantity(), CADString("3"));
  EXPECT_EQ(prod->GetAttachedCADProductZRBObject(), product);
  EXPECT_EQ(prod->IsChangeable(), 0);
  ZRBProd none(nullptr, answer, nullptr, "", "");
  EXPECT_EQ(none.IsComponent(), 0);
  EXPECT_EQ(none.IsChangeable(), 1);
  EXPECT_EQ(none.GetAttachedCADProductZRBObject(), nullptr);
}

TEST_F(TreeTest, ProdStandardAttributesNeedListsOfEqualLength) {
  ZRBObjectManager answer;
  ZRBObject* node = answer.CreateObject("N");
  node->SetSlotValueList("STANDARD_ATTRS", {"CADRevision", "CADNomenclature", "Other", "CADRevision"});
  node->SetSlotValueList("STANDARD_VALS", {"A", "Bolt"});
  ZRBProd prod(nullptr, answer, node, "", "");
  EXPECT_EQ(prod.RevisionIsSet(), 0);
  EXPECT_EQ(prod.NomenclatureIsSet(), 0);
  node->SetSlotValueList("STANDARD_VALS", {"A", "Bolt", "x", "B"});
  EXPECT_EQ(prod.RevisionIsSet(), 1);                    // read again after the failure
  EXPECT_EQ(prod.GetRevision(), CADUnicodeString("B"));  // the later one wins
  EXPECT_EQ(prod.GetNomenclature(), CADUnicodeString("Bolt"));
  EXPECT_EQ(prod.DefinitionIsSet(), 0);
  node->SetSlotValueList("USER_DEF_PROPS", {"COLOUR", "MASS"});
  EXPECT_EQ(prod.GetUserDefPropertyNames(), (CADListValCADString{"COLOUR", "MASS"}));
  EXPECT_FALSE(prod.GetUserDefPropertyNamesAsString().IsEmpty());
}

TEST_F(TreeTest, ProdHoldsOneDocumentAtATime) {
  ZRBObjectManager answer;
  CADDocument* first = nullptr;
  CADDocument* second = nullptr;
  ASSERT_EQ(CADDocumentServices::New("CADPart", first), S_OK);
  ASSERT_EQ(CADDocumentServices::New("CADPart", second), S_OK);
  auto references = [](CADDocument* d) {
    d->AddRef();
    return d->Release();
  };
  unsigned long firstBefore = references(first);
  unsigned long secondBefore = references(second);
  {
    ZRBProd prod(nullptr, answer, nullptr, "", "");
    prod.SetDocumentPtr(first);
    EXPECT_EQ(references(first), firstBefore + 1);
    prod.SetDocumentPtr(nullptr);  // ignored
    EXPECT_EQ(prod.GetDocumentPtr(), first);
    prod.SetDocumentPtr(second);
    EXPECT_EQ(references(first), firstBefore);
    EXPECT_EQ(references(second), secondBefore + 1);
  }
  EXPECT_EQ(references(second), secondBefore);
}
