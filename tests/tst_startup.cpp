// Start-up: what the arguments ask for, the command line, and ending without an action.
#include <array>

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

// The window after start-up in a few words: the action (A N S R L), F for switching the power off,
// the countdown, the minutes field, the boxes ticked, the window, dialogs, power requests, exits.
QString summary(const Harness& h)
{
    const Form1& f = *h.form;
    const auto ticked = [&f](const char* box) { return control<QCheckBox>(f, box)->isChecked(); };
    QStringList s{QString(QLatin1Char("ANSRL"[int(f.selectedAction().value())]))};
    for (const auto& [on, word] :
         {std::pair{ticked("Check_ForceShutdown"), u"F"_s},
          {control<QTimer>(f, "Timer1")->isActive(), QString::number(f.remainingSeconds()) + u's'},
          {true, "M="_L1 + control<QLineEdit>(f, "ZeitEingabe")->text()}, {ticked("Anz_Minuten"), u"min"_s},
          {ticked("Akustik"), u"beep"_s}, {f.systemTray() && f.systemTray()->isIconShown(), u"tray"_s},
          {f.isHidden(), u"hidden"_s}, {h.dialogs->modalDialogs.contains(u"InfoDialog"_s), u"info"_s},
          {!h.dialogs->shown.isEmpty(), u"asked"_s}})
        if (on)
            s << word;
    for (int code : h.power->requests)
        s << u"power%1"_s.arg(code);
    for (int code : h.app->endings)
        s << u"exit%1"_s.arg(code);
    return s.join(u' ');
}

struct ReadRow {
    QString what, input, output;
};

} // namespace

Q_DECLARE_METATYPE(ReadRow)

