#include "data/datmod_user.h"
#include "app/instance.h"

#include <QSqlError>
#include <QSqlQuery>

TDataModule_user &DataModule_user()
{
    return TProgramInstance<TDataModule_user>::Get();
}

bool HasDataModule_user()
{
    return TProgramInstance<TDataModule_user>::Has();
}

void SetDataModule_user(TDataModule_user *module)
{
    TProgramInstance<TDataModule_user>::Set(module);
}

TDataModule_user::TDataModule_user(TDataModule_main &main, QObject *parent)
    : QObject(parent), m_main(main)
{
    m_main.RegisterGroup(TDataGroup::Users, this);
}

TDataModule_user::~TDataModule_user()
{
    TProgramInstance<TDataModule_user>::Forget(this);
}

void TDataModule_user::OpenQueries()
{
    OpenQueryModel(&m_IBQUsers, QStringLiteral("SELECT * FROM USERS ORDER BY ID"), {}, m_main.IBDatabase1());
}

void TDataModule_user::CloseQueries()
{
    m_IBQUsers.clear();
}

QList<TUserRow> TDataModule_user::Users() const
{
    QSqlQuery query = PrepareQuery(QStringLiteral("SELECT ID, JMENO, HESLO FROM USERS ORDER BY ID"),
                                   m_main.IBDatabase1());
    ExecQuery(query);
    QList<TUserRow> users;
    while (query.next())
        users.append({query.value(0).toInt(), query.value(1).toString(), query.value(2).toString()});
    return users;
}

void TDataModule_user::CountLogin(int id)
{
    QSqlQuery query = PrepareQuery(QStringLiteral("UPDATE USERS SET NUM_LOGIN = NUM_LOGIN + 1 WHERE ID = ?"),
                                   m_main.IBDatabase1());
    ExecQuery(query, {id});
}

bool TDataModule_user::IsUser(int id, const QString &name) const
{
    QSqlQuery query = PrepareQuery(QStringLiteral("SELECT JMENO FROM USERS WHERE ID = ? AND JMENO = ?"),
                                   m_main.IBDatabase1());
    ExecQuery(query, {id, name});
    // SQL ignores trailing spaces when it compares texts; the name must match as it stands.
    return query.next() && query.value(0).toString() == name;
}

std::optional<QString> TDataModule_user::AdminPassword() const
{
    const QString admin = QStringLiteral("admin");
    QSqlQuery query = PrepareQuery(QStringLiteral("SELECT JMENO, HESLO FROM USERS WHERE JMENO = ? ORDER BY ID DESC"),
                                   m_main.IBDatabase1());
    ExecQuery(query, {admin});
    while (query.next())
        if (query.value(0).toString() == admin)
            return query.value(1).toString();
    return std::nullopt;
}
