// Carrying an action out at once: the question, the request and its failure, and the Classic view,
// whose buttons act on one click.
#include <QMessageBox>

#include "fakes.h"
#include "power/action_table.h"

using namespace tarvo;
using namespace tarvo::test;
using namespace Qt::StringLiterals;

namespace {

// The looks of the five buttons, left to right: 'c' colour or 'g' grey, upper case with a bold caption.
QString looks(const Form1& f)
{
    const ActionKind leftToRight[] = {ActionKind::Abmelden, ActionKind::Ruhezustand, ActionKind::Standby,
                                      ActionKind::Neustart, ActionKind::Ausschalten};
    QString result;
    for (ActionKind action : leftToRight) {
        const QPushButton* button = f.actionButton(action);
        const QLabel* caption = f.actionCaption(action);
        const QImage image = button->icon().pixmap(QSize(31, 31)).toImage();
        bool colour = false; // the grey pictures have no coloured pixel
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                colour = colour || (c.alpha() > 0 && (c.red() != c.green() || c.green() != c.blue()));
            }
        result += caption->font().bold() ? (colour ? u'C' : u'G') : (colour ? u'c' : u'g');
    }
    return result;
}

void moveTo(QWidget* widget)
{
    QTest::mouseMove(widget, QPoint(2, 2));
    QTest::mouseMove(widget, QPoint(5, 5));
}

} // namespace

