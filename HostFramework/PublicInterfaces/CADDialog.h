// Base of every dialog object of the host: dialog windows and the controls inside them.
#pragma once

#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "CADString.h"
#include "CADUnicodeString.h"

class CADDlgDialog;

enum CADDlgSensitivity : int { CADDlgDisable = 0, CADDlgEnable = 1 };
enum CADDlgVisibility : int { CADDlgHide = 0, CADDlgShow = 1 };

// What a dialog object can tell its subscribers. Notifications fire synchronously, in subscription order.
enum class CADDlgEvent {
  Push,              // push button pressed
  CheckChanged,      // check button toggled
  SelectionChanged,  // list, combo or tab-container selection changed
  Activate,          // list row double-clicked (or Enter on it)
  TextModified,      // editor text changed by the user
  OK,                // dialog button OK
  Cancel,            // dialog button Cancel
  Close,             // dialog button Close
  Apply,             // dialog button Apply
  WindowClose,       // window closed from the window manager
};

const char* CADDlgEventName(CADDlgEvent event);

// Grid placement flags of SetGridConstraints (stored for inspection; this host draws nothing).
enum CADDlgGridFlags : int {
  CADDlgGridNone = 0,
  CADDlgGridLeft = 0x1,
  CADDlgGridRight = 0x2,
  CADDlgGridTop = 0x4,
  CADDlgGridBottom = 0x8,
  CADDlgGridFill = 0xF,
};

struct CADDlgGridPlacement {
  int row = 0;
  int column = 0;
  int rowSpan = 1;
  int columnSpan = 1;
  int flags = CADDlgGridNone;
  bool set = false;
};

// Holds the object tree (a parent owns its children), identifier, title, sensitivity, visibility, grid placement
// and notifications. User-interface thread only.
class CADDialog {
 public:
  using Callback = std::function<void(CADDialog& sender)>;

  // --- lifecycle: the parent (may be null for a top-level window) takes ownership.
  CADDialog(CADDialog* parent, const CADString& identifier);
  virtual ~CADDialog();
  CADDialog(const CADDialog&) = delete;
  CADDialog& operator=(const CADDialog&) = delete;

  // Deletes the object at the next safe point (end of the current loop turn or driver action), never while one
  // of its notifications is running. Idempotent.
  void RequestDelayedDestruction();
  bool IsDestructionRequested() const { return destructionRequested_; }

  // --- tree
  const CADString& GetName() const { return identifier_; }
  CADDialog* GetFather() const { return parent_; }
  const std::vector<CADDialog*>& GetChildren() const { return children_; }
  // The first descendant (depth first, in creation order) with this identifier, or null.
  CADDialog* FindDescendant(std::string_view identifier) const;
  // The dialog window this object belongs to (itself for a window), or null.
  virtual CADDlgDialog* GetDialogWindow();
  // Identifiers from below the window down to this object, joined with "." (the resource key path).
  CADString GetResourcePath() const;
  // Short kind name for diagnostics ("PushButton", "MultiList" ...).
  virtual const char* GetKind() const { return "Object"; }
  // True for dialog windows (the top of a control tree).
  virtual bool IsWindow() const { return false; }

  // --- appearance
  virtual void SetTitle(const CADUnicodeString& title) { title_ = title; }
  const CADUnicodeString& GetTitle() const { return title_; }
  void SetSensitivity(CADDlgSensitivity state) { sensitive_ = state == CADDlgEnable; }
  CADDlgSensitivity GetSensitivity() const { return sensitive_ ? CADDlgEnable : CADDlgDisable; }
  virtual void SetVisibility(CADDlgVisibility state) { visible_ = state == CADDlgShow; }
  CADDlgVisibility GetVisibility() const { return visible_ ? CADDlgShow : CADDlgHide; }
  // This object and every ancestor up to its window are sensitive / shown (a tab page counts as shown only
  // while it is the selected page of its container).
  bool IsEffectivelySensitive() const;
  bool IsEffectivelyVisible() const;
  void SetIconName(const CADString& icon) { icon_ = icon; }
  const CADString& GetIconName() const { return icon_; }
  void SetGridConstraints(int row, int column, int rowSpan, int columnSpan, int flags);
  const CADDlgGridPlacement& GetGridConstraints() const { return grid_; }
  void SetGridRowResizable(int row, int resizable = 1);
  void SetGridColumnResizable(int column, int resizable = 1);
  bool IsGridRowResizable(int row) const;
  bool IsGridColumnResizable(int column) const;

  // --- notifications. `subscriber` tags the connection so that an object can drop all of its own at once.
  int Connect(CADDlgEvent event, Callback callback, const void* subscriber = nullptr);
  void Disconnect(int connection);
  void DisconnectSubscriber(const void* subscriber);
  // Fires `event` to its subscribers. Safe when a callback disconnects or requests destruction.
  void Notify(CADDlgEvent event);
  int CountSubscribers(CADDlgEvent event) const;

 protected:
  // Deletes the children now; a derived class whose children call back into it does this in its destructor.
  void DeleteChildren();
  // Visibility of this object alone as its container sees it (tab pages override).
  virtual bool IsShownInParent() const { return visible_; }

 private:
  struct Connection {
    int id;
    CADDlgEvent event;
    Callback callback;
    const void* subscriber;
  };

  void AddChild(CADDialog* child) { children_.push_back(child); }
  void RemoveChild(CADDialog* child);

  CADDialog* parent_;
  CADString identifier_;
  CADUnicodeString title_;
  CADString icon_;
  bool sensitive_ = true;
  bool visible_ = true;
  bool destructionRequested_ = false;
  CADDlgGridPlacement grid_;
  std::vector<int> resizableRows_;
  std::vector<int> resizableColumns_;
  std::vector<CADDialog*> children_;
  std::vector<Connection> connections_;
  int nextConnection_ = 1;
  // Shared with running notifications so that they notice the object's end.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);

  friend class CADDlgReaper;
};
