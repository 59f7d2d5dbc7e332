// The session's documents: create, open, save, save under a new name, remove,
// look up by path and list; and the settings that govern how links between
// documents are resolved.
//
// Documents returned here belong to the session: callers AddRef a document
// they keep beyond the session's life. Failures return E_FAIL with a trace
// line on standard error and leave the session as it was; GetLastError tells
// why. Process-wide state, touched on the host's user-interface thread only.
#pragma once

#include "CADBaseTypes.h"
#include "CADListValCADBaseUnknown.h"
#include "CADUnicodeString.h"
#include "CADUuid.h"

class CADDocument;

class CADDocumentServices {
 public:
  // Session lifecycle -----------------------------------------------------------
  // LoadSession reads the representation formats from "ZRB_REP_FORMATS" (a
  // list of items in braces, or one plain format); UnloadSession drops every
  // document and window; ResetSession is both, plus default settings (tests).
  static void LoadSession();
  static void UnloadSession();
  static void ResetSession();

  // Documents -----------------------------------------------------------------
  // A new empty document of the type ("CADPart", "CADProduct", "CADDrawing",
  // "CADProcess", "CADAnalysis"), named "<Part|Product|Drawing|Process|
  // Analysis><n>.<type>" in the new-document directory, modified, not yet on
  // disk. A part or product gets a root product with the same base name as
  // part number.
  static HRESULT New(const CADUnicodeString& type, CADDocument*& document);
  // Opens the file at `path` (or returns the document already open under that
  // exact path), and the documents it links to. A missing, unreadable or
  // damaged file, an unknown extension or a part number that another
  // reference of the session already has: E_FAIL, document null, session
  // unchanged. `readOnly` non-zero opens read-only; a file without write
  // permission always opens read-only.
  static HRESULT OpenDocument(const CADUnicodeString& path, CADDocument*& document, int readOnly = 0);
  // Writes the document to its storage name (a new file replaces the old
  // one atomically; its modification time changes) and clears the modified
  // flag. E_FAIL for a read-only document or a file that cannot be written.
  static HRESULT Save(CADDocument* document, int followLinks = 0);
  // Writes the document to `path`, makes that its storage name and clears the
  // modified flag. Fails (nothing changed) for a read-only document, a path
  // already used by another document of the session, a target without write
  // permission or in a directory that cannot be written. A symbolic link at
  // `path` is replaced by the new file (its target is left alone) unless
  // followLinks is non-zero, in which case the link's target is written.
  static HRESULT SaveAs(CADDocument* document, const CADUnicodeString& path, int followLinks = 0);
  // Takes the document out of the session and closes its windows. Products of
  // other documents that use its root product keep an unloaded reference (part
  // number "") that reloads it on demand.
  static HRESULT Remove(CADDocument* document);
  // The document open under exactly this path, or null.
  static CADDocument* GetDocumentInSession(const CADUnicodeString& path);
  // Every document of the session, in opening order.
  static CADListValCADBaseUnknown_var GetListOfDocuments();

  // Settings -------------------------------------------------------------------
  // Directories searched, in order, for a linked file that is not in the
  // linking document's own directory.
  static void SetSearchPath(const CADListValCADUnicodeString& directories);
  static CADListValCADUnicodeString GetSearchPath();
  // Representation formats: extensions opened as representation documents.
  static void SetRepresentationFormats(const CADListValCADUnicodeString& formats);
  static CADListValCADUnicodeString GetRepresentationFormats();
  // Type of a file from its extension ("" when the host does not know it).
  static CADUnicodeString GetTypeFromPath(const CADUnicodeString& path);
  // The identifier of the document file at `path`, read from the file: a
  // document keeps it through Save and SaveAs, so a file copied over another
  // shows as the other document. Files that store none answer one derived
  // from their real path. E_FAIL for a path that is no regular file.
  static HRESULT GetIdentifierOfFile(const CADUnicodeString& path, CADUuid& identifier);
  // When on, opening a product leaves the parts it uses unloaded (part number
  // "", "Default" representation naming the file) until a part is switched to
  // design mode or its representation is loaded.
  static void SetVisualizationModeLoading(int on);
  static int GetVisualizationModeLoading();
  // Directory of new documents (default: the current directory).
  static void SetNewDocumentDirectory(const CADUnicodeString& directory);
  // Text of the last failure of these services ("" after a success).
  static CADUnicodeString GetLastError();
};
