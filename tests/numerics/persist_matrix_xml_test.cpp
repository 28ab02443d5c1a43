// Matrices as XML data blocks.
#include <memory>
#include <string>
#include <vector>

#include "KVL_matrix.h"
#include "KVL_streams.h"
#include "matrix_rows.h"
#include "persist_tempdir.h"

namespace {

std::string Text(const TMemoryStream& s) { return {s.Bytes().begin(), s.Bytes().end()}; }

TMemoryStream StreamOf(const std::string& text) {
  return TMemoryStream(std::vector<uint8_t>(text.begin(), text.end()));
}

const std::string kTwoBlocks =
    "<?xml version=\"1.0\"?>\r\n\r\n"
    "<!-- TIntMatrix / KVL Component Suite -->\r\n"
    "<intmatrix sig=\"DURERodov\" vers=\"1.0\" id=\"First\" ncols=\"1\" nrows=\"2\">\r\n"
    "<col>1 2</col>\r\n"
    "</intmatrix>\r\n"
    "\r\n<!-- TIntMatrix / KVL Component Suite -->\n"
    "<INTMATRIX sig=\"durerodov\" id=\" Second \" nrows=\"1\" ncols=\"3\">\n"
    "<COL> 7 </COL><col>\n8\n</col>\n<col>-9</col>\n"
    "</intmatrix>\n";

class MatrixXml : public PersistTest {};

}  // namespace

TEST_F(MatrixXml, WriteFollowsTheBlockLayout) {
  TMatrix m;
  Assign(m, {{1, 0.5}, {-2, 1e-7}});
  TMemoryStream s;
  m.WriteToXMLStream(s, true, "Calib\"1");
  EXPECT_EQ(Text(s),
            "<?xml version=\"1.0\"?>\r\n\r\n<!-- TMatrix / KVL Component Suite -->\r\n"
            "<matrix sig=\"DURERodov\" vers=\"1.0\" id=\"Calib?1\" ncols=\"2\" nrows=\"2\">\r\n"
            "<col>1 -2</col>\r\n<col>0.5 1e-07</col>\r\n</matrix>\r\n");
  TIntMatrix empty;
  empty.Resize(0, 3);
  TMemoryStream e;
  empty.WriteToXMLStream(e, false, "");
  EXPECT_EQ(Text(e),
            "\r\n<!-- TIntMatrix / KVL Component Suite -->\r\n"
            "<intmatrix sig=\"DURERodov\" vers=\"1.0\" id=\"\" ncols=\"0\" nrows=\"3\">\r\n"
            "</intmatrix>\r\n");
}

TEST_F(MatrixXml, DataIdChoosesTheBlock) {
  struct Case {
    std::string wanted;
    Rows<int32_t> rows;
    std::string id;
  };
  const Case cases[] = {
      {"", {{1}, {2}}, "First"},
      {"first", {{1}, {2}}, "First"},
      {"SECOND", {{7, 8, -9}}, "Second"},
  };
  for (const Case& c : cases) {
    TMemoryStream s = StreamOf(kTwoBlocks);
    TIntMatrix m;
    int changes = 0;
    m.SetOnChange([&changes](void*) { ++changes; });
    ASSERT_TRUE(m.ReadFromXMLStream(s, c.wanted)) << c.wanted;
    EXPECT_EQ(RowsOf(m), c.rows) << c.wanted;
    EXPECT_EQ(m.DataID(), c.id) << c.wanted;
    EXPECT_EQ(changes, 1) << c.wanted;
  }
  TTextFile file(Write("two.xml", kTwoBlocks), tmRead);
  TIntMatrix m;
  ASSERT_TRUE(m.ReadFromOpenXMLFile(file, "Second"));
  EXPECT_FALSE(m.ReadFromOpenXMLFile(file, "First"));  // the file has moved past it
  EXPECT_EQ(RowsOf(m), (Rows<int32_t>{{7, 8, -9}}));
  TMatrix real;  // looks for <matrix> blocks only
  TMemoryStream s = StreamOf(kTwoBlocks);
  EXPECT_FALSE(real.ReadFromXMLStream(s, ""));
}

