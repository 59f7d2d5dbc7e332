#include "CADDocumentSession.h"

#include <algorithm>
#include <cstdio>

#include "CADDesignTableObject.h"
#include "CADDocumentState.h"
#include "CADFrmLayout.h"
#include "CADProductNode.h"

CADDocumentSession& CADDocumentSession::Get() {
  // Never destroyed: documents and products may still be released by other
  // static objects while the process ends.
  static CADDocumentSession* session = new CADDocumentSession();
  return *session;
}

CADDocument* CADDocumentSession::Find(const CADUnicodeString& path) const {
  if (path.IsEmpty()) return nullptr;
  for (const auto& doc : documents_)
    if (doc->StorageName() == path) return doc.get();
  return nullptr;
}

CADDocument* CADDocumentSession::FindBySerial(unsigned long serial) const {
  if (serial == 0) return nullptr;
  for (const auto& doc : documents_)
    if (doc->State().serial == serial) return doc.get();
  return nullptr;
}

void CADDocumentSession::Add(CADDocument* document) {
  document->State().serial = nextSerial_++;
  document->State().inSession = true;
  documents_.emplace_back(document);
}

void CADDocumentSession::Take(CADDocument* document) {
  document->State().inSession = false;
  auto it = std::find_if(documents_.begin(), documents_.end(), [&](const auto& d) { return d.get() == document; });
  if (it == documents_.end()) return;
  CADVar<CADDocument> keep = *it;  // the erase must not end the document inside the vector
  documents_.erase(it);
}

bool CADDocumentSession::IsPartNumberUsed(const CADUnicodeString& partNumber, const CADProductNode* except) const {
  auto uses = [&](const CADVar<CADProductNode>& ref) {
    return ref && ref.get() != except && ref->RefState().loaded && ref->RefState().partNumber == partNumber;
  };
  for (const auto& doc : documents_) {
    if (uses(doc->State().root)) return true;
    for (const auto& c : doc->State().components)
      if (uses(c)) return true;
  }
  return false;
}

void CADDocumentSession::ReleaseContent(CADDocument* document) {
  CADDocumentState& s = document->State();
  if (s.root && s.root->RefState().document == document) {
    CADVar<CADProductNode> root = s.root;
    root->Unload(s.storageName);
    if (!s.storageName.IsEmpty() && !unloaded_.count(s.storageName.str())) unloaded_[s.storageName.str()] = root.get();
  }
  for (const auto& c : s.components)
    if (c->RefState().document == document) c->Unload(CADUnicodeString());
  s.components.clear();
  for (const auto& t : s.tables) t->Detach();
  s.tables.clear();
}

CADVar<CADProductNode> CADDocumentSession::UnloadedReferenceFor(const CADUnicodeString& path) {
  if (CADProductNode* node = FindUnloaded(path)) return CADVar<CADProductNode>(node);
  CADVar<CADProductNode> node = CADProductNode::NewUnloaded(path);
  unloaded_[path.str()] = node.get();
  return node;
}

CADProductNode* CADDocumentSession::FindUnloaded(const CADUnicodeString& path) const {
  auto it = unloaded_.find(path.str());
  if (it == unloaded_.end() || it->second->RefState().loaded) return nullptr;
  return it->second;
}

void CADDocumentSession::ForgetUnloaded(const CADProductNode* node) {
  for (auto it = unloaded_.begin(); it != unloaded_.end();) {
    if (it->second == node)
      it = unloaded_.erase(it);
    else
      ++it;
  }
}

bool CADDocumentSession::IsRepresentationFormat(const CADUnicodeString& type) const {
  return !type.IsEmpty() && representationFormats.Locate(type) != 0;
}

HRESULT CADDocumentSession::Fail(const std::string& what) {
  lastError_ = what;
  std::fprintf(stderr, "CADHost: %s\n", what.c_str());
  return E_FAIL;
}

void CADDocumentSession::Clear() {
  CADFrmLayout::GetCurrentLayout().Reset();
  // Take every document out first, then let go of them: releasing one must
  // not find the others half-destroyed.
  std::vector<CADVar<CADDocument>> documents;
  documents.swap(documents_);
  for (const auto& doc : documents) {
    doc->State().inSession = false;
    ReleaseContent(doc.get());
  }
  documents.clear();
  unloaded_.clear();
  lastError_.clear();
}

void CADDocumentSession::Reset() {
  Clear();
  searchPath.RemoveAll();
  representationFormats.RemoveAll();
  visualizationModeLoading = false;
  newDocumentDirectory = CADUnicodeString();
  nextSerial_ = 1;
}
