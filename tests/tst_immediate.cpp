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
                                 << "In den Standby-Modus wechseln\r\rSoll der Standby - Modus jetzt aktiviert "
                                    "werden?"
                                 << 6;
    }
    void question()
    {
        QFETCH(QString, button);
        QFETCH(bool, answer);
        QFETCH(QString, text);
        QFETCH(int, code);
        Harness h;
        h.load();
        h.dialogs->answer = answer;
        QTest::mouseClick(h.form->findChild<QPushButton*>(button), Qt::LeftButton);
        QTest::mouseClick(h.form->JetztBtn, Qt::LeftButton);
        QCOMPARE(h.dialogs->questions.size(), std::size_t{1});
        QCOMPARE(h.dialogs->questions.front().title, QStringLiteral("Jetzt sofort ausführen?"));
        QCOMPARE(h.dialogs->questions.front().text, text);
        QVERIFY(!h.dialogs->questions.front().defaultYes);
        QCOMPARE(h.power->requests, code < 0 ? std::vector<int>{} : std::vector<int>{code});
        QCOMPARE(h.form->hasEnded(), code >= 0);
    }

    // No leaves the countdown running. When it runs out while the question is open, a late Yes must
    // not request the action a second time.
    void questionDuringCountdown()
    {
        Harness h(QStringLiteral("M1 A"));
        h.load();
        h.form->JetztBtn_Click();
        QVERIFY(h.form->Timer1->isActive());
        h.tick(50);
        h.dialogs->answer = true;
        h.dialogs->onAsk = [&h] { h.tick(10); };
        h.form->JetztBtn_Click();
        QCOMPARE(h.power->requests, std::vector<int>{8});
        QCOMPARE(h.app->endings, std::vector<int>{0});
    }

    // The real message box shows CR CR as an empty line, with the question icon; Enter answers No.
    void realMessageBox()
    {
        Services services = systemServices();
        QMessageBox* seen = nullptr;
        QString text;
        QString title;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        int labelHeight = 0;
        int lineSpacing = 0;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            seen = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (seen == nullptr)
                return;
            poll.stop();
            text = seen->text();
            const auto* label = seen->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
            labelHeight = label->sizeHint().height();
            lineSpacing = label->fontMetrics().lineSpacing();
            icon = seen->icon();
            title = seen->windowTitle();
            QTest::keyClick(seen, Qt::Key_Return);
        });
        poll.start(10);
        QVERIFY(!services.dialogs->ask(nullptr, QStringLiteral("Jetzt sofort ausführen?"),
                                       QStringLiteral("Benutzer Abmelden\r\rSoll abgemeldet werden?"), false));
        QVERIFY(seen != nullptr);
        QCOMPARE(text, QStringLiteral("Benutzer Abmelden\n\nSoll abgemeldet werden?"));
        QVERIFY2(labelHeight >= 3 * lineSpacing, "the empty line takes its room");
        QCOMPARE(icon, QMessageBox::Question);
        QCOMPARE(title, QStringLiteral("Jetzt sofort ausführen?"));
    }
};

QTEST_MAIN(TestImmediate)
#include "tst_immediate.moc"
