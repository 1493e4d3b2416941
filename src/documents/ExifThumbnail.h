#pragma once

#include <QByteArray>

// The small JPEG a camera keeps beside its photo in the photo's EXIF data (the picture of the
// second image directory), read from the start of a JPEG file: no more than kHeadBytes
// bytes are needed, since the EXIF segment comes first and cannot be longer. Empty when the
// bytes are not a JPEG with such a picture, or when anything in them points outside them.
namespace exif {

constexpr qsizetype kHeadBytes = 65536 + 16;

QByteArray embeddedJpeg(const QByteArray& head);

}  // namespace exif
