#include "KVL_ascheader.h"

#include <charconv>

#include "KVL_stringl.h"
#include "KVL_textfile.h"

namespace {

// The integer at the start of the line (after blanks and tabs); the rest of the line is ignored.
bool LeadingInteger(const std::string& Line, int32_t& Value) {
  size_t at = Line.find_first_not_of(" \t");
  if (at == std::string::npos) return false;
  if (Line[at] == '+') ++at;  // from_chars takes "-" but not "+"
  const char* end = Line.data() + Line.size();
  int32_t parsed = 0;
  const auto [stop, error] = std::from_chars(Line.data() + at, end, parsed);
  if (error != std::errc()) return false;  // no digit, or out of range
  Value = parsed;
  return true;
}

// Takes the flag word at the start of Words (TRUE or FALSE) and removes it with the blanks after.
bool TakeFlag(std::string& Words, bool& Flag) {
  if (Words.starts_with("TRUE")) {
    Flag = true;
    Words = TrimBlanks(Words.substr(4));
    return true;
  }
  if (Words.starts_with("FALSE")) {
    Flag = false;
    Words = TrimBlanks(Words.substr(5));
    return true;
  }
  return false;
}

}  // namespace

int32_t ReadAscHeader(const std::string& FileName, std::string& Title, int32_t& NrColumns,
                      int32_t& NrRows, bool& RowAttributes, bool& ColumnNames, bool& RowNames,
                      bool& FourthFlag) {
  TTextFile file(FileName, tmRead);
  std::string line;
  file.ReadLine(Title);
  file.ReadLine(line);
  if (!LeadingInteger(line, NrColumns)) return ahBadColumns;
  file.ReadLine(line);
  if (!LeadingInteger(line, NrRows)) return ahBadRows;

  RowAttributes = ColumnNames = RowNames = FourthFlag = false;
  file.ReadLine(line);
  for (char& c : line) {
    if (c == '\t') c = ' ';
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - ('a' - 'A'));
  }
  std::string words = TrimBlanks(line);
  for (bool* flag : {&RowAttributes, &ColumnNames, &RowNames}) {
    if (!TakeFlag(words, *flag)) return ahBadFlag;
  }
  FourthFlag = words.starts_with("TRUE");
  return ahOk;
}
