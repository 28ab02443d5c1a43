// Text files in the system's 8-bit code page, Windows-1252 on every platform, so that files move
// unchanged between this system and older installations. Lines are UTF-8 std::string in memory.
//
// Reading accepts lines ending in CR LF or LF (a CR elsewhere is an ordinary character) and files
// of any content: NUL and other control bytes come through as characters, lines may be of any
// length. Writing ends every line with CR LF; a character that Windows-1252 cannot represent is
// written as "?". The five bytes that Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D)
// read as the code points of the same value and write back as those bytes, so that reading and
// rewriting a file never changes it.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "KVL_bytestream.h"

// UTF-8 text of Windows-1252 bytes.
std::string Windows1252ToUtf8(std::string_view Bytes);
// Appends the UTF-8 text of Windows-1252 bytes to Out.
void AppendWindows1252AsUtf8(std::string& Out, std::string_view Bytes);
// Windows-1252 bytes of a UTF-8 text: one byte per character, "?" for every character that
// Windows-1252 cannot represent and for every byte that is not part of a well-formed sequence.
std::string Utf8ToWindows1252(const std::string& Text);

enum TTextFileMode : uint8_t {
  tmRead,     // an existing file, read from its start
  tmRewrite,  // created, or emptied when it exists
  tmAppend    // an existing file, written at its end
};

// A text file open for reading or for writing (not both), read and written through a buffer.
// File errors raise EFileError: opening a file that cannot be opened or created, reading a file
// open for writing and the other way round, failing writes. The end of the file is not an error.
class TTextFile {
 public:
  // Opens the file Path.
  TTextFile(const std::string& Path, TTextFileMode Mode);
  // Reads or writes the byte stream Stream from its current position (tmAppend: from its end),
  // for example a memory stream holding a file's bytes. The stream must outlive this object; when
  // reading ends, the stream is set to the position behind the last byte taken.
  TTextFile(TStream& Stream, TTextFileMode Mode);
  // Closes; a write error at this point is lost: call Close() to learn of it.
  ~TTextFile();
  TTextFile(const TTextFile&) = delete;
  TTextFile& operator=(const TTextFile&) = delete;

  // Writes pending output and closes the file. Further calls except Close() raise EFileError.
  void Close();

  // True when no byte is left to read.
  bool Eof();
  // Reads the next line without its line end. False, with Line empty, when no line is left.
  bool ReadLine(std::string& Line);

  // Writes the text, encoded in Windows-1252.
  void Write(const std::string& Text);
  // Writes the text and CR LF.
  void WriteLine(const std::string& Text);

  // Raw byte access for scanners that look at the file's bytes without decoding them (the XML
  // readers): the bytes available now, empty only at the end of the file, and skipping them.
  std::span<const uint8_t> PeekBytes() {
    if (FPos < FEnd) return {FBuffer.data() + FPos, FEnd - FPos};
    return Refill();
  }
  void SkipBytes(size_t Count) { FPos += std::min(Count, FEnd - FPos); }

 private:
  std::span<const uint8_t> Refill();
  void CheckOpen(TTextFileMode For) const;
  void FlushOutput();

  std::unique_ptr<TFileStream> FOwnedFile;
  TStream* FStream = nullptr;
  std::string FName;  // for messages
  TTextFileMode FMode;
  std::vector<uint8_t> FBuffer;  // bytes read ahead
  size_t FPos = 0;
  size_t FEnd = 0;
  std::string FOutput;  // encoded bytes not yet written
  std::string FRaw;     // the current line's bytes
};

// Replaces the text file Path atomically: Write fills a new text file beside it, which is then
// renamed over Path (see WriteFileAtomically). On any failure Path is left exactly as it was.
void WriteTextFileAtomically(const std::string& Path, const std::function<void(TTextFile&)>& Write);
