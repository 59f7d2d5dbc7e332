// Builds a light visualisation (vis) document of a PDM product into the exchange map and attaches it below the
// product, or renews the file of a selected visualisation node. Storing it in the PDM is a later create or update.
#pragma once

#include "CADIProduct.h"
#include "CADUnicodeString.h"
#include "ZRBOneStepCommand.h"

class ZRBBuildVisuCmd : public ZRBOneStepCommand {
 public:
  // --- lifecycle
  ZRBBuildVisuCmd() : ZRBOneStepCommand("ZRBBuildVisuCmd") {}

  // --- selection: 1 found, 0 not (each refusal traces why)
  int GetSelectedZRBProduct(CADIProduct_var& product);
  int GetSelectedZRBVisualization(CADIProduct_var& product);
  // The first free vis part number and its file in the exchange map: PN + "_VISU", then PN + "_n_VISU" from
  // n = 2, free when neither the file exists nor a product below `product` has that part number. 0 for an
  // empty exchange map or part number.
  int GetNewVisPathInXmap(const CADUnicodeString& partNumber, const CADIProduct_var product, CADUnicodeString& visPath,
                          CADUnicodeString& newPartNumber);

 protected:
  Outcome Work() override;
  void ShowOutcome(int success) override;

 private:
  CADIProduct_var SelectedProduct();
  int Build(const CADIProduct_var& product);
  int Renew(const CADIProduct_var& visualization);
  // A node added to a window gets its representation only from a modification event, as on the host.
  static void DisplayNewObject(const CADIProduct_var& node);
};

ZRBBuildVisuCmd* fctCreateZRBBuildVisuCmd();
