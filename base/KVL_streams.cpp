#include "KVL_streams.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "KVL_stringl.h"
#include "KVL_utf8.h"

namespace {

constexpr size_t kWriteBufferSize = 4096;
constexpr char kUnrepresentable = '?';
constexpr uint8_t kTab = 9;
constexpr uint8_t kLineFeed = 10;
constexpr uint8_t kCarriageReturn = 13;
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kSignatureLower = "durerodov";

char LowerAscii(char C) { return C >= 'A' && C <= 'Z' ? static_cast<char>(C + ('a' - 'A')) : C; }

void LowerAsciiInPlace(std::string& Text) {
  for (char& c : Text) c = LowerAscii(c);
}

bool EqualsIgnoringCase(std::string_view A, std::string_view B) {
  return A.size() == B.size() &&
         std::equal(A.begin(), A.end(), B.begin(),
                    [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

// Blanks around a pair's name, skipped without copying the name.
std::string_view WithoutBlanks(std::string_view Text) {
  while (!Text.empty() && Text.front() == ' ') Text.remove_prefix(1);
  while (!Text.empty() && Text.back() == ' ') Text.remove_suffix(1);
  return Text;
}

// A byte stream read ahead in growing chunks, so that the readers look at bytes without a call per
// byte. GiveBack() puts the stream's position right behind the last byte taken.
class TStreamCursor {
 public:
  explicit TStreamCursor(TStream& Stream) : FStream(Stream) {}

  std::span<const uint8_t> PeekBytes() {
    if (FPos < FEnd) return {FBuffer.data() + FPos, FEnd - FPos};
    // Small first reads keep short reads cheap; doubling keeps long ones linear.
    if (FBuffer.size() < kMaxChunk) {
      FBuffer.resize(FBuffer.empty() ? kFirstChunk : FBuffer.size() * 2);
    }
    FPos = 0;
    FEnd = FStream.Read(FBuffer.data(), FBuffer.size());
    return {FBuffer.data(), FEnd};
  }
  void SkipBytes(size_t Count) { FPos += Count; }
  void GiveBack() {
    if (FEnd > FPos) FStream.SetPosition(FStream.Position() - static_cast<int64_t>(FEnd - FPos));
    FPos = FEnd = 0;
  }

 private:
  static constexpr size_t kFirstChunk = 256;
  static constexpr size_t kMaxChunk = 64 * 1024;
  TStream& FStream;
  std::vector<uint8_t> FBuffer;
  size_t FPos = 0;
  size_t FEnd = 0;
};

// Stream bytes are the characters of the same code (ISO 8859-1).
void AppendLatin1AsUtf8(std::string& Out, uint8_t Byte) {
  if (Byte < 0x80) {
    Out.push_back(static_cast<char>(Byte));
  } else {
    Out.push_back(static_cast<char>(0xC0 | (Byte >> 6)));
    Out.push_back(static_cast<char>(0x80 | (Byte & 0x3F)));
  }
}

bool HasHighBytes(const std::string& Raw) {
  return std::any_of(Raw.begin(), Raw.end(),
                     [](char c) { return static_cast<uint8_t>(c) >= 0x80; });
}

// Raw bytes of a source turned into UTF-8 in place.
void DecodeStreamBytes(std::string& Raw) {
  if (!HasHighBytes(Raw)) return;
  std::string text;
  text.reserve(Raw.size() + Raw.size() / 2);
  for (char c : Raw) AppendLatin1AsUtf8(text, static_cast<uint8_t>(c));
  Raw.swap(text);
}

void DecodeFileBytes(std::string& Raw) {
  if (!HasHighBytes(Raw)) return;
  Raw = Windows1252ToUtf8(Raw);
}

// Appends the source's bytes up to the next Stop to Out and consumes them with the Stop itself.
// False when the input ended first (everything was appended then).
template <class Source>
bool CollectUpTo(Source& In, uint8_t Stop, std::string& Out) {
  for (std::span<const uint8_t> bytes = In.PeekBytes(); !bytes.empty(); bytes = In.PeekBytes()) {
    const void* found = std::memchr(bytes.data(), Stop, bytes.size());
    const size_t taken = found ? static_cast<const uint8_t*>(found) - bytes.data() : bytes.size();
    Out.append(reinterpret_cast<const char*>(bytes.data()), taken);
    if (found) {
      In.SkipBytes(taken + 1);
      return true;
    }
    In.SkipBytes(taken);
  }
  return false;
}

template <class Source>
bool SkipPast(Source& In, uint8_t Stop) {
  for (std::span<const uint8_t> bytes = In.PeekBytes(); !bytes.empty(); bytes = In.PeekBytes()) {
    const void* found = std::memchr(bytes.data(), Stop, bytes.size());
    if (found) {
      In.SkipBytes(static_cast<const uint8_t*>(found) - bytes.data() + 1);
      return true;
    }
    In.SkipBytes(bytes.size());
  }
  return false;
}

// Compared from the back: the end tag holds no ">" but its last, so a comparison never runs past
// the ">" before, and all comparisons together cost no more than one pass over the content.
bool EndsWithIgnoringCase(const std::string& Text, const std::string& Tail) {
  if (Text.size() < Tail.size()) return false;
  return std::equal(Tail.rbegin(), Tail.rend(), Text.rbegin(),
                    [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

// Appends bytes to Content up to and including the end tag, then removes the end tag. Only the
// newly appended tail is compared, each time a ">" arrives: the first occurrence of the end tag
// in the whole content is always the one that ends at the ">" just appended.
template <class Source>
void ReadContent(Source& In, const std::string& EndTag, std::string& Content) {
  for (std::span<const uint8_t> bytes = In.PeekBytes(); !bytes.empty(); bytes = In.PeekBytes()) {
    const void* found = std::memchr(bytes.data(), '>', bytes.size());
    const size_t taken =
        found ? static_cast<const uint8_t*>(found) - bytes.data() + 1 : bytes.size();
    Content.append(reinterpret_cast<const char*>(bytes.data()), taken);
    In.SkipBytes(taken);
    if (found && EndsWithIgnoringCase(Content, EndTag)) {
      Content.resize(Content.size() - EndTag.size());
      return;
    }
  }
}

// The element reader on raw bytes; the caller decodes AttrText and Content.
template <class Source>
int32_t ReadElementBytes(Source& In, TXmlTagList Tags, std::string& AttrText,
                         std::string& Content) {
  AttrText.clear();
  Content.clear();
  const int32_t sentinel = FindTagIndex({}, Tags);
  std::string tag;
  if (!SkipPast(In, '<')) return sentinel;
  // A tag cut off by the end of the input is not guessed at.
  if (!CollectUpTo(In, '>', tag)) return sentinel;

  const size_t blank = tag.find(' ');
  std::string name;
  if (!tag.empty() && tag.back() == '/') {  // empty-element tag: "/>"
    tag.pop_back();
    if (blank == std::string::npos) {
      AttrText = TrimBlanks(tag);
    } else {
      name = tag.substr(0, blank);
      AttrText = TrimBlanks(tag.substr(blank + 1));
    }
    return FindTagIndex(name, Tags);
  }
  if (blank != std::string::npos) {
    AttrText = TrimBlanks(tag.substr(blank + 1));
    tag.resize(blank);
  }
  name = std::move(tag);
  LowerAsciiInPlace(name);
  if (!name.empty() && name.front() != '/') ReadContent(In, "</" + name + ">", Content);
  return FindTagIndex(name, Tags);
}

// ---- attribute pairs, without copying ----------------------------------------------------------

struct TAttrPair {
  TXmlAttrStatus Status;
  std::string_view Name;  // untrimmed
  std::string_view Value;
};

// The state machine of NextXmlAttribute from the 0-based index At, which it advances.
TAttrPair ScanAttrPair(std::string_view Text, size_t& At) {
  const size_t n = Text.size();
  if (At >= n) return {xaNoMorePairs, {}, {}};
  // State 0, the name: everything up to "=".
  const size_t nameStart = At;
  for (; At < n; ++At) {
    if (Text[At] == '"') {
      ++At;
      return {xaQuoteInName, Text.substr(nameStart, At - 1 - nameStart), {}};
    }
    if (Text[At] == '=') break;
  }
  const std::string_view name = Text.substr(nameStart, At - nameStart);
  if (At == n) return {xaOk, name, {}};
  ++At;
  // State 1, after "=": blanks are skipped.
  while (At < n && Text[At] == ' ') ++At;
  if (At == n) return {xaOk, name, {}};
  if (Text[At] == '=') {
    ++At;
    return {xaEqualsAfterEquals, name, {}};
  }
  if (Text[At] == '"') {  // state 2, quoted value
    const size_t valueStart = ++At;
    while (At < n && Text[At] != '"') ++At;  // values are short: a loop beats a call to memchr
    const std::string_view value = Text.substr(valueStart, At - valueStart);
    if (At < n) ++At;
    return {xaOk, name, value};
  }
  const size_t valueStart = At;  // state 3, bare value
  for (; At < n; ++At) {
    const char c = Text[At];
    if (c == ' ' || c == '"' || c == '=') {
      const std::string_view value = Text.substr(valueStart, At - valueStart);
      ++At;
      return {c == '=' ? xaEqualsInValue : xaOk, name, value};
    }
  }
  return {xaOk, name, Text.substr(valueStart)};
}

// Gathers bytes for a stream and writes them in blocks of kWriteBufferSize.
void WriteStreamBytes(TStream& Stream, const std::string& Text, bool EndLine) {
  std::array<char, kWriteBufferSize> buffer;
  size_t used = 0;
  const auto put = [&](char byte) {
    if (used == buffer.size()) {
      Stream.Write(buffer.data(), used);
      used = 0;
    }
    buffer[used++] = byte;
  };
  for (size_t i = 0; i < Text.size();) {
    const size_t length = Utf8CharLength(Text, i);
    const bool wellFormed = length > 1 || static_cast<uint8_t>(Text[i]) < 0x80;
    const char32_t code = wellFormed ? Utf8Decode(Text, i, length) : 0xFFFD;
    put(code <= 0xFF ? static_cast<char>(code) : kUnrepresentable);
    i += length;
  }
  if (EndLine) {
    for (char c : kLineEnd) put(c);
  }
  if (used > 0) Stream.Write(buffer.data(), used);
}

std::string AttributeList(std::span<const TXmlAttribute> Attributes) {
  std::string text;
  for (const TXmlAttribute& a : Attributes) {
    text += ' ';
    text += a.Name;
    text += "=\"";
    text += XmlSafeValue(a.Value);
    text += '"';
  }
  return text;
}

}  // namespace

// ---- writing -----------------------------------------------------------------------------------

void WriteTextToStream(TStream& Stream, const std::string& Text) {
  WriteStreamBytes(Stream, Text, false);
}

void WriteLineToStream(TStream& Stream, const std::string& Text) {
  WriteStreamBytes(Stream, Text, true);
}

std::string XmlSafeValue(const std::string& Value) {
  std::string safe = Value;
  for (char& c : safe) {
    if (c == '"' || c == '<' || c == '>') c = kUnrepresentable;
  }
  return safe;
}

std::string XmlCommentLine(const std::string& Text) { return "<!-- " + Text + " -->"; }

std::string XmlBlockStartLine(std::string_view Root, const std::string& DataId,
                              std::span<const TXmlAttribute> Further) {
  const std::array<TXmlAttribute, 3> identification = {
      TXmlAttribute{"sig", std::string(kXmlSignature)},
      TXmlAttribute{"vers", std::string(kXmlVersion)}, TXmlAttribute{"id", DataId}};
  return "<" + std::string(Root) + AttributeList(identification) + AttributeList(Further) + ">";
}

std::string XmlStartTag(std::string_view Name, std::span<const TXmlAttribute> Attributes) {
  return "<" + std::string(Name) + AttributeList(Attributes) + ">";
}

std::string XmlEmptyElement(std::string_view Name, std::span<const TXmlAttribute> Attributes) {
  return "<" + std::string(Name) + AttributeList(Attributes) + "/>";
}

std::string XmlEndTag(std::string_view Name) { return "</" + std::string(Name) + ">"; }

std::string XmlElementLine(std::string_view Name, const std::string& Value) {
  return XmlStartTag(Name) + XmlSafeValue(Value) + XmlEndTag(Name);
}

// ---- reading -----------------------------------------------------------------------------------

void ReadLineFromStream(TStream& Stream, bool& EndOfStream, int32_t Mode, std::string& Line) {
  EndOfStream = false;
  Line.clear();
  TStreamCursor in(Stream);
  uint8_t previous = 0;  // the byte read before, in this line
  const auto endsLine = [Mode](uint8_t byte, uint8_t before) {
    switch (Mode) {
      case 0: return byte == kLineFeed;
      case 1: return byte == kCarriageReturn;
      case 2: return byte == kLineFeed || byte == kCarriageReturn;
      case 3: return byte == kCarriageReturn && before == kLineFeed;
      case 4: return byte == kLineFeed && before == kCarriageReturn;
      default: return false;
    }
  };
  for (;;) {
    const std::span<const uint8_t> bytes = in.PeekBytes();
    if (bytes.empty()) {
      EndOfStream = true;
      break;
    }
    size_t i = 0;
    bool ended = false;
    for (; i < bytes.size() && !ended; ++i) {
      const uint8_t byte = bytes[i];
      if (byte >= ' ' || byte == kTab) {
        AppendLatin1AsUtf8(Line, byte);
      } else {
        ended = endsLine(byte, previous);
      }
      previous = byte;
    }
    in.SkipBytes(i);
    if (ended) break;
  }
  in.GiveBack();
}

int32_t ReadXmlElement(TTextFile& Source, TXmlTagList Tags, std::string& AttrText,
                       std::string& Content) {
  const int32_t index = ReadElementBytes(Source, Tags, AttrText, Content);
  DecodeFileBytes(AttrText);
  DecodeFileBytes(Content);
  return index;
}

int32_t ReadXmlElement(TStream& Source, TXmlTagList Tags, std::string& AttrText,
                       std::string& Content) {
  TStreamCursor in(Source);
  const int32_t index = ReadElementBytes(in, Tags, AttrText, Content);
  in.GiveBack();
  DecodeStreamBytes(AttrText);
  DecodeStreamBytes(Content);
  return index;
}

int32_t FindTagIndex(std::string_view Name, TXmlTagList Tags) {
  const int32_t count = static_cast<int32_t>(Tags.size());
  for (int32_t i = 0; i < count; ++i) {
    if (EqualsIgnoringCase(Name, Tags[i])) return i;
  }
  return count - 1;
}

TXmlAttrStatus NextXmlAttribute(const std::string& AttrText, int32_t& Pos, std::string& Name,
                                std::string& Value) {
  size_t at = Pos < 1 ? 0 : static_cast<size_t>(Pos) - 1;
  const TAttrPair pair = ScanAttrPair(AttrText, at);
  Pos = static_cast<int32_t>(std::min(at, AttrText.size()) + 1);
  Name = TrimBlanks(std::string(pair.Name));
  Value = pair.Value;
  return pair.Status;
}

std::string GetXmlAttribute(const std::string& AttrText, std::string_view Name) {
  size_t at = 0;
  for (;;) {
    const TAttrPair pair = ScanAttrPair(AttrText, at);
    if (pair.Status != xaOk) return {};
    if (EqualsIgnoringCase(WithoutBlanks(pair.Name), Name)) return std::string(pair.Value);
  }
}

void TXmlAttributes::Assign(const std::string& AttrText) {
  FText = AttrText;
  FPairs.clear();
  const std::string_view text(FText);
  const auto offset = [&](std::string_view Part) {
    return Part.empty() ? 0 : static_cast<size_t>(Part.data() - text.data());
  };
  for (size_t at = 0;;) {
    const TAttrPair pair = ScanAttrPair(text, at);
    if (pair.Status != xaOk) return;
    const std::string_view name = WithoutBlanks(pair.Name);
    FPairs.push_back({offset(name), name.size(), offset(pair.Value), pair.Value.size()});
  }
}

std::string TXmlAttributes::Value(std::string_view Name) const {
  for (const TPair& pair : FPairs) {
    if (pair.NameLength == Name.size() &&
        EqualsIgnoringCase(std::string_view(FText).substr(pair.NameStart, pair.NameLength), Name)) {
      return FText.substr(pair.ValueStart, pair.ValueLength);
    }
  }
  return {};
}

namespace {

std::string LowerAsciiCopy(std::string_view Text) {
  std::string lower(Text);
  LowerAsciiInPlace(lower);
  return lower;
}

// Recognises a block's start line. Marker and WantedId are lower case; Lower is scratch space.
bool IsWantedStartLine(const std::string& Line, const std::string& Marker,
                       const std::string& WantedId, std::string& Lower) {
  Lower = Line;
  LowerAsciiInPlace(Lower);
  if (Lower.find(Marker) == std::string::npos ||
      Lower.find(kSignatureLower) == std::string::npos) {
    return false;
  }
  return WantedId.empty() || XmlHeaderValue(Lower, "id") == WantedId;
}

// Line by line through ReadLine(line) -> bool (false: that was the last line).
template <class ReadLine>
bool FindBlockStart(ReadLine&& Next, std::string_view RootTag, const std::string& DataId,
                    std::string& StartLine) {
  const std::string marker = "<" + LowerAsciiCopy(RootTag);
  const std::string wanted = LowerAsciiCopy(DataId);
  std::string lower;
  bool more = true;
  while (more) {
    more = Next(StartLine);
    if (IsWantedStartLine(StartLine, marker, wanted, lower)) return true;
  }
  StartLine.clear();
  return false;
}

}  // namespace

bool FindDataBlock(TTextFile& Source, std::string_view RootTag, const std::string& DataId,
                   std::string& StartLine) {
  // ReadLine gives false (and an empty line, which is no start line) once the file has ended.
  return FindBlockStart([&](std::string& Line) { return Source.ReadLine(Line); }, RootTag, DataId,
                        StartLine);
}

bool FindDataBlock(TStream& Source, std::string_view RootTag, const std::string& DataId,
                   std::string& StartLine) {
  return FindBlockStart(
      [&](std::string& Line) {
        bool endOfStream = false;
        ReadLineFromStream(Source, endOfStream, 0, Line);
        return !endOfStream;
      },
      RootTag, DataId, StartLine);
}

bool FindDataBlock(TTextFile& Source, std::string_view RootTag, const std::string& DataId) {
  std::string startLine;
  return FindDataBlock(Source, RootTag, DataId, startLine);
}

bool FindDataBlock(TStream& Source, std::string_view RootTag, const std::string& DataId) {
  std::string startLine;
  return FindDataBlock(Source, RootTag, DataId, startLine);
}

std::string XmlHeaderValue(const std::string& Line, std::string_view Name) {
  const int32_t name = NthPos(std::string(Name) + "=\"", Line, 1, true, 1);
  if (name == 0) return {};
  const int32_t open = name + static_cast<int32_t>(Name.size()) + 1;  // 1-based, the quote
  const int32_t close = NthPos("\"", Line, name, false, 2);
  if (close == 0) return {};
  return TrimBlanks(Line.substr(open, close - open - 1));
}
