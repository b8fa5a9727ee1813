// Carrying an action out at once: the question, the request and its failure, the Classic view, whose
// buttons act on one click, and the real message boxes.
#include <QMessageBox>

#include "fakes.h"
#include "power/action_table.h"

using namespace tarvo;
using namespace tarvo::test;
using namespace Qt::StringLiterals;

namespace {

// The five buttons left to right: 'c' colour or 'g' grey picture, upper case with a bold caption.
QString looks(const Form1& f)
{
    QString result;
    for (ActionKind action : {ActionKind::Abmelden, ActionKind::Ruhezustand, ActionKind::Standby,
                              ActionKind::Neustart, ActionKind::Ausschalten}) {
        const QImage image = f.actionButton(action)->icon().pixmap(QSize(31, 31)).toImage();
        bool colour = false; // the grey pictures have no coloured pixel
        for (int i = 0; i < image.width() * image.height(); ++i) {
            const QColor c = image.pixelColor(i % image.width(), i / image.width());
            colour = colour || (c.alpha() > 0 && (c.red() != c.green() || c.green() != c.blue()));
        }
        const QChar look = colour ? u'c' : u'g';
        result += f.actionCaption(action)->font().bold() ? look.toUpper() : look;
    }
    return result;
}

void moveTo(QWidget* widget)
{
    QTest::mouseMove(widget, QPoint(2, 2));
    QTest::mouseMove(widget, QPoint(5, 5));
}

std::vector<int> codes(int code) { return code < 0 ? std::vector<int>{} : std::vector<int>{code}; }

} // namespace

