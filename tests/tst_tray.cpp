#include <QCheckBox>
#include <QTest>
#include <QTimer>

#include "fakes.h"
#include "shell/system_tray.h"

using namespace tarvo;
using namespace tarvo::test;

class TestTray : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void toolTips_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("added"); // as a new icon shows it
        QTest::addColumn<QString>("changed"); // as a tooltip change shows it
        const QString a63(63, QLatin1Char('a'));
        const QString a62 = a63.left(62);
        QTest::newRow("blanks: leading dropped on change, trailing kept") << "  Tarvo  "
                                                                          << "  Tarvo  "
                                                                          << "Tarvo  ";
        QTest::newRow("63 kept") << a63 << a63 << a63;
        QTest::newRow("64 cut to 63") << a63 + "b" << a63 << a63;
        QTest::newRow("cut after the blanks go") << "   " + a63 + "b"
                                                 << "   " + a63.left(60) << a63;
        QTest::newRow("no half character") << a62 + QString::fromUtf8("\xF0\x9F\x98\x80") << a62 << a62;
    }
    void toolTips()
    {
        QFETCH(QString, text);
        QFETCH(QString, added);
        QFETCH(QString, changed);
        FakeWindowSystem ws;
        SystemTray tray(ws);
        tray.AddTrayIcon(nullptr, text);
        QCOMPARE(ws.shownIcon()->toolTips.back(), added);
        tray.ChangeToolTipText(text);
        QCOMPARE(ws.shownIcon()->toolTips.back(), changed);
    }

    void clicks_data()
    {
        QTest::addColumn<TrayClick>("click");
        QTest::addColumn<bool>("restores");
        QTest::newRow("left") << TrayClick::Left << true;
        QTest::newRow("double") << TrayClick::Double << true;
        QTest::newRow("right") << TrayClick::Right << false;
        QTest::newRow("middle") << TrayClick::Middle << false;
    }
    void clicks()
    {
        QFETCH(TrayClick, click);
        QFETCH(bool, restores);
        FakeWindowSystem ws;
        QWidget window;
        window.showMinimized();
        window.hide();
        SystemTray tray(ws);
        tray.AddTrayIcon(&window, QStringLiteral("Tarvo"), false, &window);
        ws.clickTray(click);
        ws.clickTray(click); // a later click finds no icon left
        QCOMPARE(window.isVisible(), restores);
        QCOMPARE(window.isMinimized(), !restores);
        QCOMPARE(ws.activated.size(), std::size_t(restores ? 1 : 0));
        QCOMPARE(tray.isIconShown(), !restores);
        QCOMPARE(ws.trayIcons.front()->shown, !restores);
    }

    void everyTripMakesOneFreshIcon()
    {
        Harness h(QStringLiteral("S M90 W T")); // goes to the tray twice: the option and the start
        h.load();
        QCOMPARE(h.windowSystem->trayIcons.size(), std::size_t(1));
        const QStringList shown { QStringLiteral("Tarvo Mausklick öffnet den Dialog"),
            QStringLiteral("90 Minute(n)  Standby") };
        QCOMPARE(h.windowSystem->shownIcon()->toolTips, shown);
        QVERIFY(h.form->isHidden());

        h.windowSystem->clickTray(TrayClick::Left);
        QVERIFY(h.form->isVisible());
        QVERIFY(!h.windowSystem->shownIcon());
        QVERIFY(h.form->Timer1->isActive());
        h.form->MinimizeWindow();
        QCOMPARE(h.windowSystem->trayIcons.size(), std::size_t(2));
        QCOMPARE(h.windowSystem->shownIcon()->toolTips.back(), QStringLiteral("90 Minute(n)  Standby"));
    }

    void iconGoesBeforeTheProgramEnds()
    {
        Harness h(QStringLiteral("S M1 T"));
        h.load();
        QVERIFY(h.windowSystem->shownIcon());
        bool shownAtEnd = true;
        h.app->onEnd = [&] { shownAtEnd = h.windowSystem->shownIcon() != nullptr; };
        h.tick(60);
        QCOMPARE(h.power->requests, std::vector<int> { 6 });
        QVERIFY(!shownAtEnd);
    }

    void withoutTrayEveryPathUsesTheTaskbar_data()
    {
        QTest::addColumn<int>("path");
        QTest::newRow("option T") << 0;
        QTest::newRow("start") << 1;
        QTest::newRow("tray box in the countdown") << 2;
        QTest::newRow("minimise gesture") << 3;
    }
    void withoutTrayEveryPathUsesTheTaskbar()
    {
        QFETCH(int, path);
        for (const bool tray : { true, false }) {
            Harness h(path == 0 ? QStringLiteral("S M90 T") : QString());
            h.windowSystem->tray = tray;
            h.load();
            if (path == 1)
                h.form->Start_Click();
            if (path == 2) {
                h.form->AddToTrayIconCheck->setChecked(false);
                h.form->Start_Click();
                h.form->showNormal();
                h.form->AddToTrayIconCheck->setChecked(true);
            }
            if (path == 3)
                h.form->MinimizeWindow();
            QCOMPARE(h.form->isHidden(), tray);
            QCOMPARE(h.form->isMinimized(), !tray);
            QCOMPARE(h.windowSystem->shownIcon() != nullptr, tray);
        }
    }
};

QTEST_MAIN(TestTray)
#include "tst_tray.moc"
