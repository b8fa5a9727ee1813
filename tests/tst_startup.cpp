// Start-up: what the arguments ask for, the command line, and ending without an action.
#include "app/command_line.h"
#include "app/qt_options.h"
#include "app/usage.h"
#include "base/twips.h"
#include "fakes.h"
#include "info/help_text.h"

using namespace tarvo;
using namespace tarvo::test;
using namespace Qt::StringLiterals;

namespace {

// The options found, in a few words: the letters set (in the order LRSNAFWYCT, P for SETUP), the
// digits after M and H, and whether the options are known and ask for an action.
QString scanned(const QString& text)
{
    const CommandLineOptions o = scanCommandLine(text);
    QString s;
    for (const auto& [on, letter] : {std::pair{o.logOff, 'L'}, {o.hibernate, 'R'}, {o.standby, 'S'}, {o.restart, 'N'},
                                     {o.shutdown, 'A'}, {o.force, 'F'}, {o.beep, 'W'}, {o.noPrompts, 'Y'},
                                     {o.classic, 'C'}, {o.tray, 'T'}, {o.setup, 'P'}})
        if (on)
            s += QLatin1Char(letter);
    s += o.minutes ? " M="_L1 + *o.minutes : QString();
    s += o.hours ? " H="_L1 + *o.hours : QString();
    return s + (o.recognised() ? " known"_L1 : ""_L1) + (o.actionRequested() ? " acts"_L1 : ""_L1);
}

// The window after start-up in a few words: the selected action (A N S R L), F when the power is to
// be switched off, the countdown's seconds, the minutes field, the options ticked, where the window
// went, the dialogs shown and the power requests and exit codes.
QString summary(const Harness& h)
{
    const Form1& f = *h.form;
    QStringList s{QString(QLatin1Char("ANSRL"[int(f.selectedAction().value())]))};
    for (const auto& [on, word] : {std::pair{control<QCheckBox>(f, "Check_ForceShutdown")->isChecked(), u"F"_s},
                                   {control<QTimer>(f, "Timer1")->isActive(), QString::number(f.remainingSeconds()) + u's'},
                                   {true, "M="_L1 + control<QLineEdit>(f, "ZeitEingabe")->text()},
                                   {control<QCheckBox>(f, "Anz_Minuten")->isChecked(), u"min"_s},
                                   {control<QCheckBox>(f, "Akustik")->isChecked(), u"beep"_s},
                                   {f.systemTray() && f.systemTray()->isIconShown(), u"tray"_s},
                                   {f.isHidden(), u"hidden"_s},
                                   {h.dialogs->modalDialogs.contains(u"InfoDialog"_s), u"info"_s},
                                   {!h.dialogs->shown.isEmpty(), u"asked"_s}})
        if (on)
            s << word;
    for (int code : h.power->requests)
        s << u"power%1"_s.arg(code);
    for (int code : h.app->endings)
        s << u"exit%1"_s.arg(code);
    return s.join(u' ');
}

} // namespace

Q_DECLARE_METATYPE(tarvo::StartMode)

