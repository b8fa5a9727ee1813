#include <QCheckBox>
#include <QTest>
#include <QTimer>

#include "fakes.h"

using namespace tarvo;
using namespace tarvo::test;

class TestQuit : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The close request of the window, or of the desktop's log-out, which may deny a question.
    void closeRequest_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("countdown");
        QTest::addColumn<bool>("paused");
        QTest::addColumn<bool>("logOut");
        QTest::addColumn<bool>("mayAsk");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<bool>("ends");
        QTest::newRow("entry panel, Y") << "Y" << false << false << false << true << false << true;
        QTest::newRow("entry panel, Y, log-out") << "Y" << false << false << true << true << false << true;
        QTest::newRow("countdown") << "" << true << false << false << true << false << true;
        QTest::newRow("countdown, log-out") << "" << true << false << true << true << false << true;
        QTest::newRow("countdown, Y, No") << "Y" << true << false << false << true << false << false;
        QTest::newRow("countdown, Y, paused, No resumes") << "Y" << true << true << false << true << false << false;
        QTest::newRow("countdown, Y, Yes") << "Y" << true << false << false << true << true << true;
        QTest::newRow("countdown, Y, log-out, No") << "Y" << true << false << true << true << false << false;
        QTest::newRow("countdown, Y, log-out, no leave") << "Y" << true << false << true << false << false << true;
    }
    void closeRequest()
    {
        QFETCH(QString, line);
        QFETCH(bool, countdown);
        QFETCH(bool, paused);
        QFETCH(bool, logOut);
        QFETCH(bool, mayAsk);
        QFETCH(bool, answer);
        QFETCH(bool, ends);
        const auto h = loaded(line);
        Form1& f = *h->form;
        if (countdown) {
            f.AddToTrayIconCheck->setChecked(false);
            f.Start_Click();
            h->tick(3);
        }
        if (paused)
            f.AktiveLED_DblClick();
        const QString title = f.windowTitle();
        h->dialogs->answer = answer;
        bool timerWhileAsked = true;
        QString titleWhileAsked;
        bool secondRequestCancelled = false;
        h->dialogs->onAsk = [&] {
            timerWhileAsked = f.Timer1->isActive();
            titleWhileAsked = f.windowTitle();
            secondRequestCancelled = f.Form_QueryUnload([] { return true; });
        };
        int leaveAsked = 0;
        const bool cancelled = logOut ? f.Form_QueryUnload([&] { return ++leaveAsked, mayAsk; }) : !f.close();
        const bool asked = !h->dialogs->questions.empty();
        QCOMPARE(asked, countdown && !f.ConfirmImmediate && mayAsk);
        QCOMPARE(h->app->endings, ends ? std::vector<int>{0} : std::vector<int>{});
        QCOMPARE(cancelled, !ends);
        QVERIFY(h->power->requests.empty());
        // The desktop is asked for leave only when the question is due.
        QCOMPARE(leaveAsked, logOut && countdown && !f.ConfirmImmediate ? 1 : 0);
        if (asked) {
            QCOMPARE(h->dialogs->questions.size(), std::size_t{1});
            QCOMPARE(h->dialogs->questions.front().title, QStringLiteral("Tarvo STOP"));
            QCOMPARE(h->dialogs->questions.front().text,
                     QStringLiteral("Wollen Sie das Programm wirklich beenden?    (Der Timer wird dadurch "
                                    "abgeschaltet)"));
            QVERIFY(h->dialogs->questions.front().defaultYes);
            QVERIFY(!timerWhileAsked);
            QCOMPARE(titleWhileAsked, QStringLiteral("Tarvo   - P A U S E -"));
            QVERIFY(secondRequestCancelled);
        }
        if (!ends) {
            QCOMPARE(f.windowTitle(), title);
            QVERIFY(f.Timer1->isActive());
        }
    }
};

QTEST_MAIN(TestQuit)
#include "tst_quit.moc"
