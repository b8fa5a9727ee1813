// The countdown and what shows it: the figures, their unit, the window title, the end time and the
// duration fields, and the rules of the one duration. The fake clock stands at 14:07:30 on 6 December.
#include <map>

#include "base/look.h"
#include "countdown/clock_text.h"
#include "countdown/duration.h"
#include "entry/minutes_field.h"
#include "fakes.h"

using namespace tarvo;
using namespace tarvo::test;
using namespace Qt::StringLiterals;

namespace {

// A loaded window with a countdown of the given minutes started by the Start button.
std::unique_ptr<Harness> started(const QString& minutes, bool beeps)
{
    auto h = loaded();
    control<QCheckBox>(*h->form, "Akustik")->setChecked(beeps);
    control<QLineEdit>(*h->form, "ZeitEingabe")->setText(minutes);
    h->form->Start_Click();
    return h;
}

QString texts(std::initializer_list<const QLabel*> labels)
{
    QStringList t;
    for (const QLabel* label : labels)
        t << (label->isHidden() ? QString() : label->text());
    return t.join(u'|');
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
        auto h = started(u"2"_s, false);
        Form1& f = *h->form;
        QVERIFY(!control<QTimer>(f, "Timer2")->isActive() && control<QFrame>(f, "Eingabemaske")->isHidden() && !control<QFrame>(f, "CountdownMaske")->isHidden());
        QVERIFY(control<QPushButton>(f, "Start")->isHidden() && f.isHidden() && f.systemTray()->isIconShown());
        QCOMPARE(f.windowTitle(), u"0:02 Stunde(n)  Ausschalten"_s);
        QCOMPARE(control<QLabel>(f, "Endzeit_Display")->text(), u"End-Zeit: 14:9"_s);
        // Escape cancels, whichever control has the focus: the entry panel again, shutting down selected,
        // the time left kept.
        control<QCheckBox>(f, "Check_ForceShutdown")->setChecked(false);
        f.actionButton(ActionKind::Standby)->click();
        h->tick(30);
        f.show();
        f.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        h->clock->time = h->clock->time.addSecs(600);
        QTest::keyClick(control<QCheckBox>(f, "Akustik"), Qt::Key_Escape);
        QVERIFY(!control<QTimer>(f, "Timer1")->isActive() && control<QTimer>(f, "Timer2")->isActive());
        QVERIFY(!control<QFrame>(f, "Eingabemaske")->isHidden() && control<QFrame>(f, "CountdownMaske")->isHidden());
        QCOMPARE(f.windowTitle() + u'|' + control<QLabel>(f, "Uhrzeit_Display")->text(), u"Tarvo|Zeit:14:18"_s); // 30 ticks and ten minutes later
        QCOMPARE(f.selectedAction(), std::optional(ActionKind::Ausschalten));
        QVERIFY(control<QCheckBox>(f, "Check_ForceShutdown")->isChecked() && control<QPushButton>(f, "Start")->isEnabled());
        // The duration entered stays, and the fields tell it counted from now.
        QCOMPARE(control<QLineEdit>(f, "ZeitEingabe")->text(), u"2"_s);
        QCOMPARE(disagreement(*h), QString());
        QVERIFY(h->app->endings.empty() && h->power->requests.empty());
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
        QCOMPARE(control<QTimer>(*h->form, "Timer1")->isActive(), seconds != 0);
        QCOMPARE(control<QFrame>(*h->form, "Eingabemaske")->isHidden(), seconds != 0);
        QCOMPARE(h->form->remainingSeconds(), seconds != 0 ? seconds : -300);
        QCOMPARE(h->dialogs->shown.join(u'\n'),
                 seconds != 0 ? QString()
                              : u"Information|Falsche Eingabe|Sie haben einen ungültigen Wert eingetragen (es sind "
                                "nur Zahlen erlaubt)"_s);
    }

