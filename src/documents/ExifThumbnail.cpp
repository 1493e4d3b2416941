#include "documents/ExifThumbnail.h"

namespace exif {

QByteArray embeddedJpeg(const QByteArray& head) {
    const auto byteAt = [&](qsizetype at) { return at < head.size() ? uchar(head[at]) : 0u; };
    if (byteAt(0) != 0xff || byteAt(1) != 0xd8) {
        return {};
    }
    QByteArray tiff;
    for (qsizetype at = 2; byteAt(at) == 0xff && at + 4 <= head.size();) {
        const uint marker = byteAt(at + 1);
        const qsizetype length = qsizetype(byteAt(at + 2) << 8 | byteAt(at + 3));
        if (marker == 0xda || marker == 0xd9 || length < 2) {
            break;  // the picture itself begins: no EXIF data before it
        }
        if (marker == 0xe1 && head.mid(at + 4, 6) == QByteArray("Exif\0\0", 6)) {
            tiff = head.mid(at + 10, length - 8);
            break;
        }
        at += 2 + length;
    }
    const bool little = tiff.startsWith(QByteArray("II*\0", 4));
    if (!little && !tiff.startsWith(QByteArray("MM\0*", 4))) {
        return {};
    }
    const auto number = [&](qsizetype at, int bytes) -> quint32 {
        if (at < 0 || at + bytes > tiff.size()) {
            return 0;
        }
        quint32 value = 0;
        for (int i = 0; i < bytes; ++i) {
            const quint32 byte = uchar(tiff[at + (little ? bytes - 1 - i : i)]);
            value = value << 8 | byte;
        }
        return value;
    };
    const quint32 first = number(4, 4);
    const quint32 second = number(first + 2 + 12 * number(first, 2), 4);
    if (second == 0) {
        return {};
    }
    quint32 offset = 0, length = 0;
    for (quint32 i = 0, count = number(second, 2); i < count && i < 64; ++i) {
        const qsizetype entry = second + 2 + 12 * i;
        const quint32 tag = number(entry, 2);
        const quint32 value =
            number(entry + 2, 2) == 3 ? number(entry + 8, 2) : number(entry + 8, 4);
        if (tag == 0x0201) {
            offset = value;
        } else if (tag == 0x0202) {
            length = value;
        }
    }
    if (offset == 0 || length == 0 || qint64(offset) + length > tiff.size()) {
        return {};
    }
    return tiff.mid(offset, length);
}

}  // namespace exif
