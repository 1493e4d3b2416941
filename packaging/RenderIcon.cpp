// Draws an SVG picture as a square PNG of one size: the bitmap sizes of the program's icon in
// the desktop's icon theme, made from its logo while the program is built.
//   verdell-render-icon PICTURE.svg SIZE OUT.png

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fputs("usage: verdell-render-icon PICTURE.svg SIZE OUT.png\n", stderr);
        return 2;
    }
    QSvgRenderer picture(QString::fromLocal8Bit(argv[1]));
    bool numeric = false;
    const int size = QByteArray(argv[2]).toInt(&numeric);
    if (!picture.isValid() || !numeric || size <= 0) {
        std::fprintf(stderr, "verdell-render-icon: cannot draw %s at size %s\n", argv[1], argv[2]);
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    picture.render(&painter);
    painter.end();
    if (!image.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
        std::fprintf(stderr, "verdell-render-icon: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
