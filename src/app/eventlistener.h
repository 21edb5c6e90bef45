#pragma once
#include <QObject>
#include <QString>

#include <memory>

// Listens for one database event on an attachment of its own. The engine calls back on a
// thread of its own; the callback only hands the news to the user-interface thread, so
// cancelling never waits on a lock that thread holds.
class TEventListener : public QObject
{
    Q_OBJECT
public:
    explicit TEventListener(QObject *parent = nullptr);
    ~TEventListener() override;

    // Attaches to the database and starts listening; false (with the reason) on failure.
    bool Start(const QString &database, const QString &user, const QString &password,
               const QString &eventName, QString *error = nullptr);
    void Stop();
    bool Active() const;

    struct State;

signals:
    // The event was posted by a committed transaction (once per arrival).
    void Posted();

private:
    Q_INVOKABLE void delivered();
    std::shared_ptr<State> m_state;
};
