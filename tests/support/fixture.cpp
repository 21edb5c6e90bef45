#include "fixture.h"

#include "app/datamod_main.h"
#include "app/dbcreate.h"
#include "app/errors.h"
#include "app/fbroot.h"
#include "app/globalres.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QSqlError>
#include <QThread>
#include <QtTest>

#include <signal.h>

namespace {
// One private Firebird root per test process, made before the client library is used.
void prepareFirebird()
{
    static QTemporaryDir root(QDir::tempPath() + QStringLiteral("/lormen-fb-XXXXXX"));
    static bool done = false;
    if (done)
        return;
    QString error;
    if (!PrepareFirebirdRoot(root.path(), &error))
        qFatal("%s", qPrintable(error));
    done = true;
}
} // namespace

TestEnv::TestEnv(bool withDatabase)
    : m_dir(QDir::tempPath() + QStringLiteral("/lormen-test-XXXXXX"))
{
    prepareFirebird();
    qputenv("LORMEN_HOME", QFile::encodeName(m_dir.path()));
    Settings = TSettings();
    Settings.Database.Path = databaseDir();
    LanguageString = TLanguageString();
    QDir().mkpath(databaseDir());
    if (withDatabase)
        TDatabaseCreator::Create(databaseFile(), schema(), Settings.Database.User, Settings.Database.Password);
}

TestEnv::~TestEnv()
{
    for (const QString &name : std::as_const(m_connections)) {
        {
            QSqlDatabase db = QSqlDatabase::database(name, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
    }
    qunsetenv("LORMEN_HOME");
}

QString TestEnv::home() const
{
    return m_dir.path() + '/';
}

QString TestEnv::databaseDir() const
{
    return home() + QStringLiteral("db/");
}

QString TestEnv::databaseFile() const
{
    return databaseDir() + QStringLiteral("TARN07.GDB");
}

QSqlDatabase TestEnv::connection(const QString &name)
{
    if (!m_connections.contains(name)) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QIBASE"), name);
        db.setDatabaseName(databaseFile());
        db.setUserName(Settings.Database.User);
        db.setPassword(Settings.Database.Password);
        db.setConnectOptions(QStringLiteral("ISC_DPB_LC_CTYPE=UTF8"));
        if (!db.open())
            qFatal("Cannot open the test database: %s", qPrintable(db.lastError().text()));
        m_connections << name;
    }
    return QSqlDatabase::database(name);
}

QString TestEnv::schema()
{
    QFile file(QStringLiteral(LORMEN_SOURCE_DIR "/db/schema.sql"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("Cannot read db/schema.sql");
    return QString::fromUtf8(file.readAll());
}

void TestEnv::installLanguages() const
{
    const QDir source(QStringLiteral(LORMEN_SOURCE_DIR "/lng"));
    QDir().mkpath(home() + QStringLiteral("lng"));
    for (const QString &name : source.entryList(QDir::Files))
        QFile::copy(source.filePath(name), home() + QStringLiteral("lng/") + name);
}

QString TestEnv::settingsFile() const
{
    return home() + QStringLiteral("settings.ini");
}

void TestEnv::writeSettings(const QByteArray &content) const
{
    QFile file(settingsFile());
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        qFatal("Cannot write %s", qPrintable(settingsFile()));
}

bool ConnectAsProgram(TDataModule_main &module)
{
    if (!module.ConnectDatabase(Settings.Database.Path))
        return false;
    Settings.Database.Connected = true;
    module.RefreshData();
    return Settings.Database.Connected;
}

bool WaitForPid(qint64 pid, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (::kill(static_cast<pid_t>(pid), 0) == 0) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents();
        QThread::msleep(20);
    }
    return true;
}
