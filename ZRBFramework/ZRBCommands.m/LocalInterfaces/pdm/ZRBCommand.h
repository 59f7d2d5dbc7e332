// The base of every module command: the client mode it talks to the PDM through, the warnings and informations
// it gathers for the message centre, the integrity check at its start, and thin forwarders to the services the
// commands call by these names. The lifecycles are ZRBOneStepCommand and ZRBTwoStepCommand.
#pragma once

#include <string_view>

#include "CADCommand.h"
#include "CADIProduct.h"
#include "CADListVal.h"
#include "CADString.h"
#include "CADUnicodeString.h"
#include "ZRBClientMode.h"
#include "ZRBCommandContext.h"
#include "ZRBCommandStates.h"
#include "ZRBReleasedCacheVisNames.h"

class CADDocument;
class CADFrmEditor;
class CADFrmWindow;
class CADMathBox;
class CADMathTransformation;
class ZRBConfigBehaviorManager;
class ZRBObject;

// Everything here runs on the host's user-interface thread: commands, their timer callbacks and the automation
// calls that start them. The domain work lives in the services (ZRBProductPositions, ZRBDocumentOpener,
// ZRBReleasedCacheVisNames, ZRBPdmRequest), which take the command as their ZRBCommandContext; the product-structure
// state checks are its ZRBCommandStates base.
class ZRBCommand : public CADCommand, public ZRBCommandContext, public ZRBCommandStates {
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
  // The integrity check every command runs at its start: abandons a two-step command that still waits for the
  // PDM (ZRBTwoStepKinds), then lets the property manager drop what no open document uses. `mode` as the
  // property manager's.
  static void CheckIntegrity(int mode);
  // Called by the abandonment on the registered waiting command: a command that waits for the PDM stops
  // waiting and ends (1); the others have nothing to stop (0).
  virtual int StopWaitingForPdm() { return 0; }

  // --- the command context (saving documents for the PDM: 1 saved, 0 failed)
  // Saves under `path`; a path equal to the document's own file saves in place.
  int SaveAs(CADDocument& document, const CADUnicodeString& path, const CADUnicodeString& format,
             unsigned char flag) override;
  int Save(CADDocument* document, unsigned char flag) override;
  CADFrmEditor* GetEditor() const override { return editor_; }
  CADString GetTraceName() const override { return GetName(); }

  // --- client mode
  const ZRBClientMode& GetClientMode() const { return clientMode_; }
  // Puts this command's client mode back in force: the process-wide mode belongs to the command constructed
  // last, which need not be this one.
  void ApplyClientMode() const;

  // --- messages for the message centre
  CADListValCADUnicodeString& GetWarnings() override { return warnings_; }
  CADListValCADUnicodeString& GetInformations() override { return informations_; }
  const CADListValCADUnicodeString& GetWarnings() const { return warnings_; }
  const CADListValCADUnicodeString& GetInformations() const { return informations_; }
  // Shows the summary with this command's warnings and informations (not modal).
  void DisplayMessageCenter(const int& success, const int& successVariant, const CADUnicodeString& successText,
                            const CADUnicodeString& failureText, int failureVariant);

  // --- configuration read at construction
  int GetIgnoreNonZrbRootChildren() const { return ignoreNonZrbRootChildren_; }
  int GetConfigurableNodeBehavior() const { return configurableNodeBehavior_; }
  ZRBConfigBehaviorManager* GetBehaviorManager() const { return behaviorManager_; }

  // --- positions of product instances (ZRBProductPositions); 1 success, 0 failure
  int GetProductPosition(const CADIProduct_var& child, const CADIProduct_var& parent, double coefficients[12]);
  int MoveProduct(const CADIProduct_var& child, const CADIProduct_var& parent, const double coefficients[12]);
  int SetProductTrafoToZRBObject(ZRBObject* object, const CADIProduct_var& child, const CADIProduct_var& parent);
  static void KeepPositionToSend(const CADIProduct_var& parent, const CADIProduct_var& child);

  // --- bounding boxes (ZRBProductBox, paths from this command's editor); 1 computed, 0 not
  int GetPartBoundingBox(CADIProduct* product, CADMathBox* box, CADFrmWindow* window);
  int GetProductBoundingBox(CADIProduct_var& product, CADMathBox& box, const CADMathTransformation& transformation,
                            CADFrmWindow* window);

  // --- the released cache around a read request (ZRBReleasedCacheVisNames, one per command)
  HRESULT DeleteNotLoadedVisFromReleasedCache(const CADUnicodeString& xmapDirectory,
                                              const CADUnicodeString& releasedXmapDirectory);
  HRESULT RestoreTimeStampInReleasedCacheFiles();
  // Redraws the model nodes of every document (a headless host draws nothing).
  static void RedrawAllModelNodes();

  // --- opening documents for a read (ZRBDocumentOpener); 1 opened, 0 failed (the failure is in the warnings)
  int OpenDocument(CADDocument*& document, const CADUnicodeString& path, unsigned char readOnly,
                   CADListValCADUnicodeString& refresh, ZRBObject* object);
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

  // --- PDM round trip (ZRBPdmRequest for the request file and its answer)
  // ZRBPdmRequest::Run: a negative result is traced and shown as "ZRBAfx.ConnectFailed".
  int RunPdmAction(std::string_view word, const CADUnicodeString& argument, int keepDisplayAlive = 0);
  // The status word of the module-communication component; 0 when the component could not be created.
  static int SetModCommStatus(const CADString& status);
  static int GetModCommStatus(CADString& status);

 protected:
  int ConfigurableNodeBehaviorForStates() const override { return GetConfigurableNodeBehavior(); }

 private:
  void ReadConfigurationFlags();

  CADFrmEditor* editor_ = nullptr;  // the editor current at construction; not owned
  int ignoreNonZrbRootChildren_ = 0;
  CADListValCADUnicodeString warnings_;
  CADListValCADUnicodeString informations_;
  int configurableNodeBehavior_ = 0;
  ZRBConfigBehaviorManager* behaviorManager_ = nullptr;  // the configuration service's; not owned
  ZRBClientMode clientMode_ = ZRBClientMode::Standard();
  ZRBReleasedCacheVisNames releasedCacheVisNames_;
};
