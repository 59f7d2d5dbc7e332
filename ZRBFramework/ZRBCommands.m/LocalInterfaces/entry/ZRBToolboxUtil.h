// The helpers of the toolbox attribute functions: the description of the subject in the request, the checks of
// what a caller hands over, and the archive classification of a product.
#pragma once

#include <string_view>

#include "CADIProduct.h"

class CADDocument;
class ZRBObjectManager;

class ZRBToolboxUtil {
 public:
  // "ROOT" with "ACTION_SUCCESS" and one "DATA" object with the subject's PDM identity ("ZRB_OBID", "ZRB_DB_NAME",
  // "ZRB_CLASSNAME"; archive content: the archive's identity and the class "ZRBArchive"). 0 on success; -1 when a
  // needed attribute is missing (traced "Needed Attribute not found: '<name>'").
  static int FillDataObjMgr(const CADIProduct_var& product, ZRBObjectManager& request);
  // A drawing's identity is the one the PDM gave its file.
  static int FillDataObjMgr(const CADDocument* drawing, ZRBObjectManager& request);

  // A name fit for one exchange-file slot: 1..ZRB_TOOLBOX_MAX_NAME bytes, no control characters, no braces.
  static bool IsValidName(std::string_view name);
  // A value or description fit for the exchange: at most ZRB_TOOLBOX_MAX_VALUE bytes.
  static bool IsValidValue(std::string_view value) { return value.size() <= kMaxValue; }
  // Leading and trailing white space dropped; the bytes between stay as they are.
  static std::string_view Trim(std::string_view text);

  // ZRB_IN_ARCHIVE_* of the public header.
  static int ClassifyForArchive(const CADIProduct_var& product);

  static constexpr std::size_t kMaxName = 256;
  static constexpr std::size_t kMaxValue = 65536;
};
