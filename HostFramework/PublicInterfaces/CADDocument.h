// A document of the session: a part, product, drawing, process, analysis,
// vis, model or representation file opened (or created) by the host, with
// its storage name, kind, modified and read-only state and content.
//
// Documents are owned by the session (CADDocumentServices); pointers handed
// out stay valid while the document is in the session, and AddRef keeps one
// alive longer. All access happens on the host's user-interface thread.
#pragma once

#include <memory>
#include <vector>

#include "CADBaseUnknown.h"
#include "CADDocId.h"
#include "CADGeometryBody.h"
#include "CADIDocRoots.h"
#include "CADIPersistent.h"
#include "CADIProduct.h"
#include "CADListVal.h"
#include "CADMathBox.h"
#include "CADUnicodeString.h"

class CADAppFeature;
struct CADDocumentState;

class CADDocument : public CADIPersistent, public CADIDocRoots {
  CAD_DECLARE_INTERFACE(CADDocument)

 public:
  // Identity ------------------------------------------------------------------
  // Full path of the file the document was opened from or saved to (for a new
  // document: the path it will get, in the session's new-document directory).
  const CADUnicodeString& StorageName() const;
  // The file name part of the storage name.
  CADUnicodeString GetDisplayName() const;
  HRESULT GetDocId(CADDocId& id) const;
  // Type text, as GetDocId gives it.
  const CADUnicodeString& GetType() const;

  // State ---------------------------------------------------------------------
  unsigned int IsDirty() const override;
  void SetDirty(int dirty) override;
  // A read-only document refuses Save and SaveAs until the flag is cleared.
  int IsReadOnly() const;
  void SetReadOnly(int readOnly);
  // 1 while the document is part of the session (Remove takes it out).
  int IsInSession() const;
  // 0 while the document must be updated from what it depends on (a changed
  // linked document); documents start up to date.
  int IsUpToDate() const;
  void SetUpToDate(int upToDate);

  // Roots ---------------------------------------------------------------------
  CADListValCADBaseUnknown_var GiveDocRoots() const override;
  // The root product, null for documents without one (drawings, processes).
  CADIProduct_var GetRootProduct() const;

  // Applicative containers (named data containers of a product document) ----
  CADListValCADUnicodeString GetApplicativeContainerNames() const;
  HRESULT AddApplicativeContainer(const CADUnicodeString& name);
  HRESULT RemoveApplicativeContainer(const CADUnicodeString& name);
  // Features an application keeps in a container, for one client identifier, in creation order. E_FAIL when
  // the container does not exist. Features live with the document in the session; the file does not keep them.
  HRESULT GetApplicativeFeatures(const CADUnicodeString& container, const CADUnicodeString& client,
                                 std::vector<CADAppFeature*>& features) const;
  // A new feature of `specType` for the client; null when the container does not exist.
  CADAppFeature* AddApplicativeFeature(const CADUnicodeString& container, const CADUnicodeString& client,
                                       const CADUnicodeString& specType);

  // Geometry (parts, vis and model documents) ----------------------------------
  const std::vector<CADGeometryBody>& GetBodies() const;
  // Replaces the geometry; marks the document modified.
  void SetBodies(std::vector<CADGeometryBody> bodies);
  // Extents of the bodies (hidden ones only when asked); empty without vertex.
  CADMathBox GetBoundingBox(bool includeHidden) const;
  // Counts SetBodies calls, so that representations built from the bodies know when they are stale.
  unsigned long GetGeometryVersion() const;

  // Linked documents ------------------------------------------------------------
  // Documents this one points at: the references of its products' instances,
  // the documents shown by a drawing's views, the links of a process or
  // analysis. Unresolved links are left out.
  std::vector<CADDocument*> GetPointedDocuments() const;
  // Process and analysis documents: links by file and free key/value texts.
  HRESULT AddLink(CADDocument* target);
  HRESULT GetProperty(const CADUnicodeString& key, CADUnicodeString& value) const;
  HRESULT SetProperty(const CADUnicodeString& key, const CADUnicodeString& value);

  // Host internals (opaque outside the host's document library).
  CADDocumentState& State() const { return *state_; }

  HRESULT QueryInterface(const CADIID& iid, void** out) override;

 protected:
  CADDocument(const CADUnicodeString& type, const CADUnicodeString& storageName);
  ~CADDocument() override;

 private:
  friend class CADDocumentFactory;
  std::unique_ptr<CADDocumentState> state_;
};

using CADDocument_var = CADVar<CADDocument>;
