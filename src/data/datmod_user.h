#pragma once
// The users of the program: the standing query of the USERS table and the statements
// the login dialogs and the automatic login run on it.
#include "app/datamod_main.h"

#include <QList>
#include <QObject>
#include <QSqlQueryModel>
#include <QString>

#include <optional>

// One USERS row as the login dialog offers it.
struct TUserRow
{
    int Id = 0;
    QString Jmeno;
    QString Heslo; // an empty text when the row has none
};

class TDataModule_user : public QObject, public TQueryGroup
{
    Q_OBJECT
public:
    // Registers the standing queries with `main` for the users group; the module must live
    // as long as `main` reloads (make it a child of `main` or destroy `main` first).
    explicit TDataModule_user(TDataModule_main &main, QObject *parent = nullptr);
    ~TDataModule_user() override;

    // "SELECT * FROM USERS ORDER BY ID", for the grids; empty while closed.
    QSqlQueryModel *IBQUsers() { return &m_IBQUsers; }

    // Throws EDatabaseError when the query cannot be opened.
    void OpenQueries() override;
    void CloseQueries() override;

    // Every user in ID order.
    QList<TUserRow> Users() const;
    // Adds one to the user's login count (in the shared transaction; the caller commits).
    void CountLogin(int id);
    // True when user `id` exists and is named exactly `name` (letter case and spaces count).
    bool IsUser(int id, const QString &name) const;
    // The password of the administrator: the last row in ID order named exactly "admin";
    // nothing when there is no such row.
    std::optional<QString> AdminPassword() const;

private:
    TDataModule_main &m_main;
    QSqlQueryModel m_IBQUsers;
};

// The program's users module (created at start).
TDataModule_user &DataModule_user();
bool HasDataModule_user();
void SetDataModule_user(TDataModule_user *module);
