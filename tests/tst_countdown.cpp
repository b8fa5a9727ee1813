// The countdown and what shows it: the figures, their unit, the window title, the end time and the
// duration fields. The fake clock stands at 14:07:30 on 6 December.
#include <map>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/look.h"
#include "countdown/clock_text.h"
#include "countdown/duration.h"
#include "entry/minutes_field.h"
#include "fakes.h"
#include "shell/always_on_top.h"
#include "shell/system_tray.h"

using namespace tarvo;
using namespace tarvo::test;

namespace {

// A loaded window with a countdown of the given minutes started by the Start button.
std::unique_ptr<Harness> started(const QString& minutes, bool beeps, bool tray = true)
{
    auto h = loaded();
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
    void initTestCase()
    {
        QLocale::setDefault(QLocale::c()); // the clock reads HH:mm:ss
    }

    void startAndCancel()
    {
        auto h = started(QStringLiteral("2"), false);
        Form1& f = *h->form;
        QVERIFY(!f.Timer2->isActive() && f.Eingabemaske->isHidden() && !f.CountdownMaske->isHidden());
        QVERIFY(f.Start->isHidden());
        QCOMPARE(f.Abbruch->text(), QStringLiteral("Timer Abbr&echen"));
        QCOMPARE(f.Abbruch->toolTip(), QStringLiteral("Hiermit wird der Vorgang abgebrochen!"));
        QCOMPARE(f.windowTitle(), QStringLiteral("0:02 Stunde(n)  Ausschalten"));
        QCOMPARE(f.Endzeit_Display->text(), QStringLiteral("End-Zeit: 14:9"));
        QVERIFY(f.isHidden() && f.systemTray()->isIconShown());
        QCOMPARE(f.systemTray()->title, QStringLiteral("Tarvo"));

        // Escape cancels: the entry panel again, shutting down selected, the time left kept.
        f.Check_ForceShutdown->setChecked(false);
        f.StandbyBtn->click();
        h->tick(30);
        f.show();
        f.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        QTest::keyClick(&f, Qt::Key_Escape);
        QVERIFY(!f.Timer1->isActive() && f.Timer2->isActive());
        QVERIFY(!f.Eingabemaske->isHidden() && f.CountdownMaske->isHidden());
        QCOMPARE(f.windowTitle(), QStringLiteral("Tarvo"));
        QCOMPARE(f.Abbruch->text(), QStringLiteral("&Exit"));
        QCOMPARE(f.Abbruch->toolTip(), QStringLiteral("Programm beenden"));
        QCOMPARE(f.selectedAction(), std::optional(ActionKind::Ausschalten));
        QVERIFY(f.Check_ForceShutdown->isChecked() && f.Start->isEnabled());
        QCOMPARE(f.RemainingSeconds, 90);
        f.Start_Click(); // from the minutes field, which kept its text
        QCOMPARE(f.RemainingSeconds, 120);
        QVERIFY(h->power->requests.empty() && h->app->endings.empty());
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
        QCOMPARE(h->form->Eingabemaske->isHidden(), seconds != 0);
        QCOMPARE(h->form->RemainingSeconds, seconds != 0 ? seconds : -300);
        QCOMPARE(h->dialogs->messages.size(), std::size_t(seconds != 0 ? 0 : 1));
        if (seconds == 0) {
            QCOMPARE(h->dialogs->messages.front().title, QStringLiteral("Falsche Eingabe"));
            QCOMPARE(h->dialogs->messages.front().icon, MessageIcon::Information);
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
        std::map<int, bool> hidden;
        QString blink; // from 31 s down to 20 s: b in the blink colour, w in white
        while (!f.hasEnded()) {
            h->tick();
            titles[f.RemainingSeconds] = f.windowTitle();
            hidden[f.RemainingSeconds] = f.isHidden();
            if (f.RemainingSeconds <= 31 && f.RemainingSeconds >= 20)
                blink += textColour(f.Display) == colours::blink ? u'b' : textColour(f.Display) == colours::white ? u'w' : u'?';
        }
        QCOMPARE(beepsAt, (std::vector<int>{60, 30, 25, 20, 15, 10, 7, 5, 3, 2, 1}));
        QCOMPARE(blink, QStringLiteral("wbbbbbwbwbwb")); // from 30 on, then every second below 26
        QCOMPARE((QStringList{titles[60], titles[45], titles[21], titles[20], titles[1], titles[0]}),
                 (QStringList{"0:01 Stunde(n)  Ausschalten", "45 Sekunden Ausschalten", "26 Sekunden Ausschalten",
                              "0:00 Stunde(n)  Ausschalten", "Shutdown!!", "Shutdown!!!"}));
        QCOMPARE(f.Display->text(), QStringLiteral("Shutdown!!!"));
        QVERIFY(f.MinutenDisplay->isHidden());
        // Back from the tray with the beeps, pinned at 60.
        QVERIFY(hidden[61] && !hidden[59]);
        QCOMPARE(h->windowSystem->keepAbove, (std::vector<bool>{true, true}));
        // Fires exactly once, power off because the box is ticked by default.
        QCOMPARE(h->power->requests, std::vector<int>{8});
        QCOMPARE(h->app->endings, std::vector<int>{0});
        QVERIFY(!f.Timer1->isActive() && !f.Timer2->isActive() && !f.systemTray());
    }

    void oneMinuteHasNoMarkAtSixty()
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
        QVERIFY(!h->form->isHidden() && h->form->AlwaysOnTop1->GetIsOnTop());
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
        QTest::mouseDClick(f.AktiveLED, Qt::LeftButton);
        QVERIFY(!f.Timer1->isActive() && f.Timer2->isActive());
        QCOMPARE(f.Endzeit_Display->text(), QStringLiteral("PAUSE"));
        QCOMPARE(f.AktiveLED->pixmap().cacheKey(), f.RedPic->pixmap().cacheKey());

        h->clock->time = h->clock->time.addSecs(300); // 14:12:30
        QTest::mouseDClick(f.AktiveLED, Qt::LeftButton);
        QVERIFY(f.Timer1->isActive() && !f.Timer2->isActive());
        QCOMPARE(f.RemainingSeconds, 100);
        QCOMPARE(f.Endzeit_Display->text(), QStringLiteral("End-Zeit: 14:14"));
        QCOMPARE(f.AktiveLED->pixmap().cacheKey(), f.LiteGreenPic->pixmap().cacheKey());
        h->tick();
        QCOMPARE(f.AktiveLED->pixmap().cacheKey(), f.GreenPic->pixmap().cacheKey());
    }

    void setMinute_data()
    {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<bool>("inMinutes");
        QTest::addColumn<QStringList>("shown"); // figures, unit, title
        QTest::newRow("hours") << 7160 << false << QStringList{"1:59", "Stunden", "1:59 Stunde(n)  Ausschalten"};
        QTest::newRow("minutes") << 3600 << true << QStringList{"60", "Minuten", "60 Minute(n)  Ausschalten"};
        QTest::newRow("150 s, half to even") << 150 << true << QStringList{"2", "Minuten", "2 Minute(n)  Ausschalten"};
        QTest::newRow("59 s show seconds") << 59 << false << QStringList{"59", "Stunden", "0:01 Stunde(n)  Ausschalten"};
    }
    void setMinute()
    {
        QFETCH(int, seconds);
        QFETCH(bool, inMinutes);
        QFETCH(QStringList, shown);
        const auto h = loaded();
        Form1& f = *h->form;
        f.RemainingSeconds = 5400;
        f.Anz_Minuten->setChecked(inMinutes); // writes the unit as a click does
        f.RemainingSeconds = seconds;
        f.Set_Minute();
        QCOMPARE((QStringList{f.Display->text(), f.MinutenDisplay->text(), f.windowTitle()}), shown);
    }

    void trayTooltipOnlyWhileHidden()
    {
        const auto h = loaded();
        Form1& f = *h->form;
        f.MinimizeToTray();
        f.RemainingSeconds = 5400;
        f.Set_Minute();
        QCOMPARE(h->windowSystem->shownIcon()->toolTips.back(), QStringLiteral("1:30 Stunde(n)  Ausschalten"));
        f.show();
        f.RemainingSeconds = 600;
        f.Set_Minute();
        QCOMPARE(h->windowSystem->shownIcon()->toolTips.back(), QStringLiteral("1:30 Stunde(n)  Ausschalten"));
    }

    void unitToggles()
    {
        const auto h = loaded();
        Form1& f = *h->form;
        const auto shown = [&f] { return QStringList{f.Display->text(), f.MinutenDisplay->text()}; };
        f.RemainingSeconds = 5400;
        f.ChangeMinuteHourBtn->click();
        QCOMPARE(shown(), (QStringList{"90", "Minuten"}));
        QTest::mouseClick(f.MinutenDisplay, Qt::LeftButton);
        QCOMPARE(shown(), (QStringList{"1:30", "Stunden"}));
        // Under a minute only the unit changes, to seconds.
        f.RemainingSeconds = 45;
        f.ChangeMinuteHourBtn->click();
        QCOMPARE(shown() << f.windowTitle(), (QStringList{"1:30", "Sekunden", "1:30 Stunde(n)  Ausschalten"}));
        f.RemainingSeconds = 7200;
        QTest::mouseClick(f.Display, Qt::LeftButton); // refreshes in the chosen unit
        QCOMPARE(f.Display->text(), QStringLiteral("120"));
    }

    void entryFields_data()
    {
        QTest::addColumn<QTime>("now");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<QStringList>("fields"); // end hour, end minute, hours, minutes, total, days
        QTest::newRow("one day") << QTime(14, 7, 30) << 1440
                                 << QStringList{"14", "07", "24", "00", "1440", "+1 Tag (7.12)"};
        QTest::newRow("past midnight, no day") << QTime(23, 30) << 45 << QStringList{"00", "15", "0", "45", "45", ""};
        QTest::newRow("25 h from 23:00: whole days, not dates")
            << QTime(23, 0) << 1500 << QStringList{"00", "00", "25", "00", "1500", "+1 Tag (7.12)"};
        QTest::newRow("115 min") << QTime(8, 0) << 115 << QStringList{"09", "55", "1", "55", "115", ""};
        QTest::newRow("capped at 14 days")
            << QTime(8, 0) << 32767 << QStringList{"08", "00", "336", "00", "20160", "+14 Tage (20.12)"};
    }
    void entryFields()
    {
        QFETCH(QTime, now);
        QFETCH(int, minutes);
        QFETCH(QStringList, fields);
        const auto h = loaded();
        Form1& f = *h->form;
        h->clock->time.setTime(now);
        f.SetMinutes(static_cast<std::int16_t>(minutes));
        const QString days = f.AnzahlTageLabel->isHidden() ? QString() : f.AnzahlTageLabel->text();
        QCOMPARE((QStringList{f.HourTimeText->text(), f.MinuteTimeText->text(), f.CounterHourText->text(),
                              f.CounterMinuteText->text(), f.ZeitEingabe->text(), days}),
                 fields);
    }

    void countdownDayCaption()
    {
        auto h = started(QStringLiteral("3000"), false);
        QStringList captions;
        for (const int seconds : {2 * 86400, 2 * 86400 - 10, 86390}) {
            h->form->RemainingSeconds = seconds + 1;
            h->tick(); // a refresh: the seconds left are a multiple of ten
            captions << (h->form->TageCaption->isHidden() ? QString() : h->form->TageCaption->text());
        }
        QCOMPARE(captions, (QStringList{"2 Tag(e)", "1 Tag(e)", ""}));
    }

    void endTimeAndClock()
    {
        const auto h = loaded();
        Form1& f = *h->form;
        h->clock->time.setTime(QTime(8, 50, 7));
        f.RemainingSeconds = 15 * 60;
        f.Endzeit_Eintragen();
        QCOMPARE(f.Endzeit_Display->text(), QStringLiteral("End-Zeit: 9:5"));
        QCOMPARE(f.Uhrzeit_Frame1->text() + f.Uhrzeit_Display->text(), QStringLiteral("Zeit: 08:50:07Zeit: 08:50:07"));
    }

    void calculators_data()
    {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<QString>("expected"); // minutes, hours, minutes of the hour, days, hours text
        QTest::newRow("half rounds to even, down") << 30 << "0 0 0 0 0:00";
        QTest::newRow("half rounds to even, up") << 90 << "2 0 2 0 0:02";
        QTest::newRow("150 s are 2 min") << 150 << "2 0 2 0 0:02";
        QTest::newRow("rounds up to the hour") << 3590 << "60 1 0 0 1:00";
        QTest::newRow("7160 s") << 7160 << "119 1 59 0 1:59";
        QTest::newRow("one day") << 86400 << "1440 24 0 1 24:00";
        QTest::newRow("just below a day") << 86399 << "1440 24 0 0 24:00";
        QTest::newRow("fourteen days") << 1209600 << "20160 336 0 14 336:00";
    }
    void calculators()
    {
        QFETCH(int, seconds);
        QFETCH(QString, expected);
        QCOMPARE(QStringLiteral("%1 %2 %3 %4 %5")
                     .arg(totalMinutes(seconds))
                     .arg(wholeHours(seconds))
                     .arg(minutesOfHour(seconds))
                     .arg(wholeDays(seconds))
                     .arg(hoursMinutesText(seconds)),
                 expected);
    }

    void setters_data()
    {
        QTest::addColumn<bool>("add");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<bool>("round");
        QTest::addColumn<int>("expected"); // -1: unchanged because of overflow
        QTest::newRow("63 min + 10 rounded") << true << 63 * 60 << 10 << true << 70 * 60;
        QTest::newRow("65 min + 10 rounded, half to even") << true << 65 * 60 << 10 << true << 80 * 60;
        QTest::newRow("55 min + 10 rounded") << true << 55 * 60 << 10 << true << 60 * 60;
        QTest::newRow("add caps at 14 days") << true << 1209600 << 60 << false << 1209600;
        QTest::newRow("add exact hour") << true << 65 * 60 << 60 << false << 125 * 60;
        QTest::newRow("25 min - 10 rounded") << false << 25 * 60 << 10 << true << 20 * 60;
        QTest::newRow("15 min - 10 rounded to 0") << false << 15 * 60 << 10 << true << 0;
        QTest::newRow("below zero floors at 60 s") << false << 5 * 60 << 60 << false << 60;
        QTest::newRow("add near int32 max overflows") << true << 2147483600 << 10 << false << -1;
        QTest::newRow("subtract near int32 min overflows") << false << -2147483600 << 10 << false << -1;
    }
    void setters()
    {
        QFETCH(bool, add);
        QFETCH(int, seconds);
        QFETCH(int, minutes);
        QFETCH(bool, round);
        QFETCH(int, expected);
        const auto m = static_cast<std::int16_t>(minutes);
        QCOMPARE((add ? addMinutes(seconds, m, round) : subtractMinutes(seconds, m, round)).value_or(-1), expected);
    }

    void minutesField_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expectedText");
        QTest::newRow("plain") << "1440" << "1440";
        QTest::newRow("cap itself") << "20160" << "20160";
        QTest::newRow("one above") << "20161" << "20160";
        QTest::newRow("empty") << "" << "20160";
        QTest::newRow("negative") << "-5" << "20160";
        QTest::newRow("leading blank") << " 5" << "20160";
        QTest::newRow("digits then junk") << "5x" << "20160";
        QTest::newRow("zero") << "0" << "0";
        QTest::newRow("leading zeros") << "0090" << "0090";
    }
    void minutesField()
    {
        QFETCH(QString, text);
        QFETCH(QString, expectedText);
        const MinutesFieldResult r = validateMinutesText(text);
        QCOMPARE(r.text, expectedText);
        QCOMPARE(int{r.minutes.value_or(-1)}, expectedText.toInt());
    }

