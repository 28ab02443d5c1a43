// ASC export and import of TCurveFit.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "KVL_bytestream.h"
#include "KVL_math2_curvefit.h"

namespace {

namespace fs = std::filesystem;
using Pairs = std::vector<std::pair<double, double>>;

class CurveFitAsc : public ::testing::Test {
 protected:
  void SetUp() override {
    FDir = fs::temp_directory_path() /
           ("velmo_asc_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(FDir);
  }
  void TearDown() override { fs::remove_all(FDir); }

  std::string PathOf(const std::string& Name) const { return (FDir / Name).string(); }
  std::string Write(const std::string& Name, const std::string& Bytes) const {
    std::ofstream(PathOf(Name), std::ios::binary) << Bytes;
    return PathOf(Name);
  }
  std::string Read(const std::string& Path) const {
    std::ifstream in(Path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  fs::path FDir;
};

const std::string kHeaderFlags = "FALSE TRUE FALSE\t;row attributes, column names, row names\r\n";

TEST_F(CurveFitAsc, ExportWritesTheFormat) {
  TCurveFit fit;
  fit.EnterStatValue(1.5, -2);
  fit.EnterStatValue(1e3, 0.0626);
  const std::string path = PathOf("out.asc");
  EXPECT_EQ(fit.ExportAsASC(path, "two\nlines", 3), "");
  EXPECT_EQ(Read(path), "two lines\r\n2\t;nr. of columns\r\n2\t;nr. of rows\r\n" + kHeaderFlags +
                            "x   y\r\n1.500\t-2.000\r\n1000.000\t0.063\r\n");
}

TEST_F(CurveFitAsc, ExportWithoutCommentNamesTheFile) {
  TCurveFit fit;
  const std::string path = PathOf("empty.asc");
  EXPECT_EQ(fit.ExportAsASC(path, "", 2), "");
  EXPECT_EQ(Read(path), "Exported by KVL TCurveFit component: " + path +
                            "\r\n2\t;nr. of columns\r\n0\t;nr. of rows\r\n" + kHeaderFlags +
                            "x   y\r\n");
}

TEST_F(CurveFitAsc, ExportToAnImpossiblePlaceReportsTheFailure) {
  TCurveFit fit;
  fit.EnterStatValue(1, 2);
  std::string message;
  EXPECT_NO_THROW(message = fit.ExportAsASC(PathOf("no/such/dir/out.asc"), "c", 2));
  EXPECT_NE(message, "");
}

TEST_F(CurveFitAsc, RoundTripRestoresPairsAndSums) {
  TCurveFit fit;
  const Pairs pairs = {{0.1, 3}, {-2.5, 1e-7}, {123456.789, -0.3333333333333333}, {0, 0}};
  for (const auto& [x, y] : pairs) fit.EnterStatValue(x, y);
  const std::string path = PathOf("round.asc");
  ASSERT_EQ(fit.ExportAsASC(path, "round trip", 17), "");

  TCurveFit back;
  back.EnterStatValue(7, 7);
  ASSERT_EQ(back.ImportASC(path), aiOk);
  ASSERT_EQ(back.NumData(), 4);
  EXPECT_EQ(back.DataCapacity(), 4);
  for (int32_t i = 1; i <= 4; ++i) {
    EXPECT_EQ(back.DataX(i), pairs[static_cast<size_t>(i - 1)].first) << i;
    EXPECT_EQ(back.DataY(i), pairs[static_cast<size_t>(i - 1)].second) << i;
  }
  EXPECT_EQ(back.Sums().sumxy, fit.Sums().sumxy);
  EXPECT_EQ(back.Sums().sum1byx, fit.Sums().sum1byx);
  EXPECT_EQ(back.MinX(), -2.5);
  EXPECT_EQ(back.MaxX(), 123456.789);
  EXPECT_EQ(back.ErrIndic(), fit.ErrIndic());
}

TEST_F(CurveFitAsc, ImportReplacesFlagsAndExtremes) {
  TCurveFit fit;
  fit.EnterStatValue(0, 0);  // sets every domain flag
  const std::string path =
      Write("plain.asc", "t\n2\n2\nfalse false false\n1 2\n3 4\n");
  ASSERT_EQ(fit.ImportASC(path), aiOk);
  EXPECT_EQ(fit.ErrIndic(), 0);
  EXPECT_EQ(fit.MinX(), 1);
  EXPECT_EQ(fit.MaxY(), 4);
  EXPECT_EQ(fit.Sums().sumx, 4);
  fit.EnterStatValue(5, 6);  // the store grows again from the imported size
  EXPECT_EQ(fit.NumData(), 3);
  EXPECT_EQ(fit.DataCapacity(), 1002);
}

TEST_F(CurveFitAsc, ImportCases) {
  struct Case {
    const char* name;
    std::string text;
    int32_t status;
    Pairs pairs;  // the store after a successful import
  };
  const Case cases[] = {
      {"values across lines", "t\n2\n2\nFALSE FALSE FALSE\n1\n2 3\t\t4\n", aiOk, {{1, 2}, {3, 4}}},
      {"row attributes", "t\n2\n2\nTRUE FALSE FALSE\n7 1 2\n8 +3 -4e1\n", aiOk, {{1, 2}, {3, -40}}},
      {"row names", "t\n2\n2\nFALSE FALSE TRUE\n\"first row\" 1 2\nsecond 3 4\n", aiOk,
       {{1, 2}, {3, 4}}},
      {"quoted column names", "t\n2\n1\nFALSE TRUE FALSE\n\"x value\" \"y\"\n.5 5.\n", aiOk,
       {{0.5, 5}}},
      {"scientific notation", "t\n2\n1\nFALSE TRUE FALSE\nx   y\n 1.2340E+0003\t-5.0e-01\n", aiOk,
       {{1234, -0.5}}},
      {"no rows", "t\n2\n0\nFALSE TRUE FALSE\nx   y\n", aiOk, {}},
      {"columns unreadable", "t\nx\n2\n", aiBadColumns, {}},
      {"rows unreadable", "t\n2\n;\n", aiBadRows, {}},
      {"negative rows", "t\n2\n-5\nFALSE FALSE FALSE\n1 2\n", aiBadRows, {}},
      {"bad flag", "t\n2\n1\nFALSE MAYBE FALSE\n1 2\n", aiBadFlag, {}},
      {"fourth flag", "t\n2\n1\nFALSE FALSE FALSE TRUE\n1 2\n", aiFourthFlag, {}},
      {"huge row count", "t\n2\n2000000000\nFALSE FALSE FALSE\n1 2\n", aiBadValues, {}},
      {"truncated values", "t\n2\n3\nFALSE FALSE FALSE\n1 2\n3 4\n5", aiBadValues, {}},
      {"text for a number", "t\n2\n1\nFALSE FALSE FALSE\n1 abc\n", aiBadValues, {}},
      {"trailing garbage", "t\n2\n1\nFALSE FALSE FALSE\n1 2x\n", aiBadValues, {}},
      {"not finite", "t\n2\n1\nFALSE FALSE FALSE\ninf 2\n", aiBadValues, {}},
      {"out of range", "t\n2\n1\nFALSE FALSE FALSE\n1e999 2\n", aiBadValues, {}},
      {"bad attribute", "t\n2\n1\nTRUE FALSE FALSE\nx 1 2\n", aiBadRowAttribute, {}},
      {"missing attribute", "t\n2\n1\nTRUE FALSE FALSE\n", aiBadRowAttribute, {}},
  };
  for (const Case& c : cases) {
    TCurveFit fit;
    fit.EnterStatValue(9, 8);
    EXPECT_EQ(fit.ImportASC(Write("case.asc", c.text)), c.status) << c.name;
    if (c.status == aiOk) {
      ASSERT_EQ(fit.NumData(), static_cast<int32_t>(c.pairs.size())) << c.name;
      for (size_t i = 0; i < c.pairs.size(); ++i) {
        EXPECT_EQ(fit.DataX(static_cast<int32_t>(i + 1)), c.pairs[i].first) << c.name;
        EXPECT_EQ(fit.DataY(static_cast<int32_t>(i + 1)), c.pairs[i].second) << c.name;
      }
    } else {  // a failed import leaves the store alone
      EXPECT_EQ(fit.NumData(), 1) << c.name;
      EXPECT_EQ(fit.DataX(1), 9) << c.name;
      EXPECT_EQ(fit.Sums().sumy, 8) << c.name;
    }
  }
}

TEST_F(CurveFitAsc, ImportErrors) {
  TCurveFit fit;
  try {
    fit.ImportASC(Write("three.asc", "t\n3\n1\nFALSE FALSE FALSE\n1 2 3\n"));
    ADD_FAILURE() << "no error";
  } catch (const EKVLMath2Error& e) {
    EXPECT_STREQ(e.what(), "TCurveFit.ImportASC: number of columns must be 2 (is actually 3).");
  }
  EXPECT_THROW(fit.ImportASC(PathOf("missing.asc")), EFileError);
}

}  // namespace
