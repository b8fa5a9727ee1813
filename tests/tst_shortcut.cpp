#include <QDirIterator>
#include <QLabel>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "app/look.h"
#include "fakes.h"
#include "info/desktop_entry.h"
#include "info/info_dialog.h"
#include "info/shortcut_folders.h"

using namespace tarvo;
using namespace tarvo::test;

namespace {

// desktop-file-validate's verdict (it prints what it finds); true where the tool is missing.
bool valid(const QString& path)
{
    static const bool installed = !QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate")).isEmpty();
    return !installed || QProcess::execute(QStringLiteral("desktop-file-validate"), {path}) == 0;
}

QString read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QStringList filesUnder(const QString& root)
{
    QStringList files;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(root).relativeFilePath(it.next());
    files.sort();
    return files;
}

} // namespace

class TestShortcut : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void extension_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("file");
        QTest::newRow("appended") << "Tarvo - Classic Modus" << "Tarvo - Classic Modus.desktop";
        QTest::newRow("already there") << "/d/Tarvo.desktop" << "/d/Tarvo.desktop";
        QTest::newRow("any case") << "/d/Tarvo.DeskTop" << "/d/Tarvo.DeskTop";
        QTest::newRow("quoted name") << "\"/d/Tarvo.desktop\"" << "\"/d/Tarvo.desktop\"";
    }

    void extension()
    {
        QFETCH(QString, link);
        QFETCH(QString, file);
        QCOMPARE(withEntryExtension(link), file);
    }

    void entryText()
    {
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
        script.write("#!/bin/sh\n{ pwd; for a in \"$0\" \"$@\"; do printf '[%s]\\n' \"$a\"; done; } > '"
                     + out.toUtf8() + "'\n");
        script.close();
        QVERIFY(script.setPermissions(script.permissions() | QFile::ExeOwner));

        const QString link = tmp.filePath(QStringLiteral("Tarvo Classic"));
        QVERIFY(writeDesktopEntry({program, link, {QStringLiteral("C")}, QStringLiteral("Tarvo - Classic Modus"), dir},
                                  true));
        const QString file = link + QLatin1String(".desktop");
        QVERIFY(valid(file));
        QVERIFY(QFileInfo(file).isExecutable());
        QProcess gio;
        gio.start(QStringLiteral("gio"), {QStringLiteral("launch"), file});
        QVERIFY(gio.waitForFinished(20000));
        QCOMPARE(gio.exitCode(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(read(out).count(u'\n') == 3, 20000);
        QCOMPARE(read(out), dir + QLatin1String("\n[") + program + QLatin1String("]\n[C]\n"));
    }

    void menuFolder_data()
    {
        QTest::addColumn<QString>("dataDirs");
        QTest::addColumn<QStringList>("writable");
        QTest::addColumn<QString>("chosen");
        const QString user = QStringLiteral("/home/u/.local/share/applications");
        QTest::newRow("standard, /usr/local writable")
            << "" << QStringList{"/usr/local/share/applications", "/usr/share/applications"}
            << "/usr/local/share/applications";
        QTest::newRow("nothing writable") << "" << QStringList{} << user;
        QTest::newRow("own list") << "/a/:/b" << QStringList{"/b/applications"} << "/b/applications";
        QTest::newRow("relative entries ignored")
            << "rel::/c" << QStringList{"rel/applications", "/c/applications"} << "/c/applications";
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
        const QString inCwd = QStringLiteral("cwd/Tarvo - Classic Modus.desktop");
        const QString inMenu = QStringLiteral("share/applications/Tarvo Classic  ....desktop");
        QTest::newRow("Cancel") << int(Answer::Cancel) << true << QStringList{};
        QTest::newRow("No, No") << int(Answer::No) << false << QStringList{inCwd};
        QTest::newRow("Yes, No") << int(Answer::Yes) << false << QStringList{classicOnDesktop, onDesktop};
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

        Harness h;
        h.load();
        h.dialogs->threeWayAnswer = Answer(desktop);
        h.dialogs->answer = menu;
        InfoDialog d(h.form.get());
        d.CreateShortcuts_Click();
        QDir::setCurrent(before);

        QStringList expected = files;
        expected << QStringLiteral("home/.config/user-dirs.dirs");
        expected.sort();
        QCOMPARE(filesUnder(root), expected);
        const bool cancelled = Answer(desktop) == Answer::Cancel;
        QCOMPARE(int(h.dialogs->questions.size()), cancelled ? 1 : 2);
        QCOMPARE(h.dialogs->questions[0].text, QStringLiteral("Sollen auch Verknüpfungen auf dem Desktop erstellt werden?"));
        if (!cancelled)
            QCOMPARE(h.dialogs->questions[1].title, QStringLiteral("Startmenü Eintrag erzeugen?"));
        QCOMPARE(textColour(d.CreateShortcuts) == QColor(192, 208, 255), cancelled);

        const QString program = QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath();
        for (const QString& name : files) {
            const QString file = root + u'/' + name;
            const QString text = read(file);
            const bool standard = name.endsWith(QLatin1String("/Tarvo.desktop"));
            QVERIFY2(text.contains(QLatin1String("\nExec=") + program + (standard ? "\n" : " C\n")), qPrintable(text));
            QVERIFY(text.contains(standard ? QLatin1String("\nComment=Tarvo - Standard Modus\n")
                                           : QLatin1String("\nComment=Tarvo - Classic Modus\n")));
            QCOMPARE(QFileInfo(file).isExecutable(), !name.startsWith(QLatin1String("share/")));
            QVERIFY(valid(file));
        }
    }
};

QTEST_MAIN(TestShortcut)
#include "tst_shortcut.moc"
