#include "app/skin/qt_picture_loaders.h"

#include <QBuffer>
#include <QImageReader>
#include <cstring>

#include "core/png_chunks.h"
#include "platform/regular_file.h"

namespace velora {
namespace {

// Compressed pictures are a fraction of the bitmap they decode to; the ceiling is the bitmap's.
constexpr size_t kLargestPictureFile = static_cast<size_t>(kDibMaxBytes);

bool Read(QImageReader& reader, QImage& out, std::string& error) {
  // The same ceiling as the bitmap's, so an absurd header is refused before decoding.
  reader.setAllocationLimit(static_cast<int>(kDibMaxBytes / (1024 * 1024)));
  if (!reader.read(&out)) {
    error = reader.errorString().toStdString();
    if (error.empty()) error = "unreadable picture";
    return false;
  }
  return true;
}

// The file's bytes, read only when it is a regular file of a picture's size: a FIFO or a device
// named as the background must neither block the window nor feed the decoder without end.
bool ReadPictureFile(const std::string& path, QByteArray& bytes, std::string& error) {
  FileBytes file = ReadRegularFile(path, kLargestPictureFile);
  if (!file.ok) {
    error = "can't open: " + file.error;
    return false;
  }
  // The allocation limit bounds the picture, not the chunks a PNG declares on the way to it.
  if (!PngChunksFitTheFile(file.bytes)) {
    error = "a chunk runs past the end of the file";
    return false;
  }
  bytes = QByteArray(file.bytes.data(), static_cast<qsizetype>(file.bytes.size()));
  return true;
}

bool CopyIntoDib(const QImage& picture, DibImage& image, std::string& error) {
  if (!image.create(picture.width(), picture.height(), 24)) {
    error = image.error();
    return false;
  }
  const QImage rgb = picture.convertToFormat(QImage::Format_BGR888);
  const size_t rowBytes = static_cast<size_t>(picture.width()) * 3;
  for (int y = 0; y < rgb.height(); ++y)
    std::memcpy(image.rowFromTop(y), rgb.constScanLine(y), rowBytes);
  return true;
}

}  // namespace

bool loadBmp(DibImage& image, const std::string& path, std::string& error) {
  image.release();
  error.clear();
  QByteArray bytes;
  if (!ReadPictureFile(path, bytes, error)) return false;
  QBuffer buffer(&bytes);
  QImageReader reader(&buffer, "bmp");
  reader.setDecideFormatFromContent(false);
  QImage picture;
  return Read(reader, picture, error) && CopyIntoDib(picture, image, error);
}

bool loadPicture(DibImage& image, const std::string& path, std::string& error) {
  image.release();
  error.clear();
  QByteArray bytes;
  if (!ReadPictureFile(path, bytes, error)) return false;
  QBuffer buffer(&bytes);
  QImageReader reader(&buffer);
  reader.setDecideFormatFromContent(true);
  QImage picture;
  return Read(reader, picture, error) && CopyIntoDib(picture, image, error);
}

QImage ImageOfDib(const DibImage& image) {
  if (image.empty()) return {};
  QImage::Format format = QImage::Format_BGR888;
  if (image.bitsPerPixel() == 32) format = QImage::Format_RGB32;
  if (image.bitsPerPixel() == 16) format = QImage::Format_RGB555;
  const QImage bottomUp(image.bits(), image.width(), image.height(),
                        static_cast<qsizetype>(image.stride()), format);
  // The flip is a deep copy: the result outlives the bitmap.
  return bottomUp.mirrored(false, true);
}

}  // namespace velora
