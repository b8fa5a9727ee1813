#include <QTest>

#include "countdown/clock_text.h"
#include "countdown/duration.h"
#include "entry/minutes_field.h"

using namespace tarvo;

class TestDuration : public QObject {
    Q_OBJECT

private Q_SLOTS:
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

QTEST_APPLESS_MAIN(TestDuration)
#include "tst_duration.moc"
