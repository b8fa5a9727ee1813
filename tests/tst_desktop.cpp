// The warning's timing and words, and what its actions do to the countdown.

#include <QTest>

#include "desktop/countdown_notifier.h"
#include "desktop/desktop_companion.h"
#include "desktop/idle_inhibitor.h"
#include "desktop/warning_policy.h"
#include "power/private_bus.h"

using namespace tarvo;
using State = CountdownView::State;
using Step = WarningPolicy::Step;
using Moments = QList<WarningPolicy::Moment>;
using Steps = QList<Step>;

Q_DECLARE_METATYPE(Moments)
Q_DECLARE_METATYPE(Steps)

namespace {

constexpr bool Hidden = true, Shown = false;

struct FakeCountdown final : CountdownView {
    State current = State::Idle;
    std::int64_t remaining = 0;
    QList<std::int32_t> extensions;
    State state() const override { return current; }
    std::int64_t remainingSeconds() const override { return remaining; }
    QDateTime endTime() const override { return QDateTime(QDate(2026, 1, 1), QTime(22, 15)); }
    void extend(std::int32_t minutes) override { extensions << minutes, remaining += minutes * 60; }
};

// On buses that lead nowhere; the notifier's actions are emitted by hand.
struct Companion {
    FakeCountdown countdown;
    IdleInhibitor inhibitor{test::nowhere(), test::nowhere(), QStringLiteral("Test")};
    CountdownNotifier notifier{test::nowhere()};
    QStringList hooks;
    DesktopCompanion companion{countdown, inhibitor, notifier,
        {[] { return true; }, [this] { hooks << "show"; }, [this] { hooks << "cancel"; }, [] { return QString(); }}};
};

} // namespace

class TestDesktop : public QObject {
    Q_OBJECT
private slots:
    void warningPolicy_data()
    {
        QTest::addColumn<Moments>("moments");
        QTest::addColumn<Steps>("steps");
        const auto R = State::Running;
        QTest::newRow("hidden: warns once when 5 minutes are left")
            << Moments{{R, Hidden, 301, 1}, {R, Hidden, 300, 1}, {R, Hidden, 299, 1}}
            << Steps{Step::Nothing, Step::Show, Step::Nothing};
        QTest::newRow("hidden within the last 5 minutes")
            << Moments{{R, Shown, 250, 1}, {R, Hidden, 240, 1}} << Steps{Step::Nothing, Step::Show};
        QTest::newRow("window back closes it; once per countdown")
            << Moments{{R, Hidden, 200, 1}, {R, Shown, 199, 1}, {R, Hidden, 198, 1}}
            << Steps{Step::Show, Step::Close, Step::Nothing};
        QTest::newRow("+10 Minuten closes it and arms it again")
            << Moments{{R, Hidden, 200, 1}, {R, Hidden, 800, 2}, {R, Hidden, 300, 2}}
            << Steps{Step::Show, Step::Close, Step::Show};
        QTest::newRow("end moved within 5 minutes: replaced")
            << Moments{{R, Hidden, 200, 1}, {R, Hidden, 260, 2}, {R, Hidden, 259, 2}}
            << Steps{Step::Show, Step::Show, Step::Nothing};
        QTest::newRow("pause closes it, resuming does not warn again")
            << Moments{{R, Hidden, 200, 1}, {State::Paused, Hidden, 200, 1}, {R, Hidden, 199, 1}}
            << Steps{Step::Show, Step::Close, Step::Nothing};
        QTest::newRow("firing closes it") << Moments{{R, Hidden, 10, 1}, {State::Firing, Hidden, 0, 1}}
                                          << Steps{Step::Show, Step::Close};
        QTest::newRow("a new countdown warns again")
            << Moments{{R, Hidden, 100, 1}, {State::Idle, Hidden, 0, 1}, {R, Hidden, 100, 2}}
            << Steps{Step::Show, Step::Close, Step::Show};
    }
    void warningPolicy()
    {
        QFETCH(Moments, moments);
        QFETCH(Steps, steps);
        WarningPolicy policy;
        Steps seen;
        for (const WarningPolicy::Moment& moment : moments)
            seen << policy.next(moment);
        QCOMPARE(seen, steps);
    }

    void warningText()
    {
        const auto text = [](int left) { return tarvo::warningText("Ausschalten", FakeCountdown().endTime(), left); };
        QCOMPARE(text(241).body, "Noch 5 Minuten."); // a started minute counts
        QCOMPARE(text(60).body, "Noch 1 Minute.");
    }

    // The warning's actions steer the countdown; too late for "+10 Minuten" once it fires.
    void warningActions()
    {
        QStringList seen; // per action: the window's hooks called, the minutes added
        for (const auto& [state, action] : {std::pair{State::Running, &CountdownNotifier::extendRequested},
                                            {State::Firing, &CountdownNotifier::extendRequested},
                                            {State::Running, &CountdownNotifier::windowRequested}}) {
            Companion c;
            c.countdown.current = state;
            emit(c.notifier.*action)();
            seen << c.hooks.join(u',') + u'/' + QString::number(c.countdown.extensions.value(0));
        }
        QCOMPARE(seen, (QStringList{"/10", "/0", "show/0"}));
    }
};

QTEST_GUILESS_MAIN(TestDesktop)
#include "tst_desktop.moc"
