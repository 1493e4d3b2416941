// libFuzzer target for the reader of a photo's EXIF thumbnail: whatever bytes come in are taken
// as the start of a JPEG file, and what is found must lie within them.

#include "documents/ExifThumbnail.h"

#include <QByteArray>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray head(reinterpret_cast<const char*>(data), qsizetype(size));
    const QByteArray found = exif::embeddedJpeg(head);
    if (found.size() > head.size()) {
        std::abort();
    }
    return 0;
}
