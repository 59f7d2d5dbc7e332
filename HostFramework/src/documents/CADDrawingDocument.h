// A drawing document: the CADDocument that also answers as a drawing and as
// the owner of the drawing's design tables.
#pragma once

#include "CADDocument.h"
#include "CADIDrawing.h"
#include "CADIParmPublisher.h"

class CADDrawingDocument : public CADDocument, public CADIDrawing, public CADIParmPublisher {
 public:
  explicit CADDrawingDocument(const CADUnicodeString& storageName);

  // CADIDrawing
  HRESULT GetName(CADUnicodeString& name) const override;
  HRESULT SetName(const CADUnicodeString& name) override;
  HRESULT GetComment(CADUnicodeString& comment) const override;
  HRESULT SetComment(const CADUnicodeString& comment) override;
  HRESULT GetResponsible(CADUnicodeString& responsible) const override;
  HRESULT SetResponsible(const CADUnicodeString& responsible) override;
  int GetSheetCount() const override;
  HRESULT GetSheetName(int sheet, CADUnicodeString& name) const override;
  HRESULT AddSheet(const CADUnicodeString& name) override;
  int GetViewCount(int sheet) const override;
  HRESULT GetViewName(int sheet, int view, CADUnicodeString& name) const override;
  HRESULT GetViewDocument(int sheet, int view, CADDocument*& document) const override;
  HRESULT AddView(int sheet, const CADUnicodeString& name, CADDocument* shown) override;
  int GetParameterCount() const override;
  HRESULT GetParameter(int index, CADUnicodeString& name, CADUnicodeString& type,
                       CADUnicodeString& value) const override;
  HRESULT SetParameterValue(const CADUnicodeString& name, const CADUnicodeString& value) override;
  HRESULT AddParameter(const CADUnicodeString& name, const CADUnicodeString& type,
                       const CADUnicodeString& value) override;

  // CADIParmPublisher
  HRESULT ListDesignTables(CADListValCADBaseUnknown_var& tables) const override;
  HRESULT AddDesignTable(const CADUnicodeString& name, const CADUnicodeString& sheetPath,
                         CADIDesignTable_var& table) override;
  HRESULT RemoveDesignTable(const CADIDesignTable_var& table) override;

  HRESULT QueryInterface(const CADIID& iid, void** out) override;

 protected:
  ~CADDrawingDocument() override = default;

 private:
  HRESULT Change(CADUnicodeString& field, const CADUnicodeString& value);
  const struct CADDrawingSheetState* Sheet(int sheet) const;
};
