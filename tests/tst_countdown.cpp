#include <map>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/look.h"
#include "fakes.h"
#include "shell/always_on_top.h"
#include "shell/system_tray.h"

using namespace tarvo;
using namespace tarvo::test;

namespace {

// A loaded window with a countdown of the given minutes started by the Start button.
std::unique_ptr<Harness> started(const QString& minutes, bool beeps, bool tray = true)
{
    auto h = std::make_unique<Harness>();
    h->load();
    h->form->Akustik->setChecked(beeps);
    h->form->AddToTrayIconCheck->setChecked(tray);
    h->form->ZeitEingabe->setText(minutes);
    h->form->Start_Click();
    return h;
}

} // namespace

class TestCountdown : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void startSwapsPanels()
    {
        auto h = started(QStringLiteral("30"), false);
        Form1& f = *h->form;
        QVERIFY(f.Timer1->isActive());
        QVERIFY(!f.Timer2->isActive());
        QVERIFY(f.Eingabemaske->isHidden());
        QVERIFY(!f.CountdownMaske->isHidden());
        QVERIFY(f.Start->isHidden());
        QCOMPARE(f.Abbruch->text(), QStringLiteral("Timer Abbr&echen"));
        QCOMPARE(f.Abbruch->toolTip(), QStringLiteral("Hiermit wird der Vorgang abgebrochen!"));
        QCOMPARE(f.windowTitle(), QStringLiteral("0:30 Stunde(n)  Ausschalten"));
        QCOMPARE(f.Endzeit_Display->text(), QStringLiteral("End-Zeit: 14:37"));
        QVERIFY(f.isHidden());
        QVERIFY(f.systemTray()->isIconShown());
        QCOMPARE(f.systemTray()->title, QStringLiteral("Tarvo"));
    }

    void startEntries_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("seconds"); // 0: refused
        QTest::newRow("zero means one minute") << "0" << 60;
        QTest::newRow("blanks trimmed") << " 5 " << 300;
        QTest::newRow("empty keeps the last duration") << "" << 3600;
        QTest::newRow("not a number keeps it") << "abc" << 3600;
        QTest::newRow("negative refused") << "-5" << 0;
    }
    void startEntries()
    {
        QFETCH(QString, text);
        QFETCH(int, seconds);
        auto h = started(text, false);
        QCOMPARE(h->form->Timer1->isActive(), seconds != 0);
        if (seconds != 0) {
            QCOMPARE(h->form->RemainingSeconds, seconds);
            QVERIFY(h->dialogs->messages.empty());
        } else {
            QCOMPARE(h->dialogs->messages.size(), std::size_t{1});
            QCOMPARE(h->dialogs->messages.front().title, QStringLiteral("Falsche Eingabe"));
            QCOMPARE(h->dialogs->messages.front().icon, MessageIcon::Information);
            QVERIFY(!h->form->Eingabemaske->isHidden());
            QCOMPARE(h->form->RemainingSeconds, -300);
        }
    }

    void lastMinute()
    {
        // Two minutes with warning beeps, ticked to the end.
        auto h = started(QStringLiteral("2"), true);
        Form1& f = *h->form;
        std::vector<int> beepsAt;
        h->beeper->onBeep = [&] { beepsAt.push_back(f.RemainingSeconds); };
        std::map<int, QString> titles;
        std::map<int, QColor> colours;
        std::map<int, bool> hidden;
        while (!f.hasEnded()) {
            h->tick();
            titles[f.RemainingSeconds] = f.windowTitle();
            colours[f.RemainingSeconds] = textColour(f.Display);
            hidden[f.RemainingSeconds] = f.isHidden();
        }
        QCOMPARE(beepsAt, (std::vector<int>{60, 30, 25, 20, 15, 10, 7, 5, 3, 2, 1}));
        QCOMPARE(titles[100], QStringLiteral("0:02 Stunde(n)  Ausschalten"));
        QCOMPARE(titles[60], QStringLiteral("0:01 Stunde(n)  Ausschalten"));
        QCOMPARE(titles[45], QStringLiteral("45 Sekunden Ausschalten"));
        QCOMPARE(titles[26], QStringLiteral("26 Sekunden Ausschalten"));
        QCOMPARE(titles[21], QStringLiteral("26 Sekunden Ausschalten"));
        QCOMPARE(titles[20], QStringLiteral("0:00 Stunde(n)  Ausschalten"));
        QCOMPARE(titles[1], QStringLiteral("Shutdown!!"));
        QCOMPARE(titles[0], QStringLiteral("Shutdown!!!"));
        QCOMPARE(f.Display->text(), QStringLiteral("Shutdown!!!"));
        QVERIFY(f.MinutenDisplay->isHidden());
        // Back from the tray with the beeps, pinned at 60.
        QVERIFY(hidden[61]);
        QVERIFY(!hidden[59]);
        QCOMPARE(h->windowSystem->keepAbove, (std::vector<bool>{true, true}));
        // Blinks at 30, keeps that colour to 26, then every second.
        QCOMPARE(colours[31], colours::white);
        QCOMPARE(colours[30], colours::blink);
        QCOMPARE(colours[26], colours::blink);
        QCOMPARE(colours[25], colours::white);
        QCOMPARE(colours[24], colours::blink);
        // Fires exactly once, power off because the box is ticked by default.
        QCOMPARE(h->power->requests, std::vector<int>{8});
        QCOMPARE(h->app->endings, std::vector<int>{0});
        QVERIFY(!f.Timer1->isActive());
        QVERIFY(!f.Timer2->isActive());
        QVERIFY(f.systemTray() == nullptr);
    }

    void sixtySecondsHaveNoMarkAtSixty()
    {
        auto h = started(QStringLiteral("1"), true);
        h->tick(60);
        QCOMPARE(h->beeper->count, 10);
        QCOMPARE(h->windowSystem->keepAbove, std::vector<bool>{true});
        QCOMPARE(h->power->requests.size(), std::size_t{1});
    }

    void windowComesBackAtSixtyWithoutBeeps()
    {
        auto h = started(QStringLiteral("2"), false);
        h->tick(59);
        QVERIFY(h->form->isHidden());
        h->tick();
        QCOMPARE(h->form->RemainingSeconds, 60);
        QVERIFY(!h->form->isHidden());
        QVERIFY(h->form->AlwaysOnTop1->GetIsOnTop());
        h->form->hide();
        h->tick();
        QVERIFY(h->form->isHidden()); // without beeps, 59 does not force it back
        QCOMPARE(h->beeper->count, 0);
    }

    void pauseAndResume()
    {
        auto h = started(QStringLiteral("2"), false);
        Form1& f = *h->form;
        h->tick(20);
        QCOMPARE(f.RemainingSeconds, 100);
        QTest::mouseDClick(f.AktiveLED, Qt::LeftButton);
        QVERIFY(!f.Timer1->isActive());
        QVERIFY(f.Timer2->isActive());
        QCOMPARE(f.Endzeit_Display->text(), QStringLiteral("PAUSE"));
        QCOMPARE(f.AktiveLED->pixmap().cacheKey(), f.RedPic->pixmap().cacheKey());

        h->clock->time = h->clock->time.addSecs(300); // 14:12:30
        QTest::mouseDClick(f.AktiveLED, Qt::LeftButton);
        QVERIFY(f.Timer1->isActive());
        QVERIFY(!f.Timer2->isActive());
        QCOMPARE(f.RemainingSeconds, 100);
        QCOMPARE(f.Endzeit_Display->text(), QStringLiteral("End-Zeit: 14:14"));
        QCOMPARE(f.AktiveLED->pixmap().cacheKey(), f.LiteGreenPic->pixmap().cacheKey());
        h->tick();
        QCOMPARE(f.RemainingSeconds, 99);
        QCOMPARE(f.AktiveLED->pixmap().cacheKey(), f.GreenPic->pixmap().cacheKey());
    }

    void pausedAtOneFiresOnNextTick()
    {
        auto h = started(QStringLiteral("1"), false);
        h->tick(59);
        h->form->AktiveLED_DblClick();
        h->form->AktiveLED_DblClick();
        h->tick();
        QCOMPARE(h->power->requests.size(), std::size_t{1});
    }

    void cancelReturnsToEntry()
    {
        auto h = started(QStringLiteral("2"), false);
        Form1& f = *h->form;
        f.Check_ForceShutdown->setChecked(false);
        f.StandbyBtn->click();
        h->tick(30);
        f.show();
        f.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        QTest::keyClick(&f, Qt::Key_Escape);
        QVERIFY(!f.Timer1->isActive());
        QVERIFY(f.Timer2->isActive());
        QVERIFY(!f.Eingabemaske->isHidden());
        QVERIFY(f.CountdownMaske->isHidden());
        QCOMPARE(f.windowTitle(), QStringLiteral("Tarvo"));
        QCOMPARE(f.Abbruch->text(), QStringLiteral("&Exit"));
        QCOMPARE(f.Abbruch->toolTip(), QStringLiteral("Programm beenden"));
        QCOMPARE(f.selectedAction(), std::optional(ActionKind::Ausschalten));
        QVERIFY(f.Check_ForceShutdown->isChecked());
        QVERIFY(f.Start->isEnabled());
        QCOMPARE(f.ZeitEingabe->text(), QStringLiteral("2"));
        QCOMPARE(f.RemainingSeconds, 90);
        f.Start_Click();
        QCOMPARE(f.RemainingSeconds, 120);
        QVERIFY(h->power->requests.empty());
        QVERIFY(h->app->endings.empty());
    }

    void exitInEntryPanelEndsWithoutQuestion()
    {
        Harness h(QStringLiteral("Y"));
        h.load();
        QTest::mouseClick(h.form->Abbruch, Qt::LeftButton);
        QCOMPARE(h.app->endings, std::vector<int>{0});
        QVERIFY(h.dialogs->questions.empty());
        QVERIFY(h.power->requests.empty());
    }

    void closeDuringCountdown_data()
    {
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<bool>("pausedBefore");
        QTest::addColumn<bool>("ends");
        QTest::newRow("default ends without question") << true << false << false << true;
        QTest::newRow("Y, Yes ends") << false << true << false << true;
        QTest::newRow("Y, No goes on") << false << false << false << false;
        QTest::newRow("Y, No resumes a paused countdown") << false << false << true << false;
    }
    void closeDuringCountdown()
    {
        QFETCH(bool, confirm);
        QFETCH(bool, answer);
        QFETCH(bool, pausedBefore);
        QFETCH(bool, ends);
        auto h = started(QStringLiteral("5"), false, false);
        Form1& f = *h->form;
        f.ConfirmImmediate = confirm;
        h->dialogs->answer = answer;
        h->tick(10);
        const QString title = f.windowTitle();
        if (pausedBefore)
            f.AktiveLED_DblClick();
        f.close();
        QCOMPARE(int(h->dialogs->questions.size()), confirm ? 0 : 1);
        if (!confirm) {
            QCOMPARE(h->dialogs->questions.front().title, QStringLiteral("Tarvo STOP"));
            QVERIFY(h->dialogs->questions.front().defaultYes);
        }
        QCOMPARE(f.hasEnded(), ends);
        QVERIFY(h->power->requests.empty());
        if (!ends) {
            QCOMPARE(f.windowTitle(), title);
            QVERIFY(f.Timer1->isActive());
        }
    }
};

QTEST_MAIN(TestCountdown)
#include "tst_countdown.moc"
