// Line-oriented XML streaming: the narrow, line- and tag-oriented subset of XML in which the map
// control stores calibrations and landmarks and the numerics store matrices. Blocks are written
// line by line and read back with a handful of routines; there is no general XML parser.
//
// A data block is one root element whose start tag stands alone on one line and carries the
// identification attributes, followed by child elements and the root's end tag on a line of its
// own. Several blocks may follow each other in one file; a reader finds its block by root tag and
// identifier (FindDataBlock), then reads elements (ReadXmlElement) until its root's end tag or
// the sentinel, taking values with GetXmlAttribute:
//
//   <?xml version="1.0"?>                                       optional declaration
//                                                                one empty line
//   <!-- TGeoMap Calibration / KVL Component Suite -->           comment naming the data kind
//   <geomap sig="DURERodov" vers="1.0" id="Town" model="utm">    block start line
//   <resolution>12.500</resolution>                              element on one line, or
//   <calline type="meridian" value="12.5" npoints="3">           start tag,
//   [1,2] [3,4] [5,6]                                            one line of content,
//   </calline>                                                   end tag
//   </geomap>                                                    block end line
//
// Values are written as they are, nothing is escaped: a value cannot hold a double quote, "<" or
// ">" (the builders below replace them by "?").
//
// Sources: a text file (TTextFile: Windows-1252, any line ends) or a byte stream (each byte is
// the character of the same code, 0..255). Texts are UTF-8 at this interface. Case-insensitive
// comparisons fold the ASCII letters only.
//
// None of these routines raises an error for bad input: malformed or truncated input ends in the
// sentinel classification, an empty or partial content, or a status other than 0. Errors of the
// file or stream itself (EFileError) propagate.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "KVL_bytestream.h"
#include "KVL_textfile.h"

// ---- conventions -------------------------------------------------------------------------------

inline constexpr std::string_view kXmlSignature = "DURERodov";  // value of sig: written by us
inline constexpr std::string_view kXmlVersion = "1.0";          // value of vers; readers ignore it
inline constexpr std::string_view kXmlDeclaration = "<?xml version=\"1.0\"?>";

// An ordered list of lower-case tag names to classify elements against; the result of a
// classification is the 0-based position in the list. The last entry is the sentinel: it stands
// for an unrecognised tag or the end of the data. End tags have entries of their own ("/geomap").
using TXmlTagList = std::span<const std::string_view>;

// The tag list that the map control's calibration and landmark readers share.
enum TGeoMapXmlTag : int32_t {
  xtGeoMap, xtGeoMapEnd, xtCalLine, xtCorners, xtResolution, xtGmLandmarks, xtGmLandmarksEnd,
  xtLandmark, xtCalQuads, xtLmSymbols, xtLmSymbolsEnd, xtSymbol, xtUtmZone, xtUtmSouth,
  xtEllipsoid, xtInvalidTag
};
inline constexpr std::array<std::string_view, 16> kGeoMapXmlTags = {
    "geomap", "/geomap", "calline", "corners", "resolution", "gmlandmarks", "/gmlandmarks",
    "landmark", "calquads", "lmsymbols", "/lmsymbols", "symbol", "utmzone", "utmsouth",
    "ellipsoid", "invalidtag"};

// ---- writing -----------------------------------------------------------------------------------

// Writes the text at the stream's position, one byte per character: the character's code for
// U+0000..U+00FF, "?" for every other character (and for bytes that are not well-formed UTF-8).
// Bytes are gathered in a buffer of 4096 bytes, written whenever it is full and once at the end.
void WriteTextToStream(TStream& Stream, const std::string& Text);
// The same followed by CR LF; an empty text writes only CR LF.
void WriteLineToStream(TStream& Stream, const std::string& Text);

// Builders of the lines of a block, for the writers of every format. Each returns one line
// without its line end; the caller writes it with TTextFile::WriteLine or WriteLineToStream.
struct TXmlAttribute {
  std::string_view Name;
  std::string Value;
};
// The value with every double quote, "<" and ">" replaced by "?", so that it cannot break the tag.
std::string XmlSafeValue(const std::string& Value);
// <!-- Text -->
std::string XmlCommentLine(const std::string& Text);
// <Root sig="DURERodov" vers="1.0" id="DataId" a="v" ...>
std::string XmlBlockStartLine(std::string_view Root, const std::string& DataId,
                              std::span<const TXmlAttribute> Further = {});
// <Name a="v" b="w">  (attributes separated by single blanks)
std::string XmlStartTag(std::string_view Name, std::span<const TXmlAttribute> Attributes = {});
// <Name a="v" b="w"/>
std::string XmlEmptyElement(std::string_view Name, std::span<const TXmlAttribute> Attributes);
// </Name>
std::string XmlEndTag(std::string_view Name);
// <Name>Value</Name>
std::string XmlElementLine(std::string_view Name, const std::string& Value);

// ---- reading -----------------------------------------------------------------------------------

