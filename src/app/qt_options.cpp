#include "app/qt_options.h"

namespace tarvo {
namespace {

// QGuiApplication's, QApplication's and the xcb platform's options, as Qt 6 spells them.
const char* const kWithValue[] = {"platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
                                  "qwindowicon", "qwindowtitle", "session", "style", "stylesheet", "qmljsdebugger",
                                  "display", "geometry", "title", "icon", "name", "visual"};
const char* const kAlone[] = {"reverse", "widgetcount", "testability", "nograb", "dograb"};

// The option's name without its dash or two dashes ("-style", "--style"); empty for anything else.
QString optionName(const QString& argument)
{
    if (!argument.startsWith(QLatin1Char('-')))
        return {};
    return argument.mid(argument.startsWith(QLatin1String("--")) ? 2 : 1);
}

template <std::size_t N>
bool among(const QString& name, const char* const (&names)[N])
{
    for (const char* n : names) {
        if (name == QLatin1String(n))
            return true;
    }
    return false;
}

} // namespace

QStringList withoutQtOptions(const QStringList& arguments)
{
    QStringList kept;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString name = optionName(arguments.at(i));
        if (among(name, kWithValue)) {
            ++i; // its value goes with it
            continue;
        }
        // "-style=fusion" and the like.
        const qsizetype equals = name.indexOf(QLatin1Char('='));
        if (among(name, kAlone) || (equals > 0 && among(name.left(equals), kWithValue)))
            continue;
        kept << arguments.at(i);
    }
    return kept;
}

} // namespace tarvo
