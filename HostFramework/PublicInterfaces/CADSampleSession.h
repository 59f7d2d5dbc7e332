// Writes the sample session used as test fixture and demo data: an assembly
// with subassemblies (one used twice) and an embedded component, a part used
// twice at a rotated and translated position, a part with a design table and
// its sheet file, and a drawing of that part.
//
//   Assembly.CADProduct  "Assembly"
//     Bracket.1  -> Bracket.CADProduct (identity)
//     Bracket.2  -> Bracket.CADProduct (rotated 180 degrees about z, moved by 0 300 0)
//     Fixings.1  -> embedded component "Fixings"
//                     Bolt.1 -> Bolt.CADPart (moved by 0 0 -40)
//   Bracket.CADProduct   "Bracket"
//     Plate.1    -> Plate.CADPart (identity)
//     Bolt.1     -> Bolt.CADPart (moved by 10 10 5)
//     Bolt.2     -> Bolt.CADPart (rotated 90 degrees about z, moved by 90 40 5)
//   Bolt.CADPart         "Bolt", 8 x 8 x 40 box, parameter Material = Steel
//   Plate.CADPart        "Plate", 100 x 50 x 5 box, design table "PlateSizes"
//                        (alias "Sizes") on PlateSizes.xls
//   Plate.CADDrawing     sheet "Sheet.1" with views of Plate.CADPart
#pragma once

#include "CADBaseTypes.h"
#include "CADListVal.h"
#include "CADUnicodeString.h"

class CADSampleSession {
 public:
  static constexpr const char* kAssembly = "Assembly.CADProduct";
  static constexpr const char* kBracket = "Bracket.CADProduct";
  static constexpr const char* kBolt = "Bolt.CADPart";
  static constexpr const char* kPlate = "Plate.CADPart";
  static constexpr const char* kDrawing = "Plate.CADDrawing";
  static constexpr const char* kSheet = "PlateSizes.xls";

  // Writes every file into `directory` (which must exist), replacing files of
  // the same names. E_FAIL with `error` set when a file cannot be written.
  static HRESULT Write(const CADUnicodeString& directory, CADUnicodeString& error);
  // The file names Write creates.
  static CADListValCADUnicodeString FileNames();
};
