// Shows a command's summary in the message centre: the status line for success or failure and the command's
// warnings and informations, grouped by category. The command base forwards its DisplayMessageCenter here.
#pragma once

#include "CADListVal.h"
#include "CADUnicodeString.h"

class ZRBMessageDialog;

class ZRBMessageCenter {
 public:
  // Success: Build3 when successVariant is set, else Build, status successText. Failure: Build3 when
  // failureVariant is set, else Build2, status failureText. An empty list disables its page. The dialog is
  // shown (not modal) and returned; it destroys itself when closed.
  static ZRBMessageDialog* Display(int success, int successVariant, const CADUnicodeString& successText,
                                   const CADUnicodeString& failureText, int failureVariant,
                                   const CADListValCADUnicodeString& warnings,
                                   const CADListValCADUnicodeString& informations);
};
