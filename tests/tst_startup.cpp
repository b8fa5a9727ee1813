#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/twips.h"
#include "fakes.h"
#include "shell/system_tray.h"

using namespace tarvo;
using namespace tarvo::test;

Q_DECLARE_METATYPE(tarvo::ActionKind)

class TestStartup : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void plainStart()
    {
        Harness h;
        h.load();
        Form1& f = *h.form;
        QCOMPARE(f.windowTitle(), QStringLiteral("Tarvo"));
        QCOMPARE(f.size(), QSize(367, 185));
        QCOMPARE(f.selectedAction(), std::optional(ActionKind::Ausschalten));
        QVERIFY(f.Check_ForceShutdown->isChecked());
        QCOMPARE(f.RemainingSeconds, 3600);
        QCOMPARE(f.ZeitEingabe->text(), QStringLiteral("60"));
        QCOMPARE(f.VersionInfoLabel->text(), QStringLiteral("Tarvo Vers. 1.31"));
        QCOMPARE(f.JetztBtn->text(), QStringLiteral("Sofort ausschalten"));
        QCOMPARE(f.Display0->text(), QStringLiteral("Ausschalten in:"));
        QVERIFY(f.Timer2->isActive());
        QVERIFY(!f.Timer1->isActive());
        QCOMPARE(f.CountdownMaske->pos(), f.Eingabemaske->pos());
        QVERIFY(f.WWWLink->toolTip().startsWith(QStringLiteral("Dies ist die Vers. 1.31 klicken")));
        // Pinned on top after being shown, and nothing asked, nothing requested.
        QCOMPARE(h.windowSystem->keepAbove, std::vector<bool>{true});
        QVERIFY(h.dialogs->modalDialogs.isEmpty());
        QVERIFY(h.power->requests.empty());
    }

    void controlsCarryTheirNames()
    {
        Harness h;
        const char* names[] = {"Picture1", "Eingabemaske", "CountdownMaske", "Frame3", "Abdeckung", "JetztBtn",
                               "Abbruch", "Timer1", "Timer2", "LogOffBtn", "RuhezustandBtn", "StandbyBtn",
                               "NeustartBtn", "AusschaltenBtn", "Label1", "Label6", "InfoField", "LightFlag",
                               "ClassicModeShowTimer", "ZeitEingabe", "CounterHourText", "VScroll1", "VScroll2",
                               "Btn_15", "Btn_24", "SystemTRayFrame1", "WWWLink", "AlwaysOnTop1", "Start",
                               "Uhrzeit_Frame1", "Line1", "Display", "MinutenDisplay", "Anz_Minuten",
                               "Check_ForceShutdown", "Akustik", "AddToTrayIconCheck", "AktiveLED", "RedPic",
                               "Check_Runterfahren", "Check_LogOff"};
        for (const char* name : names)
            QVERIFY2(h.form->findChild<QObject*>(QLatin1String(name)) != nullptr, name);
        // Places in twips, relative to their panel.
        QCOMPARE(h.form->ZeitEingabe->geometry(), twipsRect(2400, 1140, 930, 480));
        QCOMPARE(h.form->Abbruch->geometry(), twipsRect(3795, 2160, 1485, 375));
        QCOMPARE(h.form->Eingabemaske->geometry(), twipsRect(0, 1800, 5550, 3615));
    }

    void commandLine_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<ActionKind>("action");
        QTest::addColumn<bool>("force");
        QTest::addColumn<int>("countdownSeconds"); // 0: no countdown running
        QTest::addColumn<QString>("minutesField");
        QTest::addColumn<bool>("minutesDisplay");
        QTest::addColumn<bool>("beep");
        QTest::addColumn<bool>("infoDialog");
        QTest::addColumn<bool>("inTray");
        QTest::addColumn<int>("questions");

        const auto A = ActionKind::Ausschalten;
        const auto S = ActionKind::Standby;
        // line, action, force, countdown, field, minutes display, beep, info, tray, questions
        QTest::newRow("SM90WT") << "SM90WT" << S << false << 5400 << "90" << true << true << false << true << 0;
        QTest::newRow("S M90 W T") << "S M90 W T" << S << false << 5400 << "90" << true << true << false << true << 0;
        QTest::newRow("s m90 w t") << "s m90 w t" << S << false << 5400 << "90" << true << true << false << true << 0;
        QTest::newRow("A") << "A" << A << true << 3600 << "60" << false << false << false << true << 0;
        QTest::newRow("F") << "F" << A << true << 3600 << "60" << false << false << false << true << 0;
        QTest::newRow("M30 A") << "M30 A" << A << true << 1800 << "30" << true << false << false << true << 0;
        QTest::newRow("H2 A") << "H2 A" << A << true << 7200 << "120" << false << false << false << true << 0;
        QTest::newRow("H2 M30 A") << "H2 M30 A" << A << true << 9000 << "150" << false << false << false << true << 0;
        QTest::newRow("M30H2A") << "M30H2A" << A << true << 9000 << "150" << false << false << false << true << 0;
        QTest::newRow("M30") << "M30" << A << false << 0 << "60" << true << false << false << false << 0;
        QTest::newRow("M0090 A") << "M0090 A" << A << true << 5400 << "0090" << true << false << false << true << 0;
        QTest::newRow("M99999 A") << "M99999 A" << A << true << 0 << "0" << false << false << false << false << 0;
        QTest::newRow("H546 A") << "H546 A" << A << true << 1965600 << "32760" << false << false << false << true << 0;
        QTest::newRow("H547 A") << "H547 A" << A << true << 0 << "0" << false << false << false << false << 0;
        QTest::newRow("H sum above 32767") << "M32000 H13 A" << A << true << 0 << "32000" << true << false << false
                                           << false << 0;
        QTest::newRow("L A") << "L A" << A << true << 3600 << "60" << false << false << false << true << 0;
        QTest::newRow("S SETUP") << "S SETUP" << A << false << 0 << "60" << false << false << true << false << 1;
        QTest::newRow("T") << "T" << A << false << 0 << "60" << false << false << true << false << 0;
        QTest::newRow("W") << "W" << A << false << 0 << "60" << false << true << false << false << 0;
        QTest::newRow("X") << "X" << A << false << 0 << "60" << false << false << true << false << 0;
        QTest::newRow("M without digits stops") << "W M" << A << false << 0 << "0" << false << true << false << false
                                                << 0;
        QTest::newRow("M0 asks, No keeps") << "M0" << A << false << 0 << "0" << false << false << false << false << 1;
        QTest::newRow("H 0 asks") << "S H 0" << S << false << 0 << "0" << false << false << false << false << 1;
        QTest::newRow("eleventh word ignored") << "W W W W W W W W W W A" << A << false << 0 << "60" << false << true
                                               << false << false << 0;
        QTest::newRow("N with tray letter") << "N T" << ActionKind::Neustart << false << 3600 << "60" << false
                                            << false << false << true << 0;
    }

    void commandLine()
    {
        QFETCH(QString, line);
        QFETCH(ActionKind, action);
        QFETCH(bool, force);
        QFETCH(int, countdownSeconds);
        QFETCH(QString, minutesField);
        QFETCH(bool, minutesDisplay);
        QFETCH(bool, beep);
        QFETCH(bool, infoDialog);
        QFETCH(bool, inTray);
        QFETCH(int, questions);

        Harness h(line);
        h.load();
        Form1& f = *h.form;
        QCOMPARE(f.selectedAction(), std::optional(action));
        QCOMPARE(f.Check_ForceShutdown->isChecked(), force);
        QCOMPARE(f.Timer1->isActive(), countdownSeconds != 0);
        if (countdownSeconds != 0) {
            QCOMPARE(f.RemainingSeconds, countdownSeconds);
            QVERIFY(f.Eingabemaske->isHidden());
            QCOMPARE(f.height(), twipsToPixels(kFullHeightTwips));
        }
        QCOMPARE(f.ZeitEingabe->text(), minutesField);
        QCOMPARE(f.Anz_Minuten->isChecked(), minutesDisplay);
        QCOMPARE(f.Akustik->isChecked(), beep);
        QCOMPARE(h.dialogs->modalDialogs.contains(QStringLiteral("InfoDialog")), infoDialog);
        QCOMPARE(f.systemTray() != nullptr && f.systemTray()->isIconShown(), inTray);
        QCOMPARE(f.isHidden(), inTray);
        QCOMPARE(int(h.dialogs->questions.size()), questions);
        QVERIFY(h.power->requests.empty());
        QVERIFY(h.app->endings.empty());
    }

    void trayLetterTicksBothBoxes()
    {
        Harness h(QStringLiteral("S SETUP"));
        h.form->AddToTrayIconCheck->setChecked(false);
        h.form->SystemTRayFrame1->setChecked(false);
        h.load();
        QVERIFY(h.form->AddToTrayIconCheck->isChecked());
        QVERIFY(h.form->SystemTRayFrame1->isChecked());
        QVERIFY(!h.form->isHidden());
    }

    void immediateExecution_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("code");
        QTest::newRow("S M0 Y") << "S M0 Y" << 6;
        QTest::newRow("A M0 Y") << "A M0 Y" << 8;
        QTest::newRow("M0 Y") << "M0 Y" << 1;
        QTest::newRow("N H0 Y") << "N H0 Y" << 2;
        QTest::newRow("L M0 Y") << "L M0 Y" << 0;
        QTest::newRow("R M00 Y") << "R M00 Y" << 5;
        QTest::newRow("F M 0 Y") << "F M 0 Y" << 8;
    }
    void immediateExecution()
    {
        QFETCH(QString, line);
        QFETCH(int, code);
        Harness h(line);
        h.load();
        QCOMPARE(h.power->requests, std::vector<int>{code});
        QCOMPARE(h.app->endings, std::vector<int>{0});
        QVERIFY(h.form->hasEnded());
        QVERIFY(h.dialogs->questions.empty());
        QVERIFY(!h.form->Timer1->isActive());
    }

    void immediateExecutionAsksWithNoAsDefault()
    {
        Harness h(QStringLiteral("R M0"));
        h.dialogs->answer = true;
        h.load();
        QCOMPARE(h.dialogs->questions.size(), std::size_t{1});
        const auto& q = h.dialogs->questions.front();
        QCOMPARE(q.title, QStringLiteral("Jetzt sofort ausführen?"));
        QCOMPARE(q.text, QStringLiteral("In den Ruhezustand-Modus wechseln\r\rSoll der Ruhezustand - Modus jetzt "
                                        "aktiviert werden?"));
        QVERIFY(!q.defaultYes);
        QCOMPARE(h.power->requests, std::vector<int>{5});
    }

    void classicLetter()
    {
        Harness h(QStringLiteral("C"));
        h.load();
        Form1& f = *h.form;
        QVERIFY(f.ClassicMode);
        QVERIFY(!f.Abdeckung->isHidden());
        QVERIFY(f.JetztBtn->isHidden());
        QVERIFY(!f.ClassicModeShowTimer->isHidden());
        QCOMPARE(f.ClassicModeShowTimer->x(), f.JetztBtn->x());
        QCOMPARE(f.Abbruch->text(), QStringLiteral("&Abbrechen"));
        QCOMPARE(f.height(), 185);
        // One click carries the action out, power off for shutting down even with the box cleared.
        f.Check_ForceShutdown->setChecked(false);
        QTest::mouseClick(f.AusschaltenBtn, Qt::LeftButton);
        QCOMPARE(h.power->requests, std::vector<int>{8});
    }

    void failedRequestIsReported()
    {
        Harness h(QStringLiteral("S M0 Y"));
        h.power->outcome = PowerOutcome::failure(QStringLiteral("Zugriff verweigert"));
        h.load();
        QCOMPARE(h.power->requests, std::vector<int>{6});
        QCOMPARE(h.dialogs->messages.size(), std::size_t{1});
        QCOMPARE(h.dialogs->messages.front().icon, MessageIcon::Critical);
        QVERIFY(h.dialogs->messages.front().text.contains(QStringLiteral("Standby")));
        QVERIFY(h.dialogs->messages.front().text.contains(QStringLiteral("Zugriff verweigert")));
        QCOMPARE(h.app->endings, std::vector<int>{1});
    }

    void actionLetterGrowsWindow()
    {
        Harness plain;
        plain.load();
        QCOMPARE(plain.form->height(), twipsToPixels(kCompactHeightTwips));
        QTest::mouseClick(plain.form->StandbyBtn, Qt::LeftButton);
        QCOMPARE(plain.form->height(), twipsToPixels(kFullHeightTwips));
        QCOMPARE(plain.form->JetztBtn->text(), QStringLiteral("Sofort Standby"));
        QVERIFY(!plain.form->Check_ForceShutdown->isEnabled());
        QVERIFY(plain.form->Check_ForceShutdown->isChecked());
        QVERIFY(plain.power->requests.empty());
    }

    void noTrayFallsBackToTaskbar()
    {
        Harness h(QStringLiteral("A"));
        h.windowSystem->tray = false;
        h.load();
        QVERIFY(h.form->Timer1->isActive());
        QVERIFY(h.form->systemTray() == nullptr);
        QVERIFY(h.form->isMinimized());
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
