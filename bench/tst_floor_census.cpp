// The floor program stands for "a Qt window of Tarvo's size" only while it holds the same widgets
// as Tarvo's main window. When this fails, update bench/floor/widget_census.h.
#include <map>

#include <QWidget>
#include <QtTest>

#include "fakes.h"
#include "floor/widget_census.h"

namespace tarvo::test {

class TestFloorCensus : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void floorHoldsTheMainWindowsWidgets()
    {
        Harness h;
        h.load();
        // Tarvo's own widget classes count as the Qt class they derive from.
        std::map<QString, int> mainWindow;
        for (QWidget* widget : h.form->findChildren<QWidget*>()) {
            const QMetaObject* meta = widget->metaObject();
            while (!QByteArray(meta->className()).startsWith('Q'))
                meta = meta->superClass();
            ++mainWindow[QString::fromLatin1(meta->className())];
        }
        std::map<QString, int> floor;
        for (const auto& kind : bench::kMainWindowWidgets)
            floor[QString::fromLatin1(kind.className)] = kind.count;

        const auto describe = [](const std::map<QString, int>& counts) {
            QStringList parts;
            for (const auto& [name, count] : counts)
                parts << QStringLiteral("%1 %2").arg(name).arg(count);
            return parts.join(QStringLiteral(", "));
        };
        QCOMPARE(describe(floor), describe(mainWindow));
    }
};

} // namespace tarvo::test

QTEST_MAIN(tarvo::test::TestFloorCensus)
#include "tst_floor_census.moc"
