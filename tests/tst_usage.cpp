#include <QTest>

#include "app/usage.h"
#include "info/help_text.h"

using namespace tarvo;

Q_DECLARE_METATYPE(tarvo::StartMode)

class TestUsage : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void startMode_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<StartMode>("mode");
        QTest::newRow("beyond the tenth word")
            << QStringList { "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "--version" } << StartMode::Version;
        QTest::newRow("first one decides") << QStringList { "--version", "-h" } << StartMode::Version;
        QTest::newRow("upper case is letters") << QStringList { "--HELP" } << StartMode::Run;
        QTest::newRow("-H is the hours letter") << QStringList { "-H" } << StartMode::Run;
        QTest::newRow("part of one argument") << QStringList { "S --help" } << StartMode::Run;
        QTest::newRow("with a value") << QStringList { "--help=all" } << StartMode::Run;
        QTest::newRow("steering a running one") << QStringList { "A", "--cancel", "--help" } << StartMode::Remote;
        QTest::newRow("add with its number joined") << QStringList { "--add=5" } << StartMode::Remote;
        QTest::newRow("status, upper case is letters") << QStringList { "--STATUS" } << StartMode::Run;
    }
    void startMode()
    {
        QFETCH(QStringList, arguments);
        QFETCH(StartMode, mode);
        QCOMPARE(tarvo::startMode(arguments), mode);
    }

    void usageCarriesTheOptionList()
    {
        const QString usage = usageText();
        const QStringList lines = usage.split(QLatin1Char('\n'));
        for (const QString& line : helpTextLines()) {
            if (line.contains(QLatin1String(" = ")))
                QVERIFY2(lines.contains(line), qPrintable(line));
        }
        QVERIFY(!usage.contains(QLatin1String("Windows XP/2000")));
        QVERIFY(!usage.contains(QLatin1String(".exe")));
    }
};

QTEST_GUILESS_MAIN(TestUsage)
#include "tst_usage.moc"
