// Documents and products in the exchange map: the name a document has (or
// would have) there, and saving or moving documents and products into it.
#pragma once

#include "CADBaseTypes.h"
#include "CADIProduct.h"
#include "CADUnicodeString.h"

class CADDocument;
class ZRBObjectManager;
class ZRBXmapProductServices;

// Static helpers for the commands, on the host's user-interface thread.
class ZRBXmapDocuments {
 public:
  // --- names in the exchange map (1 found, 0 no exchange map or no file name)
  // The path the document stored at docPath has, or would have, in the
  // exchange map: its own file name, with its type's extension added when a
  // loaded document's name lacks it.
  static int GetExmapFileFullPath(const CADUnicodeString& docPath, CADUnicodeString& xmap, CADUnicodeString& fullPath);
  // The exchange map joined with a file the PDM names (only the name part
  // counts; a location naming no file gives 0).
  static int GetTransmapFileFullPath(ZRBObjectManager& answer, const CADUnicodeString& fileName, CADUnicodeString& xmap,
                                     CADUnicodeString& fullPath);
  // The name under which the product's document is known in the exchange
  // map: its "ZRB_EXTERNAL_LOCATION", else its recorded full path, else the
  // storage name (given, or of its document); the last component of the
  // first that is not empty. E_FAIL for a null product or no name.
  static HRESULT GetZrbFileNameForProduct(ZRBXmapProductServices& services, const CADIProduct_var& product,
                                          CADUnicodeString& fileName, const CADUnicodeString& storageName);

  // --- saving
  // Saves a modified product document into the exchange map when the PDM
  // grants writing ("1"). 1 done or nothing to do, 0 failed.
  static int SaveProductToXmap(ZRBXmapProductServices& services, const CADIProduct_var& product,
                               const CADUnicodeString& writePermission, CADUnicodeString& xmapPath, short& dirty);
  // Saves the document to its exchange-map path, or in place when it lies
  // there already (or there is no exchange map). A symbolic link at the
  // target is first replaced by a copy of the file it points at, so the save
  // never writes through the link.
  static HRESULT SaveDocumentInExmap(ZRBXmapProductServices& services, CADDocument* document);
  // Moves a part or product document that lies outside the exchange map into
  // it (its PDM ancestors are saved so they record the new place), and copies
  // a representation file to where the PDM expects it. Always 0; a failure
  // leaves things where they were.
  static int MoveProductToXmap(ZRBXmapProductServices& services, CADIProduct_var& product);

 private:
  static void MoveDocument(ZRBXmapProductServices& services, const CADIProduct_var& product,
                           const CADUnicodeString& fullPath);
  static void MoveRepresentation(ZRBXmapProductServices& services, const CADIProduct_var& product,
                                 const CADUnicodeString& fullPath, const CADUnicodeString& type);
  // Saves each PDM ancestor of the product in place, keeping its modified state.
  static void SaveAncestors(ZRBXmapProductServices& services, const CADIProduct_var& product);
  static CADUnicodeString NameOf(const CADIProduct_var& product);
};
