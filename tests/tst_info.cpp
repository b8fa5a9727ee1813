// The info dialog, the web link and the launchers the dialog creates.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDirIterator>
#include <QPlainTextEdit>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "fakes.h"
#include "info/desktop_entry.h"
#include "info/info_dialog.h"
#include "info/shortcut_folders.h"
#include "info/whole_file.h"

using namespace tarvo;
using namespace tarvo::test;
using namespace Qt::StringLiterals;

namespace {

QString read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The help text as the Linux build exports it (with CR LF), 43 lines and one more line end.
#define RULE "==========================================="
const char* const kLinuxExport = RULE "\n\nFür Linux\n\n" RULE "\n\n"
    "Kommandozeilen Parameter (alle Parameter sind Optional):\n\n"
    " [ M xx ][Hxx][ L ][ R ][ S ][ N ][ F ][ A ][ T ][ W ][ Y ][ C ]\n [SETUP] \n"
    "      Hxx = Shutdown-Zeit   (xxxxx = Zeit in Stunden)\n      Mxx = Shutdown-Zeit   (xxxxx = Zeit in Minuten,\n"
    "                                                 M 0 = Sofort Starten)\n      L = Abmelden    (LogOff)\n"
    "      R = Ruhezustand\n      S = Standby-Modus\n      N = Neustart\n"
    "      F = Force Shutdown    (Shutdown Erzwingen)\n      A = Ausschalten    (Herunterfahren)\n\n"
    "      T = Minimieren zum TrayArea\n      W = Warnton während der letzten 20 Sekunden\n"
    "      Y = Sicherheitsabfragen beim \"Beenden\" und dem \n             \"Sofortigen Herunterfahren\" abschalten.\n"
    "      C = Classic Modus.  (Start im \"klassischen\"\n              Windows XP-Beenden Modus)\n"
    "      SETUP = Shortcuts anlegen \n\n" RULE "\nBeispiel:\n\ntarvo S M90 W T\n\n"
    "  - Startet den StandbyModus (S) nach 90 Minuten (M90),\n  - gibt vor Beenden Warntöne aus (W) und \n"
    "  - Minimiert nach dem Start in den System-Tray (T)\n  - Leerzeichen sind nicht erforderlich. So gehts auch:\n\n"
    "     'tarvo SM90WT'\n" RULE "\n\n\n\n\n";
#undef RULE

// The dialog as the main window opens it, on the window's fakes.
std::unique_ptr<InfoDialog> infoDialog(const Harness& h)
{
    return std::make_unique<InfoDialog>(h.form.get(), Form1::GetVersionNumber(), h.form->webAddress(), *h.dialogs,
                                        *h.desktop);
}

// Gestures done in turn on a control of the info dialog or of the main window in a panel ("entry",
// "countdown"); after: whether the dialog is open ("-": not shown), what was opened, a word per box shown.
struct GestureRow {
    QString where, target, gesture, after;
};

// SETUP's answers (the desktop's question, the menu's) and the files written, " x" when executable.
struct LauncherRow {
    Answer desktop;
    bool menu;
    QStringList written;
};

} // namespace

Q_DECLARE_METATYPE(GestureRow)
Q_DECLARE_METATYPE(LauncherRow)