class TestActions : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Each action's request, without and with the force box: the box changes only shutting down.
    void powerCodes()
    {
        QStringList seen;
        for (const ActionRow& row : actionTable())
            seen << u"%1 %2 %3"_s.arg(QLatin1String(row.word)).arg(powerCodeFor(row.kind, false)).arg(powerCodeFor(row.kind, true));
        QCOMPARE(seen.join(u'|'), u"Ausschalten 1 8|Neustart 2 2|Standby 6 6|Ruhezustand 5 5|Abmelden 0 0"_s);
    }

    // Each button selects its action; "Jetzt" asks first, No the default.
    void question_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("code"); // -1: answered No
        QTest::newRow("Ausschalten, No") << "AusschaltenBtn" << -1;
        QTest::newRow("Ausschalten") << "AusschaltenBtn" << 1;
        QTest::newRow("Neustart") << "NeustartBtn" << 2;
        QTest::newRow("Abmelden") << "LogOffBtn" << 0;
        QTest::newRow("Standby") << "StandbyBtn" << 6;
        QTest::newRow("Ruhezustand") << "RuhezustandBtn" << 5;
    }
    void question()
    {
        QFETCH(QString, button);
        QFETCH(int, code);
        const auto h = loaded();
        h->dialogs->answer = code >= 0;
        QTest::mouseClick(control<QPushButton>(*h->form, qPrintable(button)), Qt::LeftButton);
        control<QCheckBox>(*h->form, "Check_ForceShutdown")->setChecked(false); // plain shut down, not power off
        QTest::mouseClick(control<QPushButton>(*h->form, "JetztBtn"), Qt::LeftButton);
        QVERIFY(h->dialogs->shown.size() == 1 && h->dialogs->shown[0].startsWith(u"ask No|"_s));
        QCOMPARE(h->power->requests, codes(code));
        QCOMPARE(h->app->endings, code < 0 ? std::vector<int>{} : std::vector<int>{0});
    }

    // No leaves the countdown running. When it runs out while the question is open, a late Yes must
    // not request the action a second time.
    void questionDuringCountdown()
    {
        const auto h = loaded(u"M1 A"_s);
        h->form->JetztBtn_Click();
        QVERIFY(control<QTimer>(*h->form, "Timer1")->isActive());
        h->tick(50);
        h->dialogs->answer = true;
        h->dialogs->onAsk = [&h] { h->tick(10); };
        h->form->JetztBtn_Click();
        QCOMPARE(h->power->requests, std::vector<int>{8});
        QCOMPARE(h->app->endings, std::vector<int>{0});
    }

    // An action the computer cannot carry out is refused, with the reason, before anything starts.
    void impossibleAction_data()
    {
        QTest::addColumn<QString>("commandLine");
        QTest::addColumn<QString>("then"); // the button clicked after start-up
        QTest::addColumn<bool>("possible");
        QTest::addColumn<int>("asked"); // the code asked about, -1: none
        QTest::newRow("R M5") << "R M5" << "" << false << 5;
        QTest::newRow("R M5, possible") << "R M5" << "" << true << 5;
        QTest::newRow("Start button") << "" << "Start" << false << 1;
        QTest::newRow("R M0 Y") << "R M0 Y" << "" << false << 5;
        QTest::newRow("Jetzt") << "Y" << "JetztBtn" << false << 1;
        QTest::newRow("Classic button") << "C" << "StandbyBtn" << false << 6;
        QTest::newRow("standard view only selects") << "" << "StandbyBtn" << false << -1;
    }
    void impossibleAction()
    {
        QFETCH(QString, commandLine);
        QFETCH(QString, then);
        QFETCH(bool, possible);
        QFETCH(int, asked);
        Harness h(commandLine);
        const QString reason = u"Der Ruhezustand ist auf diesem Rechner nicht verfügbar."_s;
        h.power->possible = possible ? PowerAvailability::yes() : PowerAvailability::no(reason);
        h.load();
        control<QCheckBox>(*h.form, "Check_ForceShutdown")->setChecked(false);
        if (!then.isEmpty())
            QTest::mouseClick(control<QPushButton>(*h.form, qPrintable(then)), Qt::LeftButton);
        QCOMPARE(h.power->asked, codes(asked));
        QCOMPARE(control<QTimer>(*h.form, "Timer1")->isActive(), possible);
        QVERIFY(h.power->requests.empty() && !h.form->hasEnded());
        QCOMPARE(h.dialogs->shown.contains(u"Warning|Tarvo|"_s + reason), !possible && asked >= 0);
    }

    // While logind decides, the window lives on: the one request is not made again, and ending
    // Tarvo meanwhile is final, whatever the answer later says.
    void requestOut_data()
    {
        QTest::addColumn<QString>("meanwhile");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<int>("ending");
        QTest::addColumn<QString>("shown"); // the failure's box, if any
        QTest::newRow("answered yes") << "" << false << 0 << QString();
        QTest::newRow("refused") << "" << true << 1 << u"Critical|Tarvo|Ausschalten konnte nicht ausgeführt werden.\r\rNein"_s;
        QTest::newRow("Jetzt and Abbruch") << "clicks" << false << 0 << QString();
        QTest::newRow("SIGTERM, then refused") << "SIGTERM" << true << 143 << QString();
    }
    void requestOut()
    {
        QFETCH(QString, meanwhile);
        QFETCH(bool, refused);
        QFETCH(int, ending);
        QFETCH(QString, shown);
        Harness h(u"M1 A Y"_s);
        h.power->answerLater = true;
        h.power->outcome = refused ? PowerOutcome::failure(u"Nein"_s) : PowerOutcome::success();
        h.load();
        h.tick(60);
        QVERIFY(h.form->powerRequestOut() && !h.form->hasEnded() && !control<QTimer>(*h.form, "Timer1")->isActive());
        QCOMPARE(control<QLabel>(*h.form, "Display")->text(), u"Shutdown!!!"_s);
        if (meanwhile == "clicks"_L1) {
            h.form->JetztBtn_Click();
            h.form->Abbruch_Click();
            QVERIFY(!control<QFrame>(*h.form, "CountdownMaske")->isHidden());
        }
        if (meanwhile == "SIGTERM"_L1)
            h.form->EndOnSignal(15);
        h.power->answer();
        QCOMPARE(h.power->requests, std::vector<int>{8});
        QCOMPARE(h.app->endings, std::vector<int>{ending});
        QCOMPARE(h.dialogs->shown.filter(u"Critical|"_s).join(u'|'), shown);
        QVERIFY(!h.form->powerRequestOut());
    }

    void classicView()
    {
        const auto h = loaded(u"C"_s);
        Form1& f = *h->form;
        QVERIFY(f.classicMode() && !control<QLabel>(f, "Abdeckung")->isHidden() && control<QPushButton>(f, "JetztBtn")->isHidden());
        QVERIFY(control<QPushButton>(f, "ClassicModeShowTimer")->isVisible());
        // The pointer lights one button after the other.
        for (const auto& [action, look] : {std::pair{ActionKind::Abmelden, "Ccccc"}, {ActionKind::Standby, "ccCcc"},
                                           {ActionKind::Ausschalten, "ccccC"}}) {
            moveTo(f.actionButton(action));
            QTRY_COMPARE(looks(f), QLatin1String(look));
        }
        QTest::mouseMove(control<QLabel>(f, "Picture1"), QPoint(20, 20));
        QTRY_COMPARE(looks(f), u"ccccc"_s);
        // One click carries the action out, power off for shutting down even with the box cleared.
        control<QCheckBox>(f, "Check_ForceShutdown")->setChecked(false);
        QVERIFY(h->power->requests.empty());
        QTest::mouseClick(f.actionButton(ActionKind::Ausschalten), Qt::LeftButton);
        QCOMPARE(h->power->requests, std::vector<int>{8});

        // The standard view: the pointer changes nothing.
        const auto plain = loaded();
        QTest::mouseClick(plain->form->actionButton(ActionKind::Neustart), Qt::LeftButton);
        moveTo(plain->form->actionButton(ActionKind::Abmelden));
        QTest::mouseMove(control<QLabel>(*plain->form, "Picture1"), QPoint(20, 20));
        QCOMPARE(looks(*plain->form), u"gggCg"_s);
    }

    // Cancelling selects shut down again, which in the Classic view must not carry it out.
    void cancelInClassicView()
    {
        const auto h = loaded(u"C A"_s);
        h->form->Abbruch_Click();
        QVERIFY(!control<QTimer>(*h->form, "Timer1")->isActive() && h->form->classicMode());
        QVERIFY(h->power->requests.empty() && h->app->endings.empty());
    }

    void leaveClassic_data()
    {
        QTest::addColumn<QString>("minutes");
        QTest::addColumn<QString>("after");
        QTest::newRow("0") << "0" << "60";
        QTest::newRow("25") << "25" << "25";
        QTest::newRow("beyond 16 bits") << "40000" << "60";
    }
    void leaveClassic()
    {
        QFETCH(QString, minutes);
        QFETCH(QString, after);
        const auto h = loaded(u"C"_s);
        Form1& f = *h->form;
        control<QLineEdit>(f, "ZeitEingabe")->setText(minutes);
        QTest::mouseClick(control<QPushButton>(f, "ClassicModeShowTimer"), Qt::LeftButton);
        QVERIFY(!f.classicMode() && control<QPushButton>(f, "JetztBtn")->isVisible() && control<QLabel>(f, "Abdeckung")->isHidden());
        QVERIFY(control<QPushButton>(f, "ClassicModeShowTimer")->isHidden());
        QCOMPARE(control<QLineEdit>(f, "ZeitEingabe")->text(), after);
        QCOMPARE(f.remainingSeconds(), 3600);
        QCOMPARE(looks(f), u"ggggg"_s);
        // Now a click only selects.
        moveTo(f.actionButton(ActionKind::Abmelden));
        QTest::mouseClick(f.actionButton(ActionKind::Abmelden), Qt::LeftButton);
        QTRY_COMPARE(looks(f), u"Cgggg"_s);
        QVERIFY(h->power->requests.empty());
    }

    // The real boxes: German buttons with German mnemonics whatever the locale (the test runs under
    // LANG=C.UTF-8), CR CR shown as an empty line, the question icon.
    void realMessageBox_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("key"); // pressed with Alt, or Return alone
        QTest::addColumn<QString>("seen"); // the buttons, then the answer
        QTest::newRow("Yes/No, Alt+N") << "ask" << int(Qt::Key_N) << "&Ja &Nein|No";
        QTest::newRow("Yes/No, Alt+J") << "ask" << int(Qt::Key_J) << "&Ja &Nein|Yes";
        QTest::newRow("Yes/No/Cancel, Alt+A") << "ask3" << int(Qt::Key_A) << "&Abbrechen &Ja &Nein|Cancel";
        QTest::newRow("Yes/No/Cancel, Alt+N") << "ask3" << int(Qt::Key_N) << "&Abbrechen &Ja &Nein|No";
        QTest::newRow("message") << "message" << int(Qt::Key_Return) << "OK|";
    }
    void realMessageBox()
    {
        QFETCH(QString, kind);
        QFETCH(int, key);
        QFETCH(QString, seen);
        QString box;
        QStringList buttons;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            auto* open = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (open == nullptr)
                return;
            poll.stop();
            const auto* label = open->findChild<QLabel*>(u"qt_msgbox_label"_s);
            box = u"%1|%2|%3"_s.arg(open->text()).arg(label->sizeHint().height() >= 3 * label->fontMetrics().lineSpacing())
                      .arg(open->icon() == QMessageBox::Question);
            for (const QAbstractButton* button : open->buttons())
                buttons << button->text();
            open->activateWindow();
            QTest::keyClick(open, Qt::Key(key), key == Qt::Key_Return ? Qt::NoModifier : Qt::AltModifier);
            // A key that pressed no button must not leave the test waiting (a mnemonic clicks a moment later).
            QTimer::singleShot(3000, open, [open] { open->reject(); });
        });
        poll.start(10);
        const auto dialogs = makeDialogs();
        const QString text = u"Abmelden\r\rSoll abgemeldet werden?"_s;
        QString answered;
        if (kind == u"ask")
            answered = dialogs->ask(nullptr, u"Jetzt?"_s, text, false) ? u"Yes"_s : u"No"_s;
        else if (kind == u"ask3")
            answered = QStringList{"Yes", "No", "Cancel"}.at(int(dialogs->askYesNoCancel(nullptr, u"Jetzt?"_s, text)));
        else
            dialogs->message(nullptr, MessageIcon::Question, u"Jetzt?"_s, text);
        buttons.sort();
        QCOMPARE(buttons.join(u' ') + u'|' + answered, seen);
        QCOMPARE(box, u"Abmelden\n\nSoll abgemeldet werden?|1|1"_s);
    }
};

QTEST_MAIN(TestActions)
#include "tst_actions.moc"
