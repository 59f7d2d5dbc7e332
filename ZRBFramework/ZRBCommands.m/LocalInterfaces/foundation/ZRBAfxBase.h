// The foundation's part of the module's application helper: messages, paths, where the exchange map is and window
// raising. ZRBAfxCache (exchange map and caches) and ZRBAfx (the PDM connection) add their layers' services on
// top, so that `ZRBAfx::` names every one of them from the command layers up. Each group of members lives in its
// own source file (ZRBAfxMessages.cpp, ZRBAfxPaths.cpp, ...).
#pragma once

#include "CADBaseTypes.h"
#include "CADListVal.h"
#include "CADString.h"
#include "CADUnicodeString.h"

class ZRBMessageDialog;

class ZRBAfxBase {
 public:
  // --- messages and message boxes (ZRBAfxMessages.cpp)
  // Text of a message key from the host's catalogs. With a message prefix P ("ZRB_MESSAGE_PREFIX"), catalog
  // P+catalog and key P+key are looked up first and the standard text is the fallback.
  static CADUnicodeString BuildMessage(CADString catalog, CADString key, CADUnicodeString* parameters = nullptr,
                                       int count = 0, CADUnicodeString defaultText = CADUnicodeString());
  // The same for resource texts (dialog configuration).
  static CADUnicodeString BuildResource(const CADString& catalog, const CADString& key, CADString* parameters = nullptr,
                                        int count = 0, const CADString& defaultText = CADString());
  // Modal box on the main window; returns the button that closed it (3 yes/continue, 4 no/stop ...).
  static int MsgBox(const CADUnicodeString& text, unsigned long style, CADUnicodeString title = CADUnicodeString());
  // A new message-centre dialog for the client mode (the caller builds, fills and shows it).
  static ZRBMessageDialog* ZRBGenMessageDialog();
  // The show-message flag: 1 while a running action has not shown its own specific message yet.
  static void SetShowMsg(int show);
  static int MustShowMsg();
  // Appends "####" category "####" text.
  static void AddMessageCategoryToList(CADListValCADUnicodeString& list, const CADUnicodeString& category,
                                       const CADUnicodeString& text);
  // Plain entries first, in order, then each category under its heading (catalog "ZRBListMessages"), separated
  // by a line holding one blank; appended to `display`.
  static void BuildDisplayList(const CADListValCADUnicodeString& entries, CADListValCADUnicodeString& display);
  // How a file is named in messages: "" for a file directly in the exchange map, else its path.
  static CADUnicodeString GetMessageDisplayFromPath(const CADUnicodeString& path);

  // --- paths and Roman numerals (ZRBAfxPaths.cpp)
  static CADUnicodeString MakePath(const CADUnicodeString& directory, const CADUnicodeString& name);
  static HRESULT ZRBResolvePath(CADUnicodeString* path);
  static int FileExist(const CADUnicodeString& path);
  static int CompareFullPath(const CADUnicodeString& a, const CADUnicodeString& b, int& equal,
                             int* sameIgnoringCase = nullptr);
  static int SearchPathInList(const CADListValCADUnicodeString& list, const CADUnicodeString& path, int& found,
                              int& index);
  static int SearchPathInList(const CADListValCADUnicodeString& list, const CADUnicodeString& path, int& found);
  static int RemovePathFromList(CADListValCADUnicodeString& list, const CADUnicodeString& path);
  static CADString intToRoman(int number);
  static int romanToInt(CADString text);

  // --- where the exchange map is (ZRBAfxXmapLocation.cpp)
  // The exchange map without a trailing "/": 1 when "ZRBXMAP" is set, else 0 and the temporary directory. A
  // relative value is made absolute against the working directory when the value is first seen, and kept so.
  static int GetXMap(CADUnicodeString& path);
  // The same with exactly one "/" at the end.
  static int GetXMapWithEndingSlash(CADUnicodeString& path);

  // --- window raising (ZRBAfxWindows.cpp): 1 when done or disabled, 0 without a display.
  static int SetWorkBenchWindowTop();
  static int SetCadWindowTop();
};
