// The base of every module command: the client mode it talks to the PDM through, the warnings and informations
// it gathers for the message centre, the integrity check at its start and the one-step PDM round trip helpers.
// Two-step commands build on ZRBTwoStepCommand.
#pragma once

#include <string_view>

#include "CADCommand.h"
#include "CADIProduct.h"
#include "CADListVal.h"
#include "CADString.h"
#include "CADUnicodeString.h"
#include "ZRBClientMode.h"
#include "ZRBCommandStates.h"

class CADDocument;
class CADFrmEditor;
class ZRBConfigBehaviorManager;
class ZRBObject;

// Everything here runs on the host's user-interface thread: commands, their timer callbacks and the automation
// calls that start them.
class ZRBCommand : public CADCommand, public ZRBCommandStates {
 public:
  // Message-box styles of the commands' messages.
  static constexpr unsigned long kFailureStyle = 0x8000200;
  static constexpr unsigned long kInformationStyle = 0x4000200;

  // --- lifecycle
  // Puts the process in the standard client's mode, requests the status change with message 1, takes the
  // current editor and reads the configuration flags.
  explicit ZRBCommand(const char* name);
  // The same; the status change is requested with `message` only when requestChange is non-zero.
  ZRBCommand(const char* name, int requestChange, CADCommandMsg message);
  // Writes the exchange-map cache's content files and leaves no registry entry pointing at this command (its
  // timers go with the host command).
  ~ZRBCommand() override;

  // --- saving documents for the PDM: 1 saved, 0 failed
  // Saves under `path`; a path equal to the document's own file saves in place.
  virtual int SaveAs(CADDocument& document, const CADUnicodeString& path, const CADUnicodeString& format,
                     unsigned char flag);
  virtual int Save(CADDocument* document, unsigned char flag);

  // --- client mode
  const ZRBClientMode& GetClientMode() const { return clientMode_; }
  // Puts this command's client mode back in force: the process-wide mode belongs to the command constructed
  // last, which need not be this one.
  void ApplyClientMode() const;

  // --- messages for the message centre
  CADListValCADUnicodeString& GetWarnings() { return warnings_; }
  CADListValCADUnicodeString& GetInformations() { return informations_; }
  const CADListValCADUnicodeString& GetWarnings() const { return warnings_; }
  const CADListValCADUnicodeString& GetInformations() const { return informations_; }
  // Shows the summary with this command's warnings and informations (not modal).
  void DisplayMessageCenter(const int& success, const int& successVariant, const CADUnicodeString& successText,
                            const CADUnicodeString& failureText, int failureVariant);

  // --- configuration read at construction
  int GetIgnoreNonZrbRootChildren() const { return ignoreNonZrbRootChildren_; }
  int GetConfigurableNodeBehavior() const { return configurableNodeBehavior_; }
  ZRBConfigBehaviorManager* GetBehaviorManager() const { return behaviorManager_; }
  CADFrmEditor* GetEditor() const { return editor_; }

  // --- the integrity check every command runs at its start: abandons a two-step command that still waits for
  // the PDM, then lets the property manager drop what no open document uses. `mode` as the property manager's.
  static void CheckIntegrity(int mode);

  // --- positions of product instances (bodies with the positions subsystem); 1 success, 0 failure
  // The child's twelve position coefficients in the parent's coordinates.
  int GetProductPosition(const CADIProduct_var& child, const CADIProduct_var& parent, double coefficients[12]);
  // Puts the child at `coefficients` unless it already stands there within the tolerance; a move marks the
  // document of the child's father (which stores the position) modified. Non-finite coefficients are refused.
  int MoveProduct(const CADIProduct_var& child, const CADIProduct_var& parent, const double coefficients[12]);
  // Writes the child's position ("MATRIX", "UNIT") into a save request and asks the PDM to store it when it
  // moved since the PDM last knew it.
  int SetProductTrafoToZRBObject(ZRBObject* object, const CADIProduct_var& child, const CADIProduct_var& parent);
  // For the save's answer: the position update of this instance did not succeed, so it must be sent again.
  static void KeepPositionToSend(const CADIProduct_var& parent, const CADIProduct_var& child);

