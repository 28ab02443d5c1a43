// The XML block readers on arbitrary bytes, from a byte stream and from a text file: find a block,
// read its elements, take attributes and header values. Besides not crashing, both sources must
// classify ASCII input alike, every attribute pair must leave Pos moving forward, and attributes
// taken apart once must give what GetXmlAttribute gives.
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "KVL_streams.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

constexpr int kMaxElements = 10000;  // bounds the work per input; reading always ends anyway

void TakeAttributes(const std::string& AttrText) {
  const TXmlAttributes parsed(AttrText);
  for (const char* name : {"lat", "id", "type", "npoints", ""}) {
    Check(parsed.Value(name) == GetXmlAttribute(AttrText, name));
  }
  int32_t pos = 1;
  std::string name;
  std::string value;
  for (int32_t before = pos; NextXmlAttribute(AttrText, pos, name, value) == xaOk; before = pos) {
    Check(pos > before);
  }
}

// Elements as (index, attributes, content) from the current position of the source.
template <class Source>
std::vector<std::string> ReadElements(Source& In) {
  std::vector<std::string> read;
  std::string attr;
  std::string content;
  for (int i = 0; i < kMaxElements; ++i) {
    const int32_t index = ReadXmlElement(In, kGeoMapXmlTags, attr, content);
    Check(index >= 0 && index < static_cast<int32_t>(kGeoMapXmlTags.size()));
    TakeAttributes(attr);
    read.push_back(std::to_string(index) + '\n' + attr + '\n' + content);
    if (index == xtInvalidTag) break;
  }
  return read;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> bytes(data, data + size);
  const bool ascii = std::all_of(bytes.begin(), bytes.end(), [](uint8_t b) { return b < 0x80; });

  TMemoryStream stream(bytes);
  std::string startLine;
  if (FindDataBlock(stream, "geomap", "", startLine)) XmlHeaderValue(startLine, "caption");
  ReadElements(stream);

  TMemoryStream backing(bytes);
  TTextFile file(backing, tmRead);
  if (FindDataBlock(file, "gmlandmarks", "a", startLine)) XmlHeaderValue(startLine, "id");
  ReadElements(file);

  // From the start, both sources read the same ASCII elements.
  TMemoryStream again(bytes);
  TMemoryStream againBacking(bytes);
  TTextFile againFile(againBacking, tmRead);
  if (ascii) Check(ReadElements(again) == ReadElements(againFile));

  bool end = false;
  std::string line;
  TMemoryStream lines(bytes);
  for (int32_t mode = 0; !end; mode = (mode + 1) % 6) ReadLineFromStream(lines, end, mode, line);
  return 0;
}
