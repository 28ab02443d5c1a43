// DecodeJpeg on arbitrary bytes: either an EJpegError or a non-empty RGB32 image, with progress
// reported as documented (starting at 0, running with a rising percentage, ending at 100 only
// after success). Needs no QGuiApplication: QImage works without one.
#include <cstdlib>

#include "JpegCodec.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  int calls = 0;
  int last = -1;  // percentage of the last report
  bool ended = false;
  const TJpegProgress progress = [&](TJpegProgressStage stage, uint8_t percent) {
    Check(!ended && percent <= 100);
    Check((calls == 0) == (stage == jpsStarting));
    if (stage == jpsStarting) Check(percent == 0);
    if (stage == jpsRunning) Check(percent > last);
    if (stage == jpsEnding) {
      Check(percent == 100);
      ended = true;
    }
    last = percent;
    ++calls;
  };
  const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data),
                                                   static_cast<qsizetype>(size));
  try {
    const QImage image = DecodeJpeg(bytes, progress);
    Check(ended && !image.isNull() && image.format() == QImage::Format_RGB32);
  } catch (const EJpegError&) {
    Check(calls >= 1 && !ended);
  }
  return 0;
}
