// Text and number utilities shared by the map control, the numerics and the XML streaming:
// trimming and cleaning of texts, file names, number-to-text conversions with fixed widths,
// degree notation, hexadecimal and Boolean text, and scanners that read numbers out of a text
// at a moving position.
//
// Texts are UTF-8. Positions are 1-based byte positions: every delimiter these routines look for
// is ASCII, and in UTF-8 an ASCII byte never occurs inside a multi-byte sequence, so a byte
// position always lands on a character boundary where it matters. Routines defined per character
// (ReplaceChar, ReplaceUnsafeChars) count a well-formed multi-byte sequence as one character and
// every byte that is not part of one as a character of its own.
//
// None of these routines throws on bad input: scanners give 0, text routines an unchanged or
// empty text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// ---- text utilities ----------------------------------------------------------------------------

// The text without leading and trailing blanks (character 32 only; tabs stay).
std::string TrimBlanks(const std::string& Text);

// The text with every character From replaced by To (Unicode code points).
std::string ReplaceChar(const std::string& Text, char32_t From, char32_t To);

// The text with every character outside [0-9A-Za-z!#$%&'()-.@^_`{}~] replaced by "_", one "_" per
// character, so that a free text can serve as a file name.
std::string ReplaceUnsafeChars(const std::string& Text);

// The directory part (up to and including the last "/" or "\") followed by the file name cut at
// its first point: "C:\maps\town.old.jpg" gives "C:\maps\town".
std::string StripExtension(const std::string& Path);

// 1-based index of the first entry of List equal to Text (case-sensitive), 0 when none is.
int32_t IndexOfText(const std::string& Text, const std::vector<std::string>& List);

// Position of the N-th occurrence of Sub in Text at or after StartPos (below 1 counts as 1);
// occurrences do not overlap. 0 when N < 1, Sub is empty, or fewer than N occurrences follow.
// IgnoreCase compares with the ASCII letters lower-cased.
int32_t NthPos(const std::string& Sub, const std::string& Text, int32_t StartPos, bool IgnoreCase,
               int32_t N);

// States of ParseQuotedName, kept by the caller between calls.
enum TQuotedStrState : uint8_t {
  vsStart,     // before a name: blanks and tabs are skipped
  vs1stQuote,  // the opening quote has been read
  vsQuote,     // inside a quoted name
  vsNormal,    // inside an unquoted name
  vsEnd        // the name is complete; the next character starts a new one
};

// Reads a name one character at a time. A name is either enclosed in QuoteChar (blanks allowed
// inside) or runs up to a blank, tab or line end. A line end ("\r", "\n" or NUL) also completes a
// quoted name that was never closed. Returns true when InChar completed the name; Name then holds
// it without the quotes. Starting with State = vsStart (or vsEnd) begins a new name.
bool ParseQuotedName(char InChar, char QuoteChar, std::string& Name, TQuotedStrState& State);

// ---- number to text ----------------------------------------------------------------------------

// Fixed-width number text, with W = |Width| (W is capped at 255 characters and Decimals at 64):
// - Decimals >= 0: fixed notation, "." as decimal mark, right-aligned in at least W characters;
//   magnitudes of 1e36 and above come out in the scientific form below.
// - Decimals < 0, not -2: scientific form of width W: sign (blank or "-"), digit, ".", digits, "E",
//   exponent sign and four exponent digits; W - 8 significant digits (2..18). " 1.2340E+0003".
// - Decimals = -2: as above with a two-digit exponent (" 1.234E+03"); a value whose exponent
//   needs more digits gives W characters "*".
// - Width < 0: leading blanks become "0", and a "-" moves to the front ("-001.500").
// NaN and infinities give "NAN", "INF" and "-INF", right-aligned.
std::string FormatFixedWidth(int32_t Width, int32_t Decimals, long double Value);

// A value in degrees as text; Decimals is clamped to 0..8. Style 0: "12.35°"; 1: degrees and
// decimal minutes "12° 20.74'"; 2: degrees, minutes and decimal seconds "12° 20' 44.44\"";
// 3: "12.35"; any other style: empty text. "°" is U+00B0.
std::string FormatDegrees(int32_t Style, int32_t Decimals, double Value);

// Exactly Count (clamped to 1..8) upper-case hexadecimal digits: the lowest Count nibbles.
std::string IntToHexText(uint32_t Value, uint8_t Count);

// Style 0: TRUE/FALSE, 1: T/F, 2: .T./.F., 3: 1/0, 4: -1/0, 5: FF/00, other: TRUE/FALSE.
std::string BoolToText(bool Value, int32_t Style);

// ---- scanners ----------------------------------------------------------------------------------
// Each reads from the 1-based byte position Pos and leaves Pos on the character that ended the
// number (or behind the text). A position outside the text gives 0 and leaves Pos unchanged.

// Optional blanks, one sign, decimal digits; 32-bit arithmetic that wraps. No digit gives 0.
int32_t ScanInteger(const std::string& Text, int32_t& Pos);

// Decimal marks for ScanFloat.
constexpr int32_t kDecimalPoint = 1;       // "."
constexpr int32_t kDecimalComma = 2;       // ","
constexpr int32_t kDecimalPointOrComma = 3;

// A decimal number: optional blanks and sign, digits with the chosen decimal mark, and when
// AllowExponent an exponent "E[sign]digits" (case ignored; an "E" without digits counts as no
// exponent). 0 when there is no number. The result is clamped to -1.7e308..1.7e308.
double ScanFloat(const std::string& Text, int32_t& Pos, bool AllowExponent, int32_t DecimalMark);

// A hexadecimal number: optional blanks, an optional prefix "$", "#" or "0x", then hexadecimal
// digits in either case; 32-bit arithmetic that wraps. No digit gives 0. Reads what
// IntToHexText writes.
int32_t ScanHex(const std::string& Text, int32_t& Pos);

// Date-time values are days since 30 December 1899 with the time of day as the fraction (before
// that day the fraction is subtracted: -1.25 is 29 December 1899, 06:00).
using TDateTime = double;

// Reads a date and time laid out by Pattern: every run of one of the letters y (year), m (month),
// d (day), H (hour), M (minute), S (second) stands for that many decimal digits; any other
// pattern character must match the text's character. A date missing from the pattern is
// 30 December 1899, a missing time 00:00:00. Options is reserved and must be 0.
// Returns the value read and leaves Pos behind it, with Failed false. When the text does not fit
// the pattern or names no valid date and time (years 1..9999) the result is 0, Failed is true
// and Pos is unchanged.
TDateTime ScanDateTime(const std::string& Text, int32_t& Pos, const std::string& Pattern,
                       int32_t Options, bool& Failed);

// Writes a date-time value by the pattern letters of ScanDateTime, so that ScanDateTime reads it
// back to the same second (the value is rounded to the nearest second). Empty for values outside
// years 1..9999.
std::string FormatDateTime(const std::string& Pattern, TDateTime Value);
