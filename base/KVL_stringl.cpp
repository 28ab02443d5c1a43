// Text utilities of KVL_stringl.h; the number formatting, scanners and date-time routines live in
// KVL_numtext.cpp, KVL_scanners.cpp and KVL_datetime.cpp.
#include "KVL_stringl.h"

#include <algorithm>
#include <cstring>

#include "KVL_utf8.h"

namespace {

constexpr char kBlank = ' ';
constexpr char kUnsafeReplacement = '_';
constexpr char kSafeSigns[] = "!#$%&'()-.@^_`{}~";

bool IsSafeChar(unsigned char c) {
  if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return true;
  return c != '\0' && std::strchr(kSafeSigns, c) != nullptr;
}

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string AsciiLowered(const std::string& Text) {
  std::string out = Text;
  std::transform(out.begin(), out.end(), out.begin(), AsciiLower);
  return out;
}

bool IsNameSeparator(char c) { return c == ' ' || c == '\t'; }
bool IsLineEnd(char c) { return c == '\r' || c == '\n' || c == '\0'; }

}  // namespace

std::string TrimBlanks(const std::string& Text) {
  const size_t first = Text.find_first_not_of(kBlank);
  if (first == std::string::npos) return {};
  const size_t last = Text.find_last_not_of(kBlank);
  return Text.substr(first, last - first + 1);
}

std::string ReplaceChar(const std::string& Text, char32_t From, char32_t To) {
  std::string out;
  out.reserve(Text.size());
  for (size_t i = 0; i < Text.size();) {
    const size_t length = Utf8CharLength(Text, i);
    // A stray byte of 0x80 and above is no character of its own code point: it never matches.
    const bool wellFormed = length > 1 || static_cast<unsigned char>(Text[i]) < 0x80;
    if (wellFormed && Utf8Decode(Text, i, length) == From) {
      Utf8Append(out, To);
    } else {
      out.append(Text, i, length);
    }
    i += length;
  }
  return out;
}

std::string ReplaceUnsafeChars(const std::string& Text) {
  std::string out;
  out.reserve(Text.size());
  for (size_t i = 0; i < Text.size();) {
    const size_t length = Utf8CharLength(Text, i);
    const bool safe = length == 1 && IsSafeChar(static_cast<unsigned char>(Text[i]));
    out.push_back(safe ? Text[i] : kUnsafeReplacement);
    i += length;
  }
  return out;
}

std::string StripExtension(const std::string& Path) {
  const size_t separator = Path.find_last_of("/\\");
  const size_t nameStart = separator == std::string::npos ? 0 : separator + 1;
  const size_t point = Path.find('.', nameStart);
  return point == std::string::npos ? Path : Path.substr(0, point);
}

int32_t IndexOfText(const std::string& Text, const std::vector<std::string>& List) {
  const auto found = std::find(List.begin(), List.end(), Text);
  if (found == List.end()) return 0;
  return static_cast<int32_t>(found - List.begin()) + 1;
}

int32_t NthPos(const std::string& Sub, const std::string& Text, int32_t StartPos, bool IgnoreCase,
               int32_t N) {
  if (N < 1 || Sub.empty()) return 0;
  const std::string sub = IgnoreCase ? AsciiLowered(Sub) : Sub;
  const std::string text = IgnoreCase ? AsciiLowered(Text) : Text;
  size_t from = StartPos < 1 ? 0 : static_cast<size_t>(StartPos) - 1;
  for (int32_t found = 0;;) {
    const size_t at = text.find(sub, from);
    if (at == std::string::npos) return 0;
    if (++found == N) return static_cast<int32_t>(at + 1);
    from = at + sub.size();
  }
}

bool ParseQuotedName(char InChar, char QuoteChar, std::string& Name, TQuotedStrState& State) {
  if (State == vsEnd) State = vsStart;
  switch (State) {
    case vsStart:
      if (IsNameSeparator(InChar) || IsLineEnd(InChar)) return false;
      Name.clear();
      if (InChar == QuoteChar) {
        State = vs1stQuote;
      } else {
        Name.push_back(InChar);
        State = vsNormal;
      }
      return false;
    case vs1stQuote:
    case vsQuote:
      if (InChar == QuoteChar || IsLineEnd(InChar)) {
        State = vsEnd;
        return true;
      }
      Name.push_back(InChar);
      State = vsQuote;
      return false;
    case vsNormal:
      if (IsNameSeparator(InChar) || IsLineEnd(InChar)) {
        State = vsEnd;
        return true;
      }
      Name.push_back(InChar);
      return false;
    case vsEnd:
      break;
  }
  return false;
}
