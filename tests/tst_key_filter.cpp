#include <QTest>

#include "entry/key_filter.h"

using namespace tarvo;

class TestKeyFilter : public QObject {
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
        QTest::newRow("umlauts, sharp s, fullwidth letters") << 0xA8u << 0xFFFFu << true;
        QTest::newRow("beyond the basic plane") << 0x10000u << 0x10FFFFu << true;
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
    }

    void typedTextKeepsAcceptedCharacters()
    {
        QCOMPARE(acceptedDurationText(QStringLiteral("1a2§ä=ß😀 ")), QStringLiteral("12äß😀 "));
        QCOMPARE(acceptedDurationText(QStringLiteral("Zz")), QString());
    }
};

QTEST_GUILESS_MAIN(TestKeyFilter)
#include "tst_key_filter.moc"
