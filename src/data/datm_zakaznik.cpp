#include "data/datm_zakaznik.h"
#include "app/instance.h"

#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QSqlRecord>

namespace {

// The sort column is one of four fixed names, never user text.
QString columnName(TDataModule_zakaznik::TRazeni field)
{
    switch (field) {
    case TDataModule_zakaznik::TRazeni::Ico: return QStringLiteral("ICO");
    case TDataModule_zakaznik::TRazeni::Jmeno: return QStringLiteral("JMENO");
    case TDataModule_zakaznik::TRazeni::RodneCis: return QStringLiteral("RODNE_CIS");
    case TDataModule_zakaznik::TRazeni::Firma: break;
    }
    return QStringLiteral("FIRMA");
}

// Register customer columns in the order of TColumn, after the position column.
const char *const customerColumns =
    "A.ID, COALESCE(NULLIF(A.JMENO, ''), '-'), COALESCE(NULLIF(A.FIRMA, ''), '-'), "
    "COALESCE(NULLIF(A.ICO, ''), '-'), COALESCE(NULLIF(A.RODNE_CIS, ''), '-'), "
    "COALESCE(A.ID_TYP, 0), COALESCE(A.SLEVA, 0), COALESCE(A.AKT_PUJC, -1), "
    "COALESCE(A.POCET_PRONAJMU, 0), COALESCE(A.VYDELANO, 0), B.TYP";

TZakaznik fromRecord(const QSqlRecord &r, int first)
{
    TZakaznik z;
    z.ID = r.value(first + 0).toInt();
    z.JMENO = r.value(first + 1).toString();
    z.FIRMA = r.value(first + 2).toString();
    z.ICO = r.value(first + 3).toString();
    z.RODNE_CIS = r.value(first + 4).toString();
    z.ID_TYP = r.value(first + 5).toInt();
    z.SLEVA = r.value(first + 6).toInt();
    z.AKT_PUJC = r.value(first + 7).toInt();
    z.POCET_PRONAJMU = r.value(first + 8).toInt();
    z.VYDELANO = r.value(first + 9).toDouble();
    z.TYP = r.value(first + 10).toString();
    return z;
}
} // namespace

TDataModule_zakaznik &DataModule_zakaznik()
{
    return TProgramInstance<TDataModule_zakaznik>::Get();
}

void SetDataModule_zakaznik(TDataModule_zakaznik *module)
{
    TProgramInstance<TDataModule_zakaznik>::Set(module);
}

TDataModule_zakaznik::TDataModule_zakaznik(TDataModule_main &main, QObject *parent)
    : QObject(parent), IBCustomersType(new QSqlQueryModel(this)), IBQCustomersVyber(new QSqlQueryModel(this))
{
    main.RegisterGroup(TDataGroup::Customers, this);
}

TDataModule_zakaznik::~TDataModule_zakaznik()
{
    TProgramInstance<TDataModule_zakaznik>::Forget(this);
}

void TDataModule_zakaznik::OpenQueries()
{
    OpenQueryModel(IBCustomersType, QStringLiteral("SELECT * FROM TYPE_CUSTOMER ORDER BY ID"));
    OpenCustomersVyber(m_razeni, m_manualCustomerText);
}

void TDataModule_zakaznik::CloseQueries()
{
    IBCustomersType->clear();
    IBQCustomersVyber->clear();
}

QMap<int, QString> TDataModule_zakaznik::CustomerTypeNames() const
{
    QSqlQuery query = PrepareQuery(QStringLiteral("SELECT ID, TYP FROM TYPE_CUSTOMER ORDER BY ID"));
    ExecQuery(query);
    QMap<int, QString> names;
    while (query.next())
        names.insert(query.value(0).toInt(), query.value(1).toString());
    return names;
}

void TDataModule_zakaznik::OpenCustomersVyber(TRazeni field, const QString &manualCustomerText)
{
    m_razeni = field;
    m_manualCustomerText = manualCustomerText;
    // Sorted by the chosen column of the result (its position), then by ID; the one-off
    // customer's row always comes first.
    const int sortPosition = 1 + [field] {
        switch (field) {
        case TRazeni::Ico: return int(colIco);
        case TRazeni::Jmeno: return int(colJmeno);
        case TRazeni::RodneCis: return int(colRodneCis);
        case TRazeni::Firma: break;
        }
        return int(colFirma);
    }();
    const QString sql = QStringLiteral(
        "SELECT 0, 0, CAST(? AS VARCHAR(64)), CAST(? AS VARCHAR(64)), CAST('-' AS VARCHAR(34)), "
        "CAST('' AS VARCHAR(16)), -1, 0, -10, 0, CAST(0 AS DOUBLE PRECISION), CAST('' AS VARCHAR(32)) "
        "FROM RDB$DATABASE "
        "UNION ALL SELECT 1, %1 FROM CUSTOMERS A JOIN TYPE_CUSTOMER B ON A.ID_TYP=B.ID WHERE A.ID>0 "
        "ORDER BY 1, %2, 2")
                              .arg(QLatin1String(customerColumns))
                              .arg(sortPosition);
    OpenQueryModel(IBQCustomersVyber, sql, {manualCustomerText, manualCustomerText});
}

TZakaznik TDataModule_zakaznik::ZakaznikNaPozici(int row) const
{
    if (row < 0 || row >= IBQCustomersVyber->rowCount())
        return TZakaznik();
    return fromRecord(IBQCustomersVyber->record(row), colId);
}

std::optional<TZakaznik> TDataModule_zakaznik::ZakaznikDleId(int id) const
{
    QSqlQuery query = PrepareQuery(QStringLiteral("SELECT %1 FROM CUSTOMERS A LEFT JOIN TYPE_CUSTOMER B "
                                                  "ON A.ID_TYP=B.ID WHERE A.ID=?")
                                       .arg(QLatin1String(customerColumns)));
    ExecQuery(query, {id});
    if (!query.next())
        return std::nullopt;
    return fromRecord(query.record(), 0);
}

QList<TZakaznik> TDataModule_zakaznik::HledejZakazniky(TRazeni field, const QString &text, int limit) const
{
    const QString column = columnName(field);
    QSqlQuery query = PrepareQuery(QStringLiteral("SELECT FIRST (?) %1 FROM CUSTOMERS A JOIN TYPE_CUSTOMER B "
                                                  "ON A.ID_TYP=B.ID WHERE A.ID>0 AND A.%2 CONTAINING ? "
                                                  "ORDER BY A.%2, A.ID")
                                       .arg(QLatin1String(customerColumns), column));
    ExecQuery(query, {limit, text});
    QList<TZakaznik> found;
    while (query.next())
        found << fromRecord(query.record(), 0);
    return found;
}