    // The last minute as the window shows it; which second does what is the model's (its tests).
    void lastMinute()
    {
        auto h = started(u"2"_s, true);
        Form1& f = *h->form;
        std::map<int, QString> title;
        std::map<int, bool> hidden;
        std::map<int, bool> blinking;
        while (!f.hasEnded()) {
            h->tick();
            title[f.remainingSeconds()] = f.windowTitle();
            hidden[f.remainingSeconds()] = f.isHidden();
            blinking[f.remainingSeconds()] = textColour(control<QLabel>(f, "Display")) == colours::blink;
        }
        QCOMPARE(h->beeper->count, 11);
        QVERIFY(!blinking[31] && blinking[30] && !blinking[25] && blinking[24]);
        QCOMPARE((QStringList{title[60], title[45], title[21], title[20], title[1], title[0], control<QLabel>(f, "Display")->text()}),
                 (QStringList{"0:01 Stunde(n)  Ausschalten", "45 Sekunden Ausschalten", "26 Sekunden Ausschalten",
                              "0:00 Stunde(n)  Ausschalten", "Shutdown!!", "Shutdown!!!", "Shutdown!!!"}));
        QVERIFY(control<QLabel>(f, "MinutenDisplay")->isHidden());
        // Back from the tray with the beeps, pinned at 60.
        QVERIFY(hidden[61] && !hidden[59]);
        QCOMPARE(h->windowSystem->keepAbove, (std::vector<bool>{true, true}));
        // Fires exactly once, power off because the box is ticked by default.
        QCOMPARE(h->power->requests, std::vector<int>{8});
        QCOMPARE(h->app->endings, std::vector<int>{0});
        QVERIFY(!control<QTimer>(f, "Timer1")->isActive() && !control<QTimer>(f, "Timer2")->isActive() && !f.systemTray());
    }

