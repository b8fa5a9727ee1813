// Carrying an action out at once: the question, the request and its failure, and the Classic view,
// whose buttons act on one click.
#include <QMessageBox>

#include "fakes.h"

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
        h->form->Check_ForceShutdown->setChecked(false); // plain shut down, not power off
        QTest::mouseClick(h->form->JetztBtn, Qt::LeftButton);
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
        QVERIFY(h->form->Timer1->isActive());
        h->tick(50);
        h->dialogs->answer = true;
        h->dialogs->onAsk = [&h] { h->tick(10); };
        h->form->JetztBtn_Click();
        QCOMPARE(h->power->requests, std::vector<int>{8});
        QCOMPARE(h->app->endings, std::vector<int>{0});
    }

    // A refused request is no success: the user is told why, and the exit code says so.
    void failedRequestIsReported()
    {
        Harness h(u"S M0 Y"_s);
        h.power->outcome = PowerOutcome::failure(u"Zugriff verweigert"_s);
        h.load();
        QCOMPARE(h.power->requests, std::vector<int>{6});
        QCOMPARE(h.dialogs->shown,
                 QStringList{"Critical|Tarvo|Standby konnte nicht ausgeführt werden.\r\rZugriff verweigert"});
        QCOMPARE(h.app->endings, std::vector<int>{1});
    }

    void classicView()
    {
        const auto h = loaded(u"C"_s);
        Form1& f = *h->form;
        QVERIFY(f.ClassicMode && !f.Abdeckung->isHidden() && f.JetztBtn->isHidden());
        QVERIFY(f.ClassicModeShowTimer->isVisible());
        // The pointer lights one button after the other.
        for (const auto& [action, look] : {std::pair{ActionKind::Abmelden, "Ccccc"}, {ActionKind::Ruhezustand, "cCccc"},
                                           {ActionKind::Standby, "ccCcc"}, {ActionKind::Ausschalten, "ccccC"}}) {
            moveTo(f.actionButton(action));
            QTRY_COMPARE(looks(f), QLatin1String(look));
        }
        QTest::mouseMove(f.Picture1, QPoint(20, 20));
        QTRY_COMPARE(looks(f), u"ccccc"_s);
        QVERIFY(h->power->requests.empty());
        // One click carries the action out, power off for shutting down even with the box cleared.
        f.Check_ForceShutdown->setChecked(false);
        QTest::mouseClick(f.actionButton(ActionKind::Ausschalten), Qt::LeftButton);
        QCOMPARE(h->power->requests, std::vector<int>{8});

        // The standard view: the pointer changes nothing.
        const auto plain = loaded();
        QTest::mouseClick(plain->form->actionButton(ActionKind::Neustart), Qt::LeftButton);
        moveTo(plain->form->actionButton(ActionKind::Abmelden));
        QTest::mouseMove(plain->form->Picture1, QPoint(20, 20));
        QCOMPARE(looks(*plain->form), u"gggCg"_s);
    }

    // Cancelling selects shut down again, which in the Classic view must not carry it out.
    void cancelInClassicView()
    {
        const auto h = loaded(u"C A"_s);
        QVERIFY(h->form->ClassicMode && h->form->Timer1->isActive());
        h->form->Abbruch_Click();
        QVERIFY(!h->form->Timer1->isActive() && h->form->ClassicMode);
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
        f.ZeitEingabe->setText(minutes);
        QTest::mouseClick(f.ClassicModeShowTimer, Qt::LeftButton);
        QVERIFY(!f.ClassicMode && f.JetztBtn->isVisible() && f.ClassicModeShowTimer->isHidden());
        QVERIFY(f.Abdeckung->isHidden());
        QCOMPARE(f.ZeitEingabe->text(), after);
        QCOMPARE(f.RemainingSeconds, 3600);
        QCOMPARE(looks(f), u"ggggg"_s);
        // Now a click only selects.
        moveTo(f.actionButton(ActionKind::Abmelden));
        QTest::mouseClick(f.actionButton(ActionKind::Abmelden), Qt::LeftButton);
        QTRY_COMPARE(looks(f), u"Cgggg"_s);
        QVERIFY(h->power->requests.empty());
    }

    // The real message box shows CR CR as an empty line, with the question icon; Enter answers No.
    void realMessageBox()
    {
        QString seen;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr)
                return;
            poll.stop();
            const auto* label = box->findChild<QLabel*>(u"qt_msgbox_label"_s);
            seen = u"%1|%2|%3|%4"_s.arg(box->windowTitle(), box->text())
                       .arg(label->sizeHint().height() >= 3 * label->fontMetrics().lineSpacing())
                       .arg(box->icon() == QMessageBox::Question);
            QTest::keyClick(box, Qt::Key_Return);
        });
        poll.start(10);
        QVERIFY(!systemServices().dialogs->ask(nullptr, u"Jetzt?"_s, u"Abmelden\r\rSoll abgemeldet werden?"_s, false));
        QCOMPARE(seen, u"Jetzt?|Abmelden\n\nSoll abgemeldet werden?|1|1"_s);
    }
};

QTEST_MAIN(TestActions)
#include "tst_actions.moc"
