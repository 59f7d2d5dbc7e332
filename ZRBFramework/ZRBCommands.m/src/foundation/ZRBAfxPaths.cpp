// ZRBAfx: building, resolving, comparing and searching paths; Roman numerals.
#include <climits>
#include <string>

#include "CADSystemServices.h"
#include "ZRBAfxBase.h"
#include "ZRBFileUtil.h"
#include "ZRBTrace.h"

namespace {

// Beyond these a path is not a path any more but a runaway expansion
// (a variable whose value refers to itself).
constexpr int kMaxSubstitutions = 64;
constexpr int kMaxResolvedLength = 4096;

bool CaseInsensitiveNames() { return CADGetOperatingSystem() == CADOSWindows; }

bool SamePath(const CADUnicodeString& a, const CADUnicodeString& b) {
  return CaseInsensitiveNames() ? a.ToUpper() == b.ToUpper() : a == b;
}

}  // namespace

CADUnicodeString ZRBAfxBase::MakePath(const CADUnicodeString& directory, const CADUnicodeString& name) {
  return CADMakePath(directory, name);
}

HRESULT ZRBAfxBase::ZRBResolvePath(CADUnicodeString* path) {
  ZRB_TRACE("ZRBAfx::ZRBResolvePath");
  if (!path) {
    ZRB_DEBUG("usPath = NULL");
    return E_FAIL;
  }
  CADUnicodeString text = *path;
  for (int substitutions = 0;; ++substitutions) {
    int dollar = text.Find("$");
    if (dollar < 0) break;
    // The reference is "${NAME}": the brace must follow the "$" itself; a
    // "{" elsewhere in the path is an ordinary character.
    int close = text.Find("}", dollar + 2);
    bool braced = dollar + 1 < text.GetLength() && text[dollar + 1] == '{';
    if (substitutions >= kMaxSubstitutions || !braced || close < 0) {
      ZRB_DEBUG("Illegal Path");
      return E_FAIL;
    }
    CADUnicodeString name = text.SubString(dollar + 2, close - dollar - 2);
    CADUnicodeString value;
    if (name.IsEmpty() || FAILED(CADGetEnvValue(name.view(), value))) {
      ZRB_DEBUG("Illegal Path");
      return E_FAIL;
    }
    text = text.SubString(0, dollar) + value + text.SubString(close + 1);
    if (text.GetLength() > kMaxResolvedLength) {
      ZRB_DEBUG("Illegal Path");
      return E_FAIL;
    }
  }
  ZRB_DEBUG("OUT: %s", text.c_str());
  *path = text;
  ZRB_TRACE_OK();
  return S_OK;
}

int ZRBAfxBase::FileExist(const CADUnicodeString& path) {
  CADUnicodeString real;
  return SUCCEEDED(CADGetRealPath(path, real)) && real.Find("/") >= 0 ? 1 : 0;
}

int ZRBAfxBase::CompareFullPath(const CADUnicodeString& a, const CADUnicodeString& b, int& equal, int* sameIgnoringCase) {
  if (sameIgnoringCase) *sameIgnoringCase = 0;
  if (!CaseInsensitiveNames()) {
    equal = a == b ? 1 : 0;
    if (sameIgnoringCase) *sameIgnoringCase = equal;
    return 0;
  }
  if (a == b) {
    equal = 1;
    if (sameIgnoringCase) *sameIgnoringCase = 1;
    return 0;
  }
  if (a.ToUpper() == b.ToUpper()) {
    if (sameIgnoringCase) *sameIgnoringCase = 1;
    // Only the directories differ in case: the same file. A differing file
    // name is a case-only rename.
    equal = ZRBFileUtil::GetFileNameFromPath(a) == ZRBFileUtil::GetFileNameFromPath(b) ? 1 : 0;
    return 0;
  }
  equal = 0;
  return 0;
}

int ZRBAfxBase::SearchPathInList(const CADListValCADUnicodeString& list, const CADUnicodeString& path, int& found,
                             int& index) {
  found = 0;
  index = 0;
  for (int i = 1; i <= list.Size(); ++i) {
    if (SamePath(list[i], path)) {
      found = 1;
      index = i;
      break;
    }
  }
  return 0;
}

int ZRBAfxBase::SearchPathInList(const CADListValCADUnicodeString& list, const CADUnicodeString& path, int& found) {
  int index = 0;
  return SearchPathInList(list, path, found, index);
}

int ZRBAfxBase::RemovePathFromList(CADListValCADUnicodeString& list, const CADUnicodeString& path) {
  if (!CaseInsensitiveNames()) {
    int at = list.Locate(path);
    if (at > 0) list.RemovePosition(at);
    return 0;
  }
  for (int i = list.Size(); i >= 1; --i)
    if (SamePath(list[i], path)) list.RemovePosition(i);
  return 0;
}

CADString ZRBAfxBase::intToRoman(int number) {
  if (number <= 0) return CADString();
  static const char* const units[] = {"", "I", "II", "III", "IV", "V", "VI", "VII", "VIII", "IX"};
  static const char* const tens[] = {"", "X", "XX", "XXX", "XL", "L", "LX", "LXX", "LXXX", "XC"};
  static const char* const hundreds[] = {"", "C", "CC", "CCC", "CD", "D", "DC", "DCC", "DCCC", "CM"};
  std::string text(static_cast<size_t>(number / 1000), 'M');
  text += hundreds[(number / 100) % 10];
  text += tens[(number / 10) % 10];
  text += units[number % 10];
  return CADString(std::move(text));
}

int ZRBAfxBase::romanToInt(CADString text) {
  static const struct {
    const char* symbol;
    int value;
  } symbols[] = {{"M", 1000}, {"CM", 900}, {"D", 500}, {"CD", 400}, {"C", 100}, {"XC", 90}, {"L", 50},
                 {"XL", 40},  {"X", 10},   {"IX", 9},  {"V", 5},    {"IV", 4},  {"I", 1}};
  std::string rest = text.ToUpper().str();
  std::string_view view(rest);
  long long sum = 0;
  for (const auto& s : symbols) {
    std::string_view symbol(s.symbol);
    while (view.starts_with(symbol)) {
      // A long run of "M" would overflow an int: the value saturates.
      if (sum <= INT_MAX - s.value)
        sum += s.value;
      else
        sum = INT_MAX;
      view.remove_prefix(symbol.size());
    }
  }
  return static_cast<int>(sum);
}
