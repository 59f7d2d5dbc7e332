// What the readers of one structure share: the command context whose lists collect the read's messages, the read's
// state, the answer, and the look-ups every reader needs (objects named by keys, files named by locations).
#pragma once

#include <string>
#include <unordered_map>
#include <unordered_set>

#include "CADIProduct.h"
#include "CADString.h"
#include "CADUnicodeString.h"
#include "ZRBReadState.h"

class CADDocument;
class ZRBCommandContext;
class ZRBObject;
class ZRBObjectManager;

// Lives for one structure build, on the host's user-interface thread; command, state and answer belong to the
// caller and outlive it.
class ZRBReadContext {
 public:
  // --- lifecycle
  // Remembers the documents the session holds before the build (see NoteAdded).
  ZRBReadContext(ZRBCommandContext& command, ZRBReadState& state, ZRBObjectManager& answer);
  ZRBReadContext(const ZRBReadContext&) = delete;
  ZRBReadContext& operator=(const ZRBReadContext&) = delete;

  ZRBCommandContext& Command() { return command_; }
  ZRBReadState& State() { return state_; }
  ZRBObjectManager& Answer() { return answer_; }
  // The command's "ZRB_CONFIGURABLE_NODE_BEHAVIOR" flag, read under its client.
  int ConfigurableNodeBehavior() const { return configurableNodeBehavior_; }
  void SetConfigurableNodeBehavior(int on) { configurableNodeBehavior_ = on; }

  // --- the answer
  // The object a slot of `from` names by key; null for an empty key, and for one that names no object of the
  // answer (then with a trace naming the slot and, once per key, a warning naming the key and the warning state).
  ZRBObject* Lookup(const CADString& key, const char* slot);
  // The exchange-map file an object names in "EXTERNAL_LOCATION"; 0 (with an error line naming the location and
  // the warning state) when it names none or leads out of the exchange map.
  int FileOf(const ZRBObject& object, CADUnicodeString& path);

  // --- messages: "ZRBReadCmd.<name>" into the command's error list
  void AddError(const char* name);
  void AddError(const char* name, const CADUnicodeString& parameter);
  // The same, and the read ends in its warning state.
  void AddWarning(const char* name, const CADUnicodeString& parameter);
  // "ZRBAfx.WrongListSize": user-defined attribute lists of different lengths.
  void AddWrongListSize();

  // --- documents the read obtained
  // Records the file in the exchange map's content file with the object's PDM identity (temporary mode, as in
  // an add-temporary read, leaves the content file alone).
  void RegisterDocument(const ZRBObject& object, const CADUnicodeString& path);
  // Lists a document the read leaves read-only (the PDM does not let the user change it) once, under the
  // read-only heading of the command's informations.
  void NoteReadOnly(const CADUnicodeString& path);
  // A new instance below `parent`: when the parent's document was in the session before the read, the user
  // did not see it come and it is highlighted at the end.
  void NoteAdded(const CADIProduct_var& parent, const CADIProduct_var& child);
  // 1 when the document was in the session before the read.
  int WasInSession(const CADDocument* document) const { return before_.count(document) ? 1 : 0; }
  // A document the read opened but could not place is taken out of the session again, and the load fails.
  void DropUnplaced(CADDocument* document, const CADUnicodeString& path);
  // 1 when another file of this read already used the part number (both are remembered by their paths).
  int PartNumberTakenByOtherFile(const CADUnicodeString& partNumber, const CADUnicodeString& path);

 private:
  ZRBCommandContext& command_;
  int configurableNodeBehavior_ = 0;
  ZRBReadState& state_;
  ZRBObjectManager& answer_;
  std::unordered_map<std::string, std::string> fileOfPartNumber_;
  std::unordered_set<std::string> readOnlyNoted_;
  std::unordered_set<std::string> missingKeys_;
  std::unordered_set<const CADDocument*> before_;
};
