// Start-up: the command line, the single instance, and ending without an action.
#include <future>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/command_line.h"
#include "app/single_instance.h"
#include "app/twips.h"
#include "fakes.h"
#include "shell/system_tray.h"

using namespace tarvo;
using namespace tarvo::test;

namespace {

// The window after start-up in a few words: the selected action (A N S R L), F when the power is to
// be switched off, the countdown's seconds, the minutes field, the options ticked, where the window
// went, the dialogs shown and the power requests and exit codes.
QString summary(const Harness& h)
{
    const Form1& f = *h.form;
    QStringList s{QString(QLatin1Char("ANSRL"[int(f.selectedAction().value())]))};
    const std::pair<bool, QString> words[] = {
        {f.Check_ForceShutdown->isChecked(), QStringLiteral("F")},
        {f.Timer1->isActive(), QString::number(f.RemainingSeconds) + u's'},
        {true, QStringLiteral("M=") + f.ZeitEingabe->text()},
        {f.Anz_Minuten->isChecked(), QStringLiteral("min")},
        {f.Akustik->isChecked(), QStringLiteral("beep")},
        {f.systemTray() && f.systemTray()->isIconShown(), QStringLiteral("tray")},
        {f.isHidden(), QStringLiteral("hidden")},
        {h.dialogs->modalDialogs.contains(QStringLiteral("InfoDialog")), QStringLiteral("info")},
        {!h.dialogs->questions.empty(), QStringLiteral("asked")}};
    for (const auto& [on, word] : words)
        if (on)
            s << word;
    for (int code : h.power->requests)
        s << QStringLiteral("power%1").arg(code);
    for (int code : h.app->endings)
        s << QStringLiteral("exit%1").arg(code);
    return s.join(u' ');
}

} // namespace

