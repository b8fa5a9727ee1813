// The duration fields, scroll bars and preset buttons, driven through the real window with the
// mouse and the keyboard, and the typing and leave rules at the edges the window cannot reach.
// The fake clock stands at 14:07:30.
#include "entry/field_rules.h"
#include "entry/key_filter.h"
#include "fakes.h"

using namespace tarvo;
using namespace tarvo::test;
using namespace Qt::StringLiterals;

namespace {

std::unique_ptr<Harness> window() { return played({}, u"full show"_s); }

// A field left: its text before and after, the field (minutes, hours, or hours with the limit) and
// the change to the duration.
struct Leave {
    QString before, after, field, change;
};

} // namespace

Q_DECLARE_METATYPE(Leave)

class TestEntry : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void userActions_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<int>("seconds");
        QTest::newRow("hour field cleared") << "=60 hours @CounterHourText del tab" << 1209600;
        QTest::newRow("hour field 20 to 11") << "=1200 hours @CounterHourText '11 tab" << 39600;
        QTest::newRow("minute field 30 to 75") << "=90 hours @CounterMinuteText '75 tab" << 8100;
        QTest::newRow("minute field cleared") << "=90 hours @CounterMinuteText del tab" << 5400;
        QTest::newRow("end hour 15 to 17") << "@HourTimeText '17 tab" << 10800;
        QTest::newRow("end hour 25 is an offset") << "@HourTimeText '25 tab" << 39600;
        QTest::newRow("end minute 07 to 37") << "@MinuteTimeText '37 tab" << 5400;
        QTest::newRow("minutes field 115") << "@ZeitEingabe '115 tab" << 6900;
        QTest::newRow("field left for a step") << "@ZeitEingabe '65 up1" << 4800;
        QTest::newRow("minutes 25 down") << "=25 down1" << 1200;
        QTest::newRow("hour field up") << "=63 hours @CounterHourText up1" << 7380;
        QTest::newRow("minute field up") << "=63 hours @CounterMinuteText up1" << 4200;
        QTest::newRow("end minute up") << "=63 @MinuteTimeText up2" << 4380;
        QTest::newRow("end minute down") << "=63 down2" << 3180;
        QTest::newRow("end hour down") << "=63 @HourTimeText down2" << 180;
        QTest::newRow("preset") << "@Btn_15" << 900;
        QTest::newRow("preset in hours mode") << "hours @CounterMinuteText '45 @Btn_24" << 86400;
        QTest::newRow("minutes again: the bar steps minutes") << "=135 hours @CounterHourText hours up1" << 8400;
    }
    void userActions()
    {
        QFETCH(QString, script);
        QFETCH(int, seconds);
        auto h = window();
        play(*h, script);
        // Every field tells the one duration, and the bars are back in the middle for the next step.
        QCOMPARE(seen(*h, u"left; agrees"_s), u"left=%1; agrees="_s.arg(seconds));
        QCOMPARE(control<QLineEdit>(*h->form, "ZeitEingabe")->text().toInt() * 60, seconds);
        for (const char* bar : {"VScroll1", "VScroll2"})
            QCOMPARE(control<QScrollBar>(*h->form, bar)->value(), 3);
        QCOMPARE(h->beeper->count, 0);
    }

    // Refused characters beep and are left out, in every field.
    void typing()
    {
        auto h = window();
        for (const QString& mode : {u""_s, u"hours"_s}) {
            play(*h, mode);
            for (QLineEdit* e : h->form->findChildren<QLineEdit*>()) {
                if (!e->isVisible())
                    continue;
                const int beeps = h->beeper->count;
                QTest::mouseClick(e, Qt::LeftButton);
                for (const char* typed : {"a", "Z", "!", "(", ")", "§", ".", ",", "=", "-", "ä"})
                    QTest::sendKeyEvent(QTest::Click, e, Qt::Key_unknown, QString::fromUtf8(typed), {});
                QCOMPARE(e->text() + QString::number(h->beeper->count - beeps), u"-ä9"_s);
            }
        }
    }

    // Every code point is checked, so a range edge that is off by one fails.
    void keyFilter()
    {
        QStringList refused; // as ranges
        for (uint c = 0, first = 0; c <= 0x110000; ++c) {
            const bool here = c <= 0x10FFFF && !isAcceptedDurationChar(c);
            const bool before = c > 0 && !isAcceptedDurationChar(c - 1);
            if (here && !before)
                first = c;
            else if (!here && before)
                refused << QString::number(first, 16) + (first == c - 1 ? QString() : u"-%1"_s.arg(c - 1, 0, 16));
        }
        QCOMPARE(refused.join(u' '), u"21-29 2c 2e 3d 41-5a 61-7a a7"_s);
        QCOMPARE(acceptedDurationText(u"1a2§ä=ß😀 Z"_s), u"12äß😀 "_s);
    }

    void leaving_data()
    {
        QTest::addColumn<Leave>("row");
        QTest::newRow("32767 minutes added") << Leave{"0", "32767", "minutes", "add 32767"};
        QTest::newRow("32768 minutes ignored") << Leave{"0", "32768", "minutes", "nothing 0"};
        QTest::newRow("32768 minutes not taken off") << Leave{"0", "-32768", "minutes", "nothing 0"};
        QTest::newRow("546 hours added") << Leave{"0", "546", "hours", "add 32760"};
        QTest::newRow("547 hours ignored") << Leave{"0", "547", "hours", "nothing 0"};
        QTest::newRow("empty before") << Leave{"", "5", "minutes", "nothing 0"};
        QTest::newRow("32-bit ends") << Leave{"-2147483648", "2147483647", "hours", "nothing 0"};
        QTest::newRow("same number, other spelling") << Leave{"5", " 05 ", "minutes", "subtract 0"};
        QTest::newRow("hour limit: 336 is a difference") << Leave{"1", "336", "limited", "add 20100"};
        QTest::newRow("hour limit: 337") << Leave{"337", "337", "limited", "longest 0"};
        QTest::newRow("hour limit: -32768 is read") << Leave{"0", "-32768", "limited", "nothing 0"};
        QTest::newRow("hour limit: -32769 is not") << Leave{"0", "-32769", "limited", "longest 0"};
    }
    void leaving()
    {
        QFETCH(Leave, row);
        const FieldChange c = leaveDurationField(row.before, row.after, {row.field == "minutes"_L1 ? 1 : 60, row.field == "limited"_L1});
        const char* kinds[] = {"nothing", "longest", "add", "subtract"};
        QCOMPARE(u"%1 %2"_s.arg(QLatin1String(kinds[int(c.kind)])).arg(c.minutes), row.change);
    }
};

QTEST_MAIN(TestEntry)
#include "tst_entry.moc"