// Reads one line from the stream's position, one byte at a time: bytes of 32 and above and tabs
// are taken, other control bytes are dropped, except that the byte that matches Mode ends the
// line (and is consumed):
//   0: LF   1: CR   2: CR or LF   3: CR directly after LF   4: LF directly after CR
//   any other: none (every control byte is dropped)
// When the stream has no byte left, EndOfStream is true and Line holds what was read so far.
// Mode 0 reads files with CR LF and with LF line ends alike.
void ReadLineFromStream(TStream& Stream, bool& EndOfStream, int32_t Mode, std::string& Line);

// Reads the next element from the source and classifies its tag name against Tags (see
// FindTagIndex). Everything up to the next "<" is skipped; the tag runs up to the next ">".
// - Empty-element tag (ending in "/>"): the name is the text before the first blank, AttrText the
//   trimmed rest before the "/>"; a tag without blank has no name (sentinel) and its whole text
//   in AttrText. Content is empty.
// - Other tags: the name is the text before the first blank (lower-cased), AttrText the trimmed
//   rest before the ">". For a start tag (a name not beginning with "/") the content is read up
//   to the matching end tag "</name>" (any case; nested elements included) and the source then
//   stands behind it; without one the content runs to the end of the input. An end tag reads
//   nothing further and is classified by its own entry (xtGeoMapEnd for "</geomap>").
// - No "<" left, or a tag cut off by the end of the input: the sentinel, with both texts empty.
// Runs in time linear in the bytes consumed.
int32_t ReadXmlElement(TTextFile& Source, TXmlTagList Tags, std::string& AttrText,
                       std::string& Content);
int32_t ReadXmlElement(TStream& Source, TXmlTagList Tags, std::string& AttrText,
                       std::string& Content);

// 0-based position of the first entry equal to the lower-cased Name; the last position (the
// sentinel) when none is; -1 for an empty list.
int32_t FindTagIndex(std::string_view Name, TXmlTagList Tags);

// Results of NextXmlAttribute.
enum TXmlAttrStatus : int32_t {
  xaOk = 0,              // a pair was taken (possibly with empty name or value)
  xaQuoteInName = 1,     // a double quote before the "="
  xaEqualsAfterEquals = 2,  // a second "=" before the value
  xaEqualsInValue = 3,   // an "=" inside an unquoted value
  xaNoMorePairs = 4      // Pos was already behind the text
};
// Takes the next name="value" pair of an attribute text from the 1-based position Pos (below 1
// counts as 1) and advances Pos behind it. Blanks around "=" are allowed; a value is either
// quoted (and may hold blanks and "=") or bare (ending at a blank or a double quote). Name is
// trimmed of blanks; the value is kept as written. The text ending inside a pair ends the pair.
TXmlAttrStatus NextXmlAttribute(const std::string& AttrText, int32_t& Pos, std::string& Name,
                                std::string& Value);

// The value of the first pair whose name equals Name ignoring case, pairs being taken with
// NextXmlAttribute from the start until one does not give xaOk; empty when there is none.
std::string GetXmlAttribute(const std::string& AttrText, std::string_view Name);

// An attribute text taken apart once, for readers that look up many names in it (a landmark has
// 26): Value(Name) gives exactly what GetXmlAttribute(AttrText, Name) gives, without scanning
// the text again for every name. Assign() reuses the memory of the previous text.
class TXmlAttributes {
 public:
  TXmlAttributes() = default;
  explicit TXmlAttributes(const std::string& AttrText) { Assign(AttrText); }
  void Assign(const std::string& AttrText);
  std::string Value(std::string_view Name) const;

 private:
  struct TPair {
    size_t NameStart, NameLength, ValueStart, ValueLength;
  };
  std::string FText;
  std::vector<TPair> FPairs;  // the pairs before the first one that does not give xaOk
};

// Reads the source line by line (the stream with ReadLineFromStream mode 0) until the start line
// of the block with the root tag RootTag and the identifier DataId: a line that holds "<RootTag"
// and the signature (both in any case) and whose id value (XmlHeaderValue) equals DataId ignoring
// case. An empty DataId takes the first block of that root tag. True when found; the source then
// stands at the start of the following line. False when the input ended first.
bool FindDataBlock(TTextFile& Source, std::string_view RootTag, const std::string& DataId);
bool FindDataBlock(TStream& Source, std::string_view RootTag, const std::string& DataId);
// The same, giving the start line as read (not lower-cased) in StartLine, for its header values.
bool FindDataBlock(TTextFile& Source, std::string_view RootTag, const std::string& DataId,
                   std::string& StartLine);
bool FindDataBlock(TStream& Source, std::string_view RootTag, const std::string& DataId,
                   std::string& StartLine);

// The header-value rule for further attributes of a block's start line: the first occurrence of
// Name=" in Line (Name in any case), and the value up to the next double quote, trimmed. Empty
// when the attribute is absent or its value has no closing quote. The value keeps the case of
// Line (readers pass the lower-cased line or the line as read).
std::string XmlHeaderValue(const std::string& Line, std::string_view Name);
