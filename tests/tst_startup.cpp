#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

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
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
