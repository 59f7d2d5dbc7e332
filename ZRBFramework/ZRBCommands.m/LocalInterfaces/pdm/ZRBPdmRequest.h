// One request/answer exchange with the PDM through an exchange object file: the "ROOT"/"COMMAND" skeleton of the
// request, the run of the action word, and the answer's "ACTION_SUCCESS" read as a named result and its "STATS".
#pragma once

#include <string_view>

#include "CADListVal.h"
#include "CADUnicodeString.h"

class ZRBObject;
class ZRBObjectManager;

// What the PDM wrote into "ACTION_SUCCESS". "2" means different things by the step it answers: the first call of
// a two-step command ("the dialog is up"), or a one-step request the user cancelled on the PDM side; a second
// step knows no "2".
enum class ZRBPdmResult {
  Failed,                // "0", anything unknown, or no answer at all
  Succeeded,             // "1"
  SucceededWithRemarks,  // "3": success, with remarks the message centre shows in its failure variant
  FirstStepDone,         // "2" after the first call of a two-step command: the PDM's dialog is up
  CancelledByUser,       // "2" after a one-step request: the user stopped it in the PDM
};

// Which call an answer belongs to; decides what "2" means.
enum class ZRBPdmStep { OneStep, FirstOfTwo, SecondOfTwo };

// Stateless; user-interface thread only (the action itself may run on the PDM-call worker, see ZRBPdmWorkerCall).
class ZRBPdmRequest {
 public:
  // --- the request's skeleton
  // "ROOT" with "ACTION_SUCCESS" "0": the PDM overwrites it with its result. Null when it could not be created.
  static ZRBObject* AddRoot(ZRBObjectManager& request);
  // "COMMAND" with the request word in "COMMAND" and the exchange map in "EXMAP"; an empty one is left out.
  static ZRBObject* AddCommand(ZRBObjectManager& request, std::string_view requestWord, const CADUnicodeString& xmap);

  // --- the run
  // ConnectPdm with the argument line of `word`; a negative result is traced ("SYSTEM ConnectPdm <word> failed
  // with ...") and shown as "ZRBAfx.ConnectFailed". Returns ConnectPdm's result.
  static int Run(std::string_view word, const CADUnicodeString& argument, int keepDisplayAlive = 0);
  // The same without the message box, for the cancel words: a failure is only traced.
  static int RunQuietly(std::string_view word, const CADUnicodeString& argument);

  // --- the answer
  // Reads the answer the PDM wrote at `path`; false when it cannot be read, after the trace line and the
  // "ZRBAfx.ConnectFailed" box (the action's own message: the show-message flag is cleared).
  static bool ReadAnswer(const CADUnicodeString& path, ZRBObjectManager& answer);
  // Reads an answer that must be whole: false, quietly and with `answer` empty, when the file cannot be read,
  // the reader stopped before its end, or its last line was cut off (the PDM writes whole lines only).
  static bool ReadWholeAnswer(const CADUnicodeString& path, ZRBObjectManager& answer);
  // The result an object (the answer's "ROOT", or one item of it) carries; Failed for a null object.
  static ZRBPdmResult ReadResult(const ZRBObject* object, ZRBPdmStep step);
  static bool IsSuccess(ZRBPdmResult result) {
    return result == ZRBPdmResult::Succeeded || result == ZRBPdmResult::SucceededWithRemarks;
  }
  // Appends the answer's "STATS" lines to `messages` (the command's warnings, as the message centre shows them).
  static void AddStats(const ZRBObject& root, CADListValCADUnicodeString& messages);
};
