#include "app/dbcreate.h"
#include "app/errors.h"
#include "app/resources.h"

#include <QFile>
#include <QRegularExpression>

#include <ibase.h>

#include <vector>

namespace {

QString statusText(const ISC_STATUS *status)
{
    QStringList parts;
    char buffer[1024];
    const ISC_STATUS *vector = status;
    while (fb_interpret(buffer, sizeof buffer, &vector))
        parts << QString::fromLocal8Bit(buffer);
    return parts.join(QStringLiteral("; "));
}

void check(const ISC_STATUS *status, const QString &what)
{
    if (status[0] == 1 && status[1] != 0)
        throw ELormenError(what + QStringLiteral(": ") + statusText(status));
}

// Database parameter buffer for a UTF8 attachment in dialect 1.
std::vector<char> makeDpb(const QByteArray &user, const QByteArray &password)
{
    std::vector<char> dpb{isc_dpb_version1};
    auto add = [&dpb](char tag, const QByteArray &value) {
        dpb.push_back(tag);
        dpb.push_back(static_cast<char>(value.size()));
        dpb.insert(dpb.end(), value.begin(), value.end());
    };
    add(isc_dpb_user_name, user);
    add(isc_dpb_password, password);
    add(isc_dpb_lc_ctype, "UTF8");
    return dpb;
}

QString quoted(const QString &text)
{
    return '\'' + QString(text).replace('\'', QStringLiteral("''")) + '\'';
}

} // namespace

QString TDatabaseCreator::BuiltInSchema()
{
    InitLormenResources();
    QFile file(QStringLiteral(":/db/schema.sql"));
    if (!file.open(QIODevice::ReadOnly))
        throw ELormenError(QStringLiteral("The database schema is missing from the program."));
    return QString::fromUtf8(file.readAll());
}

QStringList TDatabaseCreator::SplitStatements(const QString &script)
{
    static const QRegularExpression setTerm(QStringLiteral("^SET\\s+TERM\\s+(\\S+)"),
                                            QRegularExpression::CaseInsensitiveOption);
    QStringList statements;
    QString terminator = QStringLiteral(";");
    QString current;
    for (const QString &rawLine : script.split('\n')) {
        const QString line = rawLine.trimmed();
        if (current.isEmpty() && (line.isEmpty() || line.startsWith(QStringLiteral("--"))))
            continue;
        const auto term = setTerm.match(line);
        if (current.isEmpty() && term.hasMatch()) {
            QString next = term.captured(1);
            if (next.endsWith(terminator) && next.size() > terminator.size())
                next.chop(terminator.size());
            terminator = next;
            continue;
        }
        current += rawLine + '\n';
        if (line.endsWith(terminator)) {
            current = current.trimmed();
            current.chop(terminator.size());
            if (!current.trimmed().isEmpty())
                statements << current.trimmed();
            current.clear();
        }
    }
    if (!current.trimmed().isEmpty())
        statements << current.trimmed();
    return statements;
}

void TDatabaseCreator::Create(const QString &file, const QString &schemaSql,
                              const QString &user, const QString &password)
{
    const QStringList statements = SplitStatements(schemaSql);
    ISC_STATUS_ARRAY status{};
    isc_db_handle db = 0;
    isc_tr_handle tr = 0;

    const QByteArray create = QStringLiteral(
        "CREATE DATABASE %1 USER %2 PASSWORD %3 PAGE_SIZE 8192 DEFAULT CHARACTER SET WIN1250")
        .arg(quoted(file), quoted(user), quoted(password)).toUtf8();
    isc_dsql_execute_immediate(status, &db, &tr, 0, create.constData(), 1, nullptr);
    check(status, QStringLiteral("Cannot create the database %1").arg(file));
    isc_detach_database(status, &db);

    try {
        const QByteArray path = QFile::encodeName(file);
        const std::vector<char> dpb = makeDpb(user.toUtf8(), password.toUtf8());
        isc_attach_database(status, 0, path.constData(), &db, static_cast<short>(dpb.size()), dpb.data());
        check(status, QStringLiteral("Cannot open the new database %1").arg(file));
        for (const QString &statement : statements) {
            const QByteArray sql = statement.toUtf8();
            isc_start_transaction(status, &tr, 1, &db, 0, nullptr);
            check(status, QStringLiteral("Cannot start a transaction"));
            isc_dsql_execute_immediate(status, &db, &tr, 0, sql.constData(), 1, nullptr);
            if (status[0] == 1 && status[1] != 0) {
                const QString why = statusText(status);
                ISC_STATUS_ARRAY ignored{};
                isc_rollback_transaction(ignored, &tr);
                throw ELormenError(QStringLiteral("The database schema failed at \"%1\": %2")
                                       .arg(statement.left(200), why));
            }
            isc_commit_transaction(status, &tr);
            check(status, QStringLiteral("Cannot commit the database schema"));
        }
        isc_detach_database(status, &db);
    } catch (...) {
        ISC_STATUS_ARRAY ignored{};
        if (db) {
            isc_drop_database(ignored, &db);
        }
        QFile::remove(file);
        throw;
    }
}
