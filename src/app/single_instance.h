#pragma once

#include <memory>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QString>
#include <QVariantList>

namespace tarvo {

class InstanceObject;
class RemoteControl;

// One Tarvo per user session. The first start owns a well-known name on the session bus; the bus
// belongs to its user, so no one else can take the name, block it or talk to it, and every start of
// the session finds the same name whichever display variable its launcher set. A later start finds
// the name taken, asks its owner to come forward, and ends. The same name answers --status, --cancel
// and --add (app/remote_command.h).
class SingleInstance {
public:
    enum class Claim {
        First, // the name is ours: run
        Forwarded, // another Tarvo runs and came forward: end
        Unchecked, // no bus, or the owner does not answer: run all the same; warning() says why
    };

    // name: the well-known bus name, Tarvo's application id.
    SingleInstance(QDBusConnection bus, QString name);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    Claim claim();
    QString warning() const { return m_warning; }
    // From now on the calls of later starts reach control; nullptr stops that.
    void serve(RemoteControl* control);

private:
    QDBusConnection m_bus;
    QString m_name;
    std::unique_ptr<InstanceObject> m_object;
    QString m_warning;
    bool m_owner = false;
};

// The bus object of a name: "/org/example/tarvo" for "org.example.tarvo"; its interface is the name.
QString instancePath(const QString& name);

// Calls a method of the running instance and waits for the answer. Events keep being delivered
// meanwhile, so that an instance served by the same thread (a test) can answer.
QDBusMessage callInstance(const QDBusConnection& bus, const QString& name, const QString& method,
    const QVariantList& arguments, int timeoutMs);

} // namespace tarvo
