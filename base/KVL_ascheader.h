// The header of the ASC data files that the curve fitting exports and imports: four lines,
//   1  the title
//   2  the number of columns, then anything (a ";" comment)
//   3  the number of rows, then anything
//   4  three flags TRUE or FALSE (any case, tabs count as blanks): row attributes, column names,
//      row names; then optionally a fourth word, a flag that is true only when it is TRUE
#pragma once

#include <cstdint>
#include <string>

enum TAscHeaderStatus : int32_t {
  ahOk = 0,
  ahBadColumns = -1,  // line 2 does not start with an integer
  ahBadRows = -2,     // line 3 does not start with an integer
  ahBadFlag = -3      // one of the three flag words is neither TRUE nor FALSE
};

// Reads the header of the ASC file FileName (Windows-1252 text, CR LF or LF line ends) and
// returns the status. The title is always taken; a count is taken when it could be read. The four
// flags are written only when both counts were read: all false first, then each flag as read; a
// flag after a bad word stays false. A file that cannot be opened or read raises EFileError; a
// file with fewer lines reads as if the missing lines were empty.
int32_t ReadAscHeader(const std::string& FileName, std::string& Title, int32_t& NrColumns,
                      int32_t& NrRows, bool& RowAttributes, bool& ColumnNames, bool& RowNames,
                      bool& FourthFlag);
