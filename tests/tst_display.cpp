#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "fakes.h"
#include "shell/system_tray.h"

using namespace tarvo;
using namespace tarvo::test;

class TestDisplay : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QLocale::setDefault(QLocale::c()); // the clock reads HH:mm:ss
    }

    void setMinute_data()
    {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<bool>("inMinutes");
        QTest::addColumn<QString>("display");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("title");
        QTest::newRow("one hour") << 3600 << false << "1:00"
                                  << "Stunden"
                                  << "1:00 Stunde(n)  Ausschalten";
        QTest::newRow("one hour in minutes") << 3600 << true << "60"
                                             << "Minuten"
                                             << "60 Minute(n)  Ausschalten";
        QTest::newRow("7190 s round up") << 7190 << false << "2:00"
                                         << "Stunden"
                                         << "2:00 Stunde(n)  Ausschalten";
        QTest::newRow("7160 s") << 7160 << false << "1:59"
                                << "Stunden"
                                << "1:59 Stunde(n)  Ausschalten";
        QTest::newRow("65 s") << 65 << false << "0:01"
                              << "Stunden"
                              << "0:01 Stunde(n)  Ausschalten";
        QTest::newRow("59 s show seconds") << 59 << false << "59"
                                           << "Stunden"
                                           << "0:01 Stunde(n)  Ausschalten";
        QTest::newRow("30 s half to even") << 30 << false << "30"
                                           << "Stunden"
                                           << "0:00 Stunde(n)  Ausschalten";
        QTest::newRow("14 days") << 1209600 << false << "336:00"
                                 << "Stunden"
                                 << "336:00 Stunde(n)  Ausschalten";
        QTest::newRow("150 s in minutes") << 150 << true << "2"
                                          << "Minuten"
                                          << "2 Minute(n)  Ausschalten";
    }
    void setMinute()
    {
        QFETCH(int, seconds);
        QFETCH(bool, inMinutes);
        QFETCH(QString, display);
        QFETCH(QString, unit);
        QFETCH(QString, title);
        Harness h;
        h.load();
        Form1& f = *h.form;
        f.RemainingSeconds = 5400;
        f.Anz_Minuten->setChecked(inMinutes); // writes the unit as a click does
        f.RemainingSeconds = seconds;
        f.Set_Minute();
        QCOMPARE((QStringList { f.Display->text(), f.MinutenDisplay->text(), f.windowTitle() }),
            (QStringList { display, unit, title }));
    }

    void trayTooltipOnlyWhileHidden()
    {
        Harness h;
        h.load();
        Form1& f = *h.form;
        f.MinimizeToTray();
        f.RemainingSeconds = 5400;
        f.Set_Minute();
        QCOMPARE(h.windowSystem->trayIcons.back()->toolTips.back(), QStringLiteral("1:30 Stunde(n)  Ausschalten"));
        f.show();
        f.RemainingSeconds = 600;
        f.Set_Minute();
        QCOMPARE(h.windowSystem->trayIcons.back()->toolTips.back(), QStringLiteral("1:30 Stunde(n)  Ausschalten"));
    }

    void unitToggles()
    {
        Harness h;
        h.load();
        Form1& f = *h.form;
        f.RemainingSeconds = 5400;
        f.ChangeMinuteHourBtn->click();
        QCOMPARE((QStringList { f.Display->text(), f.MinutenDisplay->text() }), (QStringList { "90", "Minuten" }));
        QTest::mouseClick(f.MinutenDisplay, Qt::LeftButton);
        QCOMPARE((QStringList { f.Display->text(), f.MinutenDisplay->text() }), (QStringList { "1:30", "Stunden" }));
        // Under a minute only the unit changes, to seconds.
        f.RemainingSeconds = 45;
        f.ChangeMinuteHourBtn->click();
        QCOMPARE((QStringList { f.Display->text(), f.MinutenDisplay->text(), f.windowTitle() }),
            (QStringList { "1:30", "Sekunden", "1:30 Stunde(n)  Ausschalten" }));
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
                                 << QStringList { "14", "07", "24", "00", "1440", "+1 Tag (7.12)" };
        QTest::newRow("past midnight, no day")
            << QTime(23, 30) << 45 << QStringList { "00", "15", "0", "45", "45", "" };
        QTest::newRow("25 h from 23:00") << QTime(23, 0) << 1500
                                         << QStringList { "00", "00", "25", "00", "1500", "+1 Tag (7.12)" };
        QTest::newRow("115 min") << QTime(8, 0) << 115 << QStringList { "09", "55", "1", "55", "115", "" };
        QTest::newRow("capped at 14 days")
            << QTime(8, 0) << 32767 << QStringList { "08", "00", "336", "00", "20160", "+14 Tage (20.12)" };
    }
    void entryFields()
    {
        QFETCH(QTime, now);
        QFETCH(int, minutes);
        QFETCH(QStringList, fields);
        Harness h;
        h.load();
        Form1& f = *h.form;
        h.clock->time.setTime(now);
        f.SetMinutes(static_cast<std::int16_t>(minutes));
        const QString days = f.AnzahlTageLabel->isHidden() ? QString() : f.AnzahlTageLabel->text();
        QCOMPARE((QStringList { f.HourTimeText->text(), f.MinuteTimeText->text(), f.CounterHourText->text(),
                     f.CounterMinuteText->text(), f.ZeitEingabe->text(), days }),
            fields);
    }

    void countdownDayCaption_data()
    {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<QString>("caption"); // empty: hidden
        QTest::newRow("two days") << 2 * 86400 << "2 Tag(e)";
        QTest::newRow("just below two days") << 2 * 86400 - 10 << "1 Tag(e)";
        QTest::newRow("below a day") << 86390 << "";
    }
    void countdownDayCaption()
    {
        QFETCH(int, seconds);
        QFETCH(QString, caption);
        Harness h;
        h.load();
        h.form->ZeitEingabe->setText(QStringLiteral("3000"));
        h.form->Start_Click();
        h.form->RemainingSeconds = seconds + 1;
        h.tick(); // a refresh: the seconds left are a multiple of ten
        QCOMPARE(h.form->TageCaption->isHidden() ? QString() : h.form->TageCaption->text(), caption);
    }

    void endTimeAndClock()
    {
        Harness h;
        h.load();
        Form1& f = *h.form;
        h.clock->time.setTime(QTime(8, 50, 7));
        f.RemainingSeconds = 15 * 60;
        f.Endzeit_Eintragen();
        QCOMPARE(f.Endzeit_Display->text(), QStringLiteral("End-Zeit: 9:5"));
        QCOMPARE(f.Uhrzeit_Frame1->text() + f.Uhrzeit_Display->text(), QStringLiteral("Zeit: 08:50:07Zeit: 08:50:07"));
        h.clock->time.setTime(QTime(22, 40, 0));
        f.RemainingSeconds = 30 * 60;
        f.Endzeit_Eintragen();
        QCOMPARE(f.Endzeit_Display->text(), QStringLiteral("End-Zeit: 23:10"));
    }
};

QTEST_MAIN(TestDisplay)
#include "tst_display.moc"
