// Byte streams with a read/write position: the in-memory stream and the file stream that the
// XML streaming, the raw value routines and the vector and matrix persistence read and write.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

class TStream {
 public:
  virtual ~TStream() = default;
  // Reads up to Count bytes at the position and advances it; returns the number of bytes read.
  virtual size_t Read(void* Buffer, size_t Count) = 0;
  // Writes Count bytes at the position (growing the stream) and advances it; returns bytes written.
  virtual size_t Write(const void* Buffer, size_t Count) = 0;
  virtual int64_t Position() const = 0;
  virtual void SetPosition(int64_t Position) = 0;  // clamped to 0..Size()
  virtual int64_t Size() const = 0;
};

// The "memory stream": bytes held in memory.
class TMemoryStream : public TStream {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::vector<uint8_t> Bytes) : FBytes(std::move(Bytes)) {}

  size_t Read(void* Buffer, size_t Count) override;
  size_t Write(const void* Buffer, size_t Count) override;
  int64_t Position() const override { return static_cast<int64_t>(FPosition); }
  void SetPosition(int64_t Position) override;
  int64_t Size() const override { return static_cast<int64_t>(FBytes.size()); }

  const std::vector<uint8_t>& Bytes() const { return FBytes; }
  void Clear();

 private:
  std::vector<uint8_t> FBytes;
  size_t FPosition = 0;
};

// The platform's file error: a file that cannot be opened, read, written or renamed. The message
// names the file and the reason, for example: cannot open file "a.xml": No such file or directory.
// Like the platform's own error it is not a library error (not an EKVLError).
class EFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum TFileMode : uint8_t {
  fmOpenRead,       // an existing file, read only
  fmOpenWrite,      // an existing file, write only, contents kept, position 0
  fmOpenReadWrite,  // an existing file, read and write, contents kept, position 0
  fmCreate,         // created, or emptied when it exists; read and write
  fmCreateNew       // created; fails when the file exists already; read and write
};

// A file as a byte stream (buffered). Errors raise EFileError; reading at the end of the file is
// not an error (Read returns fewer bytes). Reading a write-only stream or writing a read-only one
// raises EFileError too.
class TFileStream : public TStream {
 public:
  TFileStream(const std::string& Path, TFileMode Mode);
  ~TFileStream() override;  // closes; a write error at this point is lost: call Flush() first
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;

  size_t Read(void* Buffer, size_t Count) override;
  size_t Write(const void* Buffer, size_t Count) override;
  int64_t Position() const override;
  void SetPosition(int64_t Position) override;
  int64_t Size() const override;

  // Hands buffered output to the operating system; with ToDisk also waits until it is stored.
  void Flush(bool ToDisk = false);
  const std::string& Path() const { return FPath; }

 private:
  enum class TLastOp : uint8_t { None, Read, Write };
  void SwitchTo(TLastOp Op);
  [[noreturn]] void Fail(const char* What) const;

  std::string FPath;
  std::FILE* FFile = nullptr;
  bool FCanRead = false;
  bool FCanWrite = false;
  TLastOp FLastOp = TLastOp::None;
};

// Replaces the file Path so that a failure never leaves a damaged or half-written file: Write
// fills a new file beside Path, which is flushed to disk and then renamed over Path in one step.
// When opening, Write, flushing or renaming fails, the new file is removed and the error (an
// EFileError, or whatever Write threw) propagates; Path is then exactly as it was.
void WriteFileAtomically(const std::string& Path, const std::function<void(TFileStream&)>& Write);
