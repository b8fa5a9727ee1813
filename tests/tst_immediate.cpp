#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "fakes.h"

using namespace tarvo;
using namespace tarvo::test;

class TestImmediate : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void question_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("code");
        QTest::newRow("Ausschalten, No") << "AusschaltenBtn" << false
                                         << "Ausschalten durchführen\r\rSoll Windows jetzt heruntergefahren werden?"
                                         << -1;
        QTest::newRow("Neustart") << "NeustartBtn" << true
                                  << "Neustart durchführen\r\rSoll Windows jetzt neu gestartet werden?" << 2;
        QTest::newRow("Abmelden") << "LogOffBtn" << true
                                  << "Benutzer Abmelden\r\rSoll der aktuelle Windows-Benutzer jetzt abgemeldet "
                                     "werden?"
                                  << 0;
        QTest::newRow("Standby") << "StandbyBtn" << true
                                 << "In den Standby-Modus wechseln\r\rSoll der Standby - Modus jetzt aktiviert werden?"
                                 << 6;
        QTest::newRow("Ruhezustand") << "RuhezustandBtn" << true
                                     << "In den Ruhezustand-Modus wechseln\r\rSoll der Ruhezustand - Modus jetzt "
                                        "aktiviert werden?"
                                     << 5;
    }
    void question()
    {
        QFETCH(QString, button);
        QFETCH(bool, answer);
        QFETCH(QString, text);
        QFETCH(int, code);
        const auto h = loaded();
        h->dialogs->answer = answer;
        QTest::mouseClick(h->form->findChild<QPushButton*>(button), Qt::LeftButton);
        QTest::mouseClick(h->form->JetztBtn, Qt::LeftButton);
        QCOMPARE(h->dialogs->questions.size(), std::size_t{1});
        QCOMPARE(h->dialogs->questions.front().title, QStringLiteral("Jetzt sofort ausführen?"));
        QCOMPARE(h->dialogs->questions.front().text, text);
        QVERIFY(!h->dialogs->questions.front().defaultYes);
        QCOMPARE(h->power->requests, code < 0 ? std::vector<int>{} : std::vector<int>{code});
        QCOMPARE(h->app->endings, code < 0 ? std::vector<int>{} : std::vector<int>{0});
    }

    // No leaves the countdown running. When it runs out while the question is open, a late Yes must
    // not request the action a second time.
    void questionDuringCountdown()
    {
        const auto h = loaded(QStringLiteral("M1 A"));
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
        Harness h(QStringLiteral("S M0 Y"));
        h.power->outcome = PowerOutcome::failure(QStringLiteral("Zugriff verweigert"));
        h.load();
        QCOMPARE(h.power->requests, std::vector<int>{6});
        QCOMPARE(h.dialogs->messages.size(), std::size_t{1});
        QCOMPARE(h.dialogs->messages.front().icon, MessageIcon::Critical);
        QCOMPARE(h.dialogs->messages.front().text,
                 QStringLiteral("Standby konnte nicht ausgeführt werden.\r\rZugriff verweigert"));
        QCOMPARE(h.app->endings, std::vector<int>{1});
    }

    // The real message box shows CR CR as an empty line, with the question icon; Enter answers No.
    void realMessageBox()
    {
        Services services = systemServices();
        QStringList seen;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr)
                return;
            poll.stop();
            const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
            seen << box->windowTitle() << box->text()
                 << QString::number(label->sizeHint().height() >= 3 * label->fontMetrics().lineSpacing())
                 << QString::number(box->icon() == QMessageBox::Question);
            QTest::keyClick(box, Qt::Key_Return);
        });
        poll.start(10);
        QVERIFY(!services.dialogs->ask(nullptr, QStringLiteral("Jetzt sofort ausführen?"),
                                       QStringLiteral("Benutzer Abmelden\r\rSoll abgemeldet werden?"), false));
        QCOMPARE(seen, (QStringList{"Jetzt sofort ausführen?", "Benutzer Abmelden\n\nSoll abgemeldet werden?", "1",
                                    "1"}));
    }
};

QTEST_MAIN(TestImmediate)
#include "tst_immediate.moc"