class TestStartup : public QObject {
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
    void commandLine_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("after");
        const auto row = [](const char* line, const char* after) { QTest::newRow(line) << line << after; };
        row("", "A F M=60");
        row("s m90 w t", "S 5400s M=90 min beep tray hidden");
        row("F", "A F 3600s M=60 tray hidden");
        row("M30 A", "A F 1800s M=30 min tray hidden");
        row("H2 A", "A F 7200s M=120 tray hidden");
        row("M30H2A", "A F 9000s M=150 tray hidden");
        row("M30", "A M=60 min");
        row("M0090 A", "A F 5400s M=0090 min tray hidden");
        row("M99999 A", "A F M=0");
        row("H546 A", "A F 1965600s M=32760 tray hidden");
        row("H547 A", "A F M=0");
        row("M32000 H13 A", "A F M=32000 min");
        row("L A", "A F 3600s M=60 tray hidden");
        row("N T", "N 3600s M=60 tray hidden");
        row("S SETUP", "A M=60 info asked");
        row("T", "A M=60 info");
        row("W", "A M=60 beep");
        row("X", "A M=60 info");
        row("W M", "A M=0 beep");
        row("W W W W W W W W W W A", "A M=60 beep");
        row("M0", "A M=0 asked");
        row("S H 0", "S M=0 asked");
        row("M0 Y", "A M=0 hidden power1 exit0");
        row("F M 0 Y", "A F M=0 hidden power8 exit0");
        row("N H0 Y", "N M=0 hidden power2 exit0");
        row("R M00 Y", "R M=0 hidden power5 exit0");
    }
    void commandLine()
    {
        QFETCH(QString, line);
        QFETCH(QString, after);
        const auto h = loaded(line);
        QCOMPARE(summary(*h), after);
        if (h->form->Timer1->isActive()) {
            QVERIFY(h->form->Eingabemaske->isHidden());
            QCOMPARE(h->form->height(), twipsToPixels(kFullHeightTwips));
        }
    }

    void plainStart()
    {
        const auto h = loaded();
        Form1& f = *h->form;
        QVERIFY(f.Timer2->isActive());
        QCOMPARE(f.VersionInfoLabel->text(), QStringLiteral("Tarvo Vers. 1.31"));
        QVERIFY(f.WWWLink->toolTip().startsWith(QStringLiteral("Dies ist die Vers. 1.31 klicken")));
        QCOMPARE(h->windowSystem->keepAbove, std::vector<bool>{true}); // pinned once shown
        for (const QString& name :
             QStringLiteral("Picture1 Eingabemaske CountdownMaske Frame3 Abdeckung JetztBtn Abbruch Timer1 Timer2 "
                            "LogOffBtn RuhezustandBtn StandbyBtn NeustartBtn AusschaltenBtn Label1 Label6 InfoField "
                            "LightFlag ClassicModeShowTimer ZeitEingabe CounterHourText VScroll1 VScroll2 Btn_15 "
                            "Btn_24 SystemTRayFrame1 WWWLink AlwaysOnTop1 Start Uhrzeit_Frame1 Line1 Display "
                            "MinutenDisplay Anz_Minuten Check_ForceShutdown Akustik AddToTrayIconCheck AktiveLED "
                            "RedPic Check_Runterfahren Check_LogOff")
                 .split(u' '))
            QVERIFY2(f.findChild<QObject*>(name), qPrintable(name));
    }

    void trayLetterTicksBothBoxes()
    {
        Harness h(QStringLiteral("S SETUP"));
        h.form->AddToTrayIconCheck->setChecked(false);
        h.form->SystemTRayFrame1->setChecked(false);
        h.load();
        QVERIFY(h.form->AddToTrayIconCheck->isChecked() && h.form->SystemTRayFrame1->isChecked());
    }

    // The close request of the window, or of the desktop's log-out, which may deny a question.
    void closeRequest_data()
    {
        QTest::addColumn<QString>("setUp"); // the option Y, a countdown (paused), a log-out (no leave), the answer
        QTest::addColumn<bool>("ends");
        QTest::newRow("entry panel, Y") << "Y" << true;
        QTest::newRow("entry panel, Y, log-out") << "Y log-out" << true;
        QTest::newRow("countdown") << "countdown" << true;
        QTest::newRow("countdown, log-out") << "countdown log-out" << true;
        QTest::newRow("countdown, Y, No") << "Y countdown No" << false;
        QTest::newRow("countdown, Y, paused, No resumes") << "Y countdown paused No" << false;
        QTest::newRow("countdown, Y, Yes") << "Y countdown Yes" << true;
        QTest::newRow("countdown, Y, log-out, No") << "Y countdown log-out No" << false;
        QTest::newRow("countdown, Y, log-out, no leave") << "Y countdown log-out no-leave" << true;
    }
    void closeRequest()
    {
        QFETCH(QString, setUp);
        QFETCH(bool, ends);
        const QStringList words = setUp.split(u' ');
        const bool countdown = words.contains(QStringLiteral("countdown"));
        const bool logOut = words.contains(QStringLiteral("log-out"));
        const bool mayAsk = !words.contains(QStringLiteral("no-leave"));
        const auto h = loaded(words.contains(QStringLiteral("Y")) ? QStringLiteral("Y") : QString());
        Form1& f = *h->form;
        if (countdown) {
            f.AddToTrayIconCheck->setChecked(false);
            f.Start_Click();
            h->tick(3);
        }
        if (words.contains(QStringLiteral("paused")))
            f.AktiveLED_DblClick();
        const QString title = f.windowTitle();
        h->dialogs->answer = words.contains(QStringLiteral("Yes"));
        bool timerWhileAsked = true;
        QString titleWhileAsked;
        bool secondRequestCancelled = false;
        h->dialogs->onAsk = [&] {
            timerWhileAsked = f.Timer1->isActive();
            titleWhileAsked = f.windowTitle();
            secondRequestCancelled = f.Form_QueryUnload([] { return true; });
        };
        int leaveAsked = 0;
        const bool cancelled = logOut ? f.Form_QueryUnload([&] { return ++leaveAsked, mayAsk; }) : !f.close();
        const bool asked = !h->dialogs->questions.empty();
        QCOMPARE(asked, countdown && !f.ConfirmImmediate && mayAsk);
        QCOMPARE(h->app->endings, ends ? std::vector<int>{0} : std::vector<int>{});
        QCOMPARE(cancelled, !ends);
        QVERIFY(h->power->requests.empty());
        // The desktop is asked for leave only when the question is due.
        QCOMPARE(leaveAsked, logOut && countdown && !f.ConfirmImmediate ? 1 : 0);
        if (asked) {
            QCOMPARE(h->dialogs->questions.size(), std::size_t{1});
            QCOMPARE(h->dialogs->questions.front().title, QStringLiteral("Tarvo STOP"));
            QCOMPARE(h->dialogs->questions.front().text,
                     QStringLiteral("Wollen Sie das Programm wirklich beenden?    (Der Timer wird dadurch "
                                    "abgeschaltet)"));
            QVERIFY(h->dialogs->questions.front().defaultYes);
            QVERIFY(!timerWhileAsked);
            QCOMPARE(titleWhileAsked, QStringLiteral("Tarvo   - P A U S E -"));
            QVERIFY(secondRequestCancelled);
        }
        if (!ends) {
            QCOMPARE(f.windowTitle(), title);
            QVERIFY(f.Timer1->isActive());
        }
    }

    void secondStartAsksTheFirstAndGivesWay()
    {
        QTemporaryDir dir;
        SingleInstance first(QStringLiteral("k1"), dir.path());
        QVERIFY(first.claim());
        QSignalSpy raised(&first, &SingleInstance::activationRequested);

        // The second start blocks while it waits for an answer, so it runs beside this event loop.
        auto second = std::async(std::launch::async, [&dir] {
            SingleInstance other(QStringLiteral("k1"), dir.path());
            return other.claim();
        });
        QTRY_VERIFY_WITH_TIMEOUT(second.wait_for(std::chrono::seconds(0)) == std::future_status::ready, 15000);
        QCOMPARE(second.get(), false);
        QCOMPARE(raised.count(), 1);
    }

    void locksAndKeys()
    {
        QTemporaryDir dir;
        SingleInstance a(QStringLiteral("display_0"), dir.path()); // other sessions are independent
        SingleInstance b(QStringLiteral("display_1"), dir.path());
        QVERIFY(a.claim() && b.claim());
        // What a crashed instance leaves: a lock naming a process that no longer runs, and a socket file.
        QFile lock(dir.filePath(QStringLiteral("tarvo-k2.lock")));
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.write("999999\ntarvo\n" + QSysInfo::machineHostName().toUtf8() + "\n");
        lock.close();
        QVERIFY(QFile(dir.filePath(QStringLiteral("tarvo-k2.socket"))).open(QIODevice::WriteOnly));
        QVERIFY(SingleInstance(QStringLiteral("k2"), dir.path()).claim());
        qputenv("WAYLAND_DISPLAY", "");
        qputenv("DISPLAY", "host/x:10.0");
        QCOMPARE(sessionKey(), QStringLiteral("host_x_10.0"));
        qputenv("WAYLAND_DISPLAY", "wayland-1");
        QCOMPARE(sessionKey(), QStringLiteral("wayland-1"));
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
