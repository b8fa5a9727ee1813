// Carrying an action out at once: the question, the request and its failure, the Classic view, whose
// buttons act on one click, and the real message boxes.
#include <QMessageBox>

#include "fakes.h"

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
        const QImage image
            = f.actionButton(action)->icon().pixmap(QSize(31, 31)).toImage().convertToFormat(QImage::Format_RGB32);
        const QImage grey = image.convertToFormat(QImage::Format_Grayscale8).convertToFormat(QImage::Format_RGB32);
        const QChar look = image == grey ? u'g' : u'c'; // a grey picture is the same in shades of grey
        result += f.actionCaption(action)->font().bold() ? look.toUpper() : look;
    }
    return result;
}

// A real box: its kind, the key pressed (with Alt, or Return alone), the buttons seen and the answer.
struct Box {
    QString kind;
    Qt::Key key;
    QString seen;
};

} // namespace

Q_DECLARE_METATYPE(Box)

class TestActions : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // What a user does, and what Tarvo carries out: each button selects its action, "Jetzt" asks first,
    // No the default; the force box (ticked at first) changes only shutting down; an action the computer
    // cannot carry out is refused with the reason before anything starts; while logind decides, the one
    // request is not made again and ending Tarvo meanwhile is final; the Classic view's buttons act on one click.
    void userActions_data()
    {
        QTest::addColumn<Scene>("scene");
        const QString no = u"%1 no @JetztBtn"_s, yes = u"%1 yes @JetztBtn"_s;
        QTest::newRow("Ausschalten, No") << Scene{"", no.arg("@AusschaltenBtn"), "kinds=ask No; requests=; endings="};
        QTest::newRow("Ausschalten, not forced")
            << Scene{"", yes.arg("@AusschaltenBtn Check_ForceShutdown-"), "kinds=ask No; requests=1; endings=0"};
        QTest::newRow("Neustart") << Scene{"", yes.arg("@NeustartBtn"), "requests=2"};
        QTest::newRow("Abmelden") << Scene{"", yes.arg("@LogOffBtn"), "requests=0"};
        QTest::newRow("Standby") << Scene{"", yes.arg("@StandbyBtn"), "requests=6"};
        QTest::newRow("Ruhezustand") << Scene{"", yes.arg("@RuhezustandBtn"), "requests=5"};
        QTest::newRow("No leaves the countdown running") << Scene{"M1 A", "no jetzt", "timer=1; requests="};
        QTest::newRow("fired while asked: a late Yes requests nothing more")
            << Scene{"M1 A", "50 yes+10 jetzt", "requests=8; endings=0"};
        const QString refusal = u"boxes=Warning|Tarvo|Der Ruhezustand ist auf diesem Rechner nicht verfügbar."_s;
        const QString refused = "asked=5; timer=0; requests=; endings=; " + refusal;
        QTest::newRow("R M5 impossible") << Scene{"R M5", "!impossible", refused};
        QTest::newRow("R M0 Y impossible") << Scene{"R M0 Y", "!impossible", refused};
        QTest::newRow("Start button") << Scene{"", "!impossible Check_ForceShutdown- @Start", "asked=1; timer=0; " + refusal};
        QTest::newRow("Jetzt") << Scene{"Y", "!impossible Check_ForceShutdown- @JetztBtn", "asked=1; requests=; " + refusal};
        QTest::newRow("Classic button") << Scene{"C", "!impossible @StandbyBtn", "asked=6; requests=; " + refusal};
        QTest::newRow("standard view only selects") << Scene{"", "!impossible @StandbyBtn", "asked=; boxes="};
        QTest::newRow("request out") << Scene{"M1 A Y", "!later 60", "Display=Shutdown!!!; timer=0; requests=8; endings="};
        QTest::newRow("answered yes") << Scene{"M1 A Y", "!later 60 answer", "requests=8; endings=0; boxes="};
        QTest::newRow("refused") << Scene{"M1 A Y", "!later !refused 60 answer", "endings=1; boxes=Critical|Tarvo|"
                                                                              "Ausschalten konnte nicht ausgeführt werden.\r\rNein"};
        QTest::newRow("Jetzt and Abbruch meanwhile") << Scene{"M1 A Y", "!later 60 jetzt abbruch", "?CountdownMaske=1; requests=8"};
        QTest::newRow("Jetzt and Abbruch, then yes") << Scene{"M1 A Y", "!later 60 jetzt abbruch answer", "requests=8; endings=0"};
        QTest::newRow("SIGTERM, then refused") << Scene{"M1 A Y", "!later !refused 60 sig15 answer", "requests=8; endings=143; boxes="};
        QTest::newRow("Classic view") << Scene{"C", "", "classic=1; ?Abdeckung=1; ?JetztBtn=0; ?ClassicModeShowTimer=1"};
        QTest::newRow("Classic: one click powers off, box or not") << Scene{"C", "Check_ForceShutdown- @AusschaltenBtn", "requests=8"};
        QTest::newRow("Classic: cancelling selects shut down, no more")
            << Scene{"C A", "abbruch", "timer=0; classic=1; requests=; endings="};
        const char* left = "classic=0; ?JetztBtn=1; ?Abdeckung=0; ?ClassicModeShowTimer=0; ZeitEingabe=%1; left=3600";
        QTest::newRow("leaving Classic, 0") << Scene{"C", "ZeitEingabe=0 @ClassicModeShowTimer", QString(left).arg(60)};
        QTest::newRow("leaving Classic, 25") << Scene{"C", "ZeitEingabe=25 @ClassicModeShowTimer", QString(left).arg(25)};
        QTest::newRow("leaving Classic, beyond 16 bits") << Scene{"C", "ZeitEingabe=40000 @ClassicModeShowTimer", QString(left).arg(60)};
        QTest::newRow("left Classic: a click selects") << Scene{"C", "@ClassicModeShowTimer @LogOffBtn", "requests="};
    }
    void userActions() { playScene(); }

    // The selected action shows in colour and bold; in the Classic view the pointer lights the button
    // under it instead.
    void buttonLooks()
    {
        const auto h = played(u"C"_s, u"~StandbyBtn"_s);
        QTRY_COMPARE(looks(*h->form), u"ccCcc"_s);
        play(*h, u"@ClassicModeShowTimer @NeustartBtn ~LogOffBtn"_s); // the hover changes nothing here
        QTRY_COMPARE(looks(*h->form), u"gggCg"_s);
    }

    // The real boxes: German buttons with German mnemonics whatever the locale (the test runs under
    // LANG=C.UTF-8), CR CR shown as an empty line, the question icon.
    void realMessageBox_data()
    {
        QTest::addColumn<Box>("row");
        QTest::newRow("Yes/No, Alt+N") << Box{"ask", Qt::Key_N, "&Ja &Nein|No"};
        QTest::newRow("Yes/No, Alt+J") << Box{"ask", Qt::Key_J, "&Ja &Nein|Yes"};
        QTest::newRow("Yes/No/Cancel, Alt+A") << Box{"ask3", Qt::Key_A, "&Abbrechen &Ja &Nein|Cancel"};
        QTest::newRow("message") << Box{"message", Qt::Key_Return, "OK|"};
    }
    void realMessageBox()
    {
        QFETCH(Box, row);
        QString box;
        QStringList buttons;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            // A mnemonic reaches only the active window; a busy machine activates it late.
            auto* open = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (open)
                open->activateWindow();
            if (!open || QApplication::activeWindow() != open)
                return;
            poll.stop();
            const auto* label = open->findChild<QLabel*>(u"qt_msgbox_label"_s);
            box = u"%1|%2|%3"_s.arg(open->text()).arg(label->sizeHint().height() >= 3 * label->fontMetrics().lineSpacing())
                      .arg(open->icon() == QMessageBox::Question);
            for (const QAbstractButton* button : open->buttons())
                buttons << button->text();
            QTest::keyClick(open, row.key, row.key == Qt::Key_Return ? Qt::NoModifier : Qt::AltModifier);
            // A key that pressed no button must not leave the test waiting (a mnemonic clicks a moment later).
            QTimer::singleShot(3000, open, [open] { open->reject(); });
        });
        poll.start(10);
        const auto dialogs = makeDialogs();
        const QString text = u"Abmelden\r\rSoll abgemeldet werden?"_s;
        QString answered;
        if (row.kind == u"ask")
            answered = dialogs->ask(nullptr, u"Jetzt?"_s, text, false) ? u"Yes"_s : u"No"_s;
        else if (row.kind == u"ask3")
            answered = QStringList{"Yes", "No", "Cancel"}.at(int(dialogs->askYesNoCancel(nullptr, u"Jetzt?"_s, text)));
        else
            dialogs->message(nullptr, MessageIcon::Question, u"Jetzt?"_s, text);
        buttons.sort();
        QCOMPARE(buttons.join(u' ') + u'|' + answered, row.seen);
        QCOMPARE(box, u"Abmelden\n\nSoll abgemeldet werden?|1|1"_s);
    }
};

QTEST_MAIN(TestActions)
#include "tst_actions.moc"
