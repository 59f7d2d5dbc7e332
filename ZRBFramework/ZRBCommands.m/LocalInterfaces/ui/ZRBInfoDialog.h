// The info dialog: what the PDM knows of the selected objects, one in detail (single page) or several in a table
// (multi page). It follows the current window's selection and closes with that window. One at a time: the class
// owns the one open dialog.
#pragma once

#include <vector>

#include "CADDlgDialog.h"
#include "CADFrmLayout.h"
#include "ZRBInfos.h"

class CADCSO;
class CADDlgCheckButton;
class CADDlgEditor;
class CADDlgLabel;
class CADDlgMultiList;
class CADDlgPushButton;
class CADDlgTabContainer;
class CADDlgTabPage;
class CADDocument;
class CADFrmWindow;

class ZRBInfoDialog : public CADDlgDialog {
 public:
  // --- the one dialog
  // The open dialog, or null.
  static ZRBInfoDialog* GetCurrent();
  // The open dialog, created and built when there is none.
  static ZRBInfoDialog* Open();

  void Build();
  // Reads the current window's selection and shows it; with nothing from the PDM, the message says so.
  void ShowInfo();
  void UpdateInformation() { ShowInfo(); }
  void CloseDialog();

  // --- gathering: one record per object
  static ZRBInfos GetInfo(const CADIProduct_var& product);
  static ZRBInfos GetInfoFromDocument(CADDocument* document);
  static void GetInfoFromVis(ZRBInfos& info);
  static void GetInfoFromModel(ZRBInfos& info);
  static void GetInfoFromAnalysis(ZRBInfos& info);
  static void GetInfoFromCadPart(ZRBInfos& info);
  static void GetInfoFromDrawing(ZRBInfos& info);
  static void GetInfoFromCatalog(ZRBInfos& info);
  static void GetInfoFromProcess(ZRBInfos& info);
  static void GetInfoFromProduct(ZRBInfos& info);
  static void GetInfoFromArchive(ZRBInfos& info);

  // --- the single page
  void SetupSinglePage(const ZRBInfos& info);
  void SetPartNumber(const CADUnicodeString& text);
  void SetInstanceName(const CADUnicodeString& text);
  void SetRevision(const CADUnicodeString& text);
  void SetNomenclature(const CADUnicodeString& text);
  void SetFileName(const CADUnicodeString& text);
  void SetReadOnly(int flag);
  void SetFileReadOnly(int flag);
  void SetFileAttachable(int flag);
  void SetDirty(int flag);
  void DisableFileInfo();
  // The message line: a key of the "ZRBInfoCmd" catalog, or a text.
  void SetMessage(const CADString& key);
  void SetMessageText(const CADUnicodeString& text);
  void ClearMessageText() { SetMessageText(""); }
  // Adds "name = value" lines below the information (the "more" button's answer).
  void AddMultiLineInfos(const CADListValCADString& names, const CADListValCADString& values);

  // --- what is shown (tests, the session runner reads the controls)
  const std::vector<ZRBInfos>& GetShown() const { return shown_; }

  CADListValCADString GetResourceFilename() const override;

 private:
  ZRBInfoDialog();
  ~ZRBInfoDialog() override;

  CADUnicodeString Text(const char* key) const;
  CADUnicodeString KindName(ZRBInfos::Kind kind) const;
  void FillTable();
  void ShowRow(int row);
  void AskForMore();
  void FollowWindow(CADFrmWindow* window);
  void OnLayout(CADFrmLayoutEvent event, CADFrmWindow* window);

  std::vector<ZRBInfos> shown_;
  int current_ = -1;  // index into shown_ on the single page
  // Owned by the dialog's tree; null before Build.
  CADDlgTabContainer* tabs_ = nullptr;
  CADDlgTabPage* single_ = nullptr;
  CADDlgTabPage* multi_ = nullptr;
  CADDlgMultiList* table_ = nullptr;
  CADDlgLabel* message_ = nullptr;
  CADDlgLabel* xmapText_ = nullptr;
  CADDlgCheckButton* changed_ = nullptr;
  CADDlgEditor *partNumber_ = nullptr, *instanceName_ = nullptr, *revision_ = nullptr, *nomenclature_ = nullptr;
  CADDlgCheckButton *partReadOnly_ = nullptr, *fileReadOnly_ = nullptr, *fileAttachable_ = nullptr;
  CADDlgPushButton* more_ = nullptr;
  CADDlgLabel* information_ = nullptr;
  CADDlgEditor* informationLines_ = nullptr;
  // The window followed and its selection subscription (cleared when the window closes).
  CADFrmWindow* window_ = nullptr;
  CADCSO* cso_ = nullptr;
  int csoSubscription_ = 0;
  int layoutSubscription_ = 0;
};
