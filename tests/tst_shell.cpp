// The tray icon, the always-on-top pin, the rounded outline and dragging the window.
#include <QCursor>

#include "fakes.h"
#include "shell/window_shape.h"

using namespace tarvo;
using namespace tarvo::test;
using namespace Qt::StringLiterals;

namespace {

// The picture the pin shows.
QString look(const AlwaysOnTop& pin)
{
    for (const QLabel* picture : {pin.AOT_Disabled, pin.AOT_MouseMove, pin.AOT_Enabled})
        if (picture->isVisible())
            return picture->objectName();
    return {};
}

// The panel the pin sits on; it must not see the pin's clicks, or it would drag or minimise.
struct Panel : QWidget {
    int mouseEvents = 0;
    void mousePressEvent(QMouseEvent*) override { ++mouseEvents; }
    void mouseDoubleClickEvent(QMouseEvent*) override { ++mouseEvents; }
};

// Each row of a corner holds the pixels from its inset on, at all four corners alike.
bool hasCorners(const QRegion& region, QSize size, const std::vector<int>& insets)
{
    const int w = size.width();
    for (int row = 0; row < int(insets.size()); ++row) {
        const int in = insets[std::size_t(row)];
        for (const int y : {row, size.height() - 1 - row}) {
            if (!region.contains(QPoint(in, y)) || !region.contains(QPoint(w - 1 - in, y)))
                return false;
            if (in > 0 && (region.contains(QPoint(in - 1, y)) || region.contains(QPoint(w - in, y))))
                return false;
        }
    }
    return region.boundingRect() == QRect(QPoint(0, 0), size);
}

// A tooltip as set, as a new icon shows it and as a change shows it.
struct ToolTip {
    QString text, added, changed;
};

struct Corner {
    int width, height;
    std::vector<int> insets;
};

} // namespace

Q_DECLARE_METATYPE(ToolTip)
Q_DECLARE_METATYPE(Corner)

