// The tray icon, the always-on-top pin and the rounded outline.
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
        QTest::newRow("no half character") << ToolTip{a63.left(62) + "😀", a63.left(62), a63.left(62)};
    }
    void trayToolTips()
    {
        QFETCH(ToolTip, row);
        QCOMPARE(fitTrayToolTip(row.text), row.added);
        QCOMPARE(changedTrayToolTip(row.text), row.changed);
    }

    // Every trip to the tray makes one fresh icon, gone before the program ends. Without a
    // notification area a hidden window could not come back: every way uses the taskbar. Where a
    // minimised window cannot bring itself back either (native Wayland), it stays up, and at the last
    // minute it asks for activation.
    void userActions_data()
    {
        QTest::addColumn<Scene>("scene");
        const auto row = [](const char* name, const char* commandLine, const QString& steps, const char* shows) {
            QTest::newRow(name) << Scene{commandLine, steps, shows};
        };
        row("one icon for the option and the start", "S M90 W T", "", "icons=1; tip=90 Minute(n)  Standby");
        row("a click brings the window back", "S M90 W T", "tray", "hidden=0; tip=-; timer=1");
        row("a fresh icon next time", "S M90 W T", "tray min", "icons=2; tip=90 Minute(n)  Standby");
        row("the icon gone before the end", "S M90 W T", "5400", "requests=6; atEnd=0");
        for (const auto& [way, commandLine, steps] :
             {std::tuple{"option T", "S M90 T", ""}, {"start", "", "@Start"}, {"minimise gesture", "", "min"},
              {"tray box in the countdown", "", "AddToTrayIconCheck- @Start show AddToTrayIconCheck+"}}) {
            row(way, commandLine, steps, "hidden=1; minimised=0; icons=1");
            row(qPrintable(u"%1, no tray"_s.arg(way)), commandLine, u"!notray "_s + steps,
                "hidden=0; minimised=1; icons=0");
            row(qPrintable(u"%1, no tray nor restore"_s.arg(way)), commandLine, u"!notray !norestore "_s + steps,
                "hidden=0; minimised=0; icons=0");
        }
        row("last minute, restores itself", "A M2", "!notray 59 elsewhere 1", "activated=0");
        row("last minute, cannot restore itself", "A M2", "!notray !norestore 59 elsewhere 1", "activated=1");
    }
    void userActions() { playScene(); }

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
        QVERIFY(look(*lying) == "AOT_Disabled"_L1 && fixed.keepAbove.empty());
        QVERIFY(lying->AOT_Disabled->toolTip().contains(u"nicht möglich"_s));
    }

    // The rows of Windows' CreateRoundRectRgn corners, from the top down.
    void corners_data()
    {
        QTest::addColumn<Corner>("row");
        QTest::newRow("15, the main window") << Corner{15, 15, {5, 3, 2, 1, 1, 0, 0}};
        QTest::newRow("16, even") << Corner{16, 16, {5, 4, 2, 2, 1, 0, 0, 0}};
        QTest::newRow("55, the info dialog")
            << Corner{55, 55, {22, 19, 16, 14, 13, 11, 10, 9, 8, 7, 6, 5, 5, 4, 3, 3, 2, 2, 2, 1, 1, 1, 0, 0, 0, 0, 0}};
    }
    void corners()
    {
        QFETCH(Corner, row);
        QCOMPARE(cornerInsets(row.width, row.height), row.insets);
        // Each row of a corner spans the width but for its inset, at the top and the bottom alike.
        const QRect window(0, 0, 367, 185);
        const QRegion region = roundedRegion(window.size(), row.width);
        for (int y = 0; y < int(row.insets.size()); ++y)
            for (const int line : {y, window.bottom() - y})
                QCOMPARE(region & QRect(0, line, window.width(), 1),
                         QRegion(row.insets[std::size_t(y)], line, window.width() - 2 * row.insets[std::size_t(y)], 1));
        QCOMPARE(region.boundingRect(), window);
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
};

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
