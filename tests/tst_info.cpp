#include <QApplication>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

#include "app/look.h"
#include "fakes.h"
#include "info/help_text.h"
#include "info/info_dialog.h"

using namespace tarvo;
using namespace tarvo::test;

namespace {

// Length and leading blanks of each help line, as the option list is laid out.
constexpr std::pair<int, int> kLineShape[] = {
    {43, 0}, {0, 0},  {19, 0}, {0, 0},  {43, 0}, {0, 0},  {56, 0}, {0, 0},  {64, 1}, {9, 1},  {53, 6},
    {53, 6}, {70, 49}, {30, 6}, {21, 6}, {23, 6}, {18, 6}, {48, 6}, {41, 6}, {0, 0},  {33, 6}, {48, 6},
    {53, 6}, {52, 13}, {49, 6}, {39, 14}, {32, 6}, {0, 0},  {43, 0}, {9, 0},  {0, 0},  {19, 0}, {0, 0},
    {55, 2}, {42, 2}, {51, 2}, {55, 2}, {0, 0},  {23, 5}, {43, 0}, {0, 0},  {0, 0},  {0, 0}};

void sendMove(QWidget* widget)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), widget->mapToGlobal(QPointF(2, 2)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

} // namespace

class TestInfo : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void helpText()
    {
        const QStringList lines = helpTextLines();
        QCOMPARE(lines.size(), qsizetype(std::size(kLineShape)));
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const QString& line = lines[i];
            const auto lead = std::find_if(line.begin(), line.end(), [](QChar c) { return c != u' '; }) - line.begin();
            QVERIFY2(line.size() == kLineShape[i].first && (line.isEmpty() || lead == kLineShape[i].second),
                     qPrintable(QStringLiteral("line %1: \"%2\"").arg(i + 1).arg(line)));
        }
        QCOMPARE(lines[21], QStringLiteral("      W = Warnton währen der letzten 20 Sekunden"));

        Harness h;
        InfoDialog d(h.form.get());
        QCOMPARE(d.windowTitle(), QStringLiteral("Info Dialog - Tarvo"));
        QCOMPARE(d.VersionLAbel->text(), QStringLiteral("Vers. 1.31"));
        QCOMPARE(d.Text1->toPlainText(), lines.join(u'\n') + u'\n');
    }

    void closeRules_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("shift");
        QTest::addColumn<bool>("doubleClick");
        QTest::addColumn<bool>("closes");
        QTest::newRow("Schliessen") << "Close" << int(Qt::LeftButton) << false << false << true;
        QTest::newRow("double click surface") << "InfoDialog" << int(Qt::LeftButton) << false << true << true;
        QTest::newRow("right click surface") << "InfoDialog" << int(Qt::RightButton) << false << false << true;
        QTest::newRow("right click text") << "Text1" << int(Qt::RightButton) << false << false << true;
        QTest::newRow("shift right click text") << "Text1" << int(Qt::RightButton) << true << false << false;
        QTest::newRow("right click version") << "VersionLAbel" << int(Qt::RightButton) << false << false << false;
        QTest::newRow("double click title") << "Label1" << int(Qt::LeftButton) << false << true << false;
        QTest::newRow("Escape") << "Text1" << 0 << false << false << true;
    }

    void closeRules()
    {
        QFETCH(QString, target);
        QFETCH(int, button);
        QFETCH(bool, shift);
        QFETCH(bool, doubleClick);
        QFETCH(bool, closes);
        Harness h;
        h.load();
        InfoDialog d(h.form.get());
        d.show();
        QWidget* widget = target == u"InfoDialog" ? &d : d.findChild<QWidget*>(target);
        const auto modifiers = shift ? Qt::ShiftModifier : Qt::NoModifier;
        if (button == 0) {
            // Escape must reach the dialog, not the main window's own Escape.
            d.activateWindow();
            QTRY_COMPARE(QApplication::activeWindow(), &d);
            widget->setFocus();
            QTest::keyClick(widget, Qt::Key_Escape);
        } else {
            widget = target == u"Text1" ? d.Text1->viewport() : widget;
            if (doubleClick)
                QTest::mouseDClick(widget, Qt::MouseButton(button), modifiers, QPoint(5, 5));
            else
                QTest::mouseClick(widget, Qt::MouseButton(button), modifiers, QPoint(5, 5));
        }
        QCOMPARE(!d.isVisible(), closes);
        QVERIFY(h.app->endings.empty() && h.desktop->opened.isEmpty() && h.dialogs->questions.empty());
    }

    void links()
    {
        Harness h;
        h.load();
        InfoDialog d(h.form.get());
        const QColor light = QApplication::palette().color(QPalette::HighlightedText);
        sendMove(d.CreateShortcuts);
        QCOMPARE(textColour(d.CreateShortcuts), light);
        sendMove(&d);
        QCOMPARE(textColour(d.CreateShortcuts), QColor(192, 208, 255));
        QTest::mouseClick(d.WWWLink, Qt::LeftButton);
        QCOMPARE(h.desktop->opened, QStringList{h.form->GV_URL});
        QCOMPARE(d.WWWLink->text(), h.form->GV_URL);
        QCOMPARE(textColour(d.WWWLink), light);
    }

    void mainWindowLink_data()
    {
        QTest::addColumn<bool>("countdown");
        QTest::newRow("entry panel: page and version") << false;
        QTest::newRow("countdown panel: page only") << true;
    }

    void mainWindowLink()
    {
        QFETCH(bool, countdown);
        Harness h;
        h.load();
        if (countdown)
            h.form->Start_Click();
        const auto messagesBefore = h.dialogs->messages.size();
        QTest::mouseClick(h.form->WWWLink, Qt::LeftButton);
        QCOMPARE(h.desktop->opened, QStringList{h.form->GV_URL});
        QVERIFY(QUrl(h.form->GV_URL, QUrl::StrictMode).isValid());
        QCOMPARE(h.dialogs->messages.size(), messagesBefore + (countdown ? 0 : 1));
        if (!countdown) {
            const auto& box = h.dialogs->messages.back();
            QCOMPARE(box.icon, MessageIcon::Information);
            QCOMPARE(box.title, QStringLiteral("Tarvo Vers. 1.31"));
            QCOMPARE(box.text, QStringLiteral("Ihr aktueller Tarvo hat die Versionsnummer:\r\rVers. 1.31\r"));
        }
    }

    void mainWindowLinkMouse()
    {
        Harness h;
        h.load();
        QCOMPARE(textColour(h.form->WWWLink), QColor(128, 128, 255));
        sendMove(h.form->WWWLink);
        QCOMPARE(textColour(h.form->WWWLink), QApplication::palette().color(QPalette::HighlightedText));
        sendMove(h.form->Eingabemaske);
        QCOMPARE(textColour(h.form->WWWLink), QColor(128, 128, 255));
        // The link's own presses neither minimise the window nor open anything.
        QTest::mouseClick(h.form->WWWLink, Qt::RightButton);
        QTest::mouseDClick(h.form->WWWLink, Qt::RightButton);
        QVERIFY(h.form->isVisible() && !h.form->isMinimized());
        QVERIFY(h.desktop->opened.isEmpty());
    }

    void exportWritesAndOpensTheFile()
    {
        QTemporaryDir dir;
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
        Harness h;
        h.load();
        InfoDialog d(h.form.get());
        d.show();
        const QString path = QDir(dir.path()).absoluteFilePath(QStringLiteral("TarvoInfo.txt"));
        QFile file(path);

        QTest::mouseDClick(d.Text1->viewport(), Qt::LeftButton);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        file.close();
        QCOMPARE(bytes, (tarvo::helpText() + QStringLiteral("\r\n")).toUtf8());
        // 1237 characters, three of them two bytes long in UTF-8, and 44 line ends.
        QCOMPARE(bytes.size(), 1237 + 3 + 44 * 2);
        QCOMPARE(h.desktop->opened, QStringList{path});

        // A second double click writes what the field holds now and opens another editor.
        d.Text1->setPlainText(QStringLiteral("eins\nzwei"));
        QTest::mouseDClick(d.Text1->viewport(), Qt::LeftButton);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("eins\r\nzwei\r\n"));
        QCOMPARE(h.desktop->opened, (QStringList{path, path}));
        QVERIFY(d.isVisible()); // the double click on the text is not one on the dialog
        QDir::setCurrent(before);
    }
};

QTEST_MAIN(TestInfo)
#include "tst_info.moc"
