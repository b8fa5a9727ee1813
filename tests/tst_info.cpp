// The info dialog, the web link and the launchers the dialog creates.
#include <QDirIterator>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "app/look.h"
#include "fakes.h"
#include "info/desktop_entry.h"
#include "info/help_text.h"
#include "info/info_dialog.h"
#include "info/shortcut_folders.h"

using namespace tarvo;
using namespace tarvo::test;

namespace {

const QColor kLinkBlue(192, 208, 255);

QString read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// desktop-file-validate's verdict (it prints what it finds); true where the tool is missing.
bool valid(const QString& path)
{
    static const bool installed = !QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate")).isEmpty();
    return !installed || QProcess::execute(QStringLiteral("desktop-file-validate"), {path}) == 0;
}

} // namespace

class TestInfo : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void helpText()
    {
        const QStringList lines = helpTextLines();
        QCOMPARE(lines.size(), 43);
        QCOMPARE(lines[8], QStringLiteral(" [ M xx ][Hxx][ L ][ R ][ S ][ N ][ F ][ A ][ T ][ W ][ Y ][ C ]"));
        QCOMPARE(lines[21], QStringLiteral("      W = Warnton währen der letzten 20 Sekunden"));
        Harness h;
        InfoDialog d(h.form.get());
        QCOMPARE(d.windowTitle() + u'|' + d.VersionLAbel->text(), QStringLiteral("Info Dialog - Tarvo|Vers. 1.31"));
        QCOMPARE(d.Text1->toPlainText(), lines.join(u'\n') + u'\n');
    }

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
        InfoDialog d(h->form.get());
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
            const auto button = gesture.endsWith(QLatin1String("right")) ? Qt::RightButton : Qt::LeftButton;
            const auto modifiers = gesture.startsWith(QLatin1String("shift")) ? Qt::ShiftModifier : Qt::NoModifier;
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
        InfoDialog d(h->form.get());
        mouse(d.CreateShortcuts, QEvent::MouseMove);
        QCOMPARE(textColour(d.CreateShortcuts), light);
        mouse(&d, QEvent::MouseMove);
        QCOMPARE(textColour(d.CreateShortcuts), kLinkBlue);
        QTest::mouseClick(d.WWWLink, Qt::LeftButton);
        QCOMPARE(textColour(d.WWWLink), light);
        QCOMPARE(h->desktop->opened, QStringList{h->form->GV_URL});
        QVERIFY(QUrl(h->form->GV_URL, QUrl::StrictMode).isValid());

        // The main window's link: lit under the mouse; a click also tells the version in the entry panel.
        Form1& f = *h->form;
        mouse(f.WWWLink, QEvent::MouseMove);
        QCOMPARE(textColour(f.WWWLink), light);
        mouse(f.Eingabemaske, QEvent::MouseMove);
        QCOMPARE(textColour(f.WWWLink), QColor(128, 128, 255));
        QTest::mouseClick(f.WWWLink, Qt::RightButton);
        QTest::mouseDClick(f.WWWLink, Qt::RightButton); // neither minimises the window nor opens anything
        QVERIFY(f.isVisible() && !f.isMinimized() && h->desktop->opened.size() == 1);
        QTest::mouseClick(f.WWWLink, Qt::LeftButton);
        const QStringList told{"Information|Tarvo Vers. 1.31|Ihr aktueller Tarvo hat die Versionsnummer:\r\rVers. 1.31\r"};
        QCOMPARE(h->dialogs->shown, told);
        f.Start_Click();
        QTest::mouseClick(f.WWWLink, Qt::LeftButton);
        QCOMPARE(h->desktop->opened.size(), qsizetype(3));
        QCOMPARE(h->dialogs->shown, told); // the countdown panel's link only opens the page
    }

    void exportWritesAndOpensTheFile()
    {
        QTemporaryDir dir;
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
        const auto h = loaded();
        InfoDialog d(h->form.get());
        d.show();
        const QString path = dir.filePath(QStringLiteral("TarvoInfo.txt"));
        QTest::mouseDClick(d.Text1->viewport(), Qt::LeftButton);
        const QByteArray bytes = read(path).toUtf8();
        QCOMPARE(bytes, (tarvo::helpText() + QStringLiteral("\r\n")).toUtf8());
        // 1237 characters, three of them two bytes long in UTF-8, and 44 line ends.
        QCOMPARE(bytes.size(), 1237 + 3 + 44 * 2);
        // A second double click writes what the field holds now and opens another editor.
        d.Text1->setPlainText(QStringLiteral("eins\nzwei"));
        QTest::mouseDClick(d.Text1->viewport(), Qt::LeftButton);
        QCOMPARE(read(path), QStringLiteral("eins\r\nzwei\r\n"));
        QCOMPARE(h->desktop->opened, (QStringList{path, path}));
        QVERIFY(d.isVisible()); // the double click on the text is not one on the dialog
        QDir::setCurrent(before);
    }

    void entryText()
    {
        QCOMPARE(withEntryExtension(QStringLiteral("/d/Tarvo")), QStringLiteral("/d/Tarvo.desktop"));
        QCOMPARE(withEntryExtension(QStringLiteral("/d/Tarvo.DeskTop")), QStringLiteral("/d/Tarvo.DeskTop"));
        QCOMPARE(withEntryExtension(QStringLiteral("\"/d/Tarvo.desktop\"")), QStringLiteral("\"/d/Tarvo.desktop\""));
        const Shortcut s{"/opt/a\\b/tarvo", QStringLiteral("/d/Tarvo Classic"), {QStringLiteral("C")},
                         QStringLiteral("Tarvo - Classic Modus"), "/opt/a\\b"};
        // Every value is escaped once more: the backslash escaped inside the Exec quotes is doubled again.
        QCOMPARE(desktopEntryText(s), QStringLiteral("[Desktop Entry]\nType=Application\nName=Tarvo Classic\n"
                                                     "Comment=Tarvo - Classic Modus\n"
                                                     "Exec=\"/opt/a\\\\\\\\b/tarvo\" C\nPath=/opt/a\\\\b\n"
                                                     "Terminal=false\n"));
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
        if (QStandardPaths::findExecutable(QStringLiteral("gio")).isEmpty())
            QSKIP("gio is missing (libglib2.0-bin)");
        QTemporaryDir tmp;
        const QString dir = tmp.filePath(folder);
        const QString program = dir + QLatin1String("/tarvo");
        const QString out = tmp.filePath(QStringLiteral("argv.txt"));
        QVERIFY(QDir().mkpath(dir));
        QFile script(program);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\n{ pwd; for a in \"$0\" \"$@\"; do printf '[%s]\\n' \"$a\"; done; } > '" + out.toUtf8()
                     + "'\n");
        script.close();
        QVERIFY(script.setPermissions(script.permissions() | QFile::ExeOwner));
        const QString file = tmp.filePath(QStringLiteral("Tarvo Classic.desktop"));
        QVERIFY(writeDesktopEntry({program, file, {QStringLiteral("C")}, QStringLiteral("Tarvo - Classic Modus"), dir},
                                  true));
        QVERIFY(valid(file) && QFileInfo(file).isExecutable());
        QCOMPARE(QProcess::execute(QStringLiteral("gio"), {QStringLiteral("launch"), file}), 0);
        QTRY_VERIFY_WITH_TIMEOUT(read(out).count(u'\n') == 3, 20000);
        QCOMPARE(read(out), dir + QLatin1String("\n[") + program + QLatin1String("]\n[C]\n"));
    }

    void menuFolder_data()
    {
        QTest::addColumn<QString>("dataDirs");
        QTest::addColumn<QStringList>("writable");
        QTest::addColumn<QString>("chosen");
        QTest::newRow("standard, /usr/local writable")
            << "" << QStringList{"/usr/local/share/applications", "/usr/share/applications"}
            << "/usr/local/share/applications";
        QTest::newRow("nothing writable") << "" << QStringList{} << "/home/u/.local/share/applications";
        QTest::newRow("own list, relative entries ignored")
            << "rel::/a/:/c" << QStringList{"rel/applications", "/c/applications"} << "/c/applications";
    }
    void menuFolder()
    {
        QFETCH(QString, dataDirs);
        QFETCH(QStringList, writable);
        QFETCH(QString, chosen);
        const auto canWrite = [&](const QString& folder) { return writable.contains(folder); };
        QCOMPARE(chooseMenuFolder(dataDirs, QStringLiteral("/home/u/.local/share/applications/"), canWrite), chosen);
    }

    // The whole dialogue in a private home: desktop from the user directories, menu in a writable
    // system data directory, the working directory for the launcher without a desktop.
    void dialogue_data()
    {
        QTest::addColumn<int>("desktop");
        QTest::addColumn<bool>("menu");
        QTest::addColumn<QStringList>("files");
        const QString onDesktop = QStringLiteral("home/Schreibtisch/Tarvo.desktop");
        const QString classicOnDesktop = QStringLiteral("home/Schreibtisch/Tarvo Classic.desktop");
        const QString inMenu = QStringLiteral("share/applications/Tarvo Classic  ....desktop");
        QTest::newRow("Cancel") << int(Answer::Cancel) << true << QStringList{};
        QTest::newRow("No, No") << int(Answer::No) << false << QStringList{"cwd/Tarvo - Classic Modus.desktop"};
        QTest::newRow("Yes, Yes") << int(Answer::Yes) << true << QStringList{classicOnDesktop, onDesktop, inMenu};
    }
    void dialogue()
    {
        QFETCH(int, desktop);
        QFETCH(bool, menu);
        QFETCH(QStringList, files);
        QTemporaryDir tmp;
        const QString root = tmp.path();
        for (const char* dir : {"home/.config", "cwd", "share"})
            QVERIFY(QDir(root).mkpath(QLatin1String(dir)));
        QFile dirs(root + QLatin1String("/home/.config/user-dirs.dirs"));
        QVERIFY(dirs.open(QIODevice::WriteOnly) && dirs.write("XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n") > 0);
        dirs.close();
        for (const auto& [name, dir] : {std::pair{"HOME", "/home"}, {"XDG_CONFIG_HOME", "/home/.config"},
                                        {"XDG_DATA_HOME", "/home/.local/share"}, {"XDG_DATA_DIRS", "/share"}})
            qputenv(name, QFile::encodeName(root + QLatin1String(dir)));
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(root + QLatin1String("/cwd")));
        const auto h = loaded();
        h->dialogs->threeWayAnswer = Answer(desktop);
        h->dialogs->answer = menu;
        InfoDialog d(h->form.get());
        d.CreateShortcuts_Click();
        QDir::setCurrent(before);

        QStringList found;
        for (QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();)
            found << QDir(root).relativeFilePath(it.next());
        QStringList expected = files;
        expected << QStringLiteral("home/.config/user-dirs.dirs");
        found.sort();
        expected.sort();
        QCOMPARE(found, expected);
        const bool cancelled = Answer(desktop) == Answer::Cancel;
        QStringList asked{"ask3|Auf dem Desktop erstellen?|Sollen auch Verknüpfungen auf dem Desktop erstellt werden?"};
        if (!cancelled)
            asked << "ask Yes|Startmenü Eintrag erzeugen?|Shutdown-Verknüpfung im Startmenü erzeugen?";
        QCOMPARE(h->dialogs->shown, asked);
        QCOMPARE(textColour(d.CreateShortcuts) == kLinkBlue, cancelled);
        const QString program = QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath();
        for (const QString& name : files) {
            const QString file = root + u'/' + name;
            const bool standard = name.endsWith(QLatin1String("/Tarvo.desktop"));
            QVERIFY(read(file).contains(QLatin1String("\nExec=") + program + (standard ? "\n" : " C\n")));
            QVERIFY(read(file).contains(standard ? QLatin1String("\nComment=Tarvo - Standard Modus\n")
                                                 : QLatin1String("\nComment=Tarvo - Classic Modus\n")));
            QCOMPARE(QFileInfo(file).isExecutable(), !name.startsWith(QLatin1String("share/")));
            QVERIFY(valid(file));
        }
    }
};

QTEST_MAIN(TestInfo)
#include "tst_info.moc"
