// The dry run: one line per request on its stream, nothing else.

#include <cstdio>
#include <unistd.h>

#include <QTest>

#include "power/dry_run_power.h"

using tarvo::PowerCode;

namespace {

// Reads the file through its descriptor, past stdio's buffer: only what was flushed shows.
QByteArray flushedContent(std::FILE* file)
{
    QByteArray content(4096, '\0');
    const ssize_t size = ::pread(fileno(file), content.data(), content.size(), 0);
    content.resize(size > 0 ? size : 0);
    return content;
}

} // namespace

class TestDryRunPower : public QObject {
    Q_OBJECT

private slots:
    void printsOneLinePerRequest_data();
    void printsOneLinePerRequest();
    void refusesCodesOutOfRangeWithoutPrinting_data();
    void refusesCodesOutOfRangeWithoutPrinting();
};

void TestDryRunPower::printsOneLinePerRequest_data()
{
    QTest::addColumn<QList<PowerCode>>("codes");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("standby") << QList<PowerCode> { 6 } << QByteArray("tarvo: power request 6 (Standby)\n");
    QTest::newRow("log off") << QList<PowerCode> { 0 } << QByteArray("tarvo: power request 0 (LogOff)\n");
    QTest::newRow("forced power off") << QList<PowerCode> { 8 } << QByteArray("tarvo: power request 8 (PowerOff)\n");
    QTest::newRow("unused code") << QList<PowerCode> { 7 } << QByteArray("tarvo: power request 7 (Code7)\n");
    QTest::newRow("two requests, two lines") << QList<PowerCode> { 1,
        5 } << QByteArray("tarvo: power request 1 (Shutdown)\ntarvo: power request 5 (Hibernate)\n");
}

void TestDryRunPower::printsOneLinePerRequest()
{
    QFETCH(QList<PowerCode>, codes);
    QFETCH(QByteArray, expected);

    std::FILE* out = std::tmpfile();
    QVERIFY(out);
    tarvo::DryRunPower power(out);
    for (const PowerCode code : codes) {
        const tarvo::PowerOutcome outcome = power.request(code);
        QVERIFY(outcome.ok);
        QCOMPARE(outcome.reason, QString());
    }
    // The program ends right after a request; the line must already be out.
    QCOMPARE(flushedContent(out), expected);
    std::fclose(out);
}

void TestDryRunPower::refusesCodesOutOfRangeWithoutPrinting_data()
{
    QTest::addColumn<PowerCode>("code");
    QTest::newRow("-1") << PowerCode(-1);
    QTest::newRow("10") << PowerCode(10);
}

void TestDryRunPower::refusesCodesOutOfRangeWithoutPrinting()
{
    QFETCH(PowerCode, code);

    std::FILE* out = std::tmpfile();
    QVERIFY(out);
    tarvo::DryRunPower power(out);
    const tarvo::PowerOutcome outcome = power.request(code);
    std::fflush(out);

    QVERIFY(!outcome.ok);
    QCOMPARE(outcome.reason, QStringLiteral("Reboot Fehler"));
    QCOMPARE(flushedContent(out), QByteArray());
    std::fclose(out);
}

QTEST_GUILESS_MAIN(TestDryRunPower)
#include "tst_power_dry_run.moc"
