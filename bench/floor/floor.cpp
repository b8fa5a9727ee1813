// The floor of the benchmark: a bare Qt Widgets program with as many widgets of each kind as Tarvo's
// main window, a borderless 367 x 185 window, a tray icon and a one-second timer that rewrites a
// label and the window title on every tick. What it costs, any Qt program of Tarvo's size costs.
//
//   tarvo_floor                 ticks until it is ended
//   tarvo_floor --countdown N   ends after N ticks, printing "floor: done" to standard output
#include <cstdio>

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>

#include "floor/widget_census.h"

namespace {

QWidget* makeWidget(const QString& className, QWidget* parent, int index)
{
    const QString caption = QStringLiteral("%1").arg(index);
    if (className == QLatin1String("QLabel"))
        return new QLabel(caption, parent);
    if (className == QLatin1String("QPushButton"))
        return new QPushButton(caption, parent);
    if (className == QLatin1String("QCheckBox"))
        return new QCheckBox(caption, parent);
    if (className == QLatin1String("QLineEdit"))
        return new QLineEdit(caption, parent);
    if (className == QLatin1String("QRadioButton"))
        return new QRadioButton(caption, parent);
    if (className == QLatin1String("QFrame")) {
        auto* frame = new QFrame(parent);
        frame->setFrameShape(QFrame::Box);
        return frame;
    }
    if (className == QLatin1String("QScrollBar"))
        return new QScrollBar(Qt::Vertical, parent);
    return new QWidget(parent);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    long countdown = -1;
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() == 3 && arguments.at(1) == QLatin1String("--countdown"))
        countdown = arguments.at(2).toLong();

    QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint);
    window.setFixedSize(367, 185);
    // A grid of small cells, ten to a row; the first label is the one the timer rewrites.
    QLabel* ticking = nullptr;
    int index = 0;
    for (const auto& kind : tarvo::bench::kMainWindowWidgets) {
        for (int i = 0; i < kind.count; ++i, ++index) {
            QWidget* widget = makeWidget(QLatin1String(kind.className), &window, index);
            widget->setGeometry((index % 10) * 36 + 2, (index / 10) * 23 + 2, 34, 21);
            if (ticking == nullptr)
                ticking = qobject_cast<QLabel*>(widget);
        }
    }

    QPixmap iconPicture(32, 32);
    iconPicture.fill(Qt::darkCyan);
    QSystemTrayIcon tray { QIcon(iconPicture) };
    tray.setToolTip(QStringLiteral("Floor"));
    tray.show();

    long remaining = countdown >= 0 ? countdown : 3600;
    QTimer timer;
    timer.setInterval(1000);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        --remaining;
        const QString text = QString::number(remaining);
        ticking->setText(text);
        window.setWindowTitle(QStringLiteral("Floor ") + text);
        if (countdown >= 0 && remaining <= 0) {
            std::puts("floor: done");
            std::fflush(stdout);
            QApplication::exit(0);
        }
    });
    window.setWindowTitle(QStringLiteral("Floor"));
    window.show();
    // The countdown starts once the window is up, as Tarvo's does; the title marks the moment.
    QTimer::singleShot(0, &window, [&] {
        timer.start();
        window.setWindowTitle(QStringLiteral("Floor ") + QString::number(remaining));
    });
    return app.exec();
}
