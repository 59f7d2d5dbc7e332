// Keeps what every message centre the module showed said: status line and icon, warning and information lines,
// each with the message key it was built from. Read from the open windows by their controls' identifiers, so the
// runner never needs the module's classes; a centre closed since is still remembered.
#pragma once

#include <map>
#include <string>
#include <vector>

class CADDlgDialog;

struct ZRBSessionMessageLine {
  std::string text;
  std::string key;  // "Catalog.Key", "" when no catalog message gave the line
};

struct ZRBSessionMessageCentre {
  ZRBSessionMessageLine status;
  std::string icon;  // "success", "failure" or "variant" (the status icon the centre was built with)
  std::vector<ZRBSessionMessageLine> warnings;
  std::vector<ZRBSessionMessageLine> informations;
  bool open = true;
};

// Session thread only.
class ZRBSessionMessageCentres {
 public:
  // Takes in the centres open now (new ones appended, open ones read again, closed ones marked closed).
  void Observe();
  const std::vector<ZRBSessionMessageCentre>& All() const { return centres_; }

  static bool IsMessageCentre(const CADDlgDialog& window);
  static ZRBSessionMessageLine Line(const std::string& text);

 private:
  static ZRBSessionMessageCentre Read(const CADDlgDialog& window);

  std::vector<ZRBSessionMessageCentre> centres_;
  std::map<const CADDlgDialog*, std::size_t> open_;  // open window -> its entry in centres_
};
