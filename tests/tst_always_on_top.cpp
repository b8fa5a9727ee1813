#include <QTest>

#include "fakes.h"
#include "shell/always_on_top.h"

using namespace tarvo;
using namespace tarvo::test;

namespace {

// The picture the pin shows.
QString look(const AlwaysOnTop& pin)
{
    for (const QLabel* picture : { pin.AOT_Disabled, pin.AOT_MouseMove, pin.AOT_Enabled }) {
        if (picture->isVisible())
            return picture->objectName();
    }
    return {};
}

// The panel the pin sits on; it must not see the pin's clicks, or it would drag or minimise.
struct Panel : QWidget {
    int mouseEvents = 0;
    void mousePressEvent(QMouseEvent*) override { ++mouseEvents; }
    void mouseDoubleClickEvent(QMouseEvent*) override { ++mouseEvents; }
};

struct Shown {
    FakeWindowSystem ws;
    Panel window;
    AlwaysOnTop* pin;
    explicit Shown(bool keepAboveWorks = true)
    {
        ws.keepAboveWorks = keepAboveWorks;
        pin = new AlwaysOnTop(ws, &window);
        window.show();
    }
};

} // namespace

class TestAlwaysOnTop : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void clicksToggle()
    {
        Shown s;
        QCOMPARE(look(*s.pin), QStringLiteral("AOT_Disabled"));
        QTest::mouseMove(s.pin->AOT_Disabled, QPoint(5, 5));
        QCOMPARE(look(*s.pin), QStringLiteral("AOT_MouseMove"));
        QTest::mouseClick(s.pin->AOT_MouseMove, Qt::LeftButton);
        QVERIFY(s.pin->GetIsOnTop());
        QCOMPARE(look(*s.pin), QStringLiteral("AOT_Enabled"));
        QTest::mouseClick(s.pin->AOT_Enabled, Qt::LeftButton);
        QVERIFY(!s.pin->GetIsOnTop());
        QCOMPARE(look(*s.pin), QStringLiteral("AOT_MouseMove"));
        QTest::mouseClick(s.pin->AOT_MouseMove, Qt::RightButton);
        // Through the window, as the window system delivers it: a click, then a double click.
        QTest::mouseDClick(s.window.windowHandle(), Qt::LeftButton, {}, s.pin->geometry().center());
        QCOMPARE(s.ws.keepAbove, (std::vector<bool> { true, false, true }));
        QCOMPARE(s.window.mouseEvents, 0);
    }

    void callsAndSize()
    {
        Shown s;
        s.pin->SetToTop(true);
        s.pin->SetToTop(); // pinning a pinned window pins it again
        QCOMPARE(look(*s.pin), QStringLiteral("AOT_Enabled"));
        s.pin->SetToNormal(false);
        QCOMPARE(look(*s.pin), QStringLiteral("AOT_MouseMove"));
        QCOMPARE(s.ws.keepAbove, (std::vector<bool> { true, true, false }));
        s.pin->setGeometry(3, 4, 60, 40);
        QCOMPARE(s.pin->size(), QSize(21, 20));
    }

    void withoutKeepAboveThePinNeverLooksPressed()
    {
        Shown s(false);
        s.pin->SetToTop();
        QTest::mouseClick(s.pin->AOT_Disabled, Qt::LeftButton);
        QCOMPARE(look(*s.pin), QStringLiteral("AOT_Disabled"));
        QVERIFY(s.ws.keepAbove.empty());
        QVERIFY(s.pin->AOT_Disabled->toolTip().contains(QStringLiteral("nicht möglich")));
    }
};

QTEST_MAIN(TestAlwaysOnTop)
#include "tst_always_on_top.moc"
