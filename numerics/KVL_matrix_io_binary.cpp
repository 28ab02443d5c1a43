// Binary matrix files of TMatrix (layout in docs/MATRIX_FORMATS.md): a 24-byte header, the
// DataID, then the elements as little-endian IEEE 754 doubles, column by column.
#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <memory>
#include <string_view>

#include "KVL_matrix.h"
#include "KVL_numio.h"

namespace {

constexpr std::string_view kBinaryMagic = "KVLMATRX";
constexpr uint32_t kBinaryVersion = 1;
constexpr std::size_t kHeaderBytes = 24;
constexpr std::size_t kValueBytes = 8;
constexpr std::size_t kValuesPerChunk = 8192;

void PutUInt32(uint8_t* At, uint32_t Value) {
  for (int i = 0; i < 4; ++i) At[i] = static_cast<uint8_t>(Value >> (8 * i));
}
uint32_t GetUInt32(const uint8_t* At) {
  uint32_t value = 0;
  for (int i = 0; i < 4; ++i) value |= static_cast<uint32_t>(At[i]) << (8 * i);
  return value;
}
void PutDouble(uint8_t* At, double Value) {
  const auto bits = std::bit_cast<uint64_t>(Value);
  for (int i = 0; i < 8; ++i) At[i] = static_cast<uint8_t>(bits >> (8 * i));
}
double GetDouble(const uint8_t* At) {
  uint64_t bits = 0;
  for (int i = 0; i < 8; ++i) bits |= static_cast<uint64_t>(At[i]) << (8 * i);
  return std::bit_cast<double>(bits);
}

struct TBinaryHeader {
  int32_t Columns = 0;
  int32_t Rows = 0;
  std::string Id;

  uint64_t Count() const { return static_cast<uint64_t>(Columns) * static_cast<uint64_t>(Rows); }
};

// Reads and checks the header of an open file: magic and version, counts of 0 or more, and a
// file of exactly the length they imply, whose size also justifies the storage they ask for.
bool ReadHeader(TFileStream& File, TBinaryHeader& Header) {
  std::array<uint8_t, kHeaderBytes> bytes{};
  if (File.Read(bytes.data(), bytes.size()) != bytes.size()) return false;
  if (std::memcmp(bytes.data(), kBinaryMagic.data(), kBinaryMagic.size()) != 0) return false;
  if (GetUInt32(&bytes[8]) != kBinaryVersion) return false;
  const auto columns = static_cast<int32_t>(GetUInt32(&bytes[12]));
  const auto rows = static_cast<int32_t>(GetUInt32(&bytes[16]));
  const uint64_t idBytes = GetUInt32(&bytes[20]);
  if (columns < 0 || rows < 0) return false;
  const auto size = static_cast<uint64_t>(File.Size());
  const uint64_t count = static_cast<uint64_t>(columns) * static_cast<uint64_t>(rows);
  if (size < kHeaderBytes + idBytes || (size - kHeaderBytes - idBytes) / kValueBytes != count ||
      (size - kHeaderBytes - idBytes) % kValueBytes != 0)
    return false;
  const uint64_t cells =
      static_cast<uint64_t>(std::max(columns, 1)) * static_cast<uint64_t>(std::max(rows, 1));
  if (!AllocationJustified(cells, static_cast<int64_t>(size))) return false;
  std::string id(static_cast<std::size_t>(idBytes), '\0');
  if (File.Read(id.data(), id.size()) != id.size()) return false;
  Header.Columns = columns;
  Header.Rows = rows;
  Header.Id = std::move(id);
  return true;
}

}  // namespace

void TMatrix::SaveBinary(const std::string& FName) const {
  WriteFileAtomically(FName, [this](TFileStream& File) {
    std::array<uint8_t, kHeaderBytes> header{};
    std::memcpy(header.data(), kBinaryMagic.data(), kBinaryMagic.size());
    PutUInt32(&header[8], kBinaryVersion);
    PutUInt32(&header[12], static_cast<uint32_t>(FNCol));
    PutUInt32(&header[16], static_cast<uint32_t>(FNRow));
    PutUInt32(&header[20], static_cast<uint32_t>(FDataID.size()));
    File.Write(header.data(), header.size());
    File.Write(FDataID.data(), FDataID.size());
    std::vector<uint8_t> chunk;
    chunk.reserve(kValuesPerChunk * kValueBytes);
    for (int64_t c = 1; c <= FNCol; ++c) {
      for (int64_t r = 1; r <= FNRow; ++r) {
        chunk.resize(chunk.size() + kValueBytes);
        PutDouble(chunk.data() + chunk.size() - kValueBytes, Element(Index32(c), Index32(r)));
        if (chunk.size() == chunk.capacity()) {
          File.Write(chunk.data(), chunk.size());
          chunk.clear();
        }
      }
    }
    File.Write(chunk.data(), chunk.size());
  });
}

bool TMatrix::LoadBinary(const std::string& FName) {
  TBinaryHeader header;
  std::vector<double> values;
  try {
    TFileStream file(FName, fmOpenRead);
    if (!ReadHeader(file, header)) return false;
    values.resize(header.Count());
    std::vector<uint8_t> chunk(kValuesPerChunk * kValueBytes);
    for (std::size_t done = 0; done < values.size();) {
      const std::size_t n = std::min(kValuesPerChunk, values.size() - done);
      if (file.Read(chunk.data(), n * kValueBytes) != n * kValueBytes) return false;
      for (std::size_t i = 0; i < n; ++i) values[done + i] = GetDouble(&chunk[i * kValueBytes]);
      done += n;
    }
  } catch (const EFileError&) {
    return false;
  }
  TakeLoadedMatrix(header.Columns, header.Rows, header.Id, values);
  return true;
}

bool TMatrix::ReadBinaryHeader(const std::string& FName, int32_t& NrColumns, int32_t& NrRows,
                               std::string& DataID) {
  TBinaryHeader header;
  try {
    TFileStream file(FName, fmOpenRead);
    if (!ReadHeader(file, header)) return false;
  } catch (const EFileError&) {
    return false;
  }
  NrColumns = header.Columns;
  NrRows = header.Rows;
  DataID = std::move(header.Id);
  return true;
}
