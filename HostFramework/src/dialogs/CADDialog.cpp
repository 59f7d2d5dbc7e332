#include "CADDialog.h"

#include <algorithm>

#include "CADDlgReaper.h"
#include "CADDlgTabPage.h"

const char* CADDlgEventName(CADDlgEvent event) {
  switch (event) {
    case CADDlgEvent::Push:
      return "Push";
    case CADDlgEvent::CheckChanged:
      return "CheckChanged";
    case CADDlgEvent::SelectionChanged:
      return "SelectionChanged";
    case CADDlgEvent::Activate:
      return "Activate";
    case CADDlgEvent::TextModified:
      return "TextModified";
    case CADDlgEvent::OK:
      return "OK";
    case CADDlgEvent::Cancel:
      return "Cancel";
    case CADDlgEvent::Close:
      return "Close";
    case CADDlgEvent::Apply:
      return "Apply";
    case CADDlgEvent::WindowClose:
      return "WindowClose";
  }
  return "?";
}

CADDialog::CADDialog(CADDialog* parent, const CADString& identifier) : parent_(parent), identifier_(identifier) {
  if (parent_) parent_->AddChild(this);
}

CADDialog::~CADDialog() {
  *alive_ = false;
  CADDlgReaper::Forget(this);
  DeleteChildren();
  if (parent_) parent_->RemoveChild(this);
}

void CADDialog::DeleteChildren() {
  // Newest first; each child's destructor detaches it from children_.
  while (!children_.empty()) delete children_.back();
}

void CADDialog::RemoveChild(CADDialog* child) {
  children_.erase(std::remove(children_.begin(), children_.end(), child), children_.end());
}

void CADDialog::RequestDelayedDestruction() {
  if (destructionRequested_) return;
  destructionRequested_ = true;
  CADDlgReaper::Add(this);
}

CADDialog* CADDialog::FindDescendant(std::string_view identifier) const {
  for (CADDialog* child : children_) {
    if (child->identifier_.view() == identifier) return child;
    if (CADDialog* found = child->FindDescendant(identifier)) return found;
  }
  return nullptr;
}

CADDlgDialog* CADDialog::GetDialogWindow() { return parent_ ? parent_->GetDialogWindow() : nullptr; }

CADString CADDialog::GetResourcePath() const {
  std::vector<const CADDialog*> chain;
  for (const CADDialog* p = this; p; p = p->parent_) {
    if (p->IsWindow()) break;  // stop below the window
    chain.push_back(p);
  }
  std::string path;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    if (!path.empty()) path += '.';
    path += (*it)->identifier_.str();
  }
  return CADString(path);
}

bool CADDialog::IsEffectivelySensitive() const {
  for (const CADDialog* p = this; p; p = p->parent_) {
    if (!p->sensitive_) return false;
    if (p->IsWindow()) break;
  }
  return true;
}

bool CADDialog::IsEffectivelyVisible() const {
  for (const CADDialog* p = this; p; p = p->parent_) {
    if (!p->IsShownInParent()) return false;
    if (p->IsWindow()) break;
  }
  return true;
}

void CADDialog::SetGridConstraints(int row, int column, int rowSpan, int columnSpan, int flags) {
  grid_ = CADDlgGridPlacement{row, column, rowSpan, columnSpan, flags, true};
}

void CADDialog::SetGridRowResizable(int row, int resizable) {
  resizableRows_.erase(std::remove(resizableRows_.begin(), resizableRows_.end(), row), resizableRows_.end());
  if (resizable) resizableRows_.push_back(row);
}

void CADDialog::SetGridColumnResizable(int column, int resizable) {
  resizableColumns_.erase(std::remove(resizableColumns_.begin(), resizableColumns_.end(), column),
                          resizableColumns_.end());
  if (resizable) resizableColumns_.push_back(column);
}

bool CADDialog::IsGridRowResizable(int row) const {
  return std::find(resizableRows_.begin(), resizableRows_.end(), row) != resizableRows_.end();
}

bool CADDialog::IsGridColumnResizable(int column) const {
  return std::find(resizableColumns_.begin(), resizableColumns_.end(), column) != resizableColumns_.end();
}

int CADDialog::Connect(CADDlgEvent event, Callback callback, const void* subscriber) {
  int id = nextConnection_++;
  connections_.push_back(Connection{id, event, std::move(callback), subscriber});
  return id;
}

void CADDialog::Disconnect(int connection) {
  connections_.erase(
      std::remove_if(connections_.begin(), connections_.end(), [&](const Connection& c) { return c.id == connection; }),
      connections_.end());
}

void CADDialog::DisconnectSubscriber(const void* subscriber) {
  connections_.erase(std::remove_if(connections_.begin(), connections_.end(),
                                    [&](const Connection& c) { return c.subscriber == subscriber; }),
                     connections_.end());
}

void CADDialog::Notify(CADDlgEvent event) {
  // Callbacks may connect, disconnect or even end this object: work from a snapshot of the ids and look each
  // one up again before calling it.
  std::vector<int> ids;
  for (const Connection& c : connections_)
    if (c.event == event) ids.push_back(c.id);
  std::shared_ptr<bool> alive = alive_;
  for (int id : ids) {
    if (!*alive) return;
    auto it = std::find_if(connections_.begin(), connections_.end(), [&](const Connection& c) { return c.id == id; });
    if (it == connections_.end()) continue;
    Callback callback = it->callback;  // a copy: the callback may disconnect itself
    callback(*this);
  }
}

int CADDialog::CountSubscribers(CADDlgEvent event) const {
  return static_cast<int>(
      std::count_if(connections_.begin(), connections_.end(), [&](const Connection& c) { return c.event == event; }));
}
