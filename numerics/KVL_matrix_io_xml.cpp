// Matrices as XML data blocks (layout in docs/MATRIX_FORMATS.md):
//   <!-- TMatrix / KVL Component Suite -->
//   <matrix sig="DURERodov" vers="1.0" id="DataID" ncols="2" nrows="3">
//   <col>1 2 3</col>
//   <col>4 5 6</col>
//   </matrix>
#include <algorithm>
#include <array>
#include <string_view>

#include "KVL_matrix.h"
#include "KVL_numio.h"
#include "KVL_streams.h"

namespace {

enum TMatrixXmlTag : int32_t { mxColumn, mxEnd, mxInvalid };

template <typename T>
struct TMatrixXmlKind;
template <>
struct TMatrixXmlKind<double> {
  static constexpr std::string_view kRoot = "matrix";
  static constexpr std::string_view kComment = "TMatrix / KVL Component Suite";
  static constexpr std::array<std::string_view, 3> kTags = {"col", "/matrix", "invalidtag"};
};
template <>
struct TMatrixXmlKind<int32_t> {
  static constexpr std::string_view kRoot = "intmatrix";
  static constexpr std::string_view kComment = "TIntMatrix / KVL Component Suite";
  static constexpr std::array<std::string_view, 3> kTags = {"col", "/intmatrix", "invalidtag"};
};
constexpr std::string_view kColumnTag = "col";
constexpr std::size_t kColumnElementBytes = 2 * kColumnTag.size() + 5;  // <col></col>

// Writes the block line by line through WriteLine.
template <typename T, typename LineWriter>
void WriteMatrixBlock(const TMatrixCore<T>& Matrix, bool CreateHeader, const std::string& DataID,
                      LineWriter&& WriteLine) {
  using Kind = TMatrixXmlKind<T>;
  if (CreateHeader) WriteLine(std::string(kXmlDeclaration));
  WriteLine(std::string());
  WriteLine(XmlCommentLine(std::string(Kind::kComment)));
  const TXmlAttribute counts[] = {{"ncols", std::to_string(Matrix.NrOfColumns())},
                                  {"nrows", std::to_string(Matrix.NrOfRows())}};
  WriteLine(XmlBlockStartLine(Kind::kRoot, DataID, counts));
  std::string values;
  for (int64_t c = 1; c <= Matrix.NrOfColumns(); ++c) {
    values.clear();
    for (int64_t r = 1; r <= Matrix.NrOfRows(); ++r) {
      if (r > 1) values += ' ';
      values += ExactNumberText(Matrix.Element(Index32(c), Index32(r)));
    }
    WriteLine(XmlElementLine(kColumnTag, values));
  }
  WriteLine(XmlEndTag(Kind::kRoot));
}

template <typename T>
struct TMatrixXmlBlock {
  std::string Id;
  int32_t Columns = 0;
  int32_t Rows = 0;
  std::vector<T> Values;  // column by column
};

// Appends the numbers of one column's content; false unless it holds exactly Rows numbers.
template <typename T>
bool ParseColumn(const std::string& Content, int32_t Rows, std::vector<T>& Values) {
  int64_t count = 0;
  std::size_t pos = 0;
  const auto separator = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  for (;;) {
    while (pos < Content.size() && separator(Content[pos])) ++pos;
    if (pos == Content.size()) break;
    const std::size_t start = pos;
    while (pos < Content.size() && !separator(Content[pos])) ++pos;
    T value{};
    if (++count > Rows ||
        !ParseNumberWord(std::string_view(Content).substr(start, pos - start), value))
      return false;
    Values.push_back(value);
  }
  return count == Rows;
}

// Finds the block and reads it whole. Values grow only with the numbers actually read, and the
// storage the counts ask for must be justified by the bytes of the block.
template <typename T, typename Source>
bool ReadMatrixBlock(Source& In, const std::string& DataID, TMatrixXmlBlock<T>& Block) {
  using Kind = TMatrixXmlKind<T>;
  std::string startLine;
  if (!FindDataBlock(In, Kind::kRoot, DataID, startLine)) return false;
  if (!ParseIntWord(XmlHeaderValue(startLine, "ncols"), Block.Columns) ||
      !ParseIntWord(XmlHeaderValue(startLine, "nrows"), Block.Rows) || Block.Columns < 0 ||
      Block.Rows < 0)
    return false;
  Block.Id = XmlHeaderValue(startLine, "id");
  int64_t blockBytes = static_cast<int64_t>(startLine.size());
  std::string attributes;
  std::string content;
  for (int64_t c = 1; c <= Block.Columns; ++c) {
    if (ReadXmlElement(In, Kind::kTags, attributes, content) != mxColumn) return false;
    blockBytes += static_cast<int64_t>(content.size() + kColumnElementBytes);
    if (!ParseColumn(content, Block.Rows, Block.Values)) return false;
  }
  if (ReadXmlElement(In, Kind::kTags, attributes, content) != mxEnd) return false;
  const uint64_t cells = static_cast<uint64_t>(std::max(Block.Columns, 1)) *
                         static_cast<uint64_t>(std::max(Block.Rows, 1));
  return AllocationJustified(cells, blockBytes);
}

}  // namespace

