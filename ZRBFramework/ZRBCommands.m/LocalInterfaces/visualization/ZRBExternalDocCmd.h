// Loads the documents that the PDM document selected in the session depends on ("REQUEST_QUERY_DEPENDENT") and
// tells which of them the session does not hold.
#pragma once

#include "ZRBGetDepBase.h"

class ZRBExternalDocCmd : public ZRBGetDepBase {
 public:
  ZRBExternalDocCmd() : ZRBGetDepBase("ZRBExternalDocCmd") {}

 protected:
  int SetTcCommand(ZRBObject* command) override;
  const char* Catalog() const override { return "ZRBExternalDocCmd"; }
  // Every file of the PDM's list that the session does not hold is named ("ZRBExternalDocCmd.NotLoaded").
  void CompareWithSession(const CADIProduct_var& product, const ZRBDependencyLists& lists) override;
};

ZRBExternalDocCmd* fctCreateZRBExternalDocCmd();
