// The exchange map's product services of a running command: documents are
// saved through the command (so its own save rules apply), everything else
// as the host tells it.
#pragma once

#include "ZRBXmapHostServices.h"

class ZRBCommand;

class ZRBXmapCommandServices : public ZRBXmapHostServices {
 public:
  // The command must outlive this object.
  explicit ZRBXmapCommandServices(ZRBCommand& command) : command_(command) {}

  int SaveAs(CADDocument& document, const CADUnicodeString& path, const CADUnicodeString& format,
             unsigned char flag) override;
  int Save(CADDocument* document, unsigned char flag) override;

 private:
  ZRBCommand& command_;
};
