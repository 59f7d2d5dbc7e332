// Loads the documents that depend on the PDM document selected in the session ("REQUEST_QUERY_DEPENDED_BY").
#pragma once

#include "ZRBGetDepBase.h"

class ZRBGetDepByCmd : public ZRBGetDepBase {
 public:
  ZRBGetDepByCmd() : ZRBGetDepBase("ZRBGetDepByCmd") {}

 protected:
  int SetTcCommand(ZRBObject* command) override;
  const char* Catalog() const override { return "ZRBGetDepByCmd"; }
};

ZRBGetDepByCmd* fctCreateZRBGetDepByCmd();