class TestStartup : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The start mode of the arguments (separated by |), the letters found, what Qt's options leave,
    // the first words kept, and 16-bit numbers (separated by |; -1: none).
    void reads_data()
    {
        QTest::addColumn<ReadRow>("row");
        const auto row = [](const char* what, const char* name, const char* input, const char* output) {
            QTest::addRow("%s: %s", what, name) << ReadRow{what, QString::fromUtf8(input), output};
        };
        row("mode", "beyond the tenth word", "1|2|3|4|5|6|7|8|9|10|--version", "version");
        row("mode", "first one decides", "--version|-h", "version");
        row("mode", "-h", "-h", "help");
        row("mode", "upper case is letters", "--HELP", "run");
        row("mode", "with a value", "--help=all", "run");
        row("mode", "steering a running one", "A|--cancel|--help", "remote");
        row("mode", "add with its number joined", "--add=5", "remote");
        row("scan", "lower case, no blanks", "sm90wt", "SWT M=90 known acts");
        row("scan", "M 90, M9 0, MM90", "MM9 0", " M=90 known");
        row("scan", "hours stop at M", "H2M30", " M=30 H=2 known");
        row("scan", "scan stops at tab", "M1\t2", " M=1 known");
        row("scan", "M then letter", "MA5", "A M= known acts");
        row("scan", "SETUP hides S but has T", "S SETUP", "TP");
        row("scan", "F acts", "F", "F known acts");
        row("scan", "letters inside words", "hello", "L H= known acts");
        row("scan", "C and Y", "cy", "YC known");
        row("scan", "sign ends scan", "M-5", " M= known");
        for (const char* options : {"-display X", "-style fusion", "-reverse", "-qwindowtitle x", "-platform xcb",
                                    "--session s1 -style=fusion -nograb -geometry 9x9", "-stylesheet"})
            row("Qt", options, qPrintable("L "_L1 + options), "L");
        row("words", "blanks and tabs kept", " S\tM90  W ", " S\tM90  W ");
        row("words", "ten", "1 2 3 4 5 6 7 8 9 10 A", "1 2 3 4 5 6 7 8 9 10 ");
        row("int16", "digits", "0090|32767|32768|99999999999999999999999|000000000000000000000001||00",
            "90|32767|-1|-1|1|-1|0");
    }
    void reads()
    {
        QFETCH(ReadRow, row);
        QStringList seen;
        const QStringList parts = row.input.split(u'|');
        if (row.what == u"mode")
            seen << QLatin1String(std::array{"run", "help", "version", "remote"}[int(startMode(parts))]);
        else if (row.what == u"scan")
            seen << scanned(row.input);
        else if (row.what == u"Qt")
            seen << withoutQtOptions(row.input.split(u' ')).join(u' ');
        else if (row.what == u"words")
            seen << firstWords(row.input, 10);
        for (const QString& digits : row.what == u"int16" ? parts : QStringList())
            seen << QString::number(digitsToInt16(digits).value_or(-1));
        QCOMPARE(seen.join(u'|'), row.output);
    }

    // --help carries every option line of the help text, and nothing of Windows.
    void usage()
    {
        const QStringList lines = usageText().split(u'\n');
        for (const QString& line : helpTextLines())
            QVERIFY2(!line.contains(" = "_L1) || lines.contains(line), qPrintable(line));
        QVERIFY(!usageText().contains("Windows XP/2000"_L1) && !usageText().contains(".exe"_L1));
    }

    void commandLine_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("after");
        const auto row = [](const char* line, const char* after) { QTest::newRow(line) << line << after; };
        row("", "A F M=60");
        row("s m90 w t", "S 5400s M=90 min beep tray hidden");
        row("F", "A F 3600s M=60 tray hidden");
        row("H2 A", "A F 7200s M=120 tray hidden");
        row("M30H2A", "A F 9000s M=150 tray hidden");
        row("M30", "A M=60 min");
        row("M0090 A", "A F 5400s M=0090 min tray hidden");
        row("H546 A", "A F 1965600s M=32760 tray hidden");
        row("H547 A", "A F M=0");
        row("M32000 H13 A", "A F M=32000 min");
        row("L A", "A F 3600s M=60 tray hidden");
        row("N T", "N 3600s M=60 tray hidden");
        row("S SETUP", "A M=60 info asked");
        row("T", "A M=60 info");
        row("W", "A M=60 beep");
        row("X", "A M=60 info");
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
        const auto h = loaded(commandLineText(withoutQtOptions(line.split(u' '))));
        QCOMPARE(summary(*h), after);
        // Whatever stopped the applying, the entry panel's fields tell one duration.
        const bool entryShown = !control<QFrame>(*h->form, "Eingabemaske")->isHidden();
        if (!h->form->hasEnded() && entryShown)
            QCOMPARE(disagreement(*h), QString());
        if (control<QTimer>(*h->form, "Timer1")->isActive())
            QVERIFY(!entryShown && h->form->height() == twipsToPixels(kFullHeightTwips));
    }

    void plainStartRunsTheClock() { QVERIFY(control<QTimer>(*loaded()->form, "Timer2")->isActive()); }

    // The close request of the window, or of the desktop's log-out, which may deny a question.
    void closeRequest_data()
    {
        QTest::addColumn<QString>("setUp"); // the option Y, a countdown (paused), a log-out (no leave), the answer
        QTest::addColumn<bool>("ends");
        QTest::newRow("entry panel, Y, log-out") << "Y log-out" << true;
        QTest::newRow("countdown") << "countdown" << true;
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
        const bool y = words.contains(u"Y"_s), countdown = words.contains(u"countdown"_s), asks = y && countdown;
        const bool logOut = words.contains(u"log-out"_s), mayAsk = !words.contains(u"no-leave"_s);
        const auto h = loaded(y ? u"Y"_s : QString());
        Form1& f = *h->form;
        if (countdown)
            control<QCheckBox>(f, "AddToTrayIconCheck")->setChecked(false), f.Start_Click(), h->tick(3);
        if (words.contains(u"paused"_s))
            f.AktiveLED_DblClick();
        const QString title = f.windowTitle();
        h->dialogs->answer = words.contains(u"Yes"_s);
        QString whileAsked; // a second request is answered by the open question
        h->dialogs->onAsk = [&] {
            whileAsked = u"%1 %2 "_s.arg(control<QTimer>(f, "Timer1")->isActive()).arg(f.windowTitle());
            whileAsked += QString::number(f.Form_QueryUnload([] { return true; }));
        };
        int leaveAsked = 0;
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
