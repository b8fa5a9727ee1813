// The leave rule of the hour, minute and end-time fields at the edges of its number types, which
// the fields' typing limits keep out of reach of the window.
#include <QTest>

#include "entry/field_rules.h"

using namespace tarvo;
using Kind = FieldChange::Kind;

class TestEntryRules : public QObject {
    Q_OBJECT

private Q_SLOTS:
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
