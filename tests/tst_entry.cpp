// The duration fields, scroll bars and preset buttons, driven through the real window with the
// mouse and the keyboard, and the typing and leave rules at the edges the window cannot reach.
// The fake clock stands at 14:07:30.
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTest>
#include <QTimer>

#include "entry/field_rules.h"
#include "entry/key_filter.h"
#include "fakes.h"

using namespace tarvo;
using namespace tarvo::test;
using Kind = FieldChange::Kind;

namespace {

// A loaded, enlarged and active window with the given duration.
std::unique_ptr<Harness> window(int minutes, bool hoursMode = false)
{
    auto h = loaded();
    Form1& f = *h->form;
    f.ShowFullWindow();
    f.activateWindow();
    if (!QTest::qWaitForWindowActive(&f))
        qFatal("the window does not become active");
    f.SetMinutes(static_cast<std::int16_t>(minutes));
    if (hoursMode) {
        f.Label5_Click();
        f.Start->setFocus(); // so that a click on a field selects its text
    }
    return h;
}

QPoint partOf(QScrollBar* bar, QStyle::SubControl part)
{
    QStyleOptionSlider o;
    o.initFrom(bar);
    o.orientation = Qt::Vertical;
    o.minimum = bar->minimum();
    o.maximum = bar->maximum();
    o.sliderPosition = o.sliderValue = bar->value();
    o.singleStep = o.pageStep = 1;
    o.subControls = QStyle::SC_All;
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &o, part, bar).center();
}

// Plays what a user does: "@Name" clicks a field or button, "up1" / "down2" click an arrow of
// VScroll1 / VScroll2, "tab" and "del" press those keys, anything else is typed ("_" types a blank).
void play(Form1& f, const QString& script)
{
    for (const QString& step : script.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        QWidget* focused = QApplication::focusWidget();
        if (step.startsWith(QLatin1Char('@'))) {
            QTest::mouseClick(f.findChild<QWidget*>(step.mid(1)), Qt::LeftButton);
        } else if (step.startsWith(QLatin1String("up")) || step.startsWith(QLatin1String("down"))) {
            QScrollBar* bar = step.endsWith(QLatin1Char('1')) ? f.VScroll1 : f.VScroll2;
            const bool up = step.startsWith(QLatin1String("up"));
            QTest::mouseClick(bar, Qt::LeftButton, {},
                              partOf(bar, up ? QStyle::SC_ScrollBarSubLine : QStyle::SC_ScrollBarAddLine));
        } else if (step == QLatin1String("tab") || step == QLatin1String("del")) {
            QTest::keyClick(focused, step == QLatin1String("tab") ? Qt::Key_Tab : Qt::Key_Delete);
        } else {
            QTest::keyClicks(focused, QString(step).replace(QLatin1Char('_'), QLatin1Char(' ')));
        }
    }
}

// Every field shows what a fresh rewrite from the one duration shows.
void verifyFieldsAgree(Form1& f)
{
    const auto texts = [&f] {
        QStringList shown;
        for (QLineEdit* e : f.findChildren<QLineEdit*>())
            shown << e->text();
        return shown;
    };
    const QStringList shown = texts();
    f.RefreshDurationFields();
    QCOMPARE(shown, texts());
    QVERIFY(f.RemainingSeconds >= 0 && f.RemainingSeconds <= 1209600);
}

} // namespace

