// What a service needs of the command it works for, and nothing more: the message lists the message centre shows
// at the command's end, the editor current at its start, its way of saving a document, and its trace name.
#pragma once

#include "CADListVal.h"
#include "CADString.h"
#include "CADUnicodeString.h"

class CADDocument;
class CADFrmEditor;

// ZRBCommand implements it; services (transfer, readers, positions, document openers) take it instead of a
// whole command, so they sit below the command framework and a test can hand them any implementation.
// User-interface thread only, like the commands.
class ZRBCommandContext {
 public:
  virtual ~ZRBCommandContext() = default;

  // --- messages collected for the message centre
  virtual CADListValCADUnicodeString& GetWarnings() = 0;
  virtual CADListValCADUnicodeString& GetInformations() = 0;

  // --- the session the command works in
  // The editor current when the command started; null without one. Not owned.
  virtual CADFrmEditor* GetEditor() const = 0;

  // --- saving documents for the PDM: 1 saved, 0 failed
  // Saves under `path`; a path equal to the document's own file saves in place.
  virtual int SaveAs(CADDocument& document, const CADUnicodeString& path, const CADUnicodeString& format,
                     unsigned char flag) = 0;
  virtual int Save(CADDocument* document, unsigned char flag) = 0;

  // --- the name the command's trace lines carry
  virtual CADString GetTraceName() const = 0;
};
