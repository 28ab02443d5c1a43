// ASC files of TCurveFit: a tab-separated text format with a small header.
//   title
//   2<TAB>;nr. of columns
//   n<TAB>;nr. of rows
//   FALSE TRUE FALSE<TAB>;row attributes, column names, row names
//   x   y
//   x1<TAB>y1
//   ...
#include <charconv>
#include <cmath>

#include "KVL_ascheader.h"
#include "KVL_bytestream.h"
#include "KVL_math2_curvefit.h"
#include "KVL_stringl.h"
#include "KVL_textfile.h"

namespace {

constexpr char kNameQuote = '"';
constexpr int32_t kAscHeaderLines = 4;
// Every row holds at least two values of one character, each followed by a separator: a file
// of Size bytes cannot hold more than Size / 2 rows, which bounds what a header may make us
// allocate.
constexpr int64_t kMinBytesPerRow = 2;

bool IsSeparator(char c) { return static_cast<unsigned char>(c) <= ' '; }

// Reads values and names out of the data lines of an ASC file, across line ends.
class TAscDataReader {
 public:
  explicit TAscDataReader(TTextFile& File) : FFile(File) {}

  // Skips a whole line; called before any value is read.
  void SkipLine() {
    std::string skipped;
    FFile.ReadLine(skipped);
  }

  // The next blank-separated word must be a finite decimal number, which lands in Value.
  bool ReadNumber(double& Value) {
    if (!SkipSeparators()) return false;
    const size_t start = FPos;
    while (FPos < FLine.size() && !IsSeparator(FLine[FPos])) ++FPos;
    const char* first = FLine.data() + start;
    const char* last = FLine.data() + FPos;
    if (*first == '+' && last - first > 1 && first[1] != '-') ++first;
    const auto [end, error] = std::from_chars(first, last, Value);
    return error == std::errc() && end == last && std::isfinite(Value);
  }

  // A row name, plain or enclosed in quotes, read through ParseQuotedName; it ends at the
  // closing quote, a blank or the end of its line.
  void ReadName(std::string& Name) {
    if (!SkipSeparators()) return;
    TQuotedStrState state = vsStart;
    while (FPos < FLine.size()) {
      if (ParseQuotedName(FLine[FPos++], kNameQuote, Name, state)) return;
    }
    ParseQuotedName('\n', kNameQuote, Name, state);
  }

 private:
  // Moves to the next character that is not a separator, reading further lines as needed;
  // false at the end of the file.
  bool SkipSeparators() {
    for (;;) {
      while (FPos < FLine.size() && IsSeparator(FLine[FPos])) ++FPos;
      if (FPos < FLine.size()) return true;
      FPos = 0;
      if (!FFile.ReadLine(FLine)) return false;
    }
  }

  TTextFile& FFile;
  std::string FLine;
  size_t FPos = 0;
};

}  // namespace

std::string TCurveFit::ExportAsASC(const std::string& FName, const std::string& Comment,
                                   int32_t Precision) {
  std::string title = ReplaceChar(Comment, U'\n', U' ');
  if (title.empty()) title = "Exported by KVL TCurveFit component: " + FName;
  bool created = false;
  try {
    WriteTextFileAtomically(FName, [&](TTextFile& File) {
      created = true;
      File.WriteLine(title);
      File.WriteLine("2\t;nr. of columns");
      File.WriteLine(std::to_string(FNumData) + "\t;nr. of rows");
      File.WriteLine("FALSE TRUE FALSE\t;row attributes, column names, row names");
      File.WriteLine("x   y");
      std::string line;
      for (int32_t i = 0; i < FNumData; ++i) {
        line = FormatFixedWidth(1, Precision, FDataX[static_cast<size_t>(i)]);
        line += '\t';
        line += FormatFixedWidth(1, Precision, FDataY[static_cast<size_t>(i)]);
        File.WriteLine(line);
      }
    });
  } catch (const EFileError& e) {
    if (created) throw;
    return e.what();
  }
  return {};
}

int32_t TCurveFit::ImportASC(const std::string& FName) {
  InvalidateCaches();
  std::string title;
  int32_t columns = 0;
  int32_t rows = 0;
  bool rowAttributes = false, columnNames = false, rowNames = false, fourthFlag = false;
  const int32_t status = ReadAscHeader(FName, title, columns, rows, rowAttributes, columnNames,
                                       rowNames, fourthFlag);
  if (status != aiOk) return status;
  if (fourthFlag) return aiFourthFlag;
  if (columns != 2) {
    throw EKVLMath2Error(
        "TCurveFit.ImportASC: number of columns must be 2 (is actually " +
        std::to_string(columns) + ").");
  }
  if (rows < 0) return aiBadRows;

  TFileStream stream(FName, fmOpenRead);
  if (rows > stream.Size() / kMinBytesPerRow) return aiBadValues;
  TTextFile file(stream, tmRead);
  TAscDataReader reader(file);
  for (int32_t i = 0; i < kAscHeaderLines; ++i) reader.SkipLine();
  if (columnNames) reader.SkipLine();  // the names are not kept

  std::string rowName;  // not kept
  std::vector<double> xs;
  std::vector<double> ys;
  xs.reserve(static_cast<size_t>(rows));
  ys.reserve(static_cast<size_t>(rows));
  for (int32_t i = 0; i < rows; ++i) {
    double attribute = 0;
    if (rowAttributes && !reader.ReadNumber(attribute)) return aiBadRowAttribute;
    if (rowNames) reader.ReadName(rowName);
    double x = 0;
    double y = 0;
    if (!reader.ReadNumber(x) || !reader.ReadNumber(y)) return aiBadValues;
    xs.push_back(x);
    ys.push_back(y);
  }

  Init();
  FDataX = std::move(xs);
  FDataY = std::move(ys);
  FNumData = rows;
  for (int32_t i = 0; i < rows; ++i) {
    const double x = FDataX[static_cast<size_t>(i)];
    const double y = FDataY[static_cast<size_t>(i)];
    TrackExtremes(x, y);
    AccumulateSums<false>(x, y);
  }
  return aiOk;
}
