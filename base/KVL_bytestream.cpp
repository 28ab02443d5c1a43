#include "KVL_bytestream.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>

#include <unistd.h>  // fsync: the file system interface of the platform

size_t TMemoryStream::Read(void* Buffer, size_t Count) {
  const size_t n = std::min(Count, FBytes.size() - FPosition);
  if (n > 0) std::memcpy(Buffer, FBytes.data() + FPosition, n);
  FPosition += n;
  return n;
}

size_t TMemoryStream::Write(const void* Buffer, size_t Count) {
  if (Count == 0) return 0;
  if (FPosition + Count > FBytes.size()) FBytes.resize(FPosition + Count);
  std::memcpy(FBytes.data() + FPosition, Buffer, Count);
  FPosition += Count;
  return Count;
}

void TMemoryStream::SetPosition(int64_t Position) {
  FPosition = static_cast<size_t>(std::clamp<int64_t>(Position, 0, Size()));
}

void TMemoryStream::Clear() {
  FBytes.clear();
  FPosition = 0;
}

// ---- file stream -------------------------------------------------------------------------------

namespace {

std::string FileMessage(const char* What, const std::string& Path, int Error) {
  return std::string("cannot ") + What + " file \"" + Path + "\": " + std::strerror(Error);
}

}  // namespace

TFileStream::TFileStream(const std::string& Path, TFileMode Mode) : FPath(Path) {
  const char* how = "rb";
  switch (Mode) {
    case fmOpenRead: how = "rb"; break;
    case fmOpenWrite:
    case fmOpenReadWrite: how = "r+b"; break;
    case fmCreate: how = "w+b"; break;
    case fmCreateNew: how = "w+bx"; break;
  }
  FFile = std::fopen(Path.c_str(), how);
  if (FFile == nullptr) Fail(Mode == fmCreate || Mode == fmCreateNew ? "create" : "open");
  FCanRead = Mode != fmOpenWrite;
  FCanWrite = Mode != fmOpenRead;
}

TFileStream::~TFileStream() { std::fclose(FFile); }

void TFileStream::Fail(const char* What) const {
  throw EFileError(FileMessage(What, FPath, errno));
}

// C streams need a seek between a read and a following write (and the other way round).
void TFileStream::SwitchTo(TLastOp Op) {
  if (FLastOp != TLastOp::None && FLastOp != Op && fseeko(FFile, 0, SEEK_CUR) != 0) Fail("seek in");
  FLastOp = Op;
}

size_t TFileStream::Read(void* Buffer, size_t Count) {
  if (!FCanRead) throw EFileError("cannot read file \"" + FPath + "\": opened for writing only");
  if (Count == 0) return 0;
  SwitchTo(TLastOp::Read);
  const size_t n = std::fread(Buffer, 1, Count, FFile);
  if (n < Count && std::ferror(FFile)) Fail("read");
  return n;
}

size_t TFileStream::Write(const void* Buffer, size_t Count) {
  if (!FCanWrite) throw EFileError("cannot write file \"" + FPath + "\": opened for reading only");
  if (Count == 0) return 0;
  SwitchTo(TLastOp::Write);
  if (std::fwrite(Buffer, 1, Count, FFile) != Count) Fail("write");
  return Count;
}

int64_t TFileStream::Position() const {
  const off_t position = ftello(FFile);
  if (position < 0) Fail("tell position in");
  return position;
}

void TFileStream::SetPosition(int64_t Position) {
  if (fseeko(FFile, std::clamp<int64_t>(Position, 0, Size()), SEEK_SET) != 0) Fail("seek in");
  FLastOp = TLastOp::None;
}

int64_t TFileStream::Size() const {
  const off_t here = ftello(FFile);
  if (here < 0 || fseeko(FFile, 0, SEEK_END) != 0) Fail("seek in");
  const off_t size = ftello(FFile);
  if (size < 0 || fseeko(FFile, here, SEEK_SET) != 0) Fail("seek in");
  return size;
}

void TFileStream::Flush(bool ToDisk) {
  if (std::fflush(FFile) != 0) Fail("write");
  if (ToDisk && fsync(fileno(FFile)) != 0) Fail("write");
}

// ---- atomic replacement ------------------------------------------------------------------------

void WriteFileAtomically(const std::string& Path, const std::function<void(TFileStream&)>& Write) {
  // A name of its own beside the target (same directory, so the rename stays on one file system);
  // fmCreateNew never takes over a file that someone else is writing.
  static std::minstd_rand names(std::random_device{}());
  std::string temporary;
  std::unique_ptr<TFileStream> stream;
  for (int attempt = 0; !stream; ++attempt) {
    temporary = Path + ".tmp" + std::to_string(names() % 1000000);
    try {
      stream = std::make_unique<TFileStream>(temporary, fmCreateNew);
    } catch (const EFileError&) {
      if (!std::filesystem::exists(temporary) || attempt == 100) throw;
    }
  }
  try {
    Write(*stream);
    stream->Flush(true);
    stream.reset();
    std::error_code error;
    std::filesystem::rename(temporary, Path, error);
    if (error) {
      throw EFileError("cannot rename file \"" + temporary + "\" to \"" + Path +
                       "\": " + error.message());
    }
  } catch (...) {
    stream.reset();
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    throw;
  }
}
