#include "app/datamod_main.h"
#include "app/instance.h"
#include "app/dbcreate.h"
#include "app/dialogs.h"
#include "app/errorlog.h"
#include "app/globalres.h"
#include "app/paths.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDriver>
#include <QStandardPaths>
#include <QTimer>

#include <algorithm>

namespace {
void waitWithEvents(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

QString withSeparator(QString directory)
{
    if (!directory.isEmpty() && !directory.endsWith('/') && !directory.endsWith('\\') && !directory.endsWith(':'))
        directory += '/';
    return directory;
}
} // namespace

TDataModule_main &DataModule_main()
{
    return TProgramInstance<TDataModule_main>::Get();
}

bool HasDataModule_main()
{
    return TProgramInstance<TDataModule_main>::Has();
}

void SetDataModule_main(TDataModule_main *module)
{
    TProgramInstance<TDataModule_main>::Set(module);
}

TDataModule_main::TDataModule_main(const QString &connectionName, QObject *parent)
    : QObject(parent), Pause(waitWithEvents), m_connectionName(connectionName)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QIBASE"), m_connectionName);
    db.setConnectOptions(QStringLiteral("ISC_DPB_LC_CTYPE=UTF8"));
    connect(&m_listener, &TEventListener::Posted, this, [this] {
        emit DatabaseEvent();
        if (Settings.Database.Connected)
            RefreshData();
    });
}

