// Runs the XML readers over the same bytes as a byte stream and as a text file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "KVL_streams.h"

inline TMemoryStream StreamOf(const std::string& Bytes) {
  return TMemoryStream(std::vector<uint8_t>(Bytes.begin(), Bytes.end()));
}

struct TElementRead {
  int32_t Index;
  std::string AttrText;
  std::string Content;
  int64_t Consumed;  // bytes taken from the source
};

inline TElementRead ReadElementFromStream(const std::string& Bytes) {
  TMemoryStream stream = StreamOf(Bytes);
  TElementRead r;
  r.Index = ReadXmlElement(stream, kGeoMapXmlTags, r.AttrText, r.Content);
  r.Consumed = stream.Position();
  return r;
}

inline TElementRead ReadElementFromTextFile(const std::string& Bytes) {
  TMemoryStream stream = StreamOf(Bytes);
  TElementRead r;
  {
    TTextFile file(stream, tmRead);
    r.Index = ReadXmlElement(file, kGeoMapXmlTags, r.AttrText, r.Content);
  }
  r.Consumed = stream.Position();
  return r;
}
