// Windows bitmap (BMP) files.
#pragma once

#include <QImage>
#include <string>

// Reads a BMP file. BitsPerPixel receives the depth stored in the file (1, 4, 8, 16, 24 or 32).
// Throws std::runtime_error "Cannot open file \"<name>\"" when the file cannot be read and
// "Bitmap image is not valid" when its content is not a bitmap Qt can decode.
QImage ReadBmpFile(const std::string& FileName, int& BitsPerPixel);

// Writes Image as a BMP file, replacing an existing file only once the new one is complete. An
// indexed image with at most 16 colours is written with 4 bits per pixel, anything else with 24.
// Throws std::runtime_error "Cannot create file \"<name>\"" when the file cannot be written.
void WriteBmpFile(const QImage& Image, const std::string& FileName);
