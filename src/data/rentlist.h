#pragma once
// The rentals lists: the statement built from the filter panel and the sort of a list,
// the two standing list queries, and the yearly overview of returned rentals.
#include "app/datamod_main.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <array>

// What the filter panel narrows both lists by.
struct TRentFilter
{
    static constexpr int TypeCount = 6;

    // Box n (from 1) stands for the customer type with ID n; unchecked hides the rentals
    // of register customers of that type.
    std::array<bool, TypeCount> CustomerTypes{true, true, true, true, true, true};
    QString Borrower;  // part of a name or company of the borrower or the representative
    QString Goods;     // part of a goods name in any slot
    QString EvidCislo; // the evidence number; a text that is not a whole number filters nothing
};

// How one list is sorted: a field of the list (the field behind a grid column) and the direction.
struct TRentSort
{
    QString Field = QStringLiteral("EVID_CISLO");
    bool Desc = false;
};

// A statement with its values, bound in order.
struct TSqlText
{
    QString Sql;
    QVariantList Values;
};

// The rental states of the two lists (RENT.STAV_PUJC).
enum class TRentState { Out = 1, Returned = 0 };

// The 33 fields the list grids show, in column order (the columns of RentsColumnKeys).
extern const QStringList RentsColumnFields;

// The expression a list field is sorted by; empty for a field that is not sortable.
QString RentSortExpression(const QString &field);

// The list statement for one state with the filter and the sort. Rentals without goods in
// slot 1 are never listed. A sort field that is not sortable sorts by evidence number.
TSqlText RentListSql(const TRentFilter &filter, TRentState state, const TRentSort &sort);

// A list query that fetches its rows as the views show them and can be reopened with its
// last statement. Dates show as "dd.MM.yyyy HH:mm", the total price with two decimals.
class TRentListModel : public QSqlQueryModel
{
    Q_OBJECT
public:
    explicit TRentListModel(QObject *parent = nullptr);

    // Executes the statement in the shared transaction and keeps it for Reopen().
    // Throws EDatabaseError.
    void Open(const TSqlText &statement);
    // Executes the last statement again; nothing when none was opened yet.
    void Reopen();
    void Close() { clear(); }
    bool HasStatement() const { return !m_statement.Sql.isEmpty(); }
    const TSqlText &Statement() const { return m_statement; }

    // The model column of a field of the list (-1 while closed).
    int FieldColumn(const QString &field) const { return record().indexOf(field); }
    // The value of a field on a row (an invalid value when there is no such row).
    QVariant Value(int row, const QString &field) const;

    // Column titles by field name.
    void SetTitles(const QHash<QString, QString> &titles);

    QVariant data(const QModelIndex &item, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    TSqlText m_statement;
    QHash<QString, QString> m_titles;
};

// The two standing list queries of the rentals group: reopened with their statements by
// every reload. Created as a child of the connection module, which reopens it.
class TRentLists : public QObject, public TQueryGroup
{
    Q_OBJECT
public:
    explicit TRentLists(TDataModule_main &main);

    TRentListModel *IBQVypujckyP; // out now
    TRentListModel *IBQVypujckyV; // returned

    void OpenQueries() override;
    void CloseQueries() override;
};

// Returned rentals of one year by month of their end.
struct TRentOverview
{
    std::array<double, 12> Sums{};
    std::array<int, 12> Counts{};
    double TotalSum() const;
    int TotalCount() const;
};

TRentOverview RentOverview(int year);

// The year of the earliest end of a returned rental; 0 when there is none.
int EarliestReturnedYear();

// The years the overview offers: from the earliest year with returned rentals (not before
// 2000) to `currentYear`; just `currentYear` when there are none.
QList<int> OverviewYears(int earliestYear, int currentYear);
