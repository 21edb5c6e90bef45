#include "data/rentlist.h"

#include <QDate>
#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringEncoder>

namespace {
constexpr int SlotCount = 15;

// Every RENT column, the nine columns of each slot, the customer record's columns and
// the two user names. Slot 1's goods are joined outside and required in the WHERE part:
// the same rows as an inner join, but the sort can walk the evidence number's index.
QString selectText()
{
    QString sql = QStringLiteral("SELECT A.*, ");
    for (int n = 1; n <= SlotCount; ++n)
        sql += QStringLiteral("(P%1.CENA1)Z%1_CENA1,(P%1.CENA2)Z%1_CENA2,(P%1.CENA3)Z%1_CENA3, "
                              "(P%1.ZALOHA)Z%1_ZALOHA,(P%1.POZNAMKA)Z%1_POZN,(P%1.ID_ZBOZI)Z%1_IDZBOZI, "
                              "(Z%1.NAZEV)Z%1_NAZEV,(T%1.TYP)Z%1_TYP,(Z%1.KOD1)Z%1_KOD1, ")
                   .arg(n);
    sql += QStringLiteral(
        "X.JMENO,X.FIRMA,X.ICO,X.DIC,X.FA_ULICE,X.FA_CISLO,X.FA_MESTO,X.FA_PSC,X.TEL1,X.TEL2,X.TEL3,"
        "X.DA1_ULICE,X.DA2_ULICE,X.DA3_ULICE,X.DA1_CISLO,X.DA2_CISLO,X.DA3_CISLO,X.DA1_MESTO,X.DA2_MESTO,"
        "X.DA3_MESTO,X.DA1_PSC,X.DA2_PSC,X.DA3_PSC,X.VYDANO_OP,X.CISLO_OP,X.DENVYDANI_OP,X.TISK,X.RODNE_CIS,"
        "(U1.JMENO)JMENO_EDIT, (U2.JMENO)JMENO_VYSTAV FROM RENT A ");
    for (int n = 1; n <= SlotCount; ++n)
        sql += QStringLiteral("LEFT JOIN RENT_GOOD P%1 ON A.ID_ZBOZI%1=P%1.ID LEFT JOIN GOODS Z%1 ON P%1.ID_ZBOZI=Z%1.ID "
                              "LEFT JOIN TYPE_GOOD T%1 ON Z%1.ID_TYP=T%1.ID ")
                   .arg(n);
    sql += QStringLiteral("LEFT JOIN CUSTOMERS X ON A.ID_ZAK=X.ID LEFT JOIN USERS U1 ON A.USER_EDIT=U1.ID "
                          "LEFT JOIN USERS U2 ON A.USER_PUJC=U2.ID WHERE A.ID>0 AND Z1.ID IS NOT NULL ");
    return sql;
}

// The sortable fields and what they sort by.
const QHash<QString, QString> &sortExpressions()
{
    static const QHash<QString, QString> expressions = [] {
        QHash<QString, QString> map;
        for (const char *field : {"EVID_CISLO", "CIS_FAKT", "PUJC_OD", "PUJC_DO", "CENA_CELK", "ZALOHA_CELK",
                                  "SLEVA", "ZAS_JMENO", "ZAK_JMENO", "ZAK_FIRMA", "ZAK_ICO", "ZAK_DIC"})
            map.insert(QLatin1String(field), QStringLiteral("A.") + QLatin1String(field));
        for (const char *field : {"JMENO", "FIRMA", "ICO", "DIC"})
            map.insert(QLatin1String(field), QStringLiteral("X.") + QLatin1String(field));
        for (int n = 1; n <= SlotCount; ++n)
            map.insert(QStringLiteral("Z%1_NAZEV").arg(n), QStringLiteral("Z%1.NAZEV").arg(n));
        map.insert(QStringLiteral("JMENO_EDIT"), QStringLiteral("U1.JMENO"));
        map.insert(QStringLiteral("JMENO_VYSTAV"), QStringLiteral("U2.JMENO"));
        return map;
    }();
    return expressions;
}

// A LIKE pattern matching the text anywhere, upper-cased, its wildcards taken literally.
QString containsPattern(const QString &text)
{
    QString escaped = text.toUpper();
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    escaped.replace(QLatin1Char('%'), QLatin1String("\\%"));
    escaped.replace(QLatin1Char('_'), QLatin1String("\\_"));
    return QLatin1Char('%') + escaped + QLatin1Char('%');
}

// Whether the database's character set can hold the text; a text it cannot hold matches nothing.
bool storable(const QString &text)
{
    QStringEncoder cp1250("windows-1250");
    const QByteArray bytes = cp1250.encode(text);
    Q_UNUSED(bytes);
    return !cp1250.hasError();
}

// " AND (UPPER(a) LIKE ? OR UPPER(b) LIKE ? …) " with the pattern bound once per column.
// Further columns searched inside a subquery: its text with "%1" standing for their conditions.
struct TSubSearch
{
    QString Text;
    QStringList Columns;
};

// "UPPER(a) LIKE ? OR UPPER(b) LIKE ? …" with the pattern bound once per column.
QString likeAny(TSqlText &statement, const QStringList &columns, const QString &text)
{
    QStringList conditions;
    for (const QString &column : columns) {
        conditions << QStringLiteral("UPPER(%1) LIKE CAST(? AS VARCHAR(256)) ESCAPE '\\'").arg(column);
        statement.Values << containsPattern(text);
    }
    return conditions.join(QStringLiteral(" OR "));
}

// " AND (… LIKE ? OR …) " over the columns (and those of a subquery).
void appendSearch(TSqlText &statement, const QStringList &columns, const QString &text, const TSubSearch &sub = {})
{
    if (text.isEmpty())
        return;
    if (!storable(text)) {
        statement.Sql += QStringLiteral(" AND 1=0 ");
        return;
    }
    QStringList parts;
    if (!sub.Columns.isEmpty())
        parts << sub.Text.arg(likeAny(statement, sub.Columns, text));
    parts << likeAny(statement, columns, text);
    statement.Sql += QStringLiteral(" AND (") + parts.join(QStringLiteral(" OR ")) + QStringLiteral(") ");
}
} // namespace