    void conversions()
    {
        QCOMPARE(secondsForMinutes(20160), 1209600);
        QCOMPARE(secondsForMinutes(20161), 1209600);
        QCOMPARE(minutesTextToSeconds(QStringLiteral(" 90 ")).value_or(-1), 5400);
        QCOMPARE(minutesTextToSeconds(QStringLiteral("-5")).value_or(0), -300);
        QVERIFY(!minutesTextToSeconds(QStringLiteral("35791395")));
        QVERIFY(!minutesTextToSeconds(QStringLiteral("abc")));
    }

    void timeFormatWithoutZone_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("expected");
        QTest::newRow("zone before") << "t HH:mm:ss" << "HH:mm:ss";
        QTest::newRow("twelve-hour clock, after a comma") << "h:mm:ss AP, t" << "h:mm:ss AP";
        QTest::newRow("in brackets") << "H:mm:ss (t)" << "H:mm:ss";
        QTest::newRow("quoted t kept") << "H 'o''clock, tea' mm:ss t" << "H 'o''clock, tea' mm:ss";
        QTest::newRow("no seconds") << "HH:mm t" << "HH:mm:ss";
    }
    void timeFormatWithoutZone()
    {
        QFETCH(QString, format);
        QFETCH(QString, expected);
        QCOMPARE(tarvo::timeFormatWithoutZone(format), expected);
    }

    void clockCaptions()
    {
        const QTime t(23, 10, 10);
        QCOMPARE(clockCaption(t, QLocale(QLocale::German, QLocale::Germany)), QStringLiteral("Zeit: 23:10:10"));
        QCOMPARE(clockCaption(t, QLocale(QLocale::English, QLocale::UnitedStates)),
                 QStringLiteral("Zeit: 11:10:10 PM"));
        QCOMPARE(shortClockCaption(QTime(9, 5)), QStringLiteral("Zeit:9:5"));
    }
};

QTEST_MAIN(TestCountdown)
#include "tst_countdown.moc"
