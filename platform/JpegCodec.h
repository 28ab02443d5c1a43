// JPEG reading and writing over libjpeg, shared by the launcher's picture and the map images.
// Every function either returns a complete result or throws EJpegError; broken or hostile data
// never crashes and never makes the decoder allocate more than the data can justify.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <cstdint>
#include <functional>
#include <stdexcept>

// A JPEG that could not be read or written. The message names the source and the reason.
class EJpegError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum TJpegProgressStage : uint8_t { jpsStarting, jpsRunning, jpsEnding };

// Called synchronously while coding: once with jpsStarting and 0, with jpsRunning whenever the
// percentage done (0..100) changes, and once with jpsEnding and 100 after success. It runs inside
// libjpeg and must not throw.
using TJpegProgress = std::function<void(TJpegProgressStage Stage, uint8_t PercentDone)>;

// Decodes baseline or progressive JPEG data (grey, YCbCr, RGB, CMYK or YCCK) into a
// QImage::Format_RGB32 image. The image's dots per metre carry the file's density when the file
// gives one in dots per inch or per centimetre.
QImage DecodeJpeg(const QByteArray& Data, const TJpegProgress& Progress = {});
// As DecodeJpeg, for the contents of a file; the error message names the file.
QImage DecodeJpegFile(const QString& FileName, const TJpegProgress& Progress = {});

struct TJpegWriteOptions {
  int Quality = 75;          // 1..100, libjpeg's quality scale
  bool Progressive = false;  // libjpeg's standard progressive scan script
  int DotsPerInch = 96;      // written into the JFIF header
};

// Encodes an image as a JFIF JPEG (YCbCr, 4:2:0).
QByteArray EncodeJpeg(const QImage& Image, const TJpegWriteOptions& Options = {},
                      const TJpegProgress& Progress = {});
// As EncodeJpeg, written to a file. The file is replaced atomically: on failure the previous
// file, if any, is left as it was.
void EncodeJpegFile(const QImage& Image, const QString& FileName,
                    const TJpegWriteOptions& Options = {}, const TJpegProgress& Progress = {});