const QStringList RentsColumnFields = [] {
    QStringList fields = {"EVID_CISLO", "CIS_FAKT", "PUJC_OD", "PUJC_DO", "CENA_CELK", "ZALOHA_CELK", "SLEVA",
                          "ZAS_JMENO", "ZAK_JMENO", "ZAK_FIRMA", "ZAK_ICO", "ZAK_DIC", "JMENO", "FIRMA", "ICO", "DIC"};
    for (int n = 1; n <= SlotCount; ++n)
        fields << QStringLiteral("Z%1_NAZEV").arg(n);
    fields << QStringLiteral("JMENO_VYSTAV") << QStringLiteral("JMENO_EDIT");
    return fields;
}();

QString RentSortExpression(const QString &field)
{
    return sortExpressions().value(field);
}

TSqlText RentListSql(const TRentFilter &filter, TRentState state, const TRentSort &sort)
{
    static const QString select = selectText();
    TSqlText statement{select, {}};

    // A rental whose customer is typed into it is never hidden by type.
    QStringList hiddenTypes;
    for (int n = 1; n <= TRentFilter::TypeCount; ++n) {
        if (filter.CustomerTypes[n - 1])
            continue;
        hiddenTypes << QStringLiteral("?");
        statement.Values << n;
    }
    if (!hiddenTypes.isEmpty())
        statement.Sql += QStringLiteral("AND (COALESCE(A.ZAK_JMENO,'')<>'' OR COALESCE(A.ZAK_FIRMA,'')<>'' "
                                        "OR COALESCE(X.ID_TYP,0) NOT IN (%1)) ")
                             .arg(hiddenTypes.join(QLatin1Char(',')));

    // The register customer's name and company are looked up through the customer's key, so
    // the condition rests on the rental alone and rentals that do not match skip the joins.
    appendSearch(statement, {QStringLiteral("A.ZAK_JMENO"), QStringLiteral("A.ZAK_FIRMA"), QStringLiteral("A.ZAS_JMENO")},
                 filter.Borrower,
                 {QStringLiteral("A.ID_ZAK IN (SELECT C.ID FROM CUSTOMERS C WHERE %1)"),
                  {QStringLiteral("C.JMENO"), QStringLiteral("C.FIRMA")}});
    QStringList goodsNames;
    for (int n = 1; n <= SlotCount; ++n)
        goodsNames << QStringLiteral("Z%1.NAZEV").arg(n);
    appendSearch(statement, goodsNames, filter.Goods);

    bool isNumber = false;
    const int evidCislo = filter.EvidCislo.trimmed().toInt(&isNumber);
    if (isNumber) {
        statement.Sql += QStringLiteral(" AND A.EVID_CISLO=? ");
        statement.Values << evidCislo;
    }

    statement.Sql += QStringLiteral(" AND A.STAV_PUJC=? ");
    statement.Values << static_cast<int>(state);

    QString orderBy = RentSortExpression(sort.Field);
    if (orderBy.isEmpty())
        orderBy = RentSortExpression(QStringLiteral("EVID_CISLO"));
    statement.Sql += QStringLiteral("ORDER BY ") + orderBy + (sort.Desc ? QStringLiteral(" DESC ") : QStringLiteral(" "));
    return statement;
}

