#include "platform/png_render.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>

#include "numerics/arithmetic_fault.h"
#include "numerics/file_write.h"
#include "platform/image_canvas.h"
#include "numerics/library_namespaces.h"

std::string RenderPng(int width, int height, const std::function<void(Canvas&)>& draw) {
  ImageCanvas canvas(width, height);
  draw(canvas);
  return EncodePng(canvas.Image());
}

std::string EncodePng(const QImage& image) {
  const FaultFlagsKeeper keepFlags;  // the encoder's arithmetic is none of the drawing's
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "PNG")) throw FileError("Cannot encode the image as PNG");
  return bytes.toStdString();
}
