// Writes well-formed UTF-8 XML: escapes text and attribute values so that a
// SAX parser gives back exactly what was written, and builds documents
// element by element, indenting only with whitespace-only runs between tags.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

class CADXmlWriter {
 public:
  // Escaping -------------------------------------------------------------------
  // "&", "<", ">", "'" and the double quote become entity references; CR and
  // TAB become "&#13;" and "&#9;" (LF too in attribute values, where a parser
  // would otherwise turn it into a blank); other C0 control characters cannot
  // appear in XML 1.0 and are dropped with a line on standard error. Bytes that
  // are not valid UTF-8 are taken as Latin-1 characters and re-encoded, so the
  // output always parses.
  static std::string EscapeText(std::string_view text);
  static std::string EscapeAttribute(std::string_view value);
  // Number of control characters dropped by the escape functions since the
  // last reset (process-wide; tests).
  static unsigned long DroppedControlCount();
  static void ResetDroppedControlCount();

  // Streaming ------------------------------------------------------------------
  // `indent` blanks per nesting level; each element starts on its own line.
  explicit CADXmlWriter(std::ostream& out, int indent = 2);

  // `<?xml version="1.0" encoding="UTF-8"?>`
  void Declaration();
  // `<!DOCTYPE root SYSTEM "systemId">`
  void DocType(std::string_view root, std::string_view systemId);
  // Opens `<name`; attributes may follow until content, a child or the end.
  void StartElement(std::string_view name);
  void Attribute(std::string_view name, std::string_view value);
  // Escaped text inside the current element (keeps the closing tag on the same line).
  void Text(std::string_view text);
  // Closes the current element (`/>` when it is empty).
  void EndElement();
  // `<name>text</name>` on one line.
  void TextElement(std::string_view name, std::string_view text);
  // Closes every open element and ends the last line.
  void Finish();
  // Elements still open.
  int Depth() const { return static_cast<int>(open_.size()); }

 private:
  struct OpenElement {
    std::string name;
    bool hasChildren = false;  // child elements written
    bool hasText = false;      // text written: no layout blanks inside from now on
  };

  void CloseStartTag();
  void NewLine();
  void Indent();

  std::ostream& out_;
  int indent_;
  std::vector<OpenElement> open_;
  bool startTagOpen_ = false;
  bool atLineStart_ = true;
  bool lineEndPending_ = false;  // a line end owed after a closing tag, dropped if text follows
};
