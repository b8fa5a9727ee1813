// What a screen reader meets: every control a user can reach or work has a name and a description,
// in every state of the main window and in the info dialog.
#include <QAccessible>
#include <QRegularExpression>

#include "info/info_dialog.h"
#include "window_states.h"

using namespace tarvo;
using namespace tarvo::test;

namespace {

// The shown controls one can reach or work that lack a name or a description (a tooltip serves as
// one), as "objectName: what". A caption such as "<>" names nothing.
void collectUnnamed(QAccessibleInterface* item, QStringList& unnamed)
{
    static const QList<QAccessible::Role> roles{QAccessible::PushButton,   QAccessible::CheckBox,  QAccessible::RadioButton,
                                                QAccessible::EditableText, QAccessible::ScrollBar, QAccessible::Link};
    if (item == nullptr || item->state().invisible)
        return;
    if (roles.contains(item->role()) || item->state().focusable) {
        const QString name = item->object() ? item->object()->objectName() : QStringLiteral("?");
        if (!item->text(QAccessible::Name).contains(QRegularExpression(QStringLiteral("\\p{L}"))))
            unnamed << name + QStringLiteral(": no name");
        if (item->text(QAccessible::Description).trimmed().isEmpty())
            unnamed << name + QStringLiteral(": no description");
    }
    for (int i = 0; i < item->childCount(); ++i)
        collectUnnamed(item->child(i), unnamed);
}

} // namespace

class TestAccessibility : public QObject {
    Q_OBJECT

private slots:
    void controlsNamed_data()
    {
        QTest::addColumn<QString>("state");
        for (const WindowState& state : windowStates())
            QTest::newRow(state.name) << QString::fromUtf8(state.name);
        QTest::newRow("info dialog") << QString();
    }
    void controlsNamed()
    {
        QFETCH(QString, state);
        const auto h = state.isEmpty() ? loaded() : windowIn(windowState(state.toUtf8().constData()));
        InfoDialog dialog(h->form.get(), QStringLiteral("1.0"), QStringLiteral("https://example.org/"), *h->dialogs, *h->desktop);
        QWidget& window = state.isEmpty() ? static_cast<QWidget&>(dialog) : *h->form;
        window.show();
        QStringList unnamed;
        collectUnnamed(QAccessible::queryAccessibleInterface(&window), unnamed);
        QCOMPARE(unnamed, QStringList());
        QCOMPARE(QAccessible::queryAccessibleInterface(control(*h->form, "NeustartBtn"))->text(QAccessible::Name),
                 QStringLiteral("Aktion Neustart"));
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
