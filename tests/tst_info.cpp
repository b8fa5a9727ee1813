// The info dialog, the web link and the launchers the dialog creates.
#include <QPlainTextEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "base/look.h"
#include "fakes.h"
#include "info/desktop_entry.h"
#include "info/help_text.h"
#include "info/info_dialog.h"
#include "info/shortcut_folders.h"

using namespace tarvo;
using namespace tarvo::test;
using namespace Qt::StringLiterals;

namespace {

QString read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// desktop-file-validate's verdict (it prints what it finds); true where the tool is missing.
bool valid(const QString& path)
{
    static const bool installed = !QStandardPaths::findExecutable(u"desktop-file-validate"_s).isEmpty();
    return !installed || QProcess::execute(u"desktop-file-validate"_s, {path}) == 0;
}

// The dialog as the main window opens it, on the window's fakes.
std::unique_ptr<InfoDialog> infoDialog(const Harness& h)
{
    return std::make_unique<InfoDialog>(h.form.get(), Form1::GetVersionNumber(), h.form->GV_URL, *h.dialogs,
                                        *h.desktop);
}

} // namespace

class TestInfo : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void closeRules_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("gesture");
        QTest::addColumn<bool>("closes");
        QTest::newRow("Schliessen") << "Close" << "click" << true;
        QTest::newRow("double click surface") << "InfoDialog" << "double" << true;
        QTest::newRow("right click surface") << "InfoDialog" << "right" << true;
        QTest::newRow("right click text") << "Text1" << "right" << true;
        QTest::newRow("shift right click text") << "Text1" << "shift right" << false;
        QTest::newRow("right click version") << "VersionLAbel" << "right" << false;
        QTest::newRow("double click title") << "Label1" << "double" << false;
        QTest::newRow("Escape") << "Text1" << "escape" << true;
    }
    void closeRules()
    {
        QFETCH(QString, target);
        QFETCH(QString, gesture);
        QFETCH(bool, closes);
        const auto h = loaded();
        const auto dialog = infoDialog(*h);
        InfoDialog& d = *dialog;
        d.show();
        QWidget* widget = target == u"InfoDialog" ? &d : d.findChild<QWidget*>(target);
        if (gesture == u"escape") {
            // Escape must reach the dialog, not the main window's own Escape.
            d.activateWindow();
            QTRY_COMPARE(QApplication::activeWindow(), &d);
            widget->setFocus();
            QTest::keyClick(widget, Qt::Key_Escape);
        } else {
            widget = widget == d.Text1 ? d.Text1->viewport() : widget;
            const auto button = gesture.endsWith("right"_L1) ? Qt::RightButton : Qt::LeftButton;
            const auto modifiers = gesture.startsWith("shift"_L1) ? Qt::ShiftModifier : Qt::NoModifier;
            if (gesture == u"double")
                QTest::mouseDClick(widget, button, modifiers, QPoint(5, 5));
            else
                QTest::mouseClick(widget, button, modifiers, QPoint(5, 5));
        }
        QCOMPARE(!d.isVisible(), closes);
        QVERIFY(h->app->endings.empty() && h->desktop->opened.isEmpty() && h->dialogs->shown.isEmpty());
    }

    void links()
    {
        const auto h = loaded();
        const QColor light = QApplication::palette().color(QPalette::HighlightedText);
        const auto dialog = infoDialog(*h);
        InfoDialog& d = *dialog;
        mouse(d.CreateShortcuts, QEvent::MouseMove);
        QCOMPARE(textColour(d.CreateShortcuts), light);
        mouse(&d, QEvent::MouseMove);
        QVERIFY(textColour(d.CreateShortcuts) != light);
        QTest::mouseClick(d.WWWLink, Qt::LeftButton);
        QCOMPARE(h->desktop->opened, QStringList{h->form->GV_URL});
        QVERIFY(QUrl(h->form->GV_URL, QUrl::StrictMode).isValid());

        // The main window's link: right clicks neither minimise the window nor open anything; a click
        // also tells the version in the entry panel, and only opens the page in the countdown panel.
        Form1& f = *h->form;
        QTest::mouseClick(f.WWWLink, Qt::RightButton);
        QTest::mouseDClick(f.WWWLink, Qt::RightButton);
        QVERIFY(f.isVisible() && !f.isMinimized() && h->desktop->opened.size() == 1);
        QTest::mouseClick(f.WWWLink, Qt::LeftButton);
        QCOMPARE(h->dialogs->shown.size(), qsizetype(1));
        f.Start_Click();
        QTest::mouseClick(f.WWWLink, Qt::LeftButton);
        QCOMPARE(h->desktop->opened.size(), qsizetype(3));
        QCOMPARE(h->dialogs->shown.size(), qsizetype(1));
    }

    void exportWritesAndOpensTheFile()
    {
        QTemporaryDir dir;
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
        const auto h = loaded();
        const auto dialog = infoDialog(*h);
        InfoDialog& d = *dialog;
        d.show();
        const QString path = dir.filePath(u"TarvoInfo.txt"_s);
        // Writes what the field holds now, with CR LF line ends, and opens another editor each time.
        QTest::mouseDClick(d.Text1->viewport(), Qt::LeftButton);
        QCOMPARE(read(path).count(u"\r\n"_s), d.Text1->toPlainText().count(u'\n') + 1);
        d.Text1->setPlainText(u"eins\nzwei"_s);
        QTest::mouseDClick(d.Text1->viewport(), Qt::LeftButton);
        QCOMPARE(read(path), u"eins\r\nzwei\r\n"_s);
        QCOMPARE(h->desktop->opened, (QStringList{path, path}));
        QVERIFY(d.isVisible()); // the double click on the text is not one on the dialog
        QDir::setCurrent(before);
    }

    void launcherTexts()
    {
        QCOMPARE(withEntryExtension(u"/d/Tarvo"_s), u"/d/Tarvo.desktop"_s);
        QCOMPARE(withEntryExtension(u"/d/Tarvo.DeskTop"_s), u"/d/Tarvo.DeskTop"_s);
        QCOMPARE(withEntryExtension(u"\"/d/Tarvo.desktop\""_s), u"\"/d/Tarvo.desktop\""_s);
        // The menu: the first writable applications folder of the system's data folders, else the user's.
        const QString user = u"/home/u/.local/share/applications"_s;
        const auto choose = [&user](const QString& dataDirs, const QStringList& writable) {
            return chooseMenuFolder(dataDirs, user + u'/', [&](const QString& dir) { return writable.contains(dir); });
        };
        QCOMPARE(choose({}, {"/usr/local/share/applications", "/usr/share/applications"}),
                 u"/usr/local/share/applications"_s);
        QCOMPARE(choose({}, {}), user);
        QCOMPARE(choose(u"rel::/a/:/c"_s, {"rel/applications", "/c/applications"}), u"/c/applications"_s);
    }

    // Awkward program folders: the written launcher validates and starts the program there with its
    // argument, in its folder.
    void launchesAwkwardPaths_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::newRow("blanks") << "Tarvo Dir";
        QTest::newRow("quotes") << "a \"b\" 'c'";
        QTest::newRow("dollar") << "a$HOME";
        QTest::newRow("backslash") << "a\\b\\\\c";
        QTest::newRow("percent") << "a%f %%";
        QTest::newRow("shell characters") << "a;b&c|(d)`e`*?#~<>";
        QTest::newRow("umlaut") << "Verknüpfungen";
    }
    void launchesAwkwardPaths()
    {
        QFETCH(QString, folder);
        if (QStandardPaths::findExecutable(u"gio"_s).isEmpty())
            QSKIP("gio is missing (libglib2.0-bin)");
        QTemporaryDir tmp;
        const QString dir = tmp.filePath(folder);
        const QString program = dir + "/tarvo"_L1;
        const QString out = tmp.filePath(u"argv.txt"_s);
        QVERIFY(QDir().mkpath(dir));
        QFile script(program);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\n{ pwd; for a in \"$0\" \"$@\"; do printf '[%s]\\n' \"$a\"; done; } > '" + out.toUtf8()
                     + "'\n");
        script.close();
        QVERIFY(script.setPermissions(script.permissions() | QFile::ExeOwner));
        const QString file = tmp.filePath(u"Tarvo Classic.desktop"_s);
        QVERIFY(writeDesktopEntry({program, file, {u"C"_s}, u"Tarvo - Classic Modus"_s, dir}, true));
        QVERIFY(valid(file) && QFileInfo(file).isExecutable());
        QCOMPARE(QProcess::execute(u"gio"_s, {u"launch"_s, file}), 0);
        QTRY_VERIFY_WITH_TIMEOUT(read(out).count(u'\n') == 3, 20000);
        QCOMPARE(read(out), dir + "\n["_L1 + program + "]\n[C]\n"_L1);
    }

};

QTEST_MAIN(TestInfo)
#include "tst_info.moc"
