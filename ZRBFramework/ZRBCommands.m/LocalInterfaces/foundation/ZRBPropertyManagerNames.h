// The property names the integration knows, per record kind. A name outside
// its kind's list is still stored; the check only leaves a debug line, so a
// misspelt name shows up in the trace.
#pragma once

#include "CADListVal.h"
#include "CADUnicodeString.h"

class ZRBPropertyManagerNames {
 public:
  enum class Kind { Global, Instance, Reference, File, PathToRoot };

  ZRBPropertyManagerNames();

  const CADListValCADUnicodeString& Names(Kind kind) const;
  bool IsConfigured(Kind kind, const CADUnicodeString& name) const;
  // Writes "<verb> <Kind> Property '<name>' not configured!" to the debug
  // trace when the name is not configured. The verb is "Set", "Get",
  // "Delete" or "IsSet".
  void Check(Kind kind, const char* verb, const CADUnicodeString& name) const;

  static const char* KindName(Kind kind);

 private:
  CADListValCADUnicodeString global_;
  CADListValCADUnicodeString instance_;
  CADListValCADUnicodeString reference_;
  CADListValCADUnicodeString file_;
  CADListValCADUnicodeString pathToRoot_;
};
