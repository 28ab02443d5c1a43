#include <gtest/gtest.h>

#include <string>

#include "KVL_streams.h"
#include "xml_sources.h"

namespace {

struct ElementCase {
  std::string Input;
  int32_t Index;
  std::string AttrText;
  std::string Content;
  std::string Rest;  // input left unread
};

const std::string kCalLineAttrs = R"(type="meridian" value="12.5" npoints="3")";

const ElementCase kElementCases[] = {
    {"<corners>[1,2] [3,4] </corners>\r\n", xtCorners, "", "[1,2] [3,4] ", "\r\n"},
    {"<calline " + kCalLineAttrs + ">\r\n[1,2] [3,4] [5,6]\r\n</calline>\r\n</geomap>", xtCalLine,
     kCalLineAttrs, "\r\n[1,2] [3,4] [5,6]\r\n", "\r\n</geomap>"},
    {"</geomap>\r\n<corners>x</corners>", xtGeoMapEnd, "", "", "\r\n<corners>x</corners>"},
    {R"(<landmark lat="1" long="2"/><x>)", xtLandmark, R"(lat="1" long="2")", "", "<x>"},
    {"<symbol/>", xtInvalidTag, "symbol", "", ""},  // no blank: no name, all in the attributes
    {"< landmark/>", xtInvalidTag, "landmark", "", ""},
    {"<landmark />", xtLandmark, "", "", ""},
    {"<!-- comment -->\r\n<corners>1</corners>", xtInvalidTag, "comment --",
     "\r\n<corners>1</corners>", ""},  // name "!--": its content runs to the end
    {R"(<landmark lat="1>2" long="3"/>)", xtLandmark, R"(lat="1)", R"(2" long="3"/>)", ""},
    {R"(<landmark a="/>b">)", xtLandmark, R"(a=")", "", R"(b">)"},
    {"<CorNers>1</CORNERS>", xtCorners, "", "1", ""},
    {"<corners>1</corners >rest", xtCorners, "", "1</corners >rest", ""},
    {"<geomap><corners>1</corners></geomap>x", xtGeoMap, "", "<corners>1</corners>", "x"},
    {"noise > < <resolution>5</resolution>", xtInvalidTag, "<resolution", "", "5</resolution>"},
    {"noise <resolution>5</resolution>", xtResolution, "", "5", ""},
    {"<corners  >x</corners>", xtCorners, "", "x", ""},
    {"<utmzone\t>x</utmzone>", xtInvalidTag, "", "x</utmzone>", ""},  // only a blank ends a name
    {"<foo a=\"1\">x</foo>y", xtInvalidTag, "a=\"1\"", "x", "y"},
    {"</calline>", xtInvalidTag, "", "", ""},  // an end tag without its own entry
    {"<>x", xtInvalidTag, "", "", "x"},
    {"</>x", xtInvalidTag, "", "", "x"},
    // Truncated and malformed input ends in the sentinel or a partial content.
    {"", xtInvalidTag, "", "", ""},
    {"no tag at all", xtInvalidTag, "", "", ""},
    {R"(<landmark lat="1")", xtInvalidTag, "", "", ""},  // the tag never closes
    {"<corners>[1,2", xtCorners, "", "[1,2", ""},
    {"<corners>1</corn", xtCorners, "", "1</corn", ""},
    {std::string("<corners>\0\x01\x1f\x7f</corners>", 23), xtCorners, "",
     std::string("\0\x01\x1f\x7f", 4), ""},
};

void ExpectElement(const TElementRead& Got, const ElementCase& Want, const std::string& Source,
                   size_t Row) {
  EXPECT_EQ(Got.Index, Want.Index) << Source << " row " << Row;
  EXPECT_EQ(Got.AttrText, Want.AttrText) << Source << " row " << Row;
  EXPECT_EQ(Got.Content, Want.Content) << Source << " row " << Row;
  EXPECT_EQ(Want.Input.substr(static_cast<size_t>(Got.Consumed)), Want.Rest)
      << Source << " row " << Row;
}

}  // namespace

TEST(ReadXmlElement, ClassifiesTagsAndReadsContentFromBothSources) {
  for (size_t row = 0; row < std::size(kElementCases); ++row) {
    const ElementCase& c = kElementCases[row];
    ExpectElement(ReadElementFromStream(c.Input), c, "stream", row);
    ExpectElement(ReadElementFromTextFile(c.Input), c, "text file", row);
  }
}

TEST(ReadXmlElement, DecodesEachSourceInItsOwnCode) {
  const std::string bytes = "<caption x=\"\xE9\">For\xEAt \x80</caption>";
  const TElementRead file = ReadElementFromTextFile(bytes);
  EXPECT_EQ(file.AttrText, "x=\"é\"");
  EXPECT_EQ(file.Content, "Forêt €");  // Windows-1252
  const TElementRead stream = ReadElementFromStream(bytes);
  EXPECT_EQ(stream.AttrText, "x=\"é\"");
  EXPECT_EQ(stream.Content, "Forêt \u0080");  // one byte, one character of the same code
}

TEST(ReadXmlElement, ReadsElementsOneAfterTheOther) {
  TMemoryStream stream = StreamOf(
      "<corners>[1,2]</corners>\r\n<landmark a=\"1\"/>\r\n<resolution>2</resolution>\r\n</geomap>");
  std::string attr;
  std::string content;
  for (int32_t expected : {xtCorners, xtLandmark, xtResolution, xtGeoMapEnd, xtInvalidTag}) {
    EXPECT_EQ(ReadXmlElement(stream, kGeoMapXmlTags, attr, content), expected);
  }
}

TEST(ReadXmlElement, LargeInputsStayLinear) {
  // Each ">" triggers an end-tag check; a re-search of the whole content would be quadratic.
  const std::string many(4 * 1024 * 1024, '>');
  const TElementRead r = ReadElementFromStream("<corners>" + many + "</corners>tail");
  EXPECT_EQ(r.Index, xtCorners);
  EXPECT_EQ(r.Content, many);
  const std::string line(10 * 1024 * 1024, 'a');  // one line, no line end, no end tag
  const TElementRead open = ReadElementFromTextFile("<corners>" + line);
  EXPECT_EQ(open.Index, xtCorners);
  EXPECT_EQ(open.Content.size(), line.size());
  EXPECT_EQ(ReadElementFromStream("<" + line).Index, xtInvalidTag);  // a tag that never closes
}

TEST(FindTagIndex, ComparesLowerCasedNamesWithTheList) {
  const std::pair<std::string, int32_t> cases[] = {
      {"geomap", xtGeoMap},        {"GeoMap", xtGeoMap},       {"/GMLANDMARKS", xtGmLandmarksEnd},
      {"ellipsoid", xtEllipsoid},  {"/calline", xtInvalidTag}, {"", xtInvalidTag},
      {"invalidtag", xtInvalidTag}, {"geomapx", xtInvalidTag},
  };
  for (const auto& [name, index] : cases) {
    EXPECT_EQ(FindTagIndex(name, kGeoMapXmlTags), index) << name;
  }
  EXPECT_EQ(kGeoMapXmlTags.size(), 16u);
  EXPECT_EQ(FindTagIndex("a", {}), -1);
  const std::string_view own[] = {"b", "a", "end"};
  EXPECT_EQ(FindTagIndex("A", own), 1);
  EXPECT_EQ(FindTagIndex("c", own), 2);
}
