// The host's product object. A reference node owns a CADReferenceState (the
// root of a part or product document, an embedded component, or an unloaded
// stand-in for a file); an instance node shows one CADInstanceRecord of its
// father's reference at one place of the tree. Instance nodes are made on
// demand by their father and stay the same objects while their record lives.
#pragma once

#include <memory>
#include <vector>

#include "CADAutoProduct.h"
#include "CADILinkableObject.h"
#include "CADIMovable.h"
#include "CADIParmPublisher.h"
#include "CADIPrdProperties.h"
#include "CADIProduct.h"
#include "CADIVisProperties.h"
#include "CADInstanceRecord.h"
#include "CADReferenceState.h"

class CADProductNode : public CADIProduct,
                       public CADIPrdProperties,
                       public CADIMovable,
                       public CADAutoProduct,
                       public CADILinkableObject,
                       public CADIParmPublisher,
                       public CADIVisProperties {
 public:
  // A new reference node (loaded, empty) held by `document`.
  static CADVar<CADProductNode> NewReference(CADDocument* document);
  // A new unloaded reference standing for the file at `path`.
  static CADVar<CADProductNode> NewUnloaded(const CADUnicodeString& path);

  // CADIProduct
  CADUnicodeString GetPartNumber() const override;
  HRESULT SetPartNumber(const CADUnicodeString& partNumber) override;
  HRESULT GetPrdInstanceName(CADUnicodeString& name) const override;
  HRESULT SetPrdInstanceName(const CADUnicodeString& name) override;
  CADIProduct_var GetFatherProduct() const override;
  CADIProduct_var GetReferenceProduct() const override;
  int IsReference() const override { return isReference_ ? 1 : 0; }
  int GetChildrenCount() const override;
  CADListValCADBaseUnknown_var GetChildren() const override;
  HRESULT AddExternalComponent(CADDocument* document, CADIProduct_var& newChild) override;
  HRESULT AddNewComponent(const CADUnicodeString& partNumber, CADIProduct_var& newChild) override;
  HRESULT AddNewProduct(const CADUnicodeString& partNumber, CADIProduct_var& newChild) override;
  HRESULT RemoveProduct(const CADIProduct_var& child) override;
  HRESULT ReplaceComponent(const CADIProduct_var& child, CADDocument* document, CADIProduct_var& newChild) override;
  int IsEmbeddedComponent() const override;
  HRESULT GetAllShapesNames(CADListValCADUnicodeString& names, int recursive) const override;
  HRESULT GetShapeRepresentation(const CADUnicodeString& name, CADUnicodeString& path,
                                 CADUnicodeString& format) const override;
  HRESULT LoadShapeRepresentation(const CADUnicodeString& name) override;
  CADDocument* GetShapeRepresentationDocument(const CADUnicodeString& name) const override;
  HRESULT ReplaceDefaultShape(const CADUnicodeString& format, const CADUnicodeString& path) override;
  HRESULT AddShapeRepresentation(const CADUnicodeString& name, const CADUnicodeString& path,
                                 const CADUnicodeString& format) override;
  HRESULT RemoveShapeRepresentation(const CADUnicodeString& name) override;
  HRESULT GetActivationState(CADBoolean& active) const override;
  HRESULT SetActivationState(CADBoolean active) override;

  // CADIPrdProperties
  HRESULT GetNomenclature(CADUnicodeString& value) const override;
  HRESULT SetNomenclature(const CADUnicodeString& value) override;
  HRESULT GetRevision(CADUnicodeString& value) const override;
  HRESULT SetRevision(const CADUnicodeString& value) override;
  HRESULT GetDefinition(CADUnicodeString& value) const override;
  HRESULT SetDefinition(const CADUnicodeString& value) override;
  HRESULT GetDescription(CADUnicodeString& value) const override;
  HRESULT SetDescription(const CADUnicodeString& value) override;

  // CADIMovable
  HRESULT GetPosition(CADMathTransformation& position, CADIProduct* context = nullptr) const override;
  HRESULT SetPosition(const CADMathTransformation& position, CADIProduct* context = nullptr) override;

  // CADIVisProperties
  HRESULT GetShowAttr(CADShowAttr& show) const override;
  HRESULT SetShowAttr(CADShowAttr show) override;

  // CADAutoProduct
  HRESULT get_Count(int& count) const override;
  HRESULT Item(int index, CADIProduct_var& child) const override;
  HRESULT ApplyWorkMode(int mode) override;
  HRESULT GetWorkMode(int& mode) const override;
  HRESULT GetUserRefPropertyCount(int& count) const override;
  HRESULT GetUserRefProperty(int index, CADUnicodeString& fullName, CADUnicodeString& type,
                             CADUnicodeString& value) const override;
  HRESULT CreateUserRefProperty(const CADUnicodeString& shortName, const CADUnicodeString& type,
                                const CADUnicodeString& value) override;
  HRESULT SetUserRefPropertyValue(const CADUnicodeString& shortName, const CADUnicodeString& value) override;
  HRESULT RemoveUserRefProperty(const CADUnicodeString& shortName) override;

  // CADILinkableObject
  CADDocument* GetDocument() const override;

  // CADIParmPublisher
  HRESULT ListDesignTables(CADListValCADBaseUnknown_var& tables) const override;
  HRESULT AddDesignTable(const CADUnicodeString& name, const CADUnicodeString& sheetPath,
                         CADIDesignTable_var& table) override;
  HRESULT RemoveDesignTable(const CADIDesignTable_var& table) override;

  HRESULT QueryInterface(const CADIID& iid, void** out) override;

  // Host internals --------------------------------------------------------------
  // The reference this node shows (itself for a reference node).
  CADProductNode* Reference() const;
  CADReferenceState& RefState() const { return *Reference()->ref_; }
  const std::shared_ptr<CADInstanceRecord>& Record() const { return record_; }
  CADProductNode* Father() const { return Alive() ? father_ : nullptr; }
  // Turns a loaded reference into an unloaded stand-in for `path` (its
  // document left the session): data and children go, instances of it stay.
  void Unload(const CADUnicodeString& path);
  // Marks the document that holds this reference modified.
  void MarkModified() const;
  // True when `target` is this reference or used anywhere below it.
  bool Uses(const CADProductNode* target) const;
  // Text of a file-linked child for the file of its user, and the format
  // ("" when unknown) of an unloaded reference.
  CADUnicodeString FilePath() const;

 protected:
  ~CADProductNode() override;

 private:
  CADProductNode(bool isReference);
  bool Alive() const { return isReference_ || (record_ && !record_->removed); }
  // Brings the child node cache in line with the reference's records.
  void SyncChildren() const;
  CADProductNode* ChildFor(const CADInstanceRecord* record) const;
  CADUnicodeString FreeInstanceName(const CADUnicodeString& partNumber) const;
  HRESULT AddChildReference(const CADVar<CADProductNode>& reference, CADIProduct_var& newChild);
  HRESULT SetAttribute(CADUnicodeString CADReferenceState::*field, const CADUnicodeString& value);
  HRESULT GetAttribute(CADUnicodeString CADReferenceState::*field, CADUnicodeString& value) const;
  CADParameterImage* FindParameter(const CADUnicodeString& shortName) const;
  bool HasImplicitDefaultShape() const;

  const bool isReference_;
  std::unique_ptr<CADReferenceState> ref_;                // reference nodes only
  std::shared_ptr<CADInstanceRecord> record_;             // instance nodes only
  CADProductNode* father_ = nullptr;                      // instance nodes: owner of this node, not owned
  mutable std::vector<CADVar<CADProductNode>> children_;  // nodes of the reference's records, here
  // What children_ was built from (reference and its records' revision).
  mutable bool synced_ = false;
  mutable const CADProductNode* syncedReference_ = nullptr;
  mutable unsigned long syncedRevision_ = 0;
};
