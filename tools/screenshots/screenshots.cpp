// Renders the main window in its typical states to PNG files, for the README and for looking at the
// layout by eye. Runs on fakes with a fixed clock, so the pictures only change when the window does.
// Usage: tarvo_screenshots OUTPUT-DIRECTORY [STATE...] (under a real X server: -platform xcb); without
// states, every state is rendered.
#include <cstdio>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QScreen>

#include "window_states.h"

using namespace tarvo;
using namespace tarvo::test;

namespace {

// The window as the screen shows it: the rounded corners are see-through.
bool save(Form1& form, const QString& path)
{
    const QPixmap shot = form.grab();
    QImage image(shot.size(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(shot.devicePixelRatio());
    image.fill(Qt::transparent);
    QPainter painter(&image);
    if (!form.mask().isEmpty())
        painter.setClipRegion(form.mask());
    painter.drawPixmap(0, 0, shot);
    painter.end();
    if (!image.save(path)) {
        std::fprintf(stderr, "tarvo_screenshots: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s %dx%d\n", qPrintable(path), form.width(), form.height());
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fputs("usage: tarvo_screenshots OUTPUT-DIRECTORY [STATE...]\n", stderr);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QStringList wanted;
    for (int i = 2; i < argc; ++i)
        wanted << QString::fromLocal8Bit(argv[i]);
    QDir().mkpath(out.path());
    std::printf("screen: %.0f dpi logical, device pixel ratio %.2f\n", app.primaryScreen()->logicalDotsPerInch(),
        app.primaryScreen()->devicePixelRatio());
    bool ok = true;
    for (const WindowState& state : windowStates()) {
        if (!wanted.isEmpty() && !wanted.contains(QLatin1String(state.name)))
            continue;
        const auto h = windowIn(state);
        ok &= save(*h->form, out.filePath(QLatin1String(state.name) + QStringLiteral(".png")));
    }
    return ok ? 0 : 1;
}
