// The countdown as the window shows it (the figures, their unit, the title, the end time, the
// duration fields) and the rules of the one duration. The fake clock stands at 14:07:30 on 6 December.
#include <map>

#include "base/look.h"
#include "countdown/clock_text.h"
#include "countdown/duration.h"
#include "entry/minutes_field.h"
#include "fakes.h"

using namespace tarvo;
using namespace tarvo::test;
using namespace Qt::StringLiterals;

class TestCountdown : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale::c()); } // the clock reads HH:mm:ss

    // What a user does and what the window shows: the start, Escape (whichever control has the
    // focus: the entry panel again, shutting down selected, the duration kept and counted from now),
    // the entries Start takes, the missed end time (the window comes back and asks, No the default,
    // only Yes carries it out), pause, the figures and their unit, the days and the end time.
    void userActions_data()
    {
        QTest::addColumn<Scene>("scene");
        QTest::newRow("started") << Scene{"", "Akustik- ZeitEingabe=2 @Start",
            "Timer2=0; ?Eingabemaske=0; hidden=1; ?Start=0; title=0:02 Stunde(n)  Ausschalten; Endzeit_Display=End-Zeit: 14:9"};
        QTest::newRow("Escape cancels") << Scene{"", "ZeitEingabe=2 @Start Check_ForceShutdown- @StandbyBtn 30 show wall:600 Escape",
            "timer=0; Timer2=1; ?CountdownMaske=0; title=Tarvo; Uhrzeit_Display=Zeit:14:18; Check_Runterfahren=11; "
            "Check_ForceShutdown=11; ?Start=1; ZeitEingabe=2; agrees=; requests=; endings="};
        const QString refused = u"Information|Falsche Eingabe|Sie haben einen ungültigen Wert eingetragen (es sind nur Zahlen erlaubt)"_s;
        QTest::newRow("zero means one minute") << Scene{"", "ZeitEingabe=0 @Start", "timer=1; left=60; boxes="};
        QTest::newRow("not a number keeps it") << Scene{"", "ZeitEingabe=abc @Start", "timer=1; left=3600; boxes="};
        QTest::newRow("negative refused") << Scene{"", "ZeitEingabe=-5 @Start", "timer=0; ?Eingabemaske=1; left=-300; boxes=" + refused};
        const QString missed = u"pins=1,1; boxes=ask No|End-Zeit verstrichen|Die End-Zeit 14:09 ist verstrichen, während der "
                               "Rechner schlief. Jetzt ausschalten?; atQuestion=0 0; "_s;
        QTest::newRow("missed, Yes") << Scene{"", "ZeitEingabe=2 @Start 10 yes sleep:600 1", missed + "requests=8; endings=0; ?Eingabemaske=0"};
        QTest::newRow("missed, No") << Scene{"", "ZeitEingabe=2 @Start 10 no sleep:600 1", missed + "requests=; endings=; ?Eingabemaske=1"};
        QTest::newRow("paused") << Scene{"", "ZeitEingabe=2 @Start 20 2@AktiveLED", "timer=0; Timer2=1; led=RedPic; Endzeit_Display=PAUSE"};
        QTest::newRow("resumed, counted from now") << Scene{"", "ZeitEingabe=2 @Start 20 2@AktiveLED wall:300 2@AktiveLED",
            "timer=1; Timer2=0; led=LiteGreenPic; left=100; Endzeit_Display=End-Zeit: 14:14"};
        const QString figures = u"Display=%1; MinutenDisplay=%2; title=%3"_s;
        QTest::newRow("hours, rounded; the tray's tooltip too") << Scene{"", "ZeitEingabe=120 @Start 40",
            figures.arg("1:59", "Stunden", "1:59 Stunde(n)  Ausschalten") + "; tip=1:59 Stunde(n)  Ausschalten"};
        QTest::newRow("hours again by the unit") << Scene{"", "ZeitEingabe=90 @Start show @ChangeMinuteHourBtn @MinutenDisplay",
            figures.arg("1:30", "Stunden", "1:30 Stunde(n)  Ausschalten")};
        QTest::newRow("a click on the figures refreshes them") << Scene{"", "ZeitEingabe=120 @Start show @ChangeMinuteHourBtn 36 @Display",
            figures.arg("119", "Minuten", "119 Minute(n)  Ausschalten")};
        QTest::newRow("the last minute stays in seconds") << Scene{"", "ZeitEingabe=1 @Start 15 show @ChangeMinuteHourBtn",
            figures.arg("45", "Sekunden", "45 Sekunden Ausschalten")};
        QTest::newRow("one day") << Scene{"", "ZeitEingabe=3000 @Start sleep:7199 1 sleep:9 1", "TageCaption=1 Tag(e)"};
        QTest::newRow("below a day") << Scene{"", "ZeitEingabe=3000 @Start sleep:93609 1", "TageCaption=-"};
        QTest::newRow("end time and clocks") << Scene{"", "wall:-19043 ZeitEingabe=15 @Start",
            "Endzeit_Display=End-Zeit: 9:5; Uhrzeit_Frame1=Zeit: 08:50:07; Uhrzeit_Display=Zeit: 08:50:07"};
        // The entry fields: end time, hours and minutes, days (counted, not dates).
        const QString fields = u"HourTimeText=%1; MinuteTimeText=%2; CounterHourText=%3; CounterMinuteText=%4; AnzahlTageLabel=%5"_s;
        QTest::newRow("fields, one day") << Scene{"", "hours =1440", fields.arg("14", "07", "24", "00", "+1 Tag (7.12)")};
        QTest::newRow("fields, 25 h from 23:00") << Scene{"", "wall:31950 hours =1500", fields.arg("00", "00", "25", "00", "+1 Tag (7.12)")};
        QTest::newRow("fields, capped at 14 days")
            << Scene{"", "wall:-22050 =32767", u"ZeitEingabe=20160; HourTimeText=08; AnzahlTageLabel=+14 Tage (20.12)"_s};
    }
    void userActions() { playScene(); }

    // The last minute as the window carries it out; which second does what is the model's.
    void lastMinute()
    {
        auto h = played({}, u"Akustik+ ZeitEingabe=2 @Start"_s);
        Form1& f = *h->form;
        std::map<int, QString> at; // title, hidden, blinking
        while (!f.hasEnded()) {
            h->tick();
            at[f.remainingSeconds()] = u"%1 %2 %3"_s.arg(f.windowTitle()).arg(f.isHidden())
                                             .arg(textColour(control<QLabel>(f, "Display")) == colours::blink);
        }
        QCOMPARE(h->beeper->count, 11);
        QCOMPARE((QStringList{at[61], at[59], at[30], at[25], at[24], at[1]}),
                 (QStringList{"0:01 Stunde(n)  Ausschalten 1 0", "59 Sekunden Ausschalten 0 0",
                              "0:00 Stunde(n)  Ausschalten 0 1", "26 Sekunden Ausschalten 0 0",
                              "26 Sekunden Ausschalten 0 1", "Shutdown!! 0 0"}));
        // Fires once, power off because the force box is ticked by default.
        QCOMPARE(seen(*h, u"Display; MinutenDisplay; requests; endings; timer; Timer2; tip; pins"_s),
                 u"Display=Shutdown!!!; MinutenDisplay=-; requests=8; endings=0; timer=0; Timer2=0; tip=-; pins=1,1"_s);
    }

    void rules_data()
    {
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* what, const char* input, const char* expected) {
            QTest::addRow("%s %s", what, input) << what << input << expected;
        };
        // Seconds as minutes, hours, minutes of the hour, days and hours text; a half rounds to even.
        row("seconds", "30", "0 0 0 0 0:00");
        row("seconds", "90", "2 0 2 0 0:02");
        row("seconds", "3590", "60 1 0 0 1:00");
        row("seconds", "86399", "1440 24 0 0 24:00");
        row("seconds", "1209600", "20160 336 0 14 336:00");
        // Minutes added (+) or taken off (-), r: rounded to ten minutes, to the seconds; -1: overflow.
        row("change", "+10r 3900", "4800");
        row("change", "+60 1209600", "1209600"); // capped at 14 days
        row("change", "-10r 900", "0");
        row("change", "-60 300", "60"); // below zero: one minute
        row("change", "+10 2147483600", "-1");
        row("change", "-10 -2147483600", "-1");
        // The minutes field's text once left, and its minutes; its minutes in seconds.
        row("minutes", "20161", "20160 20160");
        row("minutes", "-5", "20160 20160");
        row("minutes", "5x", "20160 20160");
        row("minutes", "0", "0 0");
        row("minutes", "0090", "0090 90");
        row("seconds of minutes", "35791395", "-1"); // beyond 32 bits
        // The clock's format without the time zone.
        row("clock", "t HH:mm:ss", "HH:mm:ss");
        row("clock", "h:mm:ss AP, t", "h:mm:ss AP");
        row("clock", "H:mm:ss (t)", "H:mm:ss");
        row("clock", "H 'o''clock, tea' mm:ss t", "H 'o''clock, tea' mm:ss");
        row("clock", "HH:mm t", "HH:mm:ss"); // no seconds
        row("caption", "de_DE", "Zeit: 23:10:10");
        row("caption", "en_US", "Zeit: 11:10:10 PM");
    }
    void rules()
    {
        QFETCH(QString, what);
        QFETCH(QString, input);
        const int n = input.section(u' ', -1).toInt(), minutes = input.section(u' ', 0, 0).remove(u'r').toInt();
        const bool round = input.contains(u'r');
        QString seen = timeFormatWithoutZone(input);
        if (what == "seconds"_L1)
            seen = u"%1 %2 %3 %4 "_s.arg(totalMinutes(n)).arg(wholeHours(n)).arg(minutesOfHour(n)).arg(wholeDays(n))
                   + hoursMinutesText(n);
        else if (what == "change"_L1)
            seen = QString::number((minutes > 0 ? addMinutes(n, std::int16_t(minutes), round)
                                                : subtractMinutes(n, std::int16_t(-minutes), round)).value_or(-1));
        else if (what == "minutes"_L1)
            seen = u"%1 %2"_s.arg(validateMinutesText(input).text).arg(validateMinutesText(input).minutes.value_or(-1));
        else if (what == "seconds of minutes"_L1)
            seen = QString::number(minutesTextToSeconds(input).value_or(-1));
        else if (what == "caption"_L1)
            seen = clockCaption(QTime(23, 10, 10), QLocale(input));
        QTEST(seen, "expected");
    }
};

QTEST_MAIN(TestCountdown)
#include "tst_countdown.moc"
