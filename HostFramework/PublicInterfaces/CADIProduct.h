// A node of a product structure: a reference (the root product of a part or
// product document, or an embedded component) or an instance of a reference
// placed under a father.
//
// There is one reference per part number in a session, shared by all its
// instances. Instance nodes form a tree: each has exactly one father, children
// keep their order, and instance names are unique among siblings. A
// subassembly used twice appears as two subtrees over the same reference:
// changing the reference (part number, properties, children, positions of its
// children) through one subtree shows in the other.
#pragma once

#include "CADBaseUnknown.h"
#include "CADListValCADBaseUnknown.h"
#include "CADUnicodeString.h"

class CADDocument;
class CADIProduct;
using CADIProduct_var = CADVar<CADIProduct>;

class CADIProduct : public virtual CADBaseUnknown {
  CAD_DECLARE_INTERFACE(CADIProduct)

 public:
  // Identity ------------------------------------------------------------------
  // Part number of the reference; "" while the reference is not loaded (a
  // part kept for visualisation only, or a link whose file was not found).
  virtual CADUnicodeString GetPartNumber() const = 0;
  // Renames the reference. E_FAIL for an empty number, an unloaded reference,
  // or a number another reference of the session already has.
  virtual HRESULT SetPartNumber(const CADUnicodeString& partNumber) = 0;
  // Instance name (for a reference: its own name, the part number unless set).
  virtual HRESULT GetPrdInstanceName(CADUnicodeString& name) const = 0;
  // E_FAIL for an empty name or one a sibling already has; marks the father
  // reference's document modified.
  virtual HRESULT SetPrdInstanceName(const CADUnicodeString& name) = 0;

  // Structure -----------------------------------------------------------------
  // Father in the tree; null for a reference (a root) and for a node whose
  // instance was removed.
  virtual CADIProduct_var GetFatherProduct() const = 0;
  // The reference of this node (a reference returns itself).
  virtual CADIProduct_var GetReferenceProduct() const = 0;
  virtual int IsReference() const = 0;
  // Direct children in order (CADIProduct objects).
  virtual int GetChildrenCount() const = 0;
  virtual CADListValCADBaseUnknown_var GetChildren() const = 0;

  // Editing the structure (every change marks the document that holds this
  // node's reference modified) -----------------------------------------------
  // Adds the root product of `document` as a new last child, named after its
  // part number with the first free ".n" suffix. E_FAIL for a document without
  // root product, a reference that is not loaded, or a cycle (the document
  // contains this product).
  virtual HRESULT AddExternalComponent(CADDocument* document, CADIProduct_var& newChild) = 0;
  // Adds a new empty product as last child: a component embedded in this
  // reference's document. E_FAIL for an empty or already used part number.
  virtual HRESULT AddNewComponent(const CADUnicodeString& partNumber, CADIProduct_var& newChild) = 0;
  // Adds a new empty product document (type "CADProduct", not saved yet) as
  // last child. E_FAIL for an empty or already used part number.
  virtual HRESULT AddNewProduct(const CADUnicodeString& partNumber, CADIProduct_var& newChild) = 0;
  // Removes a direct child (E_FAIL when `child` is not one).
  virtual HRESULT RemoveProduct(const CADIProduct_var& child) = 0;
  // Replaces a direct child by the root product of `document`, keeping its
  // place, instance name, position and activation.
  virtual HRESULT ReplaceComponent(const CADIProduct_var& child, CADDocument* document, CADIProduct_var& newChild) = 0;

  // Embedded components -------------------------------------------------------
  // 1 when the reference lives in another reference's document (its father's
  // document for a component added with AddNewComponent), else 0.
  virtual int IsEmbeddedComponent() const = 0;

  // Shape representations of the reference -----------------------------------
  // A part, vis, model or representation reference has the representation
  // "Default" (its own file); a product may carry explicit ones.
  // Names of the representations; `recursive` adds those of every reference
  // below, each name once.
  virtual HRESULT GetAllShapesNames(CADListValCADUnicodeString& names, int recursive) const = 0;
  // File path and format (document type) of a representation; E_FAIL when absent.
  virtual HRESULT GetShapeRepresentation(const CADUnicodeString& name, CADUnicodeString& path,
                                         CADUnicodeString& format) const = 0;
  // Loads the representation's document into the session (and binds an
  // unloaded reference to it); E_FAIL when the file cannot be opened.
  virtual HRESULT LoadShapeRepresentation(const CADUnicodeString& name) = 0;
  // The loaded document of a representation, or null.
  virtual CADDocument* GetShapeRepresentationDocument(const CADUnicodeString& name) const = 0;
  // Makes the file at `path` the "Default" representation with the given
  // format; for a representation document's own reference the document is
  // then stored at `path`. Negative result on failure.
  virtual HRESULT ReplaceDefaultShape(const CADUnicodeString& format, const CADUnicodeString& path) = 0;
  virtual HRESULT AddShapeRepresentation(const CADUnicodeString& name, const CADUnicodeString& path,
                                         const CADUnicodeString& format) = 0;
  virtual HRESULT RemoveShapeRepresentation(const CADUnicodeString& name) = 0;

  // Instance parameters -------------------------------------------------------
  // The Boolean parameter "_ComponentActivationState" of an instance (true
  // unless deactivated). E_FAIL for a reference.
  virtual HRESULT GetActivationState(CADBoolean& active) const = 0;
  virtual HRESULT SetActivationState(CADBoolean active) = 0;
};
