// The process-wide document session: the open documents, the unloaded
// reference stand-ins by file, the settings of link resolution, and the last
// failure. Touched on the host's user-interface thread only.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "CADBaseUnknown.h"
#include "CADDocument.h"
#include "CADListVal.h"
#include "CADUnicodeString.h"

class CADProductNode;

class CADDocumentSession {
 public:
  static CADDocumentSession& Get();

  // Documents ------------------------------------------------------------------
  const std::vector<CADVar<CADDocument>>& Documents() const { return documents_; }
  CADDocument* Find(const CADUnicodeString& path) const;
  CADDocument* FindBySerial(unsigned long serial) const;
  // Adds a document (gives it its serial); Take removes it again.
  void Add(CADDocument* document);
  void Take(CADDocument* document);

  // True when a loaded reference of the session other than `except` has
  // this part number.
  bool IsPartNumberUsed(const CADUnicodeString& partNumber, const CADProductNode* except) const;

  // Lets go of a document's products and tables: its root product becomes an
  // unloaded stand-in for its file (instances of it elsewhere stay valid).
  void ReleaseContent(CADDocument* document);

  // Unloaded stand-ins, one per file ---------------------------------------------
  CADVar<CADProductNode> UnloadedReferenceFor(const CADUnicodeString& path);
  CADProductNode* FindUnloaded(const CADUnicodeString& path) const;
  void ForgetUnloaded(const CADProductNode* node);

  // Settings ---------------------------------------------------------------------
  CADListValCADUnicodeString searchPath;
  CADListValCADUnicodeString representationFormats;
  bool visualizationModeLoading = false;
  CADUnicodeString newDocumentDirectory;
  bool IsRepresentationFormat(const CADUnicodeString& type) const;

  // Failures -------------------------------------------------------------------
  // Records and traces a failure; returns E_FAIL.
  HRESULT Fail(const std::string& what);
  void Succeed() { lastError_.clear(); }
  // Puts back a failure already traced (after a roll-back cleared it).
  void KeepError(std::string what) { lastError_ = std::move(what); }
  const std::string& LastError() const { return lastError_; }

  // Lifecycle ------------------------------------------------------------------
  // Drops every document (and the stand-ins they leave), keeps the settings.
  void Clear();
  // Clear plus default settings.
  void Reset();

 private:
  CADDocumentSession() = default;

  std::vector<CADVar<CADDocument>> documents_;
  std::map<std::string, CADProductNode*> unloaded_;  // not owned: a stand-in leaves on destruction
  unsigned long nextSerial_ = 1;
  std::string lastError_;
};