class TestShell : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void trayToolTips_data()
    {
        QTest::addColumn<ToolTip>("row");
        const QString a63(63, QLatin1Char('a'));
        QTest::newRow("blanks: leading dropped on change") << ToolTip{"  Tarvo  ", "  Tarvo  ", "Tarvo  "};
        QTest::newRow("63 kept") << ToolTip{a63, a63, a63};
        QTest::newRow("64 cut to 63") << ToolTip{a63 + "b", a63, a63};
        QTest::newRow("cut after the blanks go") << ToolTip{"   " + a63 + "b", "   " + a63.left(60), a63};
        QTest::newRow("no half character") << ToolTip{a63.left(62) + "😀", a63.left(62), a63.left(62)};
    }
    void trayToolTips()
    {
        QFETCH(ToolTip, row);
        FakeWindowSystem ws;
        SystemTray tray(ws);
        tray.AddTrayIcon(nullptr, row.text);
        tray.ChangeToolTipText(row.text);
        QCOMPARE(ws.shownIcon()->toolTips, (QStringList{row.added, row.changed}));
    }

    void trayClicks()
    {
        QStringList seen; // per click: the window back, brought forward, the icon left
        for (TrayClick click : {TrayClick::Left, TrayClick::Double, TrayClick::Right, TrayClick::Middle}) {
            FakeWindowSystem ws;
            QWidget window;
            window.showMinimized();
            window.hide();
            SystemTray tray(ws);
            tray.AddTrayIcon(&window, u"Tarvo"_s, &window);
            ws.clickTray(click);
            ws.clickTray(click); // a later click finds no icon left
            seen << u"%1 %2 %3"_s.arg(window.isVisible() && !window.isMinimized())
                        .arg(ws.activated.size())
                        .arg(tray.isIconShown() && ws.shownIcon());
        }
        QCOMPARE(seen, (QStringList{"1 1 0", "1 1 0", "0 0 1", "0 0 1"}));
    }

    // Every trip to the tray makes one fresh icon, gone before the program ends. Without a
    // notification area a hidden window could not come back: every way uses the taskbar. Where a
    // minimised window cannot bring itself back either (native Wayland), it stays up, and at the last
    // minute it asks for activation.
    void userActions_data()
    {
        QTest::addColumn<Scene>("scene");
        QTest::newRow("one icon for the option and the start") << Scene{"S M90 W T", "", "icons=1; tip=90 Minute(n)  Standby"};
        QTest::newRow("a click brings the window back") << Scene{"S M90 W T", "tray", "hidden=0; tip=-; timer=1"};
        QTest::newRow("a fresh icon next time") << Scene{"S M90 W T", "tray min", "icons=2; tip=90 Minute(n)  Standby"};
        QTest::newRow("the icon gone before the end") << Scene{"S M90 W T", "5400", "requests=6; atEnd=0"};
        for (const auto& [way, commandLine, steps] : {std::tuple{"option T", "S M90 T", ""}, {"start", "", "@Start"},
                                                      {"tray box in the countdown", "", "AddToTrayIconCheck- @Start show AddToTrayIconCheck+"},
                                                      {"minimise gesture", "", "min"}}) {
            QTest::addRow("%s", way) << Scene{commandLine, steps, "hidden=1; minimised=0; icons=1"};
            QTest::addRow("%s, no tray", way) << Scene{commandLine, u"!notray "_s + steps, "hidden=0; minimised=1; icons=0"};
            QTest::addRow("%s, no tray nor restore", way)
                << Scene{commandLine, u"!notray !norestore "_s + steps, "hidden=0; minimised=0; icons=0"};
        }
        QTest::newRow("last minute, restores itself") << Scene{"A M2", "!notray 59 elsewhere 1", "activated=0"};
        QTest::newRow("last minute, cannot restore itself") << Scene{"A M2", "!notray !norestore 59 elsewhere 1", "activated=1"};
    }
    void userActions()
    {
        QFETCH(Scene, scene);
        const auto h = played(scene.commandLine, scene.steps);
        QCOMPARE(seen(*h, scene.shows), scene.shows);
    }

    void pin()
    {
        FakeWindowSystem ws, fixed; // fixed: the desktop alone decides the stacking
        Panel window;
        auto* pin = new AlwaysOnTop(ws, &window);
        window.show();
        const auto after = [&pin](auto step) { return step(), look(*pin) + QString::number(pin->GetIsOnTop()); };
        const QStringList looks{after([] {}), after([&] { QTest::mouseMove(pin->AOT_Disabled, QPoint(5, 5)); }),
                                after([&] { QTest::mouseClick(pin->AOT_MouseMove, Qt::LeftButton); }),
                                after([&] { QTest::mouseClick(pin->AOT_Enabled, Qt::LeftButton); })};
        QCOMPARE(looks, (QStringList{"AOT_Disabled0", "AOT_MouseMove0", "AOT_Enabled1", "AOT_MouseMove0"}));
        QTest::mouseClick(pin->AOT_MouseMove, Qt::RightButton);
        // Through the window, as the window system delivers it: a click, then a double click.
        QTest::mouseDClick(window.windowHandle(), Qt::LeftButton, {}, pin->geometry().center());
        pin->SetToTop(); // pinning a pinned window pins it again
        QCOMPARE(ws.keepAbove, (std::vector<bool>{true, false, true, true}));
        QCOMPARE(window.mouseEvents, 0);

        // Where the desktop alone decides the stacking, the pin never looks pressed.
        fixed.keepAboveWorks = false;
        auto* lying = new AlwaysOnTop(fixed, &window);
        lying->show();
        lying->SetToTop();
        QTest::mouseClick(lying->AOT_Disabled, Qt::LeftButton);
        QVERIFY(look(*lying) == "AOT_Disabled"_L1 && fixed.keepAbove.empty() && lying->AOT_Disabled->toolTip().contains(u"nicht möglich"_s));
    }

    // The rows of Windows' CreateRoundRectRgn corners, from the top down.
    void corners_data()
    {
        QTest::addColumn<Corner>("row");
        QTest::newRow("15, the main window") << Corner{15, 15, {5, 3, 2, 1, 1, 0, 0}};
        QTest::newRow("16, even") << Corner{16, 16, {5, 4, 2, 2, 1, 0, 0, 0}};
        QTest::newRow("55, the info dialog")
            << Corner{55, 55, {22, 19, 16, 14, 13, 11, 10, 9, 8, 7, 6, 5, 5, 4, 3, 3, 2, 2, 2, 1, 1, 1, 0, 0, 0, 0, 0}};
        QTest::newRow("3") << Corner{3, 3, {1}};
        QTest::newRow("4 x 7, cut to a narrow window") << Corner{4, 7, {2, 1, 0}};
        QTest::newRow("7 x 4, cut to a low window") << Corner{7, 4, {1, 0}};
    }
    void corners()
    {
        QFETCH(Corner, row);
        QCOMPARE(cornerInsets(row.width, row.height), row.insets);
        QVERIFY(row.width != row.height || hasCorners(roundedRegion(QSize(367, 185), row.width), QSize(367, 185), row.insets));
        QCOMPARE(roundedRegion(QSize(40, 30), 1), QRegion(0, 0, 40, 30));
        QCOMPARE(roundedRegion(QSize(6, 6), 15), roundedRegion(QSize(6, 6), 6)); // no larger than the window
    }

    // The main window's outline follows its height.
    void windowOutline()
    {
        const auto h = loaded();
        Form1& f = *h->form;
        QCOMPARE(f.mask(), roundedRegion(f.size(), 15));
        f.ShowFullWindow();
        QVERIFY(f.height() > 185 && f.mask() == roundedRegion(f.size(), 15));
    }

    // The offscreen platform has no system move: the window follows the mouse itself.
    void dragFollowsTheMouseUntilRelease()
    {
        QWidget window;
        auto* handle = new QPushButton(&window);
        window.move(200, 200);
        window.show();
        const auto to = [handle](QEvent::Type type, QPoint global, Qt::MouseButtons held) {
            mouse(handle, type, type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held, {}, handle->mapFromGlobal(global));
        };
        QCursor::setPos(300, 300);
        dragWindow(handle, Qt::RightButton);
        to(QEvent::MouseMove, QPoint(310, 310), Qt::RightButton);
        QCOMPARE(window.pos(), QPoint(200, 200)); // only the left button drags
        dragWindow(handle, Qt::LeftButton);
        to(QEvent::MouseMove, QPoint(330, 320), Qt::LeftButton);
        to(QEvent::MouseMove, QPoint(325, 340), Qt::LeftButton);
        QCOMPARE(window.pos(), QPoint(225, 240));
        to(QEvent::MouseButtonRelease, QPoint(325, 340), Qt::NoButton);
        to(QEvent::MouseMove, QPoint(400, 400), Qt::LeftButton);
        QCOMPARE(window.pos(), QPoint(225, 240));
        // A release that went elsewhere ends the drag at the next move.
        dragWindow(handle, Qt::LeftButton);
        to(QEvent::MouseMove, QPoint(420, 420), Qt::NoButton);
        to(QEvent::MouseMove, QPoint(440, 440), Qt::LeftButton);
        QCOMPARE(window.pos(), QPoint(225, 240));
    }
};

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
