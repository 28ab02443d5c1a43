#include "KVL_textfile.h"

#include <array>
#include <cstring>

#include "KVL_utf8.h"

namespace {

// Code points of the bytes 0x80..0x9F; the undefined bytes keep their own value.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr char kUnrepresentable = '?';
constexpr size_t kReadChunk = 64 * 1024;
constexpr size_t kWriteChunk = 64 * 1024;

char32_t CodePointOf(uint8_t Byte) {
  return Byte >= 0x80 && Byte < 0xA0 ? kHighControls[Byte - 0x80] : Byte;
}

char ByteOf(char32_t CodePoint) {
  if (CodePoint < 0x80 || (CodePoint >= 0xA0 && CodePoint <= 0xFF)) {
    return static_cast<char>(CodePoint);
  }
  for (size_t i = 0; i < kHighControls.size(); ++i) {
    if (kHighControls[i] == CodePoint) return static_cast<char>(0x80 + i);
  }
  return kUnrepresentable;
}

}  // namespace

void AppendWindows1252AsUtf8(std::string& Out, std::string_view Bytes) {
  size_t i = 0;
  while (i < Bytes.size()) {
    size_t ascii = i;  // copy runs of ASCII in one piece
    while (ascii < Bytes.size() && static_cast<uint8_t>(Bytes[ascii]) < 0x80) ++ascii;
    Out.append(Bytes.data() + i, ascii - i);
    if (ascii == Bytes.size()) break;
    Utf8Append(Out, CodePointOf(static_cast<uint8_t>(Bytes[ascii])));
    i = ascii + 1;
  }
}

std::string Windows1252ToUtf8(std::string_view Bytes) {
  std::string text;
  text.reserve(Bytes.size());
  AppendWindows1252AsUtf8(text, Bytes);
  return text;
}

std::string Utf8ToWindows1252(const std::string& Text) {
  std::string bytes;
  bytes.reserve(Text.size());
  for (size_t i = 0; i < Text.size();) {
    const size_t length = Utf8CharLength(Text, i);
    if (length == 1 && static_cast<uint8_t>(Text[i]) >= 0x80) {
      bytes.push_back(kUnrepresentable);  // not part of a well-formed sequence
    } else {
      bytes.push_back(ByteOf(Utf8Decode(Text, i, length)));
    }
    i += length;
  }
  return bytes;
}

// ---- text file ---------------------------------------------------------------------------------

namespace {

TFileMode FileModeFor(TTextFileMode Mode) {
  switch (Mode) {
    case tmRead: return fmOpenRead;
    case tmRewrite: return fmCreate;
    case tmAppend: return fmOpenWrite;
  }
  return fmOpenRead;
}

}  // namespace

TTextFile::TTextFile(const std::string& Path, TTextFileMode Mode)
    : FOwnedFile(std::make_unique<TFileStream>(Path, FileModeFor(Mode))),
      FStream(FOwnedFile.get()),
      FName("file \"" + Path + "\""),
      FMode(Mode) {
  if (Mode == tmAppend) FStream->SetPosition(FStream->Size());
}

TTextFile::TTextFile(TStream& Stream, TTextFileMode Mode)
    : FStream(&Stream), FName("text stream"), FMode(Mode) {
  if (Mode == tmAppend) FStream->SetPosition(FStream->Size());
}

TTextFile::~TTextFile() {
  try {
    Close();
  } catch (const EFileError&) {  // documented: Close() reports it
  }
}

void TTextFile::Close() {
  if (FStream == nullptr) return;
  if (FMode == tmRead) {
    // A borrowed stream continues right behind what was taken from it.
    if (!FOwnedFile && FEnd > FPos) {
      FStream->SetPosition(FStream->Position() - static_cast<int64_t>(FEnd - FPos));
    }
  } else {
    FlushOutput();
    if (FOwnedFile) FOwnedFile->Flush();
  }
  FStream = nullptr;
  FOwnedFile.reset();
}

void TTextFile::CheckOpen(TTextFileMode For) const {
  if (FStream == nullptr) throw EFileError("cannot use " + FName + ": it is closed");
  if ((For == tmRead) != (FMode == tmRead)) {
    throw EFileError(std::string("cannot ") + (For == tmRead ? "read " : "write ") + FName +
                     ": it is open for " + (FMode == tmRead ? "reading" : "writing"));
  }
}

std::span<const uint8_t> TTextFile::Refill() {
  CheckOpen(tmRead);
  if (FBuffer.size() < kReadChunk) FBuffer.resize(kReadChunk);
  FPos = 0;
  FEnd = FStream->Read(FBuffer.data(), FBuffer.size());
  return {FBuffer.data(), FEnd};
}

bool TTextFile::Eof() { return PeekBytes().empty(); }

bool TTextFile::ReadLine(std::string& Line) {
  Line.clear();
  FRaw.clear();
  std::span<const uint8_t> bytes = PeekBytes();
  if (bytes.empty()) return false;
  bool endedByLineFeed = false;
  while (!bytes.empty()) {
    const void* lf = std::memchr(bytes.data(), '\n', bytes.size());
    const size_t taken = lf ? static_cast<const uint8_t*>(lf) - bytes.data() : bytes.size();
    FRaw.append(reinterpret_cast<const char*>(bytes.data()), taken);
    if (lf) {
      SkipBytes(taken + 1);
      endedByLineFeed = true;
      break;
    }
    SkipBytes(taken);
    bytes = PeekBytes();
  }
  if (endedByLineFeed && !FRaw.empty() && FRaw.back() == '\r') FRaw.pop_back();
  AppendWindows1252AsUtf8(Line, FRaw);
  return true;
}

void TTextFile::Write(const std::string& Text) {
  CheckOpen(tmRewrite);
  FOutput += Utf8ToWindows1252(Text);
  if (FOutput.size() >= kWriteChunk) FlushOutput();
}

void TTextFile::WriteLine(const std::string& Text) {
  Write(Text);
  FOutput += "\r\n";
}

void TTextFile::FlushOutput() {
  if (FOutput.empty()) return;
  std::string pending;  // dropped even when the write fails, so that nothing is written twice
  pending.swap(FOutput);
  FStream->Write(pending.data(), pending.size());
}

void WriteTextFileAtomically(const std::string& Path,
                             const std::function<void(TTextFile&)>& Write) {
  WriteFileAtomically(Path, [&](TFileStream& Stream) {
    TTextFile file(Stream, tmRewrite);
    Write(file);
    file.Close();
  });
}