class TestStartup : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void startMode_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<StartMode>("mode");
        QTest::newRow("beyond the tenth word")
            << QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "--version"} << StartMode::Version;
        QTest::newRow("first one decides") << QStringList{"--version", "-h"} << StartMode::Version;
        QTest::newRow("-h") << QStringList{"-h"} << StartMode::Help;
        QTest::newRow("upper case is letters") << QStringList{"--HELP"} << StartMode::Run;
        QTest::newRow("-H is the hours letter") << QStringList{"-H"} << StartMode::Run;
        QTest::newRow("part of one argument") << QStringList{"S --help"} << StartMode::Run;
        QTest::newRow("with a value") << QStringList{"--help=all"} << StartMode::Run;
        QTest::newRow("steering a running one") << QStringList{"A", "--cancel", "--help"} << StartMode::Remote;
        QTest::newRow("add with its number joined") << QStringList{"--add=5"} << StartMode::Remote;
        QTest::newRow("status, upper case is letters") << QStringList{"--STATUS"} << StartMode::Run;
    }
    void startMode()
    {
        QFETCH(QStringList, arguments);
        QFETCH(StartMode, mode);
        QCOMPARE(tarvo::startMode(arguments), mode);
    }

    // --help carries every option line of the help text, and nothing of Windows.
    void usage()
    {
        const QStringList lines = usageText().split(u'\n');
        for (const QString& line : helpTextLines())
            QVERIFY2(!line.contains(" = "_L1) || lines.contains(line), qPrintable(line));
        QVERIFY(!usageText().contains("Windows XP/2000"_L1) && !usageText().contains(".exe"_L1));
    }

    void scan_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("found");
        QTest::newRow("lower case, no blanks") << "sm90wt" << "SWT M=90 known acts";
        QTest::newRow("M 90, M9 0, MM90") << "MM9 0" << " M=90 known";
        QTest::newRow("hours stop at M") << "H2M30" << " M=30 H=2 known";
        QTest::newRow("scan stops at tab") << "M1\t2" << " M=1 known";
        QTest::newRow("M then letter") << "MA5" << "A M= known acts";
        QTest::newRow("SETUP hides S but has T") << "S SETUP" << "TP";
        QTest::newRow("F acts") << "F" << "F known acts";
        QTest::newRow("letters inside words") << "hello" << "L H= known acts";
        QTest::newRow("C and Y") << "cy" << "YC known";
        QTest::newRow("sign ends scan") << "M-5" << " M= known";
    }
    void scan()
    {
        QFETCH(QString, text);
        QFETCH(QString, found);
        QCOMPARE(scanned(text), found);
    }

    void words()
    {
        QCOMPARE(firstWords(u" S\tM90  W "_s, 10), u" S\tM90  W "_s); // blanks and tabs kept
        QCOMPARE(firstWords(u"1 2 3 4 5 6 7 8 9 10 A"_s, 10), u"1 2 3 4 5 6 7 8 9 10 "_s);
        QCOMPARE(firstWords(u"a\tb\tc"_s, 2), u"a\tb\t"_s);
        QStringList read;
        for (const char* digits : {"0090", "32767", "32768", "99999999999999999999999", "000000000000000000000001",
                                   "", "00"})
            read << QString::number(digitsToInt16(QLatin1String(digits)).value_or(-1));
        QCOMPARE(read, (QStringList{"90", "32767", "-1", "-1", "1", "-1", "0"}));
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
        row("M0", "A M=0 asked");
        row("S H 0", "S M=0 asked");
        row("F M 0 Y", "A F M=0 hidden power8 exit0");
        row("R M00 Y", "R M=0 hidden power5 exit0");
        row("-qwindowtitle x L M0 Y", "L M=0 hidden power0 exit0"); // the letters after Qt's options
    }
    void commandLine()
    {
        QFETCH(QString, line);
        QFETCH(QString, after);
        // The arguments as Tarvo gets them, one per word.
        const auto h = loaded(commandLineText(withoutQtOptions(line.split(u' '))));
        QCOMPARE(summary(*h), after);
        // Whatever stopped the applying, the entry panel's fields tell one duration.
        if (!h->form->hasEnded() && !control<QFrame>(*h->form, "Eingabemaske")->isHidden())
            QCOMPARE(disagreement(*h), QString());
        if (control<QTimer>(*h->form, "Timer1")->isActive())
            QVERIFY(control<QFrame>(*h->form, "Eingabemaske")->isHidden() && h->form->height() == twipsToPixels(kFullHeightTwips));
    }

    // Qt's own options, whatever the platform left of them, are never read as letters.
    void qtOptions_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QString>("left");
        for (const char* options : {"-display X", "-style fusion", "-reverse", "-qwindowtitle x", "-platform xcb",
                                    "--session s1 -style=fusion -nograb -geometry 9x9", "-stylesheet"})
            QTest::newRow(options) << "L "_L1 + options << "L"; // a value missing at the end too
    }
    void qtOptions()
    {
        QFETCH(QString, arguments);
        QFETCH(QString, left);
        QCOMPARE(withoutQtOptions(arguments.split(u' ')).join(u' '), left);
    }

    void plainStart()
    {
        const auto h = loaded();
        QVERIFY(control<QTimer>(*h->form, "Timer2")->isActive());
        // The tray letter ticks both boxes, also without an action.
        Harness t(u"S SETUP"_s);
        control<QCheckBox>(*t.form, "AddToTrayIconCheck")->setChecked(false);
        control<QCheckBox>(*t.form, "SystemTRayFrame1")->setChecked(false);
        t.load();
        QVERIFY(control<QCheckBox>(*t.form, "AddToTrayIconCheck")->isChecked() && control<QCheckBox>(*t.form, "SystemTRayFrame1")->isChecked());
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
        const bool countdown = words.contains(u"countdown"_s);
        const bool logOut = words.contains(u"log-out"_s);
        const bool asks = countdown && words.contains(u"Y"_s);
        const auto h = loaded(words.contains(u"Y"_s) ? u"Y"_s : QString());
        Form1& f = *h->form;
        if (countdown) {
            control<QCheckBox>(f, "AddToTrayIconCheck")->setChecked(false);
            f.Start_Click();
            h->tick(3);
        }
        if (words.contains(u"paused"_s))
            f.AktiveLED_DblClick();
        const QString title = f.windowTitle();
        h->dialogs->answer = words.contains(u"Yes"_s);
        QString whileAsked;
        h->dialogs->onAsk = [&] {
            whileAsked = u"%1 %2 %3"_s.arg(control<QTimer>(f, "Timer1")->isActive()).arg(f.windowTitle()).arg(f.Form_QueryUnload([] {
                return true; // a second request is answered by the open question
            }));
        };
        int leaveAsked = 0;
        const bool mayAsk = !words.contains(u"no-leave"_s);
        const bool cancelled = logOut ? f.Form_QueryUnload([&] { return ++leaveAsked, mayAsk; }) : !f.close();
        QCOMPARE(cancelled, !ends);
        QCOMPARE(h->app->endings, ends ? std::vector<int>{0} : std::vector<int>{});
        QVERIFY(h->power->requests.empty());
        QCOMPARE(leaveAsked, logOut && asks ? 1 : 0); // the desktop is asked only when the question is due
        QCOMPARE(h->dialogs->shown, asks && mayAsk ? QStringList{"ask Yes|Tarvo STOP|Wollen Sie das Programm wirklich "
                                                                 "beenden?    (Der Timer wird dadurch abgeschaltet)"}
                                                   : QStringList{});
        QCOMPARE(whileAsked, asks && mayAsk ? u"0 Tarvo   - P A U S E - 1"_s : QString());
        if (!ends)
            QVERIFY(f.windowTitle() == title && control<QTimer>(f, "Timer1")->isActive());
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
