#include "data/datmod_znozi.h"
#include "app/instance.h"
#include "data/datm_zakaznik.h"

#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QSqlRecord>

TDataModule_zbozi &DataModule_zbozi()
{
    return TProgramInstance<TDataModule_zbozi>::Get();
}

void SetDataModule_zbozi(TDataModule_zbozi *module)
{
    TProgramInstance<TDataModule_zbozi>::Set(module);
}

QString ZboziColumns(const QString &a)
{
    return QStringLiteral("%1.ID, COALESCE(NULLIF(%1.NAZEV, ''), '-'), COALESCE(NULLIF(%1.KOD1, ''), '-'), "
                          "COALESCE(NULLIF(%1.FOTO, ''), '-'), COALESCE(%1.CENA1, 0), COALESCE(%1.CENA2, 0), "
                          "COALESCE(%1.CENA3, 0), COALESCE(%1.ZALOHA, 0), COALESCE(%1.PUJCENI, -1), "
                          "COALESCE(%1.REZERVACE, 0), COALESCE(%1.VYDELANO, 0), COALESCE(%1.POCET_PUJC, 0)")
        .arg(a);
}

TZbozi ZboziFromRecord(const QSqlRecord &r, int first)
{
    TZbozi z;
    z.ID = r.value(first + 0).toInt();
    z.NAZEV = r.value(first + 1).toString();
    z.KOD1 = r.value(first + 2).toString();
    z.FOTO = r.value(first + 3).toString();
    z.CENA1 = r.value(first + 4).toInt();
    z.CENA2 = r.value(first + 5).toInt();
    z.CENA3 = r.value(first + 6).toInt();
    z.ZALOHA = r.value(first + 7).toInt();
    z.Pujceno = r.value(first + 8).toInt() == 1;
    z.Rezervovano = r.value(first + 9).toInt() >= 1;
    z.VYDELANO = r.value(first + 10).toDouble();
    z.POCET_PUJC = r.value(first + 11).toInt();
    return z;
}

TDataModule_zbozi::TDataModule_zbozi(TDataModule_main &main, QObject *parent)
    : QObject(parent), IBQZboziVyber(new QSqlQueryModel(this))
{
    main.RegisterGroup(TDataGroup::Goods, this);
}

TDataModule_zbozi::~TDataModule_zbozi()
{
    TProgramInstance<TDataModule_zbozi>::Forget(this);
}

void TDataModule_zbozi::OpenQueries()
{
    OpenZboziVyber();
}

void TDataModule_zbozi::CloseQueries()
{
    IBQZboziVyber->clear();
}

void TDataModule_zbozi::OpenZboziVyber()
{
    const QString sql = QStringLiteral(
        "SELECT 0, 0, CAST(? AS VARCHAR(32)), CAST(? AS VARCHAR(32)), CAST('-' AS VARCHAR(128)), "
        "0, 0, 0, 0, 0, 0, CAST(0 AS DOUBLE PRECISION), 0 FROM RDB$DATABASE "
        "UNION ALL SELECT 1, %1 FROM GOODS A JOIN TYPE_GOOD B ON A.ID_TYP=B.ID "
        "JOIN STATE_GOOD C ON A.ID_STAV=C.ID WHERE A.ID>0 ORDER BY 1, 3, 2")
                              .arg(ZboziColumns(QStringLiteral("A")));
    OpenQueryModel(IBQZboziVyber, sql, {ZadneZbozi(), ZadneZbozi()});
}

TZbozi TDataModule_zbozi::ZboziNaPozici(int row) const
{
    if (row < 0 || row >= IBQZboziVyber->rowCount())
        return TZbozi();
    return ZboziFromRecord(IBQZboziVyber->record(row), colId);
}

QList<TZbozi> TDataModule_zbozi::HledejZbozi(TPole field, const QString &text, int limit) const
{
    const QString column = field == TPole::Kod1 ? QStringLiteral("KOD1") : QStringLiteral("NAZEV");
    QSqlQuery query = PrepareQuery(QStringLiteral("SELECT FIRST (?) %1 FROM GOODS A JOIN TYPE_GOOD B ON A.ID_TYP=B.ID "
                                                  "JOIN STATE_GOOD C ON A.ID_STAV=C.ID "
                                                  "WHERE A.ID>0 AND A.%2 CONTAINING ? ORDER BY A.%2, A.ID")
                                       .arg(ZboziColumns(QStringLiteral("A")), column));
    ExecQuery(query, {limit, text});
    QList<TZbozi> found;
    while (query.next())
        found << ZboziFromRecord(query.record(), 0);
    return found;
}
