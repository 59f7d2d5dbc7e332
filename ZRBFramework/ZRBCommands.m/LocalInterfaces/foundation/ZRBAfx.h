// The module's application helper: static services every command uses. Each group of members lives in its own
// source file (ZRBAfxMessages.cpp, ZRBAfxWindows.cpp, ...).
#pragma once

#include <functional>

#include "CADBaseTypes.h"
#include "CADListVal.h"
#include "CADString.h"
#include "CADUnicodeString.h"

class ZRBMessageDialog;

class ZRBAfx {
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

  // --- exchange map and the host's caches (exchange/ZRBAfxXmap.cpp, exchange/ZRBAfxCache.cpp)
  // The exchange map without a trailing "/": 1 when "ZRBXMAP" is set, else 0 and the temporary directory.
  static int GetXMap(CADUnicodeString& path);
  // The same with exactly one "/" at the end.
  static int GetXMapWithEndingSlash(CADUnicodeString& path);
  // The directory where the host's local cache mirrors the exchange map (ends with "/").
  static HRESULT GetLocalCacheXmapDir(CADUnicodeString& directory);
  // Appends the names of the directory's "vis" files.
  static HRESULT GetListOfVisInDir(const CADUnicodeString& directory, CADListValCADString& names);
  // Makes the host re-read its local cache directory.
  static HRESULT ResetLocalCacheDirectory();
  // Appends the host's released cache paths in its order (none when the controller is missing).
  static HRESULT GetReleasedCacheDirectories(CADListValCADString& directories);
  // The released cache directory to use ("ZRB_RELEASEDCACHEDIR", else the host's first).
  static HRESULT GetReleasedCacheDir(CADString& directory);
  static HRESULT AddReleasedCacheDirToSettings(CADString directory);
  // The released-cache directory that mirrors the exchange map, when the host's cache is activated.
  static HRESULT GetReleasedCacheXmapDir(CADUnicodeString& directory, int& activated);
  // The same without the activation test; creates the directory when missing.
  static HRESULT GetReleasedCacheXmapDir(CADUnicodeString& directory);
  // Writes the host's released cache paths to its "ReleaseCachePath" setting.
  static HRESULT ResetReleasedCacheDirectory();
  // 1 when the host checks time stamps of cached files ("TimeStamp" of "CADCache").
  static HRESULT GetCheckTimestamps(int& check);

  // --- window raising (ZRBAfxWindows.cpp): 1 when done or disabled, 0 without a display.
  static int SetWorkBenchWindowTop();
  static int SetCadWindowTop();

  // --- PDM connection (session/ZRBAfxConnect.cpp)
  // Runs the connection command ("ZRB_CONNECTION_CMD", or "ZRB_CONNECTPDM" when set), a blank and `argument`
  // through the shell; keepDisplayAlive 1 runs it on a worker thread and repaints once a second meanwhile. The
  // shell's raw wait status; 0 for ECHILD; negative when the command could not be started (the shell failed, no
  // main application for the threaded mode, or the shell reported 126/127: not executable, not found).
  static int ConnectPdm(const CADUnicodeString argument, int keepDisplayAlive);
  // The longest command line the system accepts (8092 when it cannot be read).
  static int GetSysCallLimit();
  // `word` as one shell word whatever it holds: POSIX single quotes, a quote written '\''.
  static CADUnicodeString QuoteShellWord(const CADUnicodeString& word);
  // How command lines reach the shell; an empty function restores system(3). Tests observe lines here.
  // Called on the user-interface thread or the PDM-call worker; must set errno on a negative result.
  using ShellCall = std::function<int(const char* line)>;
  static void SetShellCall(ShellCall call);
  static int RunShell(const char* line);
};
