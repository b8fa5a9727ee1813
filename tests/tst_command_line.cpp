#include <QTest>

#include "app/command_line.h"

using namespace tarvo;

class TestCommandLine : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void firstWords_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("maxWords");
        QTest::addColumn<QString>("expected");
        QTest::newRow("blanks and tabs kept") << " S\tM90  W " << 10 << " S\tM90  W ";
        QTest::newRow("eleventh word dropped") << "1 2 3 4 5 6 7 8 9 10 A" << 10 << "1 2 3 4 5 6 7 8 9 10 ";
        QTest::newRow("tab separates words") << "a\tb\tc" << 2 << "a\tb\t";
    }
    void firstWords()
    {
        QFETCH(QString, text);
        QFETCH(int, maxWords);
        QFETCH(QString, expected);
        QCOMPARE(tarvo::firstWords(text, maxWords), expected);
    }

    void scan_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("flags"); // letters of the set flags, in the order LRSNAFWYCT, P = SETUP
        QTest::addColumn<QString>("minutes"); // "-" when absent
        QTest::addColumn<QString>("hours");
        QTest::addColumn<bool>("recognised");
        QTest::addColumn<bool>("actionRequested");
        QTest::newRow("lower case, no blanks") << "sm90wt" << "SWT" << "90" << "-" << true << true;
        QTest::newRow("M 90, M9 0, MM90") << "MM9 0" << "" << "90" << "-" << true << false;
        QTest::newRow("hours stop at M") << "H2M30" << "" << "30" << "2" << true << false;
        QTest::newRow("scan stops at tab") << "M1\t2" << "" << "1" << "-" << true << false;
        QTest::newRow("M then letter") << "MA5" << "A" << "" << "-" << true << true;
        QTest::newRow("SETUP hides S but has T") << "S SETUP" << "TP" << "-" << "-" << false << false;
        QTest::newRow("F requests") << "F" << "F" << "-" << "-" << true << true;
        QTest::newRow("letters inside words") << "hello" << "L" << "-" << "" << true << true;
        QTest::newRow("C and Y") << "cy" << "YC" << "-" << "-" << true << false;
        QTest::newRow("sign ends scan") << "M-5" << "" << "" << "-" << true << false;
    }
    void scan()
    {
        QFETCH(QString, text);
        QFETCH(QString, flags);
        QFETCH(QString, minutes);
        QFETCH(QString, hours);
        QFETCH(bool, recognised);
        QFETCH(bool, actionRequested);
        const CommandLineOptions o = scanCommandLine(text);
        QString set;
        const std::pair<bool, char> all[] = {{o.logOff, 'L'}, {o.hibernate, 'R'}, {o.standby, 'S'}, {o.restart, 'N'},
                                             {o.shutdown, 'A'}, {o.force, 'F'}, {o.beep, 'W'}, {o.noPrompts, 'Y'},
                                             {o.classic, 'C'}, {o.tray, 'T'}, {o.setup, 'P'}};
        for (const auto& [on, letter] : all)
            if (on)
                set += QLatin1Char(letter);
        QCOMPARE(set, flags);
        QCOMPARE(o.minutes.value_or(QStringLiteral("-")), minutes);
        QCOMPARE(o.hours.value_or(QStringLiteral("-")), hours);
        QCOMPARE(o.recognised(), recognised);
        QCOMPARE(o.actionRequested(), actionRequested);
    }

    void digits()
    {
        QStringList got;
        QStringList want;
        for (const auto& [digits, value] : {std::pair{"0090", 90}, {"32767", 32767}, {"32768", -1},
                                            {"99999999999999999999999", -1}, {"000000000000000000000001", 1},
                                            {"", -1}, {"00", 0}}) {
            got << QStringLiteral("%1=%2").arg(digits).arg(digitsToInt16(QLatin1String(digits)).value_or(-1));
            want << QStringLiteral("%1=%2").arg(digits).arg(value);
        }
        QCOMPARE(got, want);
    }
};

QTEST_APPLESS_MAIN(TestCommandLine)
#include "tst_command_line.moc"