TDataModule_main::~TDataModule_main()
{
    m_listener.Stop();
    {
        QSqlDatabase db = IBDatabase1();
        if (db.isOpen()) {
            if (m_inTransaction)
                db.rollback();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(m_connectionName);
    TProgramInstance<TDataModule_main>::Forget(this);
}

QSqlDatabase TDataModule_main::IBDatabase1() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

QString TDataModule_main::DatabaseFile(const QString &directory)
{
    const QString dir = directory.isEmpty() ? ProgramFile(QStringLiteral("db/")) : withSeparator(directory);
    return dir + DatabaseFileName();
}

void TDataModule_main::EnsureLocalDatabase(const QString &directory)
{
    const QString file = DatabaseFile(directory);
    if (QFileInfo::exists(file))
        return;
    QDir().mkpath(QFileInfo(file).absolutePath());
    TDatabaseCreator::Create(file, TDatabaseCreator::BuiltInSchema(), Settings.Database.User,
                             Settings.Database.Password);
}

bool TDataModule_main::ConnectDatabase(const QString &directory)
{
    ++ConnectRetries;
    UnregisterListener();
    QSqlDatabase db = IBDatabase1();
    if (db.isOpen()) {
        db.close();
        m_inTransaction = false;
    }
    db.setDatabaseName(DatabaseFile(directory));
    db.setUserName(Settings.Database.User);
    db.setPassword(Settings.Database.Password);
    if (db.open())
        return true;
    if (ConnectRetries < MaxConnectAttempts) {
        Pause(RetryPauseMs);
        return ConnectDatabase(Settings.Database.Path);
    }
    return false;
}

bool TDataModule_main::ListenerRegistered() const
{
    return m_listener.Active();
}

void TDataModule_main::UnregisterListener()
{
    m_listener.Stop();
}

void TDataModule_main::RegisterGroup(TDataGroup group, TQueryGroup *queries)
{
    m_groups.append({group, queries});
}

void TDataModule_main::StartWork()
{
    if (m_inTransaction)
        return;
    QSqlDatabase db = IBDatabase1();
    if (!db.transaction())
        throw EDatabaseError(DatabaseErrorText(db.lastError()));
    m_inTransaction = true;
}

bool TDataModule_main::CommitWork()
{
    if (m_inTransaction) {
        QSqlDatabase db = IBDatabase1();
        m_inTransaction = false;
        if (!db.commit()) {
            const QSqlError error = db.lastError();
            db.rollback();
            throw EDatabaseError(DatabaseErrorText(error));
        }
    }
    return m_inTransaction;
}

void TDataModule_main::RollbackWork()
{
    if (!m_inTransaction)
        return;
    m_inTransaction = false;
    IBDatabase1().rollback();
    // The rollback closed the lists' cursors: bring them back.
    if (Settings.Database.Connected)
        RefreshData();
}

void TDataModule_main::RefreshData(bool customers, bool goods, bool rents, bool users, bool invoices)
{
    const bool wanted[] = {customers, goods, rents, users, invoices};
    try {
        CommitWork();
        // Listening starts before the new snapshot, so no change falls between the two.
        QSqlDatabase db = IBDatabase1();
        QString why;
        if (!ListenerRegistered()
            && !m_listener.Start(db.databaseName(), db.userName(), db.password(), EventName(), &why))
            throw EDatabaseError(why);
        StartWork();
        for (TDataGroup group : {TDataGroup::Customers, TDataGroup::Goods, TDataGroup::Rents,
                                 TDataGroup::Users, TDataGroup::Invoices}) {
            if (!wanted[static_cast<int>(group)])
                continue;
            for (const auto &entry : std::as_const(m_groups))
                if (entry.first == group)
                    entry.second->OpenQueries();
        }
    } catch (const ELormenError &) {
        Dialogs().ShowText(LanguageString.STR_REOPENDB_ERR);
        SetDisconnected();
        return;
    }
    emit DataRefreshed();
}

void TDataModule_main::SetDisconnected()
{
    Settings.Database.Connected = false;
    for (TDataGroup group : {TDataGroup::Invoices, TDataGroup::Users, TDataGroup::Rents,
                             TDataGroup::Customers, TDataGroup::Goods})
        for (const auto &entry : std::as_const(m_groups))
            if (entry.first == group)
                entry.second->CloseQueries();
    emit Disconnected();
}

QString TDataModule_main::GbakPath()
{
    const QString beside = ProgramFile(QStringLiteral("gbak"));
    if (QFileInfo(beside).isExecutable())
        return beside;
    return QStandardPaths::findExecutable(QStringLiteral("gbak"));
}

QStringList TDataModule_main::BackupArguments(const QString &databaseFile, const QString &backupFile)
{
    return {QStringLiteral("-B"), QStringLiteral("-user"), Settings.Database.User,
            QStringLiteral("-pas"), Settings.Database.Password, databaseFile, backupFile};
}

QStringList TDataModule_main::RestoreArguments(const QString &backupFile, const QString &databaseFile)
{
    return {QStringLiteral("-C"), QStringLiteral("-user"), Settings.Database.User,
            QStringLiteral("-pas"), Settings.Database.Password, backupFile, databaseFile};
}

qint64 TDataModule_main::BackupDatabase(const QString &file, bool showMessages)
{
    if (Settings.Database.Kind == QLatin1String("Remote"))
        return 0;
    const QString gbak = GbakPath();
    qint64 pid = 0;
    if (!file.isEmpty() && !gbak.isEmpty())
        pid = Dialogs().StartDetached(ShortPath(gbak),
                                      BackupArguments(ShortPath(DatabaseFile(Settings.Database.Path)),
                                                      ShortPath(file)));
    const QString text = pid ? LanguageString.STR_WAS_BACKUP_ON + ' ' + file : LanguageString.STR_MISTAKE_BACKUP;
    if (showMessages)
        Dialogs().ShowText(text);
    AppendLog(text);
    return pid;
}

bool TDataModule_main::RestoreDatabase(const QString &file)
{
    const QString gbak = GbakPath();
    if (Settings.Database.Kind == QLatin1String("Remote") || !QFileInfo::exists(file) || gbak.isEmpty())
        return false;
    const QString database = DatabaseFile(Settings.Database.Path);
    // Restore beside the database first: a broken backup must not cost the current data.
    const QString restored = database + QStringLiteral(".restore");
    QFile::remove(restored);

    QSqlDatabase db = IBDatabase1();
    UnregisterListener();
    if (m_inTransaction)
        db.rollback();
    m_inTransaction = false;
    db.close();

    const int exitCode = RunAndWait(gbak, RestoreArguments(ShortPath(file), restored));
    bool ok = exitCode == 0 && QFileInfo::exists(restored);
    if (ok) {
        const QString previous = database + QStringLiteral(".before-restore");
        QFile::remove(previous);
        ok = QFile::rename(database, previous) && QFile::rename(restored, database);
        if (!ok && !QFileInfo::exists(database))
            QFile::rename(previous, database);
        if (ok)
            QFile::remove(previous);
    }
    QFile::remove(restored);

    const QString text = ok ? LanguageString.STR_WAS_RESTORE : LanguageString.STR_RESTORE_FAILED;
    Dialogs().ShowText(text);
    AppendLog(text + ' ' + file);
    if (db.open())
        RefreshData();
    else
        SetDisconnected();
    return ok;
}

int TDataModule_main::RunAndWait(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(program, arguments);
    if (!process.waitForStarted())
        return -1;
    while (!process.waitForFinished(100))
        QCoreApplication::processEvents();
    if (process.exitStatus() != QProcess::NormalExit)
        return -1;
    return process.exitCode();
}

int TDataModule_main::DeleteOldBackups(int keep, const QString &directory, const QString &mask)
{
    QDir dir(directory);
    QFileInfoList files = dir.entryInfoList({mask}, QDir::Files | QDir::Hidden | QDir::System, QDir::NoSort);
    if (files.size() <= keep)
        return 0;
    std::stable_sort(files.begin(), files.end(), [](const QFileInfo &a, const QFileInfo &b) {
        return a.lastModified() < b.lastModified();
    });
    int deleted = 0;
    for (int i = 0; i < files.size() - keep; ++i)
        if (files[i].exists() && QFile::remove(files[i].absoluteFilePath()))
            ++deleted;
    return deleted;
}

QSqlQuery PrepareQuery(const QString &sql, const QSqlDatabase &db, bool forwardOnly)
{
    QSqlQuery query(db.isValid() ? db : DataModule_main().IBDatabase1());
    query.setForwardOnly(forwardOnly);
    if (!query.prepare(sql))
        throw EDatabaseError(DatabaseErrorText(query.lastError()));
    return query;
}

void ExecQuery(QSqlQuery &query, std::initializer_list<QVariant> values)
{
    ExecQuery(query, QVariantList(values));
}

void ExecQuery(QSqlQuery &query, const QVariantList &values)
{
    int i = 0;
    for (const QVariant &value : values) {
        // An empty text is stored as an empty text, not as NULL.
        const bool nullText = value.typeId() == QMetaType::QString && value.toString().isNull();
        query.bindValue(i++, nullText ? QVariant(QStringLiteral("")) : value);
    }
    if (!query.exec())
        throw EDatabaseError(DatabaseErrorText(query.lastError()));
}

void OpenQueryModel(QSqlQueryModel *model, const QString &sql, const QVariantList &values, const QSqlDatabase &db)
{
    // Prepared anew each time: a statement cannot outlive its transaction.
    QSqlQuery query = PrepareQuery(sql, db, false);
    ExecQuery(query, values);
    model->setQuery(std::move(query));
}

QString DatabaseErrorText(const QSqlError &error)
{
    const QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    if (text.contains(QLatin1String("transliterate"), Qt::CaseInsensitive) && !LanguageString.STR_DB_CHARSET.isEmpty())
        return LanguageString.STR_DB_CHARSET + QStringLiteral("\n\n") + text;
    return text;
}

TWorkTransaction::TWorkTransaction(TDataModule_main &module)
    : m_module(module)
{
    m_module.StartWork();
}

TWorkTransaction::~TWorkTransaction()
{
    if (!m_done)
        m_module.RollbackWork();
}

void TWorkTransaction::Commit()
{
    m_done = true;
    m_module.CommitWork();
}
