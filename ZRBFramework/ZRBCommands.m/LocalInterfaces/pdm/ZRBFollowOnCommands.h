// Creates the command another command hands its work over to, as the variant of the handing command's client: a
// command of the SAM client hands over to the SAM variant, so the follow-on talks to "samcl" too. The layer of the
// variants installs them at load; without one (or for the standard client) the standard class is created.
#pragma once

#include <string_view>

#include "CADCommand.h"
#include "ZRBClientMode.h"
#include "ZRBCommand.h"

// User-interface thread only (installation happens during static initialisation, before any command runs).
class ZRBFollowOnCommands {
 public:
  using Factory = ZRBCommand* (*)(int mode, int requestChange, CADCommandMsg message);

  // The client's variant of `standardClass`; null removes it. Returns 1, so that it can initialise a static.
  static int Install(std::string_view standardClass, const ZRBClientMode& client, Factory variant);
  // The installed variant for `client`, or null when the standard class is to be created.
  static Factory Find(std::string_view standardClass, const ZRBClientMode& client);

  // The follow-on of `creator` as class T (or its installed variant); a variant that is not a T is not used.
  template <class T>
  static T* Create(const ZRBCommand& creator, std::string_view standardClass, int mode, int requestChange,
                   CADCommandMsg message);
};

template <class T>
T* ZRBFollowOnCommands::Create(const ZRBCommand& creator, std::string_view standardClass, int mode, int requestChange,
                               CADCommandMsg message) {
  if (Factory variant = Find(standardClass, creator.GetClientMode())) {
    ZRBCommand* created = variant(mode, requestChange, message);
    if (auto* typed = dynamic_cast<T*>(created)) return typed;
    if (created) created->Release();
  }
  return new T(mode, requestChange, message);
}
