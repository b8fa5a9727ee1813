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
        QTest::addColumn<int>("minutes");
        QTest::addColumn<int>("hours");
        QTest::addColumn<int>("minutesOfHour");
        QTest::addColumn<int>("days");
        QTest::addColumn<QString>("hoursText");
        QTest::newRow("half rounds to even, down") << 30 << 0 << 0 << 0 << 0 << "0:00";
        QTest::newRow("90 s are 2 min") << 90 << 2 << 0 << 2 << 0 << "0:02";
        QTest::newRow("150 s are 2 min") << 150 << 2 << 0 << 2 << 0 << "0:02";
        QTest::newRow("65 s") << 65 << 1 << 0 << 1 << 0 << "0:01";
        QTest::newRow("one hour") << 3600 << 60 << 1 << 0 << 0 << "1:00";
        QTest::newRow("rounds up to the hour") << 3590 << 60 << 1 << 0 << 0 << "1:00";
        QTest::newRow("7190 s") << 7190 << 120 << 2 << 0 << 0 << "2:00";
        QTest::newRow("7160 s") << 7160 << 119 << 1 << 59 << 0 << "1:59";
        QTest::newRow("one day") << 86400 << 1440 << 24 << 0 << 1 << "24:00";
        QTest::newRow("just below a day") << 86399 << 1440 << 24 << 0 << 0 << "24:00";
        QTest::newRow("fourteen days") << 1209600 << 20160 << 336 << 0 << 14 << "336:00";
    }
    void calculators()
    {
        QFETCH(int, seconds);
        QFETCH(int, minutes);
        QFETCH(int, hours);
        QFETCH(int, minutesOfHour);
        QFETCH(int, days);
        QFETCH(QString, hoursText);
        QCOMPARE(totalMinutes(seconds), minutes);
        QCOMPARE(wholeHours(seconds), hours);
        QCOMPARE(tarvo::minutesOfHour(seconds), minutesOfHour);
        QCOMPARE(int{wholeDays(seconds)}, days);
        QCOMPARE(hoursMinutesText(seconds), hoursText);
    }

    void setters_data()
    {
        QTest::addColumn<QString>("op"); // add, sub
        QTest::addColumn<int>("seconds");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<bool>("round");
        QTest::addColumn<int>("expected"); // -1: unchanged because of overflow
        QTest::newRow("63 min + 10 rounded") << "add" << 63 * 60 << 10 << true << 70 * 60;
        QTest::newRow("65 min + 10 rounded, half to even") << "add" << 65 * 60 << 10 << true << 80 * 60;
        QTest::newRow("55 min + 10 rounded") << "add" << 55 * 60 << 10 << true << 60 * 60;
        QTest::newRow("add caps at 14 days") << "add" << 1209600 << 60 << false << 1209600;
        QTest::newRow("add exact hour") << "add" << 65 * 60 << 60 << false << 125 * 60;
        QTest::newRow("25 min - 10 rounded") << "sub" << 25 * 60 << 10 << true << 20 * 60;
        QTest::newRow("20 min - 10 rounded") << "sub" << 20 * 60 << 10 << true << 10 * 60;
        QTest::newRow("15 min - 10 rounded to 0") << "sub" << 15 * 60 << 10 << true << 0;
        QTest::newRow("below zero floors at 60 s") << "sub" << 5 * 60 << 60 << false << 60;
        QTest::newRow("add near int32 max overflows") << "add" << 2147483600 << 10 << false << -1;
        QTest::newRow("subtract near int32 min overflows") << "sub" << -2147483600 << 10 << false << -1;
    }
    void setters()
    {
        QFETCH(QString, op);
        QFETCH(int, seconds);
        QFETCH(int, minutes);
        QFETCH(bool, round);
        QFETCH(int, expected);
        const auto m = static_cast<std::int16_t>(minutes);
        const auto result = op == QLatin1String("add") ? addMinutes(seconds, m, round)
                                                      : subtractMinutes(seconds, m, round);
        QCOMPARE(result ? *result : -1, expected);
    }

    void secondsForMinutesCaps()
    {
        QCOMPARE(secondsForMinutes(20160), 1209600);
        QCOMPARE(secondsForMinutes(20161), 1209600);
        QCOMPARE(secondsForMinutes(32767), 1209600);
        QCOMPARE(secondsForMinutes(0), 0);
    }

    void minutesField_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expectedText");
        QTest::addColumn<int>("minutes");
        QTest::newRow("plain") << "1440" << "1440" << 1440;
        QTest::newRow("cap itself") << "20160" << "20160" << 20160;
        QTest::newRow("one above") << "20161" << "20160" << 20160;
        QTest::newRow("five digits from 3") << "30000" << "20160" << 20160;
        QTest::newRow("99999") << "99999" << "20160" << 20160;
        QTest::newRow("empty") << "" << "20160" << 20160;
        QTest::newRow("negative") << "-5" << "20160" << 20160;
        QTest::newRow("leading blank") << " 5" << "20160" << 20160;
        QTest::newRow("digits then junk") << "5x" << "20160" << 20160;
        QTest::newRow("zero") << "0" << "0" << 0;
        QTest::newRow("leading zeros") << "0090" << "0090" << 90;
    }
    void minutesField()
    {
        QFETCH(QString, text);
        QFETCH(QString, expectedText);
        QFETCH(int, minutes);
        const MinutesFieldResult r = validateMinutesText(text);
        QCOMPARE(r.text, expectedText);
        QVERIFY(r.minutes.has_value());
        QCOMPARE(int{*r.minutes}, minutes);
    }

    void minutesTextToSecondsRejectsOverflow()
    {
        QCOMPARE(minutesTextToSeconds(QStringLiteral(" 90 ")).value_or(-1), 5400);
        QCOMPARE(minutesTextToSeconds(QStringLiteral("-5")).value_or(0), -300);
        QVERIFY(!minutesTextToSeconds(QStringLiteral("35791395")).has_value());
        QVERIFY(!minutesTextToSeconds(QStringLiteral("abc")).has_value());
        QVERIFY(!minutesTextToSeconds(QString()).has_value());
    }

    void timeFormatWithoutZone_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("expected");
        QTest::newRow("zone after") << "HH:mm:ss t" << "HH:mm:ss";
        QTest::newRow("zone before") << "t HH:mm:ss" << "HH:mm:ss";
        QTest::newRow("twelve-hour clock") << "h:mm:ss AP t" << "h:mm:ss AP";
        QTest::newRow("after a comma") << "h:mm:ss AP, t" << "h:mm:ss AP";
        QTest::newRow("in brackets") << "H:mm:ss (t)" << "H:mm:ss";
        QTest::newRow("quoted t kept") << "H 'o''clock, tea' mm:ss t" << "H 'o''clock, tea' mm:ss";
        QTest::newRow("no seconds") << "HH:mm t" << "HH:mm:ss";
        QTest::newRow("none at all") << "" << "HH:mm:ss";
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
        QCOMPARE(clockCaption(QTime(9, 5, 1), QLocale::c()), QStringLiteral("Zeit: 09:05:01"));
        QCOMPARE(shortClockCaption(QTime(9, 5)), QStringLiteral("Zeit:9:5"));
        QCOMPARE(shortClockCaption(QTime(14, 7)), QStringLiteral("Zeit:14:7"));
    }
};

QTEST_APPLESS_MAIN(TestDuration)
#include "tst_duration.moc"
