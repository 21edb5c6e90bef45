#pragma once
#include "app/errors.h"
#include "app/eventlistener.h"

#include <QObject>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <initializer_list>

// A database statement failed; the message is the one shown to the user.
class EDatabaseError : public ELormenError
{
public:
    explicit EDatabaseError(const QString &message) : ELormenError(message) {}
};

// The groups of standing queries that a reload reopens.
enum class TDataGroup { Customers, Goods, Rents, Users, Invoices };

// A data module's standing queries; registered with the main data module.
class TQueryGroup
{
public:
    virtual ~TQueryGroup() = default;
    virtual void OpenQueries() = 0;
    virtual void CloseQueries() = 0;
};

// The connection, the shared transaction and the "EVENT_DB" listener.
class TDataModule_main : public QObject
{
    Q_OBJECT
public:
    static constexpr int MaxConnectAttempts = 9;
    static constexpr int RetryPauseMs = 3000;
    static QString DatabaseFileName() { return QStringLiteral("TARN07.GDB"); }
    static QString EventName() { return QStringLiteral("EVENT_DB"); }

    explicit TDataModule_main(const QString &connectionName = QStringLiteral("lormen"), QObject *parent = nullptr);
    ~TDataModule_main() override;

    // The one connection (`IBDatabase1`).
    QSqlDatabase IBDatabase1() const;

    // Every connection attempt of the run counts; the first call may make up to nine.
    int ConnectRetries = 0;
    // Waits between two attempts; tests replace it so they need not sleep.
    std::function<void(int ms)> Pause;

    // Opens directory + "TARN07.GDB" (an empty directory means "db/" of the program directory).
    bool ConnectDatabase(const QString &directory);
    // The database file for a directory as ConnectDatabase opens it.
    static QString DatabaseFile(const QString &directory);
    // The default local database, created from the built-in schema when it is missing.
    static void EnsureLocalDatabase(const QString &directory);

    // Commits, restarts the shared transaction, registers the listener and reopens the
    // standing queries of the chosen groups; on failure shows STR_REOPENDB_ERR and disconnects.
    void RefreshData(bool customers = true, bool goods = true, bool rents = true,
                     bool users = true, bool invoices = true);
    // Closes the standing queries and tells the windows to show the disconnected state.
    void SetDisconnected();
    bool ListenerRegistered() const;
    void UnregisterListener();

    void RegisterGroup(TDataGroup group, TQueryGroup *queries);

    // The shared transaction.
    bool InTransaction() const { return m_inTransaction; }
    void StartWork();
    bool CommitWork();
    void RollbackWork();

    // Backups of a local database with gbak. BackupDatabase does not wait for gbak and
    // returns its process ID (0 when nothing was started).
    qint64 BackupDatabase(const QString &file, bool showMessages);
    // Restores into a new file and puts it in place only when gbak succeeded.
    bool RestoreDatabase(const QString &file);
    static QString GbakPath();
    static QStringList BackupArguments(const QString &databaseFile, const QString &backupFile);
    static QStringList RestoreArguments(const QString &backupFile, const QString &databaseFile);
    // Runs a program and waits for it while the window keeps processing events; -1 when
    // it cannot start.
    static int RunAndWait(const QString &program, const QStringList &arguments);
    // Deletes the oldest files matching `mask` so that `keep` remain; returns how many went.
    static int DeleteOldBackups(int keep, const QString &directory, const QString &mask);

signals:
    void DatabaseEvent();
    void Connected();
    void Disconnected();
    void DataRefreshed();

private:
    QList<QPair<TDataGroup, TQueryGroup *>> m_groups;
    QString m_connectionName;
    TEventListener m_listener; // `IBEvents1`
    bool m_inTransaction = false;
};

// The program's data module (created at start).
TDataModule_main &DataModule_main();
bool HasDataModule_main();
void SetDataModule_main(TDataModule_main *module);

// A statement prepared on the program's connection (or on `db`). A list model needs a
// query it can scroll: `forwardOnly` false.
QSqlQuery PrepareQuery(const QString &sql, const QSqlDatabase &db = QSqlDatabase(), bool forwardOnly = true);
// Binds values in order and executes; throws EDatabaseError with a readable message.
void ExecQuery(QSqlQuery &query, std::initializer_list<QVariant> values = {});
void ExecQuery(QSqlQuery &query, const QVariantList &values);
// Runs a SELECT with bound values into a list model (rows are fetched as they are shown).
void OpenQueryModel(QSqlQueryModel *model, const QString &sql, const QVariantList &values = {},
                    const QSqlDatabase &db = QSqlDatabase());
// The text shown to the user for a database error (characters the database cannot
// hold and texts too long for their column get their own message).
QString DatabaseErrorText(const QSqlError &error);

// Runs a sequence of writes as one unit: Commit() at the end, a rollback of everything
// when the guard goes out of scope without it.
class TWorkTransaction
{
public:
    explicit TWorkTransaction(TDataModule_main &module);
    ~TWorkTransaction();
    void Commit();
    TWorkTransaction(const TWorkTransaction &) = delete;
    TWorkTransaction &operator=(const TWorkTransaction &) = delete;

private:
    TDataModule_main &m_module;
    bool m_done = false;
};
