// The typed-character filter and the leave rule of the hour, minute and end-time fields, at the
// edges of their ranges, which the fields' typing limits keep out of reach of the window.
#include <QTest>

#include "entry/field_rules.h"
#include "entry/key_filter.h"

using namespace tarvo;
using Kind = FieldChange::Kind;

class TestEntryRules : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Every code point of each range is checked, so a range edge that is off by one fails.
    void codePoints_data()
    {
        QTest::addColumn<uint>("first");
        QTest::addColumn<uint>("last");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("control characters, backspace") << 0x00u << 0x1Fu << true;
        QTest::newRow("space") << 0x20u << 0x20u << true;
        QTest::newRow("! \" # $ % & ' ( )") << 0x21u << 0x29u << false;
        QTest::newRow("* +") << 0x2Au << 0x2Bu << true;
        QTest::newRow("comma") << 0x2Cu << 0x2Cu << false;
        QTest::newRow("minus") << 0x2Du << 0x2Du << true;
        QTest::newRow("full stop") << 0x2Eu << 0x2Eu << false;
        QTest::newRow("slash, digits, : ; <") << 0x2Fu << 0x3Cu << true;
        QTest::newRow("equals") << 0x3Du << 0x3Du << false;
        QTest::newRow("> ? @") << 0x3Eu << 0x40u << true;
        QTest::newRow("A to Z") << 0x41u << 0x5Au << false;
        QTest::newRow("[ \\ ] ^ _ `") << 0x5Bu << 0x60u << true;
        QTest::newRow("a to z") << 0x61u << 0x7Au << false;
        QTest::newRow("{ | } ~ DEL and up to before the section sign") << 0x7Bu << 0xA6u << true;
        QTest::newRow("section sign") << 0xA7u << 0xA7u << false;
        QTest::newRow("umlauts, sharp s, fullwidth letters, beyond the basic plane") << 0xA8u << 0x10FFFFu << true;
    }
    void codePoints()
    {
        QFETCH(uint, first);
        QFETCH(uint, last);
        QFETCH(bool, accepted);
        for (uint c = first; c <= last; ++c) {
            if (isAcceptedDurationChar(char32_t{c}) != accepted)
                QFAIL(qPrintable(QStringLiteral("U+%1").arg(c, 4, 16, QLatin1Char('0'))));
        }
        QCOMPARE(acceptedDurationText(QStringLiteral("1a2§ä=ß😀 Z")), QStringLiteral("12äß😀 "));
    }

    void leaving_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("unit");
        QTest::addColumn<bool>("hourLimit");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("minutes");
        QTest::newRow("32767 minutes added") << "0" << "32767" << 1 << false << int(Kind::Add) << 32767;
        QTest::newRow("32768 minutes ignored") << "0" << "32768" << 1 << false << int(Kind::Nothing) << 0;
        QTest::newRow("32768 minutes not taken off") << "0" << "-32768" << 1 << false << int(Kind::Nothing) << 0;
        QTest::newRow("546 hours added") << "0" << "546" << 60 << false << int(Kind::Add) << 32760;
        QTest::newRow("547 hours ignored") << "0" << "547" << 60 << false << int(Kind::Nothing) << 0;
        QTest::newRow("empty before") << "" << "5" << 1 << false << int(Kind::Nothing) << 0;
        QTest::newRow("32-bit ends") << "-2147483648" << "2147483647" << 60 << false << int(Kind::Nothing) << 0;
        QTest::newRow("same number, other spelling") << "5" << " 05 " << 1 << false << int(Kind::Subtract) << 0;
        QTest::newRow("hour limit: 336 is a difference") << "1" << "336" << 60 << true << int(Kind::Add) << 20100;
        QTest::newRow("hour limit: 337") << "337" << "337" << 60 << true << int(Kind::SetLongest) << 0;
        QTest::newRow("hour limit: -32768 is read") << "0" << "-32768" << 60 << true << int(Kind::Nothing) << 0;
        QTest::newRow("hour limit: -32769 is not") << "0" << "-32769" << 60 << true << int(Kind::SetLongest) << 0;
    }
    void leaving()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(int, unit);
        QFETCH(bool, hourLimit);
        QFETCH(int, kind);
        QFETCH(int, minutes);
        const FieldChange change = leaveDurationField(before, after, {unit, hourLimit});
        QCOMPARE(int(change.kind), kind);
        QCOMPARE(int{change.minutes}, minutes);
    }
};

QTEST_GUILESS_MAIN(TestEntryRules)
#include "tst_entry_rules.moc"
