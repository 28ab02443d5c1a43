// Byte streams with a read/write position: the in-memory stream and the file stream that the
// XML streaming, the raw value routines and the vector and matrix persistence read and write.
#pragma once

#include <cstddef>
#include <cstdint>
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
