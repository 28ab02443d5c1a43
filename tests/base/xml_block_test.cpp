#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "KVL_streams.h"
#include "xml_sources.h"

namespace {

const std::string kTwoKinds =
    "<?xml version=\"1.0\"?>\r\n"
    "\r\n"
    "<!-- TGeoMap Calibration / KVL Component Suite -->\r\n"
    "<geomap id=\"x\">\r\n"  // no signature: not a block of ours
    "<geomap sig=\"DURERodov\" vers=\"1.0\" id=\"A\" model=\"utm\">\r\n"
    "<corners>[1,2]</corners>\r\n"
    "</geomap>\r\n"
    "<GMLANDMARKS SIG=\"durerodov\" vers=\"1.0\" ID=\" TOWN \">\n"
    "<landmark lat=\"1\" long=\"2\"/>\n"
    "</gmlandmarks>\n"
    "<geomap sig=\"DURERodov\" vers=\"1.0\" id=\"B\">";

struct BlockCase {
  std::string Root;
  std::string DataId;
  bool Found;
  std::string Rest;  // what follows the start line
};

const BlockCase kBlockCases[] = {
    {"geomap", "", true, "<corners>[1,2]</corners>\r\n</geomap>\r\n<GMLANDMARKS"},
    {"geomap", "a", true, "<corners>"},
    {"geomap", "b", true, ""},
    {"GeoMap", "x", false, ""},
    {"gmlandmarks", "Town", true, "<landmark"},
    {"gmlandmarks", "", true, "<landmark"},
    {"gmlandmarks", "A", false, ""},
    {"landmark", "", false, ""},
};

// Reads whatever is left in the stream, as a prefix check.
std::string Remaining(const std::string& Bytes, int64_t Position) {
  return Bytes.substr(static_cast<size_t>(Position));
}

}  // namespace

TEST(FindDataBlock, FindsTheBlockByRootTagAndIdentifier) {
  for (size_t row = 0; row < std::size(kBlockCases); ++row) {
    const BlockCase& c = kBlockCases[row];
    TMemoryStream stream = StreamOf(kTwoKinds);
    EXPECT_EQ(FindDataBlock(stream, c.Root, c.DataId), c.Found) << "stream row " << row;
    if (c.Found) {
      EXPECT_TRUE(Remaining(kTwoKinds, stream.Position()).starts_with(c.Rest)) << row;
    }

    TMemoryStream backing = StreamOf(kTwoKinds);
    {
      TTextFile file(backing, tmRead);
      EXPECT_EQ(FindDataBlock(file, c.Root, c.DataId), c.Found) << "text file row " << row;
    }
    if (c.Found) {
      EXPECT_TRUE(Remaining(kTwoKinds, backing.Position()).starts_with(c.Rest)) << row;
    }
  }
}

TEST(FindDataBlock, ReaderLoopStopsAtItsEndTagOrTheSentinel) {
  const std::string truncated = kTwoKinds.substr(0, kTwoKinds.find("</geomap>") - 5);
  struct Case {
    std::string Bytes;
    std::vector<int32_t> Elements;
  };
  const Case cases[] = {
      {kTwoKinds, {xtCorners, xtGeoMapEnd}},
      {truncated, {xtCorners, xtInvalidTag}},  // "[1,2" and then nothing
  };
  for (const Case& c : cases) {
    TMemoryStream stream = StreamOf(c.Bytes);
    ASSERT_TRUE(FindDataBlock(stream, "geomap", "A"));
    std::vector<int32_t> read;
    std::string attr;
    std::string content;
    int32_t index;
    do {
      index = ReadXmlElement(stream, kGeoMapXmlTags, attr, content);
      read.push_back(index);
    } while (index != xtGeoMapEnd && index != xtInvalidTag);
    EXPECT_EQ(read, c.Elements);
  }
}

TEST(FindDataBlock, SurvivesHugeLinesAndControlBytes) {
  const std::string huge(10 * 1024 * 1024, '<');
  TMemoryStream stream = StreamOf(huge);
  EXPECT_FALSE(FindDataBlock(stream, "geomap", ""));
  const std::string noisy = std::string("\0\x01<geo\0map sig=\"DURERodov\">\n", 28) +
                            "<geomap sig=\"DURER\x01odov\" id=\"\x02\">\n";
  TMemoryStream noise = StreamOf(noisy);
  // Control bytes are dropped from stream lines, so both lines qualify; the first one is taken.
  EXPECT_TRUE(FindDataBlock(noise, "geomap", ""));
  EXPECT_EQ(noise.Position(), 28);
}

// A block written with the builders reads back through both kinds of source.
TEST(XmlBlockRoundTrip, WrittenBlocksReadBack) {
  const std::string caption = "Forêt Noire";
  const std::vector<TXmlAttribute> header = {{"model", "utm"}, {"caption", caption}};
  const std::vector<TXmlAttribute> mark = {{"lat", "47.25"}, {"id", "say \"hi\" <b>"}};
  const std::vector<std::string> lines = {
      std::string(kXmlDeclaration),
      "",
      XmlCommentLine("TGeoMap Landmarks"),
      XmlBlockStartLine("gmlandmarks", "Town", header),
      XmlEmptyElement("landmark", mark),
      XmlStartTag("calline", {{{"npoints", "2"}}}),
      "[1,2] [3,4]",
      XmlEndTag("calline"),
      XmlElementLine("utmzone", "32"),
      XmlEndTag("gmlandmarks"),
  };
  EXPECT_EQ(lines[3], "<gmlandmarks sig=\"DURERodov\" vers=\"1.0\" id=\"Town\" model=\"utm\" "
                      "caption=\"Forêt Noire\">");
  EXPECT_EQ(lines[4], "<landmark lat=\"47.25\" id=\"say ?hi? ?b?\"/>");

  TMemoryStream stream;
  TMemoryStream fileBytes;
  {
    TTextFile file(fileBytes, tmRewrite);
    for (const std::string& line : lines) {
      WriteLineToStream(stream, line);
      file.WriteLine(line);
    }
  }
  const auto readBack = [&](auto& source) {
    std::string startLine;
    ASSERT_TRUE(FindDataBlock(source, "GMLandmarks", "TOWN", startLine));
    EXPECT_EQ(startLine, lines[3]);
    EXPECT_EQ(XmlHeaderValue(startLine, "caption"), caption);
    std::string attr;
    std::string content;
    EXPECT_EQ(ReadXmlElement(source, kGeoMapXmlTags, attr, content), xtLandmark);
    EXPECT_EQ(GetXmlAttribute(attr, "lat"), "47.25");
    EXPECT_EQ(GetXmlAttribute(attr, "id"), "say ?hi? ?b?");
    EXPECT_EQ(ReadXmlElement(source, kGeoMapXmlTags, attr, content), xtCalLine);
    EXPECT_EQ(content, "\r\n[1,2] [3,4]\r\n");
    EXPECT_EQ(ReadXmlElement(source, kGeoMapXmlTags, attr, content), xtUtmZone);
    EXPECT_EQ(content, "32");
    EXPECT_EQ(ReadXmlElement(source, kGeoMapXmlTags, attr, content), xtGmLandmarksEnd);
    EXPECT_EQ(ReadXmlElement(source, kGeoMapXmlTags, attr, content), xtInvalidTag);
  };
  stream.SetPosition(0);
  readBack(stream);
  fileBytes.SetPosition(0);
  TTextFile file(fileBytes, tmRead);
  readBack(file);
}