// --- TRentListModel

TRentListModel::TRentListModel(QObject *parent)
    : QSqlQueryModel(parent)
{
}

void TRentListModel::Open(const TSqlText &statement)
{
    OpenQueryModel(this, statement.Sql, statement.Values);
    m_statement = statement;
}

void TRentListModel::Reopen()
{
    if (HasStatement())
        Open(m_statement);
}

QVariant TRentListModel::Value(int row, const QString &field) const
{
    const int column = FieldColumn(field);
    if (row < 0 || row >= rowCount() || column < 0)
        return QVariant();
    return record(row).value(column);
}

void TRentListModel::SetTitles(const QHash<QString, QString> &titles)
{
    m_titles = titles;
    if (columnCount() > 0)
        emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

QVariant TRentListModel::data(const QModelIndex &item, int role) const
{
    if (role != Qt::DisplayRole && role != Qt::TextAlignmentRole)
        return QSqlQueryModel::data(item, role);
    const QString field = record().fieldName(item.column());
    const bool amount = field == QLatin1String("CENA_CELK") || field == QLatin1String("ZALOHA_CELK")
                        || field == QLatin1String("SLEVA") || field == QLatin1String("EVID_CISLO");
    if (role == Qt::TextAlignmentRole)
        return amount ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();

    const QVariant value = QSqlQueryModel::data(item, role);
    if (value.isNull())
        return value;
    if (field == QLatin1String("CENA_CELK"))
        return QString::number(value.toDouble(), 'f', 2);
    if (value.metaType().id() == QMetaType::QDateTime)
        return value.toDateTime().toString(QStringLiteral("dd.MM.yyyy HH:mm"));
    return value;
}

QVariant TRentListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) {
        const auto title = m_titles.constFind(record().fieldName(section));
        if (title != m_titles.constEnd())
            return *title;
    }
    return QSqlQueryModel::headerData(section, orientation, role);
}

// --- TRentLists

TRentLists::TRentLists(TDataModule_main &main)
    : QObject(&main), IBQVypujckyP(new TRentListModel(this)), IBQVypujckyV(new TRentListModel(this))
{
    main.RegisterGroup(TDataGroup::Rents, this);
}

void TRentLists::OpenQueries()
{
    IBQVypujckyP->Reopen();
    IBQVypujckyV->Reopen();
}

void TRentLists::CloseQueries()
{
    IBQVypujckyP->Close();
    IBQVypujckyV->Close();
}

// --- overview

double TRentOverview::TotalSum() const
{
    double total = 0;
    for (double sum : Sums)
        total += sum;
    return total;
}

int TRentOverview::TotalCount() const
{
    int total = 0;
    for (int count : Counts)
        total += count;
    return total;
}

TRentOverview RentOverview(int year)
{
    // Returned rentals belong to the month of their end; the range lets the date's index work.
    QSqlQuery query = PrepareQuery(QStringLiteral(
        "SELECT EXTRACT(MONTH FROM PUJC_DO), SUM(CENA_CELK), COUNT(*) FROM RENT "
        "WHERE STAV_PUJC=0 AND PUJC_DO>=? AND PUJC_DO<? GROUP BY 1"));
    ExecQuery(query, {QDateTime(QDate(year, 1, 1), QTime(0, 0)), QDateTime(QDate(year + 1, 1, 1), QTime(0, 0))});
    TRentOverview overview;
    while (query.next()) {
        const int month = query.value(0).toInt();
        if (month < 1 || month > 12)
            continue;
        overview.Sums[month - 1] = query.value(1).toDouble();
        overview.Counts[month - 1] = query.value(2).toInt();
    }
    return overview;
}

int EarliestReturnedYear()
{
    QSqlQuery query = PrepareQuery(QStringLiteral("SELECT MIN(PUJC_DO) FROM RENT WHERE STAV_PUJC=0"));
    ExecQuery(query);
    if (!query.next() || query.value(0).isNull())
        return 0;
    return query.value(0).toDateTime().date().year();
}

QList<int> OverviewYears(int earliestYear, int currentYear)
{
    const int first = earliestYear > 0 ? qBound(2000, earliestYear, currentYear) : currentYear;
    QList<int> years;
    for (int year = first; year <= currentYear; ++year)
        years << year;
    return years;
}
