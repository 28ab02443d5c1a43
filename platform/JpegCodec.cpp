#include "JpegCodec.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jerror.h>
#include <jpeglib.h>

namespace {

// Largest image the decoder will allocate (512 MiB as RGB32).
constexpr uint64_t kMaxPixels = uint64_t{1} << 27;
// Even a flat progressive image needs about one bit per 8 x 8 block, so data claiming more pixels
// per byte than this is lying about its size.
constexpr uint64_t kMaxPixelsPerByte = 1024;
// A progressive file may repeat scans to make decoding endless; real encoders write about ten.
constexpr int kMaxScans = 1000;
constexpr double kCentimetresPerMetre = 100.0;
constexpr double kInchesPerMetre = 39.37007874015748;

#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
constexpr J_COLOR_SPACE kRgb32Layout = JCS_EXT_BGRX;
#else
constexpr J_COLOR_SPACE kRgb32Layout = JCS_EXT_XRGB;
#endif

// libjpeg reports fatal errors by calling error_exit, which must not return; it jumps back to
// the setjmp of the function that started the work.
struct TErrorManager {
  jpeg_error_mgr Base;  // first member: libjpeg hands back a pointer to it
  std::jmp_buf Jump;
};

[[noreturn]] void JumpOnError(j_common_ptr Info) {
  std::longjmp(reinterpret_cast<TErrorManager*>(Info->err)->Jump, 1);
}

// A file cut short would decode with a grey lower part and look valid; it is a failure.
void FailOnTruncation(j_common_ptr Info, int Level) {
  if (Level < 0 && Info->err->msg_code == JWRN_JPEG_EOF) Info->err->error_exit(Info);
}

struct TProgressMonitor {
  jpeg_progress_mgr Base;  // first member, as above
  const TJpegProgress* Callback = nullptr;
  int LastPercent = 0;
  bool TooManyScans = false;
};

void MonitorProgress(j_common_ptr Info) {
  auto* monitor = reinterpret_cast<TProgressMonitor*>(Info->progress);
  if (Info->is_decompressor &&
      reinterpret_cast<j_decompress_ptr>(Info)->input_scan_number > kMaxScans) {
    monitor->TooManyScans = true;
    Info->err->error_exit(Info);
  }
  const jpeg_progress_mgr& p = monitor->Base;
  if (!monitor->Callback || !*monitor->Callback || p.total_passes <= 0 || p.pass_limit <= 0) return;
  const long long done = static_cast<long long>(p.completed_passes) * p.pass_limit + p.pass_counter;
  const long long total = static_cast<long long>(p.total_passes) * p.pass_limit;
  // The pass count of a progressive file is an estimate: keep the figure below 100 until the end.
  const int percent = static_cast<int>(std::clamp(done * 100 / total, 0LL, 99LL));
  if (percent > monitor->LastPercent) {
    monitor->LastPercent = percent;
    (*monitor->Callback)(jpsRunning, static_cast<uint8_t>(percent));
  }
}

void Report(const TJpegProgress& Progress, TJpegProgressStage Stage, uint8_t Percent) {
  if (Progress) Progress(Stage, Percent);
}

// Adobe writes CMYK inverted; other writers store plain ink amounts.
void CmykToRgb32InPlace(QImage& Image, bool Inverted) {
  for (int y = 0; y < Image.height(); ++y) {
    uchar* ink = Image.scanLine(y);
    auto* pixel = reinterpret_cast<QRgb*>(ink);
    for (int x = 0; x < Image.width(); ++x, ink += 4) {
      int c = ink[0], m = ink[1], yellow = ink[2], k = ink[3];
      if (!Inverted) { c = 255 - c; m = 255 - m; yellow = 255 - yellow; k = 255 - k; }
      pixel[x] = qRgb(c * k / 255, m * k / 255, yellow * k / 255);
    }
  }
}

void SetDensity(QImage& Image, int Unit, int X, int Y) {
  const double perMetre = Unit == 1 ? kInchesPerMetre : Unit == 2 ? kCentimetresPerMetre : 0.0;
  if (perMetre == 0.0 || X <= 0 || Y <= 0) return;
  Image.setDotsPerMeterX(qRound(X * perMetre));
  Image.setDotsPerMeterY(qRound(Y * perMetre));
}

// The libjpeg state of one decode. It lives outside the function that calls setjmp, so nothing
// that function holds changes between setjmp and longjmp.
struct TDecoder {
  const unsigned char* Data = nullptr;
  unsigned long Size = 0;
  const TJpegProgress* Progress = nullptr;
  jpeg_decompress_struct Info{};
  TErrorManager Errors{};
  TProgressMonitor Monitor{};
  QImage Image;
  char Reason[JMSG_LENGTH_MAX] = {};
};

// Returns false with Decoder.Reason set when the data cannot be decoded. No object with a
// destructor is alive in this frame while libjpeg runs, so the error jump skips no destructor.
bool RunDecoder(TDecoder& D) {
  jpeg_decompress_struct& info = D.Info;
  info.err = jpeg_std_error(&D.Errors.Base);
  D.Errors.Base.error_exit = JumpOnError;
  D.Errors.Base.emit_message = FailOnTruncation;
  if (setjmp(D.Errors.Jump)) {
    if (D.Monitor.TooManyScans)
      std::snprintf(D.Reason, sizeof D.Reason, "more than %d scans", kMaxScans);
    else
      info.err->format_message(reinterpret_cast<j_common_ptr>(&info), D.Reason);
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  D.Monitor.Base.progress_monitor = MonitorProgress;
  D.Monitor.Callback = D.Progress;
  info.progress = &D.Monitor.Base;
  jpeg_mem_src(&info, D.Data, D.Size);
  jpeg_read_header(&info, TRUE);

  const uint64_t pixels = uint64_t{info.image_width} * info.image_height;
  if (pixels > kMaxPixels || pixels > kMaxPixelsPerByte * D.Size) {
    std::snprintf(D.Reason, sizeof D.Reason, "image of %u x %u pixels is too large",
                  info.image_width, info.image_height);
    jpeg_destroy_decompress(&info);
    return false;
  }
  const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
  info.out_color_space = cmyk ? JCS_CMYK : kRgb32Layout;

  jpeg_start_decompress(&info);
  D.Image = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
                   QImage::Format_RGB32);
  if (D.Image.isNull()) {
    std::snprintf(D.Reason, sizeof D.Reason, "insufficient memory");
    jpeg_destroy_decompress(&info);
    return false;
  }
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = D.Image.scanLine(static_cast<int>(info.output_scanline));
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  if (cmyk) CmykToRgb32InPlace(D.Image, info.saw_Adobe_marker);
  SetDensity(D.Image, info.density_unit, info.X_density, info.Y_density);
  jpeg_destroy_decompress(&info);
  return true;
}

QImage Decode(const QByteArray& Data, const TJpegProgress& Progress, const QString& Source) {
  TDecoder decoder;
  decoder.Data = reinterpret_cast<const unsigned char*>(Data.constData());
  decoder.Size = static_cast<unsigned long>(Data.size());
  decoder.Progress = &Progress;
  Report(Progress, jpsStarting, 0);
  if (!RunDecoder(decoder))
    throw EJpegError(QStringLiteral("JPEG %1: %2").arg(Source, decoder.Reason).toStdString());
  Report(Progress, jpsEnding, 100);
  return decoder.Image;
}

struct TEncoder {
  QImage Image;  // RGB32
  const TJpegWriteOptions* Options = nullptr;
  const TJpegProgress* Progress = nullptr;
  jpeg_compress_struct Info{};
  TErrorManager Errors{};
  TProgressMonitor Monitor{};
  unsigned char* Buffer = nullptr;  // malloc'ed by libjpeg's memory destination
  unsigned long Size = 0;
  char Reason[JMSG_LENGTH_MAX] = {};
};

// Same discipline as RunDecoder.
bool RunEncoder(TEncoder& E) {
  jpeg_compress_struct& info = E.Info;
  info.err = jpeg_std_error(&E.Errors.Base);
  E.Errors.Base.error_exit = JumpOnError;
  if (setjmp(E.Errors.Jump)) {
    info.err->format_message(reinterpret_cast<j_common_ptr>(&info), E.Reason);
    jpeg_destroy_compress(&info);
    return false;
  }
  jpeg_create_compress(&info);
  E.Monitor.Base.progress_monitor = MonitorProgress;
  E.Monitor.Callback = E.Progress;
  info.progress = &E.Monitor.Base;
  jpeg_mem_dest(&info, &E.Buffer, &E.Size);
  info.image_width = static_cast<JDIMENSION>(E.Image.width());
  info.image_height = static_cast<JDIMENSION>(E.Image.height());
  info.input_components = 4;
  info.in_color_space = kRgb32Layout;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, std::clamp(E.Options->Quality, 1, 100), TRUE);
  if (E.Options->Progressive) jpeg_simple_progression(&info);
  info.write_JFIF_header = TRUE;
  info.density_unit = 1;  // dots per inch
  info.X_density = info.Y_density = static_cast<UINT16>(std::clamp(E.Options->DotsPerInch, 1, 65535));
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    // libjpeg's API is not const-correct; it only reads the row.
    JSAMPROW row = const_cast<uchar*>(E.Image.constScanLine(static_cast<int>(info.next_scanline)));
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return true;
}

}  // namespace