class TestInfo : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A double click on the text writes what it holds now, with CR LF line ends, and opens another editor.
    void gestures_data()
    {
        QTest::addColumn<GestureRow>("row");
        const auto row = [](const char* name, const char* where, const char* target, const char* gesture,
                            const char* after) { QTest::newRow(name) << GestureRow{where, target, gesture, after}; };
        row("Schliessen", "dialog", "Close", "click", "closed");
        row("double click surface", "dialog", "InfoDialog", "double", "closed");
        row("right click surface", "dialog", "InfoDialog", "right", "closed");
        row("right click text", "dialog", "Text1", "right", "closed");
        row("web link", "dialog", "WWWLink", "click", "open web");
        row("export", "dialog", "Text1", "double", "open TarvoInfo.txt");
        row("edited text exported twice", "dialog", "Text1", "double edit double", "open TarvoInfo.txt TarvoInfo.txt");
        row("main: right clicks", "entry", "WWWLink", "right double-right", "-");
        row("main: version", "entry", "WWWLink", "click", "- web box");
        row("main: web page", "countdown", "WWWLink", "click", "- web");
    }
    void gestures()
    {
        QFETCH(GestureRow, row);
        QTemporaryDir dir;
        const auto back = qScopeGuard([before = QDir::currentPath()] { QDir::setCurrent(before); });
        QVERIFY(QDir::setCurrent(dir.path()));
        const auto h = loaded();
        const auto d = infoDialog(*h);
        const bool onDialog = row.where == u"dialog";
        QWidget& window = onDialog ? static_cast<QWidget&>(*d) : *h->form;
        QWidget* widget = row.target == u"InfoDialog" ? d.get() : control(window, qPrintable(row.target));
        onDialog ? d->show() : row.where == u"countdown" ? h->form->Start_Click() : void();
        auto* text = qobject_cast<QPlainTextEdit*>(widget);
        widget = text ? text->viewport() : widget;
        for (const QString& g : row.gesture.split(u' ')) {
            const auto button = g.endsWith("right"_L1) ? Qt::RightButton : Qt::LeftButton;
            if (g == u"edit")
                text->setPlainText(u"eins\nzwei"_s);
            else if (g.startsWith("double"_L1))
                QTest::mouseDClick(widget, button, {}, QPoint(5, 5));
            else
                QTest::mouseClick(widget, button, {}, QPoint(5, 5));
        }
        QStringList seen{!onDialog ? u"-"_s : d->isVisible() ? u"open"_s : u"closed"_s};
        for (const QString& opened : h->desktop->opened)
            seen << (opened == h->form->webAddress() ? u"web"_s : QFileInfo(opened).fileName());
        seen << QStringList(h->dialogs->shown.size(), u"box"_s);
        QCOMPARE(seen.join(u' '), row.after);
        QVERIFY(row.where == u"countdown" || (h->form->isVisible() && !h->form->isMinimized()));
        if (row.after.contains("TarvoInfo.txt"_L1)) {
            QCOMPARE(h->desktop->opened.value(0), dir.filePath(u"TarvoInfo.txt"_s));
            QVERIFY(!QFileInfo(h->desktop->opened.value(0)).isExecutable());
            QString exported = row.gesture.contains("edit"_L1) ? u"eins\nzwei\n"_s : QString::fromUtf8(kLinuxExport);
            QCOMPARE(read(h->desktop->opened.value(0)), exported.replace(u'\n', u"\r\n"_s));
        }
    }

    // A link planted at the launcher's name is replaced, its target never written; another user's link
    // in a sticky folder stays, as does a folder of that name, and nothing is written or left behind.
    void plantedLinks_data()
    {
        QTest::addColumn<QString>("link");
        for (const char* link : {"to a file elsewhere", "dangling", "sticky, another user's", "a folder"})
            QTest::newRow(link) << QString::fromLatin1(link);
    }
    void plantedLinks()
    {
        QFETCH(QString, link);
        const bool sticky = link.startsWith("sticky"_L1), folderThere = link == u"a folder";
        if (sticky && geteuid() != 0)
            QSKIP("needs root to plant another user's link");
        QTemporaryDir tmp;
        const QString folder = tmp.filePath(u"shared"_s), name = folder + "/Tarvo.desktop"_L1;
        const QString victim = tmp.filePath(link == u"dangling" ? u"gone"_s : u"victim"_s);
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(link == u"dangling"
                || (writeWholeFile(victim, "kostbar") && chmod(QFile::encodeName(victim).constData(), 0666) == 0));
        QVERIFY(folderThere ? QDir().mkpath(name) : QFile::link(victim, name));
        const auto write = [&] { return writeDesktopEntry({u"/opt/tarvo"_s, name, {}, u"Tarvo"_s, u"/opt"_s}, true); };
        bool written = !sticky && write();
        if (sticky) {
            // The folder and the link belong to nobody (65534), the writer is yet another user.
            const QByteArray f = QFile::encodeName(folder), n = QFile::encodeName(name);
            QVERIFY(chmod(QFile::encodeName(tmp.path()).constData(), 0755) == 0);
            QVERIFY(chown(f.constData(), 65534, 65534) == 0 && chmod(f.constData(), 01777) == 0);
            QVERIFY(lchown(n.constData(), 65534, 65534) == 0);
            const pid_t child = fork();
            if (child == 0)
                _exit(setgid(4242) == 0 && setuid(4242) == 0 && write() ? 0 : 1);
            int status = 0;
            QVERIFY(child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status));
            written = WEXITSTATUS(status) == 0;
        }
        QCOMPARE(written, !sticky && !folderThere);
        QCOMPARE(QFileInfo(name).isSymLink(), sticky);
        QCOMPARE(read(victim), link == u"dangling" ? QString() : u"kostbar"_s);
        QVERIFY(!(QFileInfo(victim).permissions() & QFile::ExeOwner));
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System),
                 QStringList{QFileInfo(name).fileName()}); // no temporary file left behind
        QVERIFY(!written || QFileInfo(name).isExecutable());
    }

    void launcherTexts()
    {
        QCOMPARE(withEntryExtension(u"/d/Tarvo.DeskTop"_s), u"/d/Tarvo.DeskTop"_s);
        // The menu: the first writable applications folder of the system's data folders, else the user's.
        const QString user = u"/home/u/.local/share/applications"_s;
        const auto choose = [&user](const QString& dataDirs, const QStringList& writable) {
            return chooseMenuFolder(dataDirs, user + u'/', [&](const QString& dir) { return writable.contains(dir); });
        };
        QCOMPARE(choose({}, {}), user);
        QCOMPARE(choose(u"rel::/a/:/c:/d"_s, {"rel/applications", "/c/applications", "/d/applications"}),
                 u"/c/applications"_s);
    }

    // Awkward program folders: the written launcher validates and starts the program there with its
    // argument, in its folder.
    void launchesAwkwardPaths_data()
    {
        QTest::addColumn<QString>("folder");
        for (const char* folder : {"Tarvo Dir", "a \"b\" 'c'", "a$HOME", "a\\b\\\\c", "a%f %%", "a;b&c|(d)`e`*?#~<>",
                                   "Verknüpfungen"})
            QTest::newRow(folder) << QString::fromUtf8(folder);
    }
    void launchesAwkwardPaths()
    {
        QFETCH(QString, folder);
        if (QStandardPaths::findExecutable(u"gio"_s).isEmpty())
            QSKIP("gio is missing (libglib2.0-bin)");
        QTemporaryDir tmp;
        const QString dir = tmp.filePath(folder), program = dir + "/tarvo"_L1, out = tmp.filePath(u"argv.txt"_s);
        QVERIFY(QDir().mkpath(dir));
        const QByteArray script = "#!/bin/sh\n{ pwd; for a in \"$0\" \"$@\"; do printf '[%s]\\n' \"$a\"; done; } > '";
        QVERIFY(writeWholeFile(program, script + out.toUtf8() + "'\n", true));
        const QString file = tmp.filePath(u"Tarvo Classic.desktop"_s);
        QVERIFY(writeDesktopEntry({program, file, {u"C"_s}, u"Tarvo - Classic Modus"_s, dir}, true));
        if (!QStandardPaths::findExecutable(u"desktop-file-validate"_s).isEmpty()) // it prints what it finds
            QCOMPARE(QProcess::execute(u"desktop-file-validate"_s, {file}), 0);
        QCOMPARE(QProcess::execute(u"gio"_s, {u"launch"_s, file}), 0);
        QTRY_VERIFY_WITH_TIMEOUT(read(out).count(u'\n') == 3, 20000);
        QCOMPARE(read(out), dir + "\n["_L1 + program + "]\n[C]\n"_L1);
    }

    // The menu's launcher is not to be started from a file manager. What cannot be written (a folder
    // of that name) is left out without a word, as is a help export.
    void launchers_data()
    {
        QTest::addColumn<LauncherRow>("row");
        QTest::newRow("Cancel") << LauncherRow{Answer::Cancel, true, {}};
        QTest::newRow("Yes, Yes") << LauncherRow{Answer::Yes, true, {"home/Schreibtisch/Tarvo Classic.desktop x",
            "home/Schreibtisch/Tarvo.desktop x", "share/applications/Tarvo Classic  ....desktop"}};
        QTest::newRow("No, No") << LauncherRow{Answer::No, false, {"cwd/Tarvo - Classic Modus.desktop x"}};
        QTest::newRow("No, No, in the way") << LauncherRow{Answer::No, false, {}};
    }
    void launchers()
    {
        QFETCH(LauncherRow, row);
        QTemporaryDir tmp;
        const auto back = qScopeGuard([before = QDir::currentPath()] { QDir::setCurrent(before); });
        QVERIFY(QDir().mkpath(tmp.filePath(u"home/.config"_s)) && QDir().mkpath(tmp.filePath(u"share"_s)));
        const QByteArray desktopFolder = "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n";
        QVERIFY(writeWholeFile(tmp.filePath(u"home/.config/user-dirs.dirs"_s), desktopFolder));
        qputenv("HOME", QFile::encodeName(tmp.filePath(u"home"_s)));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(tmp.filePath(u"home/.config"_s)));
        qputenv("XDG_DATA_DIRS", QFile::encodeName(tmp.filePath(u"share"_s)));
        const bool inTheWay = QTest::currentDataTag() == "No, No, in the way"_L1;
        for (const char* name : {"cwd/Tarvo - Classic Modus.desktop", "cwd/TarvoInfo.txt"})
            QVERIFY(QDir().mkpath(tmp.filePath(inTheWay ? QLatin1String(name) : "cwd"_L1)));
        QVERIFY(QDir::setCurrent(tmp.filePath(u"cwd"_s)));
        const auto h = loaded();
        h->dialogs->threeWayAnswer = row.desktop;
        h->dialogs->answer = row.menu;
        const auto d = infoDialog(*h);
        d->CreateShortcuts_Click();
        if (inTheWay)
            d->Text1_DblClick();
        QStringList found;
        for (QDirIterator it(tmp.path(), {u"Tarvo*"_s}, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
            const QFileInfo file(it.next());
            found << QDir(tmp.path()).relativeFilePath(file.filePath()) + (file.isExecutable() ? " x"_L1 : ""_L1);
        }
        found.sort();
        QCOMPARE(found, row.written);
        QCOMPARE(h->dialogs->shown.size(), row.desktop == Answer::Cancel ? 1 : 2); // the questions, no message
        QVERIFY(h->desktop->opened.isEmpty() && h->app->endings.empty());
    }
};

QTEST_MAIN(TestInfo)
#include "tst_info.moc"