class TestActions : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Each action's request, without and with the force box: the box changes only shutting down.
    void powerCodes()
    {
        QStringList seen;
        for (const ActionRow& row : actionTable())
            seen << u"%1 %2 %3"_s.arg(QLatin1String(row.word))
                        .arg(powerCodeFor(row.kind, false))
                        .arg(powerCodeFor(row.kind, true));
        QCOMPARE(seen.join(u'|'), u"Ausschalten 1 8|Neustart 2 2|Standby 6 6|Ruhezustand 5 5|Abmelden 0 0"_s);
    }

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
        QTest::mouseClick(h->form->findChild<QPushButton*>(button), Qt::LeftButton);
        control<QCheckBox>(*h->form, "Check_ForceShutdown")->setChecked(false); // plain shut down, not power off
        QTest::mouseClick(control<QPushButton>(*h->form, "JetztBtn"), Qt::LeftButton);
        QVERIFY(h->dialogs->shown.size() == 1 && h->dialogs->shown[0].startsWith(u"ask No|"_s)); // Enter answers No
        QCOMPARE(h->power->requests, code < 0 ? std::vector<int>{} : std::vector<int>{code});
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

    // An action the computer cannot carry out is refused before anything starts or is requested.
    void impossibleAction_data()
    {
        QTest::addColumn<QString>("commandLine");
        QTest::addColumn<QString>("then"); // what the user does after start-up
        QTest::addColumn<bool>("possible");
        QTest::addColumn<int>("asked"); // the code asked about, -1: none
        QTest::addColumn<bool>("counting"); // a countdown runs afterwards
        QTest::addColumn<int>("requested"); // -1: none
        QTest::newRow("R M5") << "R M5" << "" << false << 5 << false << -1;
        QTest::newRow("R M5, challenge") << "R M5" << "" << true << 5 << true << -1;
        QTest::newRow("Start button") << "" << "Start" << false << 1 << false << -1;
        QTest::newRow("R M0 Y") << "R M0 Y" << "" << false << 5 << false << -1;
        QTest::newRow("Jetzt") << "Y" << "JetztBtn" << false << 1 << false << -1;
        QTest::newRow("Classic button") << "C" << "StandbyBtn" << false << 6 << false << -1;
        QTest::newRow("standard view only selects") << "" << "StandbyBtn" << false << -1 << false << -1;
    }
    void impossibleAction()
    {
        QFETCH(QString, commandLine);
        QFETCH(QString, then);
        QFETCH(bool, possible);
        QFETCH(int, asked);
        QFETCH(bool, counting);
        QFETCH(int, requested);
        Harness h(commandLine);
        const QString reason = u"Der Ruhezustand ist auf diesem Rechner nicht verfügbar."_s;
        h.power->possible = possible ? PowerAvailability::yes() : PowerAvailability::no(reason);
        h.load();
        control<QCheckBox>(*h.form, "Check_ForceShutdown")->setChecked(false);
        if (!then.isEmpty())
            QTest::mouseClick(h.form->findChild<QPushButton*>(then), Qt::LeftButton);
        QCOMPARE(h.power->asked, asked < 0 ? std::vector<int>{} : std::vector<int>{asked});
        QCOMPARE(control<QTimer>(*h.form, "Timer1")->isActive(), counting);
        QCOMPARE(h.power->requests, requested < 0 ? std::vector<int>{} : std::vector<int>{requested});
        QCOMPARE(h.dialogs->shown.contains(u"Warning|Tarvo|"_s + reason), !possible && asked >= 0);
        QCOMPARE(h.form->hasEnded(), requested >= 0);
    }

    // While logind decides, the window lives on: the one request is not made again, and ending
    // Tarvo meanwhile is final, whatever the answer later says.
    void requestOut_data()
    {
        QTest::addColumn<QString>("meanwhile");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<std::vector<int>>("endings");
        QTest::addColumn<QString>("shown"); // the last box, if any
        QTest::newRow("answered yes") << "" << false << std::vector<int>{0} << QString();
        QTest::newRow("refused") << "" << true << std::vector<int>{1}
                                 << u"Critical|Tarvo|Ausschalten konnte nicht ausgeführt werden.\r\rNein"_s;
        QTest::newRow("Jetzt and Abbruch") << "clicks" << false << std::vector<int>{0} << QString();
        QTest::newRow("SIGTERM, then refused") << "SIGTERM" << true << std::vector<int>{143} << QString();
    }
    void requestOut()
    {
        QFETCH(QString, meanwhile);
        QFETCH(bool, refused);
        QFETCH(std::vector<int>, endings);
        QFETCH(QString, shown);
        Harness h(u"M1 A Y"_s);
        h.power->answerLater = true;
        h.power->outcome = refused ? PowerOutcome::failure(u"Nein"_s) : PowerOutcome::success();
        h.load();
        h.tick(60);
        QCOMPARE(h.power->requests, std::vector<int>{8});
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
        QCOMPARE(h.app->endings, endings);
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
        for (const auto& [action, look] : {std::pair{ActionKind::Abmelden, "Ccccc"}, {ActionKind::Ruhezustand, "cCccc"},
                                           {ActionKind::Standby, "ccCcc"}, {ActionKind::Ausschalten, "ccccC"}}) {
            moveTo(f.actionButton(action));
            QTRY_COMPARE(looks(f), QLatin1String(look));
        }
        QTest::mouseMove(control<QLabel>(f, "Picture1"), QPoint(20, 20));
        QTRY_COMPARE(looks(f), u"ccccc"_s);
        QVERIFY(h->power->requests.empty());
        // One click carries the action out, power off for shutting down even with the box cleared.
        control<QCheckBox>(f, "Check_ForceShutdown")->setChecked(false);
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
        QVERIFY(h->form->classicMode() && control<QTimer>(*h->form, "Timer1")->isActive());
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
        QVERIFY(!f.classicMode() && control<QPushButton>(f, "JetztBtn")->isVisible() && control<QPushButton>(f, "ClassicModeShowTimer")->isHidden());
        QVERIFY(control<QLabel>(f, "Abdeckung")->isHidden());
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
        QTest::addColumn<QString>("buttons");
        QTest::addColumn<int>("key"); // pressed with Alt, or Return alone
        QTest::addColumn<QString>("answer");
        QTest::newRow("Yes/No, Alt+N") << "ask" << "&Ja &Nein" << int(Qt::Key_N) << "No";
        QTest::newRow("Yes/No, Alt+J") << "ask" << "&Ja &Nein" << int(Qt::Key_J) << "Yes";
        QTest::newRow("Yes/No/Cancel, Alt+A") << "ask3" << "&Abbrechen &Ja &Nein" << int(Qt::Key_A) << "Cancel";
        QTest::newRow("Yes/No/Cancel, Alt+N") << "ask3" << "&Abbrechen &Ja &Nein" << int(Qt::Key_N) << "No";
        QTest::newRow("message") << "message" << "OK" << int(Qt::Key_Return) << "";
    }
    void realMessageBox()
    {
        QFETCH(QString, kind);
        QFETCH(QString, buttons);
        QFETCH(int, key);
        QFETCH(QString, answer);
        QString seen;
        QStringList texts;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr)
                return;
            poll.stop();
            const auto* label = box->findChild<QLabel*>(u"qt_msgbox_label"_s);
            seen = u"%1|%2|%3"_s.arg(box->text())
                       .arg(label->sizeHint().height() >= 3 * label->fontMetrics().lineSpacing())
                       .arg(box->icon() == QMessageBox::Question);
            for (const QAbstractButton* button : box->buttons())
                texts << button->text();
            box->activateWindow();
            QTest::keyClick(box, Qt::Key(key), key == Qt::Key_Return ? Qt::NoModifier : Qt::AltModifier);
            // A key that pressed no button must not leave the test waiting (a mnemonic clicks a moment later).
            QTimer::singleShot(3000, box, [box] { box->reject(); });
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
        texts.sort();
        QCOMPARE(texts.join(u' '), buttons);
        QCOMPARE(answered, answer);
        QCOMPARE(seen, u"Abmelden\n\nSoll abgemeldet werden?|1|1"_s);
    }
};

QTEST_MAIN(TestActions)
#include "tst_actions.moc"