    // The end time passed while the machine slept: the window comes back and asks, No the default;
    // only Yes carries the action out.
    void missedDeadline_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("Yes") << true;
        QTest::newRow("No") << false;
    }
    void missedDeadline()
    {
        QFETCH(bool, yes);
        auto h = started(u"2"_s, false);
        Form1& f = *h->form;
        h->tick(10);
        h->dialogs->answer = yes;
        bool requestedWhileAsked = true;
        h->dialogs->onAsk = [&] { requestedWhileAsked = !h->power->requests.empty() || f.isHidden(); };
        const std::size_t pins = h->windowSystem->keepAbove.size();
        h->clock->pass(std::chrono::minutes(10));
        h->tick();
        QVERIFY(!requestedWhileAsked);
        QCOMPARE(h->dialogs->shown, QStringList{u"ask No|End-Zeit verstrichen|Die End-Zeit 14:09 ist verstrichen, "
                                                "während der Rechner schlief. Jetzt ausschalten?"_s});
        QVERIFY(h->windowSystem->keepAbove.size() == pins + 1 && h->windowSystem->keepAbove.back());
        QCOMPARE(h->power->requests, yes ? std::vector<int>{8} : std::vector<int>{});
        QCOMPARE(h->app->endings, yes ? std::vector<int>{0} : std::vector<int>{});
        QCOMPARE(control<QFrame>(f, "Eingabemaske")->isHidden(), yes);
        QCOMPARE(control<QTimer>(f, "Timer2")->isActive(), !yes);
    }

    void pauseAndResume()
    {
        auto h = started(u"2"_s, false);
        Form1& f = *h->form;
        const auto led = [&f] { return control<QLabel>(f, "AktiveLED")->pixmap().cacheKey(); };
        h->tick(20);
        QTest::mouseDClick(control<QLabel>(f, "AktiveLED"), Qt::LeftButton);
        QVERIFY(!control<QTimer>(f, "Timer1")->isActive() && control<QTimer>(f, "Timer2")->isActive());
        QCOMPARE(control<QLabel>(f, "Endzeit_Display")->text(), u"PAUSE"_s);
        QCOMPARE(led(), control<QLabel>(f, "RedPic")->pixmap().cacheKey());
        h->clock->time = h->clock->time.addSecs(300); // 14:12:30
        QTest::mouseDClick(control<QLabel>(f, "AktiveLED"), Qt::LeftButton);
        QVERIFY(control<QTimer>(f, "Timer1")->isActive() && !control<QTimer>(f, "Timer2")->isActive());
        QCOMPARE(f.remainingSeconds(), 100);
        QCOMPARE(control<QLabel>(f, "Endzeit_Display")->text(), u"End-Zeit: 14:14"_s);
        QCOMPARE(led(), control<QLabel>(f, "LiteGreenPic")->pixmap().cacheKey());
        h->tick();
        QCOMPARE(led(), control<QLabel>(f, "GreenPic")->pixmap().cacheKey());
    }

    void figuresUnitAndTitle()
    {
        const auto h = loaded();
        Form1& f = *h->form;
        const auto shown = [&f] { return texts({control<QLabel>(f, "Display"), control<QLabel>(f, "MinutenDisplay")}) + u'|' + f.windowTitle(); };
        // The display shows what the countdown has left.
        const auto remaining = [&f](std::int32_t seconds) {
            f.countdown().cancel();
            f.countdown().start(seconds);
        };
        f.MinimizeToTray();
        remaining(7160);
        f.Set_Minute();
        QCOMPARE(shown(), u"1:59|Stunden|1:59 Stunde(n)  Ausschalten"_s);
        // The "<>" button: as far from "Sekunden" as from the wider of "Minuten" and "Stunden".
        const auto gap = [&f] {
            return control<QPushButton>(f, "ChangeMinuteHourBtn")->x()
                   - (control<QLabel>(f, "MinutenDisplay")->x() + control<QLabel>(f, "MinutenDisplay")->fontMetrics().horizontalAdvance(control<QLabel>(f, "MinutenDisplay")->text()));
        };
        const int hoursGap = gap();
        f.show(); // the tray icon follows the title only while the window is hidden
        remaining(59);
        f.Set_Minute();
        QCOMPARE(shown(), u"59|Stunden|0:01 Stunde(n)  Ausschalten"_s);
        QCOMPARE(h->windowSystem->shownIcon()->toolTips.back(), u"1:59 Stunde(n)  Ausschalten"_s);
        remaining(5400);
        control<QPushButton>(f, "ChangeMinuteHourBtn")->click();
        QCOMPARE(shown(), u"90|Minuten|90 Minute(n)  Ausschalten"_s);
        const int minutesGap = gap();
        QTest::mouseClick(control<QLabel>(f, "MinutenDisplay"), Qt::LeftButton);
        QCOMPARE(shown(), u"1:30|Stunden|1:30 Stunde(n)  Ausschalten"_s);
        remaining(45); // under a minute only the unit changes, to seconds
        control<QPushButton>(f, "ChangeMinuteHourBtn")->click();
        QCOMPARE(shown(), u"1:30|Sekunden|1:30 Stunde(n)  Ausschalten"_s);
        QVERIFY(hoursGap > 0 && minutesGap > 0);
        QCOMPARE(gap(), std::min(hoursGap, minutesGap));
        remaining(7200);
        QTest::mouseClick(control<QLabel>(f, "Display"), Qt::LeftButton); // refreshes in the chosen unit
        QCOMPARE(shown(), u"120|Minuten|120 Minute(n)  Ausschalten"_s);
    }

    void entryFields_data()
    {
        QTest::addColumn<QTime>("now");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<QString>("fields"); // end hour, end minute, hours, minutes, total, days
        QTest::newRow("one day") << QTime(14, 7, 30) << 1440 << "14 07 24 00 1440 +1 Tag (7.12)";
        QTest::newRow("past midnight, no day") << QTime(23, 30) << 45 << "00 15 0 45 45 ";
        QTest::newRow("25 h from 23:00: days, not dates") << QTime(23, 0) << 1500 << "00 00 25 00 1500 +1 Tag (7.12)";
        QTest::newRow("115 min") << QTime(8, 0) << 115 << "09 55 1 55 115 ";
        QTest::newRow("capped at 14 days") << QTime(8, 0) << 32767 << "08 00 336 00 20160 +14 Tage (20.12)";
    }
    void entryFields()
    {
        QFETCH(QTime, now);
        QFETCH(int, minutes);
        QFETCH(QString, fields);
        const auto h = loaded();
        Form1& f = *h->form;
        h->clock->time.setTime(now);
        f.SetMinutes(static_cast<std::int16_t>(minutes));
        QCOMPARE(QStringList({control<QLineEdit>(f, "HourTimeText")->text(), control<QLineEdit>(f, "MinuteTimeText")->text(), control<QLineEdit>(f, "CounterHourText")->text(),
                              control<QLineEdit>(f, "CounterMinuteText")->text(), control<QLineEdit>(f, "ZeitEingabe")->text(), texts({control<QLabel>(f, "AnzahlTageLabel")})})
                     .join(u' '),
                 fields);
    }

    void countdownDaysAndEndTime()
    {
        auto h = started(u"3000"_s, false);
        QStringList captions;
        for (const int seconds : {2 * 86400, 2 * 86400 - 10, 86390}) {
            h->clock->pass(std::chrono::seconds(h->form->remainingSeconds() - seconds - 1));
            h->tick(); // lands on a multiple of ten
            captions << texts({control<QLabel>(*h->form, "TageCaption")});
        }
        QCOMPARE(captions, (QStringList{"2 Tag(e)", "1 Tag(e)", ""}));

        h = loaded();
        h->clock->time.setTime(QTime(8, 50, 7));
        control<QLineEdit>(*h->form, "ZeitEingabe")->setText(u"15"_s);
        h->form->Start_Click();
        QCOMPARE(texts({control<QLabel>(*h->form, "Endzeit_Display"), control<QLabel>(*h->form, "Uhrzeit_Frame1"), control<QLabel>(*h->form, "Uhrzeit_Display")}),
                 u"End-Zeit: 9:5|Zeit: 08:50:07|Zeit: 08:50:07"_s);
        // The wall clock is set back an hour: the same moment, told anew at the next tick.
        h->clock->time = h->clock->time.addSecs(-3600);
        h->tick();
        QCOMPARE(control<QLabel>(*h->form, "Endzeit_Display")->text(), u"End-Zeit: 8:5"_s);
    }

    void calculators_data()
    {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<QString>("expected"); // minutes, hours, minutes of the hour, days, hours text
        QTest::newRow("half rounds to even, down") << 30 << "0 0 0 0 0:00";
        QTest::newRow("half rounds to even, up") << 90 << "2 0 2 0 0:02";
        QTest::newRow("rounds up to the hour") << 3590 << "60 1 0 0 1:00";
        QTest::newRow("just below a day") << 86399 << "1440 24 0 0 24:00";
        QTest::newRow("fourteen days") << 1209600 << "20160 336 0 14 336:00";
    }
    void calculators()
    {
        QFETCH(int, seconds);
        QFETCH(QString, expected);
        QCOMPARE(u"%1 %2 %3 %4 "_s.arg(totalMinutes(seconds)).arg(wholeHours(seconds)).arg(minutesOfHour(seconds))
                         .arg(wholeDays(seconds)) + hoursMinutesText(seconds),
                 expected);
    }

    void setters_data()
    {
        QTest::addColumn<QString>("change"); // minutes added (+) or taken off (-), r: rounded to ten minutes
        QTest::addColumn<int>("seconds");
        QTest::addColumn<int>("expected"); // -1: unchanged because of overflow
        QTest::newRow("65 min + 10 rounded, half to even") << "+10r" << 65 * 60 << 80 * 60;
        QTest::newRow("55 min + 10 rounded") << "+10r" << 55 * 60 << 60 * 60;
        QTest::newRow("add caps at 14 days") << "+60" << 1209600 << 1209600;
        QTest::newRow("15 min - 10 rounded to 0") << "-10r" << 15 * 60 << 0;
        QTest::newRow("below zero floors at 60 s") << "-60" << 5 * 60 << 60;
        QTest::newRow("add near int32 max overflows") << "+10" << 2147483600 << -1;
        QTest::newRow("subtract near int32 min overflows") << "-10" << -2147483600 << -1;
    }
    void setters()
    {
        QFETCH(QString, change);
        QFETCH(int, seconds);
        QFETCH(int, expected);
        const auto minutes = static_cast<std::int16_t>(change.mid(1).remove(u'r').toInt());
        const bool round = change.endsWith(u'r');
        const auto result = change[0] == u'+' ? addMinutes(seconds, minutes, round)
                                              : subtractMinutes(seconds, minutes, round);
        QCOMPARE(result.value_or(-1), expected);
    }

    void minutesField_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expectedText");
        QTest::newRow("cap itself") << "20160" << "20160";
        QTest::newRow("one above") << "20161" << "20160";
        QTest::newRow("negative") << "-5" << "20160";
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
        QVERIFY(!minutesTextToSeconds(u"35791395"_s)); // beyond 32 bits in seconds
    }

    void clockTexts_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("expected");
        QTest::newRow("zone before") << "t HH:mm:ss" << "HH:mm:ss";
        QTest::newRow("twelve-hour clock, after a comma") << "h:mm:ss AP, t" << "h:mm:ss AP";
        QTest::newRow("in brackets") << "H:mm:ss (t)" << "H:mm:ss";
        QTest::newRow("quoted t kept") << "H 'o''clock, tea' mm:ss t" << "H 'o''clock, tea' mm:ss";
        QTest::newRow("no seconds") << "HH:mm t" << "HH:mm:ss";
    }
    void clockTexts()
    {
        QFETCH(QString, format);
        QFETCH(QString, expected);
        QCOMPARE(timeFormatWithoutZone(format), expected);
        const QTime t(23, 10, 10);
        QCOMPARE(clockCaption(t, QLocale(QLocale::German, QLocale::Germany)), u"Zeit: 23:10:10"_s);
        QCOMPARE(clockCaption(t, QLocale(QLocale::English, QLocale::UnitedStates)), u"Zeit: 11:10:10 PM"_s);
        QCOMPARE(shortClockCaption(QTime(9, 5)), u"Zeit:9:5"_s);
    }
};

QTEST_MAIN(TestCountdown)
#include "tst_countdown.moc"
