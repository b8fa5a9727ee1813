// Build-time tool: renders the application icon's SVG to square PNG files of the given sizes, so the
// PNG icons are made from the one drawing instead of being kept beside it.
// Usage: tarvo_render_icon ICON.svg OUTPUT-DIRECTORY SIZE...  (writes OUTPUT-DIRECTORY/SIZE.png)
#include <cstdio>

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fputs("usage: tarvo_render_icon ICON.svg OUTPUT-DIRECTORY SIZE...\n", stderr);
        return 2;
    }
    // No screen is involved, and a build machine has none.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "tarvo_render_icon: cannot read %s\n", argv[1]);
        return 1;
    }
    const QDir output(QString::fromLocal8Bit(argv[2]));
    if (!output.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "tarvo_render_icon: cannot create %s\n", argv[2]);
        return 1;
    }
    for (int i = 3; i < argc; ++i) {
        bool ok = false;
        const int size = QByteArray(argv[i]).toInt(&ok);
        if (!ok || size < 1 || size > 1024) {
            std::fprintf(stderr, "tarvo_render_icon: not a size: %s\n", argv[i]);
            return 2;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        renderer.render(&painter);
        painter.end();
        const QString file = output.filePath(QStringLiteral("%1.png").arg(size));
        if (!image.save(file, "PNG")) {
            std::fprintf(stderr, "tarvo_render_icon: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
