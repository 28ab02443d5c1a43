#include <gtest/gtest.h>

#include <string>

#include "KVL_streams.h"

TEST(NextXmlAttribute, FollowsTheStateTable) {
  struct Case {
    std::string Text;
    int32_t Pos;
    TXmlAttrStatus Status;
    std::string Name;
    std::string Value;
    int32_t PosAfter;
  };
  const Case cases[] = {
      {R"(a="1" b="2")", 1, xaOk, "a", "1", 6},
      {R"(a="1" b="2")", 6, xaOk, "b", "2", 12},
      {R"(a="1" b="2")", 12, xaNoMorePairs, "", "", 12},
      {R"(a = "x y"  b=z)", 1, xaOk, "a", "x y", 10},
      {R"(a = "x y"  b=z)", 10, xaOk, "b", "z", 15},
      {R"(a="x=y z")", 1, xaOk, "a", "x=y z", 10},
      {R"(a=b"c)", 1, xaOk, "a", "b", 5},           // a quote ends a bare value
      {R"(a="open)", 1, xaOk, "a", "open", 8},      // the text ends inside the value
      {"name", 1, xaOk, "name", "", 5},
      {"a=", 1, xaOk, "a", "", 3},
      {"a=  ", 1, xaOk, "a", "", 5},
      {"  ", 1, xaOk, "", "", 3},
      {"", 1, xaNoMorePairs, "", "", 1},
      {R"(a="1")", 0, xaOk, "a", "1", 6},           // below 1 counts as 1
      {R"(a"b="1")", 1, xaQuoteInName, "a", "", 3},  // stray quotes
      {"a==1", 1, xaEqualsAfterEquals, "a", "", 4},
      {"a=b=c", 1, xaEqualsInValue, "a", "b", 5},
      {R"(="v")", 1, xaOk, "", "v", 5},
  };
  for (size_t row = 0; row < std::size(cases); ++row) {
    const Case& c = cases[row];
    int32_t pos = c.Pos;
    std::string name = "stale";
    std::string value = "stale";
    EXPECT_EQ(NextXmlAttribute(c.Text, pos, name, value), c.Status) << "row " << row;
    EXPECT_EQ(name, c.Name) << "row " << row;
    EXPECT_EQ(value, c.Value) << "row " << row;
    EXPECT_EQ(pos, c.PosAfter) << "row " << row;
  }
}

TEST(GetXmlAttribute, FindsTheFirstPairOfTheNameInAnyCase) {
  struct Case {
    std::string Text;
    std::string Name;
    std::string Value;
  };
  const Case cases[] = {
      {R"(a = "x y"  b=z)", "a", "x y"},
      {R"(a = "x y"  b=z)", "b", "z"},
      {R"(a = "x y"  b=z)", "B", "z"},
      {R"(a = "x y"  b=z)", "c", ""},
      {R"(Lat="47,25" CapText="Forêt Noire")", "captext", "Forêt Noire"},  // value keeps its case
      {R"(a="1" a="2")", "a", "1"},
      {R"(id="x" myid="y")", "myid", "y"},
      {R"(c="3)", "c", "3"},
      // A pair that does not parse ends the search: nothing after it is found.
      {R"(a"b="1" c="2")", "c", ""},
      {R"(x=1=2 c="3")", "c", ""},
      {R"(x==1 c="3")", "c", ""},
      {R"(")", "a", ""},
      {"", "a", ""},
  };
  TXmlAttributes parsed;
  for (size_t row = 0; row < std::size(cases); ++row) {
    EXPECT_EQ(GetXmlAttribute(cases[row].Text, cases[row].Name), cases[row].Value) << "row " << row;
    parsed.Assign(cases[row].Text);  // taken apart once, same answers
    EXPECT_EQ(parsed.Value(cases[row].Name), cases[row].Value) << "row " << row;
  }
}

TEST(XmlHeaderValue, TakesTheValueUpToTheNextQuote) {
  const std::string line =
      R"(<geomap sig="DURERodov" vers="1.0" id=" Town " model="utm" caption="Forêt Noire">)";
  const std::pair<std::string, std::string> cases[] = {
      {"id", "Town"},  {"caption", "Forêt Noire"}, {"CAPTION", "Forêt Noire"},
      {"model", "utm"}, {"map", ""},                {"sig", "DURERodov"},
  };
  for (const auto& [name, value] : cases) EXPECT_EQ(XmlHeaderValue(line, name), value) << name;
  EXPECT_EQ(XmlHeaderValue(R"(<geomap map="open)", "map"), "");  // no closing quote
  EXPECT_EQ(XmlHeaderValue(R"(<x myid="y" id="z">)", "id"), "y");  // the first occurrence counts
}
