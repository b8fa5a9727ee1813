// The countdown without a window: the rules of each second, the deadline on the boot clock, stalls
// and sleep, wall-clock jumps, and firing once. Both clocks are fakes; nothing waits.
#include <algorithm>
#include <map>
#include <vector>

#include <QTest>
#include <QTimer>

#include "countdown/countdown.h"
#include "power/missed_deadline.h"
#include "fake_clock.h"

using namespace tarvo;
using namespace tarvo::test;
using namespace std::chrono_literals;
using namespace Qt::StringLiterals;
using State = Countdown::State;

namespace {

// The flags of a step as words, in a fixed order.
QString describe(const CountdownStep& s)
{
    QStringList w;
    for (const auto& [on, word] : std::initializer_list<std::pair<bool, const char*>>{
        {s.refresh, "refresh"}, {s.warnComeBack, "warn"}, {s.showSeconds, "seconds"}, {s.comeBack, "back"},
        {s.showBeforeRestore, "first"}, {s.beep, "beep"}, {s.showFigures, "figures"}, {s.pin, "pin"},
        {s.shutdownCaption, "shutdown"}, {s.blink.value_or(false), "blink+"}, {s.blink && !*s.blink, "blink-"},
        {s.fire, "fire"}})
        if (on)
            w << QLatin1String(word);
    return w.join(u' ');
}

// A countdown on fake clocks that records everything it reports.
struct Run {
    FakeClock clock;
    Countdown c{clock};
    std::vector<CountdownStep> steps;
    std::vector<QDateTime> ends, missed;

    Run()
    {
        QObject::connect(&c, &Countdown::stepped, [this](const CountdownStep& s) { steps.push_back(s); });
        QObject::connect(&c, &Countdown::endTimeChanged, [this](const QDateTime& e) { ends.push_back(e); });
        QObject::connect(&c, &Countdown::deadlinePassed, [this](const QDateTime& e) { missed.push_back(e); });
    }
    void tickAfter(std::chrono::milliseconds ms) { clock.pass(ms), c.tick(); }
    void ticks(int n)
    {
        while (n-- > 0)
            tickAfter(1s);
    }
    int count(bool CountdownStep::*flag) const { return int(std::ranges::count(steps, true, flag)); }
};

// What the seconds ask for, on time.
const std::map<int, QString> kOnTimeSteps{{71, ""}, {70, "refresh"}, {60, "refresh back beep figures pin"},
    {59, "warn seconds"}, {30, "refresh warn back beep figures blink+"}, {29, "warn seconds"},
    {25, "warn back beep figures blink-"}, {24, "warn back figures blink+"},
    {10, "refresh warn back beep figures blink+"}, {9, "warn back first figures blink-"},
    {1, "warn back first beep figures shutdown blink-"}, {0, "refresh warn back first figures fire"}};

// Ticks every second, each early (-) or late (+) by offset ms, from start: the beeps and pins seen.
struct OnTimeRow {
    int start, offset, beeps, pins;
};
// From start, ticks on time, then one after gap ms: the seconds and the step seen at it.
struct StepRow {
    int start, ticksBefore, gap, seconds;
    QString step;
};
// The tick after the deadline comes late ms after it; the answer to the question, the state after.
struct MissedRow {
    int late;
    QString answer;
    State after;
};
// From start (0: never started), a change ("jump MS" of the wall clock, "extend M", paused first or
// not): the seconds left after it, and how far the end time moved (ms).
struct ChangeRow {
    int start;
    QString change;
    int left;
    qint64 endMoved;
};

} // namespace

Q_DECLARE_METATYPE(OnTimeRow)
Q_DECLARE_METATYPE(StepRow)
Q_DECLARE_METATYPE(MissedRow)
Q_DECLARE_METATYPE(ChangeRow)

