#include "CADXmlWriter.h"

#include <atomic>
#include <cstdio>

namespace {

std::atomic<unsigned long> g_droppedControls{0};

// Length of the valid UTF-8 sequence at `text[at]`, 0 when it is not one
// (overlong forms, surrogates and code points above U+10FFFF are invalid).
size_t Utf8SequenceLength(std::string_view text, size_t at) {
  auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  unsigned char lead = byte(at);
  size_t length;
  unsigned long cp;
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    cp = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    cp = lead & 0x0Fu;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    cp = lead & 0x07u;
  } else {
    return 0;
  }
  if (at + length > text.size()) return 0;
  for (size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0u) != 0x80u) return 0;
    cp = (cp << 6) | (byte(at + i) & 0x3Fu);
  }
  if ((length == 3 && cp < 0x800) || (length == 4 && cp < 0x10000) || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
    return 0;
  // U+FFFE and U+FFFF are not XML characters either.
  if (cp == 0xFFFE || cp == 0xFFFF) return 0;
  return length;
}

std::string Escape(std::string_view text, bool attribute) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  for (size_t i = 0; i < text.size();) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      switch (c) {
        case '&':
          out += "&amp;";
          break;
        case '<':
          out += "&lt;";
          break;
        case '>':
          out += "&gt;";
          break;
        case '\'':
          out += "&apos;";
          break;
        case '"':
          out += "&quot;";
          break;
        case '\r':
          out += "&#13;";
          break;
        case '\t':
          out += "&#9;";
          break;
        case '\n':
          out += attribute ? "&#10;" : "\n";
          break;
        default:
          if (c < 0x20) {
            ++g_droppedControls;
            std::fprintf(stderr, "CADXmlWriter: dropped control character 0x%02X\n", c);
          } else {
            out += static_cast<char>(c);
          }
      }
      ++i;
      continue;
    }
    size_t length = Utf8SequenceLength(text, i);
    if (length > 0) {
      out.append(text.substr(i, length));
      i += length;
    } else {
      // A stray byte: keep the character it stands for in Latin-1.
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
      ++i;
    }
  }
  return out;
}

}  // namespace

std::string CADXmlWriter::EscapeText(std::string_view text) { return Escape(text, false); }
std::string CADXmlWriter::EscapeAttribute(std::string_view value) { return Escape(value, true); }
unsigned long CADXmlWriter::DroppedControlCount() { return g_droppedControls.load(); }
void CADXmlWriter::ResetDroppedControlCount() { g_droppedControls = 0; }

CADXmlWriter::CADXmlWriter(std::ostream& out, int indent) : out_(out), indent_(indent < 0 ? 0 : indent) {}

void CADXmlWriter::Declaration() {
  out_ << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
  NewLine();
}

void CADXmlWriter::DocType(std::string_view root, std::string_view systemId) {
  out_ << "<!DOCTYPE " << root << " SYSTEM \"" << EscapeAttribute(systemId) << "\">";
  NewLine();
}

void CADXmlWriter::StartElement(std::string_view name) {
  CloseStartTag();
  bool layout = open_.empty() || !open_.back().hasText;
  if (!open_.empty()) open_.back().hasChildren = true;
  if (layout) {
    if (!atLineStart_) NewLine();
    Indent();
  }
  out_ << '<' << name;
  atLineStart_ = false;
  open_.push_back(OpenElement{std::string(name)});
  startTagOpen_ = true;
}

void CADXmlWriter::Attribute(std::string_view name, std::string_view value) {
  if (!startTagOpen_) return;  // too late for attributes: the start tag is written
  out_ << ' ' << name << "=\"" << EscapeAttribute(value) << '"';
}

void CADXmlWriter::Text(std::string_view text) {
  if (open_.empty()) return;  // text outside the root is not XML
  lineEndPending_ = false;
  CloseStartTag();
  out_ << EscapeText(text);
  open_.back().hasText = true;
  atLineStart_ = false;
}

void CADXmlWriter::EndElement() {
  if (open_.empty()) return;
  OpenElement closing = std::move(open_.back());
  open_.pop_back();
  if (startTagOpen_) {
    out_ << "/>";
    startTagOpen_ = false;
  } else {
    if (closing.hasChildren && !closing.hasText) {
      if (!atLineStart_) NewLine();
      Indent();
    }
    out_ << "</" << closing.name << '>';
  }
  atLineStart_ = false;
  if (open_.empty() || !open_.back().hasText) lineEndPending_ = true;
}

void CADXmlWriter::TextElement(std::string_view name, std::string_view text) {
  StartElement(name);
  Text(text);
  EndElement();
}

void CADXmlWriter::Finish() {
  while (!open_.empty()) EndElement();
  if (lineEndPending_) NewLine();
  if (!atLineStart_) NewLine();
  out_.flush();
}

void CADXmlWriter::CloseStartTag() {
  if (lineEndPending_) NewLine();
  if (!startTagOpen_) return;
  out_ << '>';
  startTagOpen_ = false;
}

void CADXmlWriter::NewLine() {
  lineEndPending_ = false;
  out_ << '\n';
  atLineStart_ = true;
}

void CADXmlWriter::Indent() { out_ << std::string(static_cast<size_t>(indent_) * open_.size(), ' '); }