TEST_F(MatrixXml, RoundTripThroughStreamsAndFiles) {
  TMatrix m;
  Assign(m, {{1.0 / 3, -0.0, 5e-324}, {1e308, -7, 0.1}});
  TMemoryStream s;
  m.WriteToXMLStream(s, false, "a");
  TMatrix other;
  Assign(other, {{9}});
  other.WriteToXMLStream(s, false, "b");
  s.SetPosition(0);
  TMatrix back;
  ASSERT_TRUE(back.ReadFromXMLStream(s, "A"));
  EXPECT_EQ(back.CRCofData(), m.CRCofData());
  EXPECT_EQ(back.NrOfColumns(), 3);
  ASSERT_TRUE(back.ReadFromXMLStream(s, "b"));  // the next block follows
  EXPECT_EQ(RowsOf(back), (Rows<double>{{9}}));

  const std::string path = PathOf("m.xml");
  m.SaveAsXMLFile(path, "Ünïcode id");
  EXPECT_EQ(Read(path).substr(0, 23), "<?xml version=\"1.0\"?>\r\n");
  TMatrix fromFile;
  ASSERT_TRUE(fromFile.LoadFromXMLFile(path, "Ünïcode ID"));
  EXPECT_EQ(fromFile.CRCofData(), m.CRCofData());
  EXPECT_EQ(fromFile.DataID(), "Ünïcode id");
  EXPECT_FALSE(fromFile.LoadFromXMLFile(path, "other"));
  EXPECT_FALSE(fromFile.LoadFromXMLFile(PathOf("missing.xml"), ""));
  EXPECT_THROW(m.SaveAsXMLFile(UnwritablePath(), ""), EFileError);

  TIntMatrix im;
  Assign(im, {{1, 2}, {3, 4}});
  {
    TTextFile out(PathOf("i.xml"), tmRewrite);
    im.WriteToOpenXMLFile(out, true, "x");
    out.Close();
  }
  TIntMatrix ib;
  ASSERT_TRUE(ib.LoadFromXMLFile(PathOf("i.xml"), "x"));
  EXPECT_EQ(RowsOf(ib), RowsOf(im));
}

TEST_F(MatrixXml, ReadRefusesBadBlocksWithoutChangingTheMatrix) {
  const std::string start = "<intmatrix sig=\"DURERodov\" id=\"m\" ";
  const std::string blocks[] = {
      "",
      "<intmatrix id=\"m\" ncols=\"1\" nrows=\"1\">\n<col>1</col>\n</intmatrix>",  // no signature
      start + "nrows=\"1\">\n<col>1</col>\n</intmatrix>",                          // no ncols
      start + "ncols=\"x\" nrows=\"1\">\n<col>1</col>\n</intmatrix>",
      start + "ncols=\"-1\" nrows=\"1\">\n</intmatrix>",
      start + "ncols=\"1\" nrows=\"2\">\n<col>1</col>\n</intmatrix>",    // short column
      start + "ncols=\"1\" nrows=\"1\">\n<col>1 2</col>\n</intmatrix>",  // long column
      start + "ncols=\"1\" nrows=\"1\">\n<col>1.5</col>\n</intmatrix>",  // not an integer
      start + "ncols=\"2\" nrows=\"1\">\n<col>1</col>\n</intmatrix>",    // missing column
      start + "ncols=\"1\" nrows=\"1\">\n<col>1</col>\n<col>2</col>\n</intmatrix>",  // extra
      start + "ncols=\"1\" nrows=\"1\">\n<col>1</col>\n",                            // no end tag
      start + "ncols=\"1\" nrows=\"1\">\n<!-- c -->\n<col>1</col>\n</intmatrix>",
      start + "ncols=\"1\" nrows=\"1\">\n<col>1",  // truncated
      start + "ncols=\"2000000000\" nrows=\"2000000000\">\n<col>1</col>\n</intmatrix>",
      start + "ncols=\"0\" nrows=\"2000000000\">\n</intmatrix>",  // 2e9 cells
      start + "ncols=\"99999999999\" nrows=\"1\">\n</intmatrix>",
  };
  for (size_t i = 0; i < std::size(blocks); ++i) {
    TIntMatrix m;
    Assign(m, {{4, 5}});
    m.SetDataID("before");
    int changes = 0;
    m.SetOnChange([&changes](void*) { ++changes; });
    TMemoryStream s = StreamOf(blocks[i]);
    EXPECT_FALSE(m.ReadFromXMLStream(s, "m")) << i;
    TTextFile file(Write("bad.xml", blocks[i]), tmRead);
    EXPECT_FALSE(m.ReadFromOpenXMLFile(file, "m")) << i;
    EXPECT_EQ(RowsOf(m), (Rows<int32_t>{{4, 5}})) << i;
    EXPECT_EQ(m.DataID(), "before") << i;
    EXPECT_EQ(changes, 0) << i;
  }
}