class TestCountdownModel : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // One second per tick, every second once, however early or late; nothing fires twice.
    void onTime_data()
    {
        QTest::addColumn<OnTimeRow>("row");
        QTest::newRow("two minutes, late 700 ms") << OnTimeRow{120, 700, 11, 1};
        QTest::newRow("two minutes, early 150 ms") << OnTimeRow{120, -150, 11, 1};
        QTest::newRow("61 s: the mark at 60 is seen") << OnTimeRow{61, 0, 11, 1};
        QTest::newRow("60 s: starts at 59, no mark") << OnTimeRow{60, 0, 10, 0};
    }
    void onTime()
    {
        QFETCH(OnTimeRow, row);
        const auto [start, offset, beeps, pins] = row;
        Run r;
        r.c.start(start);
        r.tickAfter(std::chrono::milliseconds(1000 + offset));
        r.ticks(start - 1); // one tick per second, no more
        QCOMPARE(int(r.steps.size()), start);
        for (std::size_t i = 0; i < r.steps.size(); ++i)
            QCOMPARE(r.steps[i].seconds, start - 1 - int(i));
        for (const auto& [second, step] : kOnTimeSteps)
            QVERIFY2(second >= start || describe(r.steps[std::size_t(start - 1 - second)]) == step, qPrintable(step));
        r.ticks(5); // the timer has stopped; a tick still queued does nothing
        QCOMPARE(r.count(&CountdownStep::beep), beeps);
        QCOMPARE(r.count(&CountdownStep::pin), pins);
        r.c.pause(), r.c.resume(), r.c.cancel(), r.c.extend(10), r.c.fireNow(), r.c.release(), r.c.start(60);
        r.ticks(70);
        QCOMPARE(r.count(&CountdownStep::fire), 1);
        QVERIFY(r.c.state() == State::Firing && !r.c.timer()->isActive());
    }

    // After a stall that ends before the deadline, the rules of the second it lands on apply; nothing
    // missed is replayed.
    void steps_data()
    {
        QTest::addColumn<StepRow>("row");
        QTest::newRow("stall above the last minute") << StepRow{600, 10, 303'000, 287, "refresh"};
        QTest::newRow("stall into the last minute") << StepRow{600, 10, 545'000, 45, "refresh warn seconds back pin"};
        QTest::newRow("stall onto a beep second")
            << StepRow{600, 10, 560'000, 30, "refresh warn back beep figures pin blink+"};
        QTest::newRow("stall inside the last minute")
            << StepRow{120, 70, 30'000, 20, "refresh warn back beep figures blink+"};
        QTest::newRow("stall to the last second")
            << StepRow{120, 10, 109'500, 1, "refresh warn back first beep figures pin shutdown blink+"};
    }
    void steps()
    {
        QFETCH(StepRow, row);
        const auto& [start, ticksBefore, gap, seconds, step] = row;
        Run r;
        r.c.start(start);
        r.ticks(ticksBefore);
        const std::size_t before = r.steps.size();
        r.tickAfter(std::chrono::milliseconds(gap));
        QCOMPARE(r.steps.size(), before + 1);
        QCOMPARE(r.steps.back().seconds, seconds);
        QCOMPARE(describe(r.steps.back()), step);
        r.ticks(1);
        QCOMPARE(r.steps.back().seconds, std::max(seconds - 1, 0));
        QVERIFY(r.missed.empty() && r.c.state() != State::Idle);
    }

    // A stall past the deadline never fires on its own: it asks, and waits for the answer.
    void gapPastDeadline_data()
    {
        QTest::addColumn<MissedRow>("row");
        QTest::newRow("stalled, Yes") << MissedRow{200'000, "yes", State::Firing};
        QTest::newRow("stalled, No") << MissedRow{200'000, "no", State::Idle};
        QTest::newRow("late 3 s is no stall: fires") << MissedRow{3'000, "", State::Firing};
    }
    void gapPastDeadline()
    {
        QFETCH(MissedRow, row);
        const auto& [late, answer, after] = row;
        Run r;
        r.c.start(120);
        r.ticks(117); // 3 s left
        r.tickAfter(std::chrono::milliseconds(late));
        QCOMPARE(r.missed.size(), std::size_t(answer.isEmpty() ? 0 : 1));
        if (!answer.isEmpty()) {
            QCOMPARE(r.missed.front(), r.c.endTime());
            r.ticks(3), r.c.pause(), r.c.extend(5); // a tick that still arrives, a pause while asked
            QVERIFY(r.count(&CountdownStep::fire) == 0 && r.c.state() == State::Running);
            answer == u"yes" ? r.c.fireNow() : r.c.cancel();
        }
        QCOMPARE(r.c.state(), after);
        r.c.fireNow(); // a second answer does nothing
        QCOMPARE(r.count(&CountdownStep::fire), after == State::Firing ? 1 : 0);
    }

    // Paused, the countdown stands still however long; resume fixes a new deadline.
    void pauseAcrossGap()
    {
        Run r;
        r.c.start(120), r.ticks(20), r.c.pause();
        r.tickAfter(3h);
        QCOMPARE(r.c.remainingSeconds(), 100);
        r.c.resume();
        QCOMPARE(r.c.endTime(), r.clock.time.addSecs(100));
        r.ticks(99);
        QCOMPARE(r.steps.back().seconds, 1);
        r.c.pause(), r.clock.pass(1h), r.c.resume(); // one second left: resume fires at the next tick
        r.ticks(1);
        QCOMPARE(r.count(&CountdownStep::fire), 1);
        QVERIFY(r.missed.empty());
    }

    // A wall-clock jump does not move the action's moment, only the end time told.
    void changes_data()
    {
        QTest::addColumn<ChangeRow>("row");
        QTest::newRow("clock forward an hour") << ChangeRow{600, "jump 3600000", 589, 3'600'000};
        QTest::newRow("clock back 2.5 s") << ChangeRow{600, "jump -2500", 589, -2'500};
        QTest::newRow("clock 2 s is drift") << ChangeRow{600, "jump 2000", 589, 0};
        QTest::newRow("extend paused") << ChangeRow{120, "pause extend 10", 710, 600'000};
        QTest::newRow("extend capped at 14 days") << ChangeRow{1'209'000, "extend 60", 1'209'600, 610'000};
        QTest::newRow("extend beyond the cap not shortened") << ChangeRow{1'300'000, "extend 5", 1'299'990, 0};
        QTest::newRow("extend idle: nothing") << ChangeRow{0, "extend 10", 0, 0};
    }
    void changes()
    {
        QFETCH(ChangeRow, row);
        const bool paused = row.change.startsWith("pause"_L1), jump = row.change.startsWith("jump"_L1);
        const int by = row.change.section(u' ', -1).toInt();
        Run r;
        if (row.start != 0)
            r.c.start(row.start);
        r.ticks(10);
        const QDateTime end = r.c.endTime();
        const std::size_t told = r.ends.size();
        const auto fireAt = r.clock.boot + std::chrono::seconds(row.left + 1);
        if (paused)
            r.c.pause();
        if (jump)
            r.clock.time = r.clock.time.addMSecs(by), r.ticks(1);
        else
            r.c.extend(by);
        QCOMPARE(r.c.remainingSeconds(), row.left);
        QCOMPARE(end.msecsTo(r.c.endTime()), row.endMoved);
        QCOMPARE(r.ends.size() - told, std::size_t(row.endMoved != 0 ? 1 : 0));
        if (paused)
            r.c.resume();
        r.ticks(1);
        QCOMPARE(r.steps.empty() ? 0 : r.steps.back().seconds, std::max(row.left - 1, 0));
        while (jump && r.count(&CountdownStep::fire) == 0 && r.clock.boot < fireAt + 5s)
            r.ticks(1);
        QVERIFY(!jump || r.clock.boot == fireAt); // the moment of the action did not move
    }

    void missedQuestion()
    {
        const QDate today(2026, 12, 6);
        QStringList seen;
        for (auto kind : {ActionKind::Neustart, ActionKind::Standby, ActionKind::Ruhezustand, ActionKind::Abmelden})
            seen << missedDeadlineQuestion(kind, QDateTime(today, QTime(23, 0)), today).section(u"Jetzt "_s, 1);
        QCOMPARE(seen, (QStringList{"neu starten?", "in den Standby-Modus wechseln?", "in den Ruhezustand wechseln?",
                                    "abmelden?"}));
        QCOMPARE(missedDeadlineQuestion(ActionKind::Ausschalten, QDateTime(today.addDays(-1), QTime(23, 0)), today),
                 u"Die End-Zeit 5.12. 23:00 ist verstrichen, während der Rechner schlief. Jetzt ausschalten?"_s);
    }
};

QTEST_GUILESS_MAIN(TestCountdownModel)
#include "tst_countdown_model.moc"
