#include <future>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "app/single_instance.h"

using namespace tarvo;

class TestSingleInstance : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void secondStartAsksTheFirstAndGivesWay()
    {
        QTemporaryDir dir;
        SingleInstance first(QStringLiteral("k1"), dir.path());
        QVERIFY(first.claim());
        QSignalSpy raised(&first, &SingleInstance::activationRequested);

        // The second start blocks while it waits for an answer, so it runs beside this event loop.
        auto second = std::async(std::launch::async, [&dir] {
            SingleInstance other(QStringLiteral("k1"), dir.path());
            return other.claim();
        });
        QTRY_VERIFY_WITH_TIMEOUT(second.wait_for(std::chrono::seconds(0)) == std::future_status::ready, 15000);
        QCOMPARE(second.get(), false);
        QCOMPARE(raised.count(), 1);
    }

    void otherSessionsAreIndependent()
    {
        QTemporaryDir dir;
        SingleInstance a(QStringLiteral("display_0"), dir.path());
        SingleInstance b(QStringLiteral("display_1"), dir.path());
        QVERIFY(a.claim());
        QVERIFY(b.claim());
    }

    void lockOfADeadProcessIsTakenOver()
    {
        QTemporaryDir dir;
        // What a crashed instance leaves: a lock naming a process that no longer runs, and a socket file.
        QFile lock(dir.path() + QStringLiteral("/tarvo-k2.lock"));
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.write("999999\ntarvo\n" + QSysInfo::machineHostName().toUtf8() + "\n");
        lock.close();
        QFile socket(dir.path() + QStringLiteral("/tarvo-k2.socket"));
        QVERIFY(socket.open(QIODevice::WriteOnly));
        socket.close();

        SingleInstance next(QStringLiteral("k2"), dir.path());
        QVERIFY(next.claim());
    }

    void sessionKeyIsAFileName()
    {
        qputenv("WAYLAND_DISPLAY", "");
        qputenv("DISPLAY", "host/x:10.0");
        QCOMPARE(sessionKey(), QStringLiteral("host_x_10.0"));
        qputenv("WAYLAND_DISPLAY", "wayland-1");
        QCOMPARE(sessionKey(), QStringLiteral("wayland-1"));
    }
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_single_instance.moc"