QImage DecodeJpeg(const QByteArray& Data, const TJpegProgress& Progress) {
  return Decode(Data, Progress, QStringLiteral("data"));
}

QImage DecodeJpegFile(const QString& FileName, const TJpegProgress& Progress) {
  QFile file(FileName);
  if (!file.open(QIODevice::ReadOnly))
    throw EJpegError(QStringLiteral("JPEG file \"%1\": %2").arg(FileName, file.errorString())
                         .toStdString());
  return Decode(file.readAll(), Progress, QStringLiteral("file \"%1\"").arg(FileName));
}

QByteArray EncodeJpeg(const QImage& Image, const TJpegWriteOptions& Options,
                      const TJpegProgress& Progress) {
  if (Image.isNull()) throw EJpegError("JPEG encoding: the image is empty");
  TEncoder encoder;
  encoder.Image = Image.convertToFormat(QImage::Format_RGB32);
  encoder.Options = &Options;
  encoder.Progress = &Progress;
  Report(Progress, jpsStarting, 0);
  const bool encoded = RunEncoder(encoder);
  QByteArray result;
  if (encoded) result = QByteArray(reinterpret_cast<const char*>(encoder.Buffer),
                                   static_cast<qsizetype>(encoder.Size));
  std::free(encoder.Buffer);
  if (!encoded) throw EJpegError(std::string("JPEG encoding: ") + encoder.Reason);
  Report(Progress, jpsEnding, 100);
  return result;
}

void EncodeJpegFile(const QImage& Image, const QString& FileName, const TJpegWriteOptions& Options,
                    const TJpegProgress& Progress) {
  const QByteArray data = EncodeJpeg(Image, Options, Progress);
  QSaveFile file(FileName);
  if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit())
    throw EJpegError(QStringLiteral("JPEG file \"%1\": %2").arg(FileName, file.errorString())
                         .toStdString());
}
