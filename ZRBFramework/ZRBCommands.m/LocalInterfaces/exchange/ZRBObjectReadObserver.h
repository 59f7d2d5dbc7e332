// Hears what ZRBObjectManager::Read makes of each line of a file, so that a
// tool can explain where and why reading stopped without parsing on its own.
#pragma once

#include <string_view>

#include "ZRBObjectSlotText.h"

class ZRBObjectReadObserver {
 public:
  virtual ~ZRBObjectReadObserver() = default;

  // false: OnSlot is not wanted, so the slots may be parsed later, on first use.
  virtual bool WantsSlots() const { return true; }

  // A header line began an object.
  virtual void OnObject(long /*line*/, std::string_view /*key*/) {}
  // A slot line was stored whole, stored cut, or refused for its name;
  // `rawValue` is the text after "}" as it stands in the file.
  virtual void OnSlot(long /*line*/, std::string_view /*name*/, std::string_view /*rawValue*/,
                      ZRBSlotStore /*result*/) {}
  // Reading stopped at this line before the end of the file; the line and
  // everything after it are ignored.
  virtual void OnStop(long /*line*/, std::string_view /*text*/) {}
};
