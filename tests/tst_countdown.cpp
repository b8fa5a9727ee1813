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

namespace {

// A loaded window, gone to the tray with a countdown of the given minutes started by the Start button.
std::unique_ptr<Harness> started(const QString& minutes, bool beeps = false)
{
    auto h = loaded();
    control<QCheckBox>(*h->form, "Akustik")->setChecked(beeps);
    control<QLineEdit>(*h->form, "ZeitEingabe")->setText(minutes);
    h->form->Start_Click();
    return h;
}

// The texts of the named labels, a hidden one empty, joined by "|".
QString texts(const Form1& f, std::initializer_list<const char*> names)
{
    QStringList t;
    for (const char* name : names)
        t << (control<QLabel>(f, name)->isHidden() ? QString() : control<QLabel>(f, name)->text());
    return t.join(u'|');
}

bool active(const Form1& f, const char* timer) { return control<QTimer>(f, timer)->isActive(); }

} // namespace

class TestCountdown : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale::c()); } // the clock reads HH:mm:ss

    void startAndCancel()
    {
        auto h = started(u"2"_s);
        Form1& f = *h->form;
        QVERIFY(!active(f, "Timer2") && control<QFrame>(f, "Eingabemaske")->isHidden() && f.isHidden());
        QVERIFY(control<QPushButton>(f, "Start")->isHidden() && f.systemTray()->isIconShown());
        QCOMPARE(f.windowTitle() + u'|' + texts(f, {"Endzeit_Display"}), u"0:02 Stunde(n)  Ausschalten|End-Zeit: 14:9"_s);
        // Escape cancels, whichever control has the focus: the entry panel again, shutting down
        // selected, the duration kept and counted from now.
        control<QCheckBox>(f, "Check_ForceShutdown")->setChecked(false);
        f.actionButton(ActionKind::Standby)->click();
        h->tick(30);
        f.show();
        f.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        h->clock->time = h->clock->time.addSecs(600);
        QTest::keyClick(control<QCheckBox>(f, "Akustik"), Qt::Key_Escape);
        QVERIFY(!active(f, "Timer1") && active(f, "Timer2") && control<QFrame>(f, "CountdownMaske")->isHidden());
        QCOMPARE(f.windowTitle() + u'|' + texts(f, {"Uhrzeit_Display"}), u"Tarvo|Zeit:14:18"_s);
        QCOMPARE(f.selectedAction(), std::optional(ActionKind::Ausschalten));
        QVERIFY(control<QCheckBox>(f, "Check_ForceShutdown")->isChecked() && control<QPushButton>(f, "Start")->isEnabled());
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
        auto h = started(text);
        QCOMPARE(active(*h->form, "Timer1"), seconds != 0);
        QCOMPARE(control<QFrame>(*h->form, "Eingabemaske")->isHidden(), seconds != 0);
        QCOMPARE(h->form->remainingSeconds(), seconds != 0 ? seconds : -300);
        QCOMPARE(h->dialogs->shown.join(u'\n'), seconds != 0 ? QString()
                                                             : u"Information|Falsche Eingabe|Sie haben einen ungültigen "
                                                               "Wert eingetragen (es sind nur Zahlen erlaubt)"_s);
    }

    // The last minute as the window carries it out; which second does what is the model's.
    void lastMinute()
    {
        auto h = started(u"2"_s, true);
        Form1& f = *h->form;
        std::map<int, QString> seen; // title, hidden, blinking
        while (!f.hasEnded()) {
            h->tick();
            seen[f.remainingSeconds()] = u"%1 %2 %3"_s.arg(f.windowTitle()).arg(f.isHidden())
                                             .arg(textColour(control<QLabel>(f, "Display")) == colours::blink);
        }
        QCOMPARE(h->beeper->count, 11);
        QCOMPARE((QStringList{seen[61], seen[59], seen[45], seen[31], seen[30], seen[25], seen[24], seen[20], seen[1]}),
                 (QStringList{"0:01 Stunde(n)  Ausschalten 1 0", "59 Sekunden Ausschalten 0 0",
                              "45 Sekunden Ausschalten 0 0", "31 Sekunden Ausschalten 0 0",
                              "0:00 Stunde(n)  Ausschalten 0 1", "26 Sekunden Ausschalten 0 0",
                              "26 Sekunden Ausschalten 0 1", "0:00 Stunde(n)  Ausschalten 0 1", "Shutdown!! 0 0"}));
        QCOMPARE(texts(f, {"Display", "MinutenDisplay"}), u"Shutdown!!!|"_s);
        QCOMPARE(h->windowSystem->keepAbove, (std::vector<bool>{true, true}));
        // Fires once, power off because the force box is ticked by default.
        QCOMPARE(h->power->requests, std::vector<int>{8});
        QCOMPARE(h->app->endings, std::vector<int>{0});
        QVERIFY(!active(f, "Timer1") && !active(f, "Timer2") && !f.systemTray());
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
        auto h = started(u"2"_s);
        h->tick(10);
        h->dialogs->answer = yes;
        bool requestedWhileAsked = true;
        h->dialogs->onAsk = [&] { requestedWhileAsked = !h->power->requests.empty() || h->form->isHidden(); };
        h->windowSystem->keepAbove.clear();
        h->clock->pass(std::chrono::minutes(10));
        h->tick();
        QVERIFY(!requestedWhileAsked);
        QCOMPARE(h->dialogs->shown, QStringList{u"ask No|End-Zeit verstrichen|Die End-Zeit 14:09 ist verstrichen, "
                                                "während der Rechner schlief. Jetzt ausschalten?"_s});
        QCOMPARE(h->windowSystem->keepAbove, std::vector<bool>{true});
        QCOMPARE(h->power->requests, yes ? std::vector<int>{8} : std::vector<int>{});
        QCOMPARE(h->app->endings, yes ? std::vector<int>{0} : std::vector<int>{});
        QCOMPARE(control<QFrame>(*h->form, "Eingabemaske")->isHidden(), yes);
    }

    void pauseAndResume()
    {
        auto h = started(u"2"_s);
        Form1& f = *h->form;
        const auto led = [&f](const char* name = "AktiveLED") { return control<QLabel>(f, name)->pixmap().cacheKey(); };
        h->tick(20);
        QTest::mouseDClick(control<QLabel>(f, "AktiveLED"), Qt::LeftButton);
        QVERIFY(!active(f, "Timer1") && active(f, "Timer2") && led() == led("RedPic"));
        QCOMPARE(texts(f, {"Endzeit_Display"}), u"PAUSE"_s);
        h->clock->time = h->clock->time.addSecs(300); // 14:12:30
        QTest::mouseDClick(control<QLabel>(f, "AktiveLED"), Qt::LeftButton);
        QVERIFY(active(f, "Timer1") && !active(f, "Timer2") && led() == led("LiteGreenPic"));
        QCOMPARE(f.remainingSeconds(), 100);
        QCOMPARE(texts(f, {"Endzeit_Display"}), u"End-Zeit: 14:14"_s);
        h->tick();
        QCOMPARE(led(), led("GreenPic"));
    }

    // The figures, their unit and the title in the chosen unit, after a countdown of the given
    // minutes and a script: a number ticks that often, a name clicks that control.
    void figuresUnitAndTitle_data()
    {
        QTest::addColumn<QString>("minutes");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("shown");
        QTest::newRow("hours, rounded; the tray's tooltip too") << "120" << "40" << "1:59|Stunden|1:59 Stunde(n)  Ausschalten";
        QTest::newRow("minutes by <>") << "90" << "ChangeMinuteHourBtn" << "90|Minuten|90 Minute(n)  Ausschalten";
        QTest::newRow("hours again by the unit") << "90" << "ChangeMinuteHourBtn MinutenDisplay"
                                                 << "1:30|Stunden|1:30 Stunde(n)  Ausschalten";
        QTest::newRow("a click on the figures refreshes them") << "120" << "ChangeMinuteHourBtn 36 Display"
                                                               << "119|Minuten|119 Minute(n)  Ausschalten";
        QTest::newRow("the last minute stays in seconds") << "1" << "15 ChangeMinuteHourBtn"
                                                          << "45|Sekunden|45 Sekunden Ausschalten";
    }
    void figuresUnitAndTitle()
    {
        QFETCH(QString, minutes);
        QFETCH(QString, script);
        QFETCH(QString, shown);
        const auto h = started(minutes);
        Form1& f = *h->form;
        for (const QString& step : script.split(u' ')) {
            if (step.toInt() > 0) {
                h->tick(step.toInt());
                continue;
            }
            f.show();
            QTest::mouseClick(control(f, qPrintable(step)), Qt::LeftButton);
        }
        QCOMPARE(texts(f, {"Display", "MinutenDisplay"}) + u'|' + f.windowTitle(), shown);
        if (f.isHidden())
            QCOMPARE(h->windowSystem->shownIcon()->toolTips.back(), f.windowTitle());
    }

    void entryFields_data()
    {
        QTest::addColumn<QTime>("now");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<QString>("fields"); // end hour, end minute, hours, minutes, total, days
        QTest::newRow("one day") << QTime(14, 7, 30) << 1440 << "14 07 24 00 1440 +1 Tag (7.12)";
        QTest::newRow("past midnight, no day") << QTime(23, 30) << 45 << "00 15 0 45 45 ";
        QTest::newRow("25 h from 23:00: days, not dates") << QTime(23, 0) << 1500 << "00 00 25 00 1500 +1 Tag (7.12)";
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
        QStringList shown;
        for (const char* name : {"HourTimeText", "MinuteTimeText", "CounterHourText", "CounterMinuteText", "ZeitEingabe"})
            shown << control<QLineEdit>(f, name)->text();
        QCOMPARE(shown.join(u' ') + u' ' + texts(f, {"AnzahlTageLabel"}), fields);
    }

    void countdownDaysAndEndTime()
    {
        auto h = started(u"3000"_s);
        QStringList captions;
        for (const int seconds : {2 * 86400, 2 * 86400 - 10, 86390}) {
            h->clock->pass(std::chrono::seconds(h->form->remainingSeconds() - seconds - 1));
            h->tick(); // lands on a multiple of ten
            captions << texts(*h->form, {"TageCaption"});
        }
        QCOMPARE(captions, (QStringList{"2 Tag(e)", "1 Tag(e)", ""}));

        h = loaded();
        h->clock->time.setTime(QTime(8, 50, 7));
        control<QLineEdit>(*h->form, "ZeitEingabe")->setText(u"15"_s);
        h->form->Start_Click();
        QCOMPARE(texts(*h->form, {"Endzeit_Display", "Uhrzeit_Frame1", "Uhrzeit_Display"}),
                 u"End-Zeit: 9:5|Zeit: 08:50:07|Zeit: 08:50:07"_s);
        // The wall clock is set back an hour: the same moment, told anew at the next tick.
        h->clock->time = h->clock->time.addSecs(-3600);
        h->tick();
        QCOMPARE(texts(*h->form, {"Endzeit_Display"}), u"End-Zeit: 8:5"_s);
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