  // --- the released cache around a read request (load/ZRBCommandReleasedCache.cpp)
  // Before the request: deletes the released cache's vis files no session document uses (with
  // "ZRB_CLEANRELEASEDCACHE" "ON") and gives the used ones their unstamped names, remembered for the restore.
  // E_FAIL when the released-cache directory cannot be read.
  HRESULT DeleteNotLoadedVisFromReleasedCache(const CADUnicodeString& xmapDirectory,
                                              const CADUnicodeString& releasedXmapDirectory);
  // After the request: renames those files back. Lists of different lengths are cleared and fail.
  HRESULT RestoreTimeStampInReleasedCacheFiles();
  // Redraws the model nodes of every document (a headless host draws nothing).
  static void RedrawAllModelNodes();

  // --- opening documents for a read (bodies in load/ZRBCommandDocuments.cpp); 1 opened, 0 failed (the failure
  // is in the warnings)
  // Opens `path` (read-only when `readOnly` is non-zero). A path listed in `refresh` is first fetched again from
  // the PDM for `object` (its "OBID" and "DB_NAME"), and taken off the list.
  int OpenDocument(CADDocument*& document, const CADUnicodeString& path, unsigned char readOnly,
                   CADListValCADUnicodeString& refresh, ZRBObject*& object);
  // Top-level documents in a window of their own: the window already showing the file is reused. A non-empty
  // `partNumber` becomes the root's part number (products, legacy models and vis).
  int OpenProductWithWindow(CADDocument*& document, const CADUnicodeString& path, const CADUnicodeString& partNumber,
                            int readOnly, CADListValCADUnicodeString& refresh, ZRBObject* object);
  int OpenLegacyModelWithWindow(CADDocument*& document, const CADUnicodeString& path,
                                const CADUnicodeString& partNumber, int readOnly, CADListValCADUnicodeString& refresh,
                                ZRBObject* object);
  int OpenVisWithWindow(CADDocument*& document, const CADUnicodeString& path, const CADUnicodeString& partNumber,
                        int readOnly, CADListValCADUnicodeString& refresh, ZRBObject* object);
  int OpenDrawingWithWindow(CADDocument*& document, const CADUnicodeString& path, int readOnly,
                            CADListValCADUnicodeString& refresh, ZRBObject* object);

 protected:
  // --- client mode (constructors of the SAM client's commands)
  // Makes `mode` this command's client mode, applies it, and reads the configuration flags again under it.
  void UseClientMode(const ZRBClientMode& mode);

  // --- messages: catalog `catalog`, key catalog + "." + name, with the client's message prefix
  static CADUnicodeString BuildMessage(std::string_view catalog, std::string_view name,
                                       CADUnicodeString* parameters = nullptr, int count = 0);
  static int ShowMessage(std::string_view catalog, std::string_view name, unsigned long style,
                         CADUnicodeString* parameters = nullptr, int count = 0);

  // --- PDM round trip
  // ConnectPdm with the argument line of `word`; a negative result is traced ("SYSTEM ConnectPdm <word> failed
  // with ...") and shown as "ZRBAfx.ConnectFailed". Returns ConnectPdm's result.
  int RunPdmAction(std::string_view word, const CADUnicodeString& argument, int keepDisplayAlive = 0);
  // The status word of the module-communication component; 0 when the component could not be created.
  static int SetModCommStatus(const CADString& status);
  static int GetModCommStatus(CADString& status);

  // --- commands that are not available yet: the integrity check, a trace line, and the command's end
  CADStatusChangeRC ReportNotAvailable(std::string_view detail = {});

 protected:
  int ConfigurableNodeBehaviorForStates() const override { return configurableNodeBehavior_; }

 private:
  void ReadConfigurationFlags();

  CADFrmEditor* editor_ = nullptr;  // the editor current at construction; not owned
  int ignoreNonZrbRootChildren_ = 0;
  CADListValCADUnicodeString warnings_;
  CADListValCADUnicodeString informations_;
  int configurableNodeBehavior_ = 0;
  ZRBConfigBehaviorManager* behaviorManager_ = nullptr;  // the configuration service's; not owned
  // Parent information kept for the attribute interface (PDM ids, database and class names).
  CADListValCADUnicodeString parentObids_;
  CADListValCADUnicodeString parentDbNames_;
  CADListValCADUnicodeString parentClassNames_;
  ZRBClientMode clientMode_ = ZRBClientMode::Standard();
  // Released-cache files renamed for a read request and their names meanwhile (parallel lists).
  CADListValCADUnicodeString renamedReleasedCacheFiles_;
  CADListValCADUnicodeString renamedReleasedCacheNewPaths_;
};