class TestEntry : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void userActions_data()
    {
        QTest::addColumn<int>("minutes");
        QTest::addColumn<bool>("hoursMode");
        QTest::addColumn<QString>("script");
        QTest::addColumn<int>("seconds");
        QTest::newRow("hour field cleared") << 60 << true << "@CounterHourText del tab" << 1209600;
        QTest::newRow("hour field 20 to 11") << 1200 << true << "@CounterHourText 11 tab" << 39600;
        QTest::newRow("hour field below zero floors") << 120 << true << "@CounterHourText -5 tab" << 60;
        QTest::newRow("hour field 07 for 7 rewrites") << 420 << true << "@CounterHourText 07 tab" << 25200;
        QTest::newRow("minute field 30 to 75") << 90 << true << "@CounterMinuteText 75 tab" << 8100;
        QTest::newRow("minute field cleared") << 90 << true << "@CounterMinuteText del tab" << 5400;
        QTest::newRow("end hour 15 to 17") << 60 << false << "@HourTimeText 17 tab" << 10800;
        QTest::newRow("end hour 25 is an offset") << 60 << false << "@HourTimeText 25 tab" << 39600;
        QTest::newRow("end hour 15 to 1 floors") << 60 << false << "@HourTimeText 1 tab" << 60;
        QTest::newRow("end minute 07 to 37") << 60 << false << "@MinuteTimeText 37 tab" << 5400;
        QTest::newRow("minutes field 115") << 60 << false << "@ZeitEingabe 115 tab" << 6900;
        QTest::newRow("field left for Start") << 60 << false << "@HourTimeText 17 @Start" << 10800;
        QTest::newRow("field left for a step") << 60 << false << "@ZeitEingabe 65 up1" << 4800;
        QTest::newRow("minutes 63 up") << 63 << false << "up1" << 4200;
        QTest::newRow("minutes 25 down") << 25 << false << "down1" << 1200;
        QTest::newRow("minutes cap") << 20160 << false << "up1" << 1209600;
        QTest::newRow("hour field up") << 63 << true << "@CounterHourText up1" << 7380;
        QTest::newRow("hour field down") << 63 << true << "@CounterHourText down1" << 180;
        QTest::newRow("minute field up") << 63 << true << "@CounterHourText @CounterMinuteText up1" << 4200;
        QTest::newRow("end minute up") << 63 << false << "@MinuteTimeText up2" << 4380;
        QTest::newRow("end minute down") << 63 << false << "down2" << 3180;
        QTest::newRow("end hour up") << 63 << false << "@HourTimeText up2" << 7380;
        QTest::newRow("end hour down") << 63 << false << "@HourTimeText down2" << 180;
        QTest::newRow("preset") << 60 << false << "@Btn_15" << 900;
        QTest::newRow("preset in hours mode") << 60 << true << "@CounterMinuteText 45 @Btn_24" << 86400;
    }
    void userActions()
    {
        QFETCH(int, minutes);
        QFETCH(bool, hoursMode);
        QFETCH(QString, script);
        QFETCH(int, seconds);
        auto h = window(minutes, hoursMode);
        play(*h->form, script);
        QCOMPARE(h->form->RemainingSeconds, seconds);
        verifyFieldsAgree(*h->form);
        QCOMPARE(h->form->VScroll1->value(), 3);
        QCOMPARE(h->form->VScroll2->value(), 3);
        QCOMPARE(h->beeper->count, 0);
    }

    void thumbDragIsOneStep()
    {
        for (const char* name : {"VScroll1", "VScroll2"}) {
            auto h = window(60);
            auto* bar = h->form->findChild<QScrollBar*>(QLatin1String(name));
            bar->resize(bar->width(), 120); // room for a thumb in every style
            const QPoint thumb = partOf(bar, QStyle::SC_ScrollBarSlider);
            QTest::mousePress(bar, Qt::LeftButton, {}, thumb);
            QTest::mouseMove(bar, QPoint(thumb.x(), -200));
            QCOMPARE(h->form->RemainingSeconds, 3600);
            QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(thumb.x(), -200));
            QCOMPARE(h->form->RemainingSeconds, 4200);
            QCOMPARE(bar->value(), 3);
        }
    }

    void wrongScrollTargetIsReported()
    {
        auto h = window(60);
        h->form->ScrollbarFocus = 7;
        play(*h->form, QStringLiteral("up1"));
        QCOMPARE(h->dialogs->messages.size(), std::size_t{1});
        QCOMPARE(h->dialogs->messages.front().title + u'|' + h->dialogs->messages.front().text,
                 QStringLiteral("Tarvo|VScroll1_Change Fehler (Falscher ScrollbarFocus: 7"));
        QCOMPARE(h->form->VScroll1->value(), 2);
        QCOMPARE(h->form->RemainingSeconds, 3600);
    }

    // Tarvo keeps the typed text while another application or the field's context menu has the
    // focus, and validates once the user moves on inside the window.
    void focusLeavingTheWindowDoesNotValidate()
    {
        auto h = window(60);
        Form1& f = *h->form;
        play(f, QStringLiteral("@HourTimeText 17"));
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        f.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(2, 2), f.HourTimeText->mapToGlobal(QPoint(2, 2)));
        QCoreApplication::sendEvent(f.HourTimeText, &menu);
        QVERIFY(QApplication::activePopupWidget() != nullptr);
        QApplication::activePopupWidget()->close();
        QCOMPARE(f.RemainingSeconds, 3600);
        QCOMPARE(f.HourTimeText->text(), QStringLiteral("17"));
        play(f, QStringLiteral("@Start"));
        QVERIFY(f.Timer1->isActive());
        QCOMPARE(f.RemainingSeconds, 10800);
    }

    void typedCharactersAreFiltered()
    {
        for (bool hoursMode : {false, true}) {
            auto h = window(60, hoursMode);
            for (QLineEdit* e : h->form->findChildren<QLineEdit*>()) {
                if (!e->isVisible())
                    continue;
                const int beeps = h->beeper->count;
                QTest::mouseClick(e, Qt::LeftButton);
                for (const char* typed : {"a", "Z", "!", "(", ")", "§", ".", ",", "=", "-", "ä"})
                    QTest::sendKeyEvent(QTest::Click, e, Qt::Key_unknown, QString::fromUtf8(typed), {});
                QCOMPARE(e->text(), QStringLiteral("-ä"));
                QCOMPARE(h->beeper->count, beeps + 9);
            }
        }
    }

    void inputMethodPasteAndLength()
    {
        auto h = window(60);
        QLineEdit* e = h->form->MinuteTimeText;
        play(*h->form, QStringLiteral("@MinuteTimeText"));
        QInputMethodEvent composing;
        composing.setCommitString(QStringLiteral("ä"));
        QCoreApplication::sendEvent(e, &composing);
        QApplication::clipboard()->setText(QStringLiteral("a"));
        QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(e->text(), QStringLiteral("äa"));
        QTest::keyClicks(e, QStringLiteral("1")); // longer than the field takes
        QCOMPARE(e->text(), QStringLiteral("äa"));
        QCOMPARE(h->beeper->count, 0);
        h->form->ZeitEingabe->setText(QStringLiteral("00000090")); // as the command line may
        QCOMPARE(h->form->ZeitEingabe->text(), QStringLiteral("00000090"));
    }

    // Whatever is pasted, every field shows the one duration once the field is left.
    void pastedTextKeepsFieldsAgreeing()
    {
        auto h = window(1500, true);
        for (const char* text : {"", " ", "-", "+-1", "-0", "٣", "1e3", "\t5", "99", "999", "-99", "２", "😀"}) {
            QApplication::clipboard()->setText(QString::fromUtf8(text));
            for (const char* name : {"CounterHourText", "CounterMinuteText", "HourTimeText", "MinuteTimeText"}) {
                QLineEdit* e = h->form->findChild<QLineEdit*>(QLatin1String(name));
                QTest::mouseClick(e, Qt::LeftButton);
                QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
                QTest::keyClick(e, Qt::Key_Tab);
                verifyFieldsAgree(*h->form);
            }
        }
    }

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

QTEST_MAIN(TestEntry)
#include "tst_entry.moc"
