// Whether a node's document file is still the document the PDM gave the session: the identifier recorded on the
// node's reference ("STORED_UUID") against the one its file carries now.
#pragma once

#include "CADIProduct.h"
#include "CADUnicodeString.h"

class ZRBCommandContext;

// Stateless; user-interface thread only. Everything happens only while "ZRB_READ_UUID" is "ON".
class ZRBIdentityCheck {
 public:
  enum class Outcome {
    NotChecked,  // switched off, nothing recorded for the node, or the file's identifier cannot be read
    Same,
    Other,  // another document's file lies where the node's should be (or the comparison could not vouch for it)
  };
  // Compares through the host's identifiers, or the customer library's with "ZRB_USE_CUSTEXT"; a failed customer
  // comparison adds "ZRBUpdateCmd.CustomerLibCallFailed" to `context`'s warnings (when given).
  static Outcome Check(const CADIProduct_var& product, ZRBCommandContext* context);
  // Records the identifier of the node's document file as "STORED_UUID": after a read and after a confirmed save.
  static void Remember(const CADIProduct_var& product);

  static CADUnicodeString FileOf(const CADIProduct_var& product);
};