template <typename T>
void TMatrixCore<T>::TakeLoadedMatrix(int32_t Nc, int32_t Nr, const std::string& Id,
                                      const std::vector<T>& Values) {
  {
    TChangeSilencer silencer(*this);
    Resize(Nc, Nr);
  }
  FDataID = Id;
  StoreLoadedBlock(1, 1, Nc, Nr, Values);
  Changed();
}

template <typename T>
void TMatrixCore<T>::WriteToXMLStream(TStream& OutStream, bool CreateHeader,
                                      const std::string& DataID) const {
  WriteMatrixBlock(*this, CreateHeader, DataID,
                   [&OutStream](const std::string& Line) { WriteLineToStream(OutStream, Line); });
}

template <typename T>
void TMatrixCore<T>::WriteToOpenXMLFile(TTextFile& OutFile, bool CreateHeader,
                                        const std::string& DataID) const {
  WriteMatrixBlock(*this, CreateHeader, DataID,
                   [&OutFile](const std::string& Line) { OutFile.WriteLine(Line); });
}

template <typename T>
bool TMatrixCore<T>::ReadFromXMLStream(TStream& InStream, const std::string& DataID) {
  TMatrixXmlBlock<T> block;
  try {
    if (!ReadMatrixBlock(InStream, DataID, block)) return false;
  } catch (const EFileError&) {
    return false;
  }
  TakeLoadedMatrix(block.Columns, block.Rows, block.Id, block.Values);
  return true;
}

template <typename T>
bool TMatrixCore<T>::ReadFromOpenXMLFile(TTextFile& InFile, const std::string& DataID) {
  TMatrixXmlBlock<T> block;
  try {
    if (!ReadMatrixBlock(InFile, DataID, block)) return false;
  } catch (const EFileError&) {
    return false;
  }
  TakeLoadedMatrix(block.Columns, block.Rows, block.Id, block.Values);
  return true;
}

template <typename T>
void TMatrixCore<T>::SaveAsXMLFile(const std::string& FName, const std::string& DataID) const {
  WriteTextFileAtomically(FName, [&](TTextFile& File) { WriteToOpenXMLFile(File, true, DataID); });
}

template <typename T>
bool TMatrixCore<T>::LoadFromXMLFile(const std::string& FName, const std::string& DataID) {
  std::unique_ptr<TTextFile> file;
  try {
    file = std::make_unique<TTextFile>(FName, tmRead);
  } catch (const EFileError&) {
    return false;
  }
  return ReadFromOpenXMLFile(*file, DataID);
}

#define VELMO_MATRIX_XML(T)                                                                     \
  template void TMatrixCore<T>::TakeLoadedMatrix(int32_t, int32_t, const std::string&,          \
                                                 const std::vector<T>&);                        \
  template void TMatrixCore<T>::WriteToXMLStream(TStream&, bool, const std::string&) const;     \
  template void TMatrixCore<T>::WriteToOpenXMLFile(TTextFile&, bool, const std::string&) const; \
  template bool TMatrixCore<T>::ReadFromXMLStream(TStream&, const std::string&);                \
  template bool TMatrixCore<T>::ReadFromOpenXMLFile(TTextFile&, const std::string&);            \
  template void TMatrixCore<T>::SaveAsXMLFile(const std::string&, const std::string&) const;    \
  template bool TMatrixCore<T>::LoadFromXMLFile(const std::string&, const std::string&);
VELMO_MATRIX_XML(double)
VELMO_MATRIX_XML(int32_t)
#undef VELMO_MATRIX_XML
