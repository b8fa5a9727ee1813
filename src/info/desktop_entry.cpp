#include "info/desktop_entry.h"

#include <QFileInfo>

#include "info/whole_file.h"

namespace tarvo {
namespace {

const QString kExtension = QStringLiteral(".desktop");

// Escapes of every string value of a desktop entry.
QString escapeValue(const QString& value)
{
    QString out;
    out.reserve(value.size());
    for (QChar c : value) {
        switch (c.unicode()) {
        case '\\':
            out += QLatin1String("\\\\");
            break;
        case '\n':
            out += QLatin1String("\\n");
            break;
        case '\t':
            out += QLatin1String("\\t");
            break;
        case '\r':
            out += QLatin1String("\\r");
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString execLine(const Shortcut& shortcut)
{
    QStringList words;
    // GLib looks the program up before it resolves "%%", so a program path with a "%" would never be
    // found there; env starts it instead. A path that also holds "=" would be taken by env for a
    // variable, so that one stays as it is.
    if (shortcut.target.contains(QLatin1Char('%')) && !shortcut.target.contains(QLatin1Char('=')))
        words << QStringLiteral("env");
    words << execWord(shortcut.target);
    for (const QString& argument : shortcut.arguments)
        words << execWord(argument);
    return words.join(QLatin1Char(' '));
}

} // namespace

QString withEntryExtension(const QString& linkPath)
{
    const QString upper = linkPath.toUpper();
    if (upper.endsWith(QLatin1String("DESKTOP")) || upper.endsWith(QLatin1String("ESKTOP\"")))
        return linkPath;
    return linkPath + kExtension;
}

QString execWord(const QString& word)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool quote = word.isEmpty();
    for (QChar c : word)
        quote = quote || reserved.contains(c);
    QString out;
    for (QChar c : word) {
        if (quote && (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$')
                      || c == QLatin1Char('\\')))
            out += QLatin1Char('\\');
        out += c;
        if (c == QLatin1Char('%'))
            out += c;
    }
    return quote ? QLatin1Char('"') + out + QLatin1Char('"') : out;
}

QString desktopEntryText(const Shortcut& shortcut)
{
    QString name = QFileInfo(withEntryExtension(shortcut.linkPath)).fileName();
    if (name.endsWith(kExtension, Qt::CaseInsensitive))
        name.chop(kExtension.size());
    QString text = QStringLiteral("[Desktop Entry]\nType=Application\n");
    text += QLatin1String("Name=") + escapeValue(name) + QLatin1Char('\n');
    if (!shortcut.description.isEmpty())
        text += QLatin1String("Comment=") + escapeValue(shortcut.description) + QLatin1Char('\n');
    text += QLatin1String("Exec=") + escapeValue(execLine(shortcut)) + QLatin1Char('\n');
    if (!shortcut.workingDirectory.isEmpty())
        text += QLatin1String("Path=") + escapeValue(shortcut.workingDirectory) + QLatin1Char('\n');
    text += QLatin1String("Terminal=false\n");
    return text;
}

bool writeDesktopEntry(const Shortcut& shortcut, bool executable)
{
    // Desktops start only launchers marked executable; without that they show them as text.
    return writeWholeFile(withEntryExtension(shortcut.linkPath), desktopEntryText(shortcut).toUtf8(), executable);
}

} // namespace tarvo
