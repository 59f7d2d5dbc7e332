// A drawing document's content: named sheets, each with views that show
// other documents, a comment and a responsible, and text parameters.
#pragma once

#include "CADBaseUnknown.h"
#include "CADListVal.h"
#include "CADUnicodeString.h"

class CADDocument;

class CADIDrawing : public virtual CADBaseUnknown {
  CAD_DECLARE_INTERFACE(CADIDrawing)

 public:
  // Name, comment, responsible -------------------------------------------------
  // Setters mark the drawing modified when the value changes.
  virtual HRESULT GetName(CADUnicodeString& name) const = 0;
  virtual HRESULT SetName(const CADUnicodeString& name) = 0;
  virtual HRESULT GetComment(CADUnicodeString& comment) const = 0;
  virtual HRESULT SetComment(const CADUnicodeString& comment) = 0;
  virtual HRESULT GetResponsible(CADUnicodeString& responsible) const = 0;
  virtual HRESULT SetResponsible(const CADUnicodeString& responsible) = 0;

  // Sheets and views (sheet and view indices are 1-based) ----------------------
  virtual int GetSheetCount() const = 0;
  virtual HRESULT GetSheetName(int sheet, CADUnicodeString& name) const = 0;
  virtual HRESULT AddSheet(const CADUnicodeString& name) = 0;
  virtual int GetViewCount(int sheet) const = 0;
  virtual HRESULT GetViewName(int sheet, int view, CADUnicodeString& name) const = 0;
  // The document a view shows: null when its link could not be resolved.
  // The session keeps the document.
  virtual HRESULT GetViewDocument(int sheet, int view, CADDocument*& document) const = 0;
  virtual HRESULT AddView(int sheet, const CADUnicodeString& name, CADDocument* shown) = 0;

  // Parameters ("ParameterName" of type "String", "Boolean", "Integer", "Real") --
  virtual int GetParameterCount() const = 0;
  virtual HRESULT GetParameter(int index, CADUnicodeString& name, CADUnicodeString& type,
                               CADUnicodeString& value) const = 0;
  // E_FAIL when there is no parameter of that name or the value does not suit its type.
  virtual HRESULT SetParameterValue(const CADUnicodeString& name, const CADUnicodeString& value) = 0;
  virtual HRESULT AddParameter(const CADUnicodeString& name, const CADUnicodeString& type,
                               const CADUnicodeString& value) = 0;
};

using CADIDrawing_var = CADVar<CADIDrawing>;
