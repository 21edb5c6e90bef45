#include "data/datmod_vypujka.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace {
TDataModule_vypujcka *programModule = nullptr;

QDate optionalDate(const QVariant &value)
{
    return value.isNull() ? QDate() : value.toDateTime().date();
}
} // namespace

TDataModule_vypujcka &DataModule_vypujcka()
{
    Q_ASSERT(programModule);
    return *programModule;
}

void SetDataModule_vypujcka(TDataModule_vypujcka *module)
{
    programModule = module;
}

TDataModule_vypujcka::TDataModule_vypujcka(TDataModule_main &main, QObject *parent)
    : QObject(parent)
{
    main.RegisterGroup(TDataGroup::Rents, this);
}

TDataModule_vypujcka::~TDataModule_vypujcka()
{
    if (programModule == this)
        programModule = nullptr;
}

void TDataModule_vypujcka::OpenQueries()
{
}

void TDataModule_vypujcka::CloseQueries()
{
}

int TDataModule_vypujcka::MaxEvidCislo() const
{
    QSqlQuery query = PrepareQuery(QStringLiteral("SELECT MAX(EVID_CISLO) FROM RENT"));
    ExecQuery(query);
    return query.next() ? query.value(0).toInt() : 0;
}

bool TDataModule_vypujcka::EvidCisloUsed(int number) const
{
    QSqlQuery query = PrepareQuery(QStringLiteral(
        "SELECT 1 FROM RDB$DATABASE WHERE EXISTS (SELECT 1 FROM RENT WHERE EVID_CISLO=?)"));
    ExecQuery(query, {number});
    return query.next();
}

std::optional<TRentRow> TDataModule_vypujcka::ReadRent(int id) const
{
    QSqlQuery rent = PrepareQuery(QStringLiteral(
        "SELECT ID, EVID_CISLO, STAV_PUJC, PUJC_OD, PUJC_DO, SLEVA, CENA_CELK, ZALOHA_CELK, ID_ZAK, "
        "ZAK_JMENO, ZAK_FIRMA, ZAK_ICO, ZAK_DIC, ZAK_CISLOOP, ZAK_VYSTAVOP, ZAK_RODNEC, ZAK_FULICE, "
        "ZAK_FCISLO, ZAK_FMESTO, ZAK_FPSC, ZAK_TEL, ZAK_OSTATNI, ZAK_DENVYDANIOP, ZAS_JMENO, "
        "ZAS_CISLOOP, ZAS_VYSTAVOP, ZAS_RODNEC, ZAS_DENVYDANIOP, ID_ZBOZI1, ID_ZBOZI2, ID_ZBOZI3, "
        "ID_ZBOZI4, ID_ZBOZI5, ID_ZBOZI6, ID_ZBOZI7, ID_ZBOZI8, ID_ZBOZI9, ID_ZBOZI10, ID_ZBOZI11, "
        "ID_ZBOZI12, ID_ZBOZI13, ID_ZBOZI14, ID_ZBOZI15 FROM RENT WHERE ID=?"));
    ExecQuery(rent, {id});
    if (!rent.next())
        return std::nullopt;

    TRentRow row;
    int c = 0;
    auto next = [&rent, &c] { return rent.value(c++); };
    row.ID = next().toInt();
    row.EVID_CISLO = next().toInt();
    row.STAV_PUJC = next().toInt();
    row.PUJC_OD = next().toDateTime();
    row.PUJC_DO = next().toDateTime();
    row.SLEVA = next().toInt();
    row.CENA_CELK = next().toDouble();
    row.ZALOHA_CELK = next().toInt();
    row.ID_ZAK = next().toInt();
    for (QString *text : {&row.ZAK_JMENO, &row.ZAK_FIRMA, &row.ZAK_ICO, &row.ZAK_DIC, &row.ZAK_CISLOOP,
                          &row.ZAK_VYSTAVOP, &row.ZAK_RODNEC, &row.ZAK_FULICE, &row.ZAK_FCISLO,
                          &row.ZAK_FMESTO, &row.ZAK_FPSC, &row.ZAK_TEL, &row.ZAK_OSTATNI})
        *text = next().toString();
    row.ZAK_DENVYDANIOP = optionalDate(next());
    for (QString *text : {&row.ZAS_JMENO, &row.ZAS_CISLOOP, &row.ZAS_VYSTAVOP, &row.ZAS_RODNEC})
        *text = next().toString();
    row.ZAS_DENVYDANIOP = optionalDate(next());
    for (TRentSlot &slot : row.Slots)
        slot.RentGoodId = qMax(0, next().toInt());

    // The slotRows' RENT_GOOD rows with their items, fetched in one statement.
    QString placeholders;
    for (int i = 0; i < TRentRow::SlotCount; ++i)
        placeholders += i ? QStringLiteral(", ?") : QStringLiteral("?");
    QSqlQuery slotRows = PrepareQuery(QStringLiteral(
        "SELECT P.ID, P.ID_ZBOZI, P.CENA1, P.CENA2, P.CENA3, P.ZALOHA, P.POZNAMKA, "
        "CASE WHEN G.ID IS NULL THEN 0 ELSE 1 END, %1 "
        "FROM RENT_GOOD P LEFT JOIN GOODS G ON P.ID_ZBOZI=G.ID WHERE P.ID>0 AND P.ID IN (%2)")
                                       .arg(ZboziColumns(QStringLiteral("G")), placeholders));
    for (int i = 0; i < TRentRow::SlotCount; ++i)
        slotRows.bindValue(i, row.Slots[i].RentGoodId);
    ExecQuery(slotRows);
    while (slotRows.next()) {
        const int rentGoodId = slotRows.value(0).toInt();
        for (TRentSlot &slot : row.Slots) {
            if (slot.RentGoodId != rentGoodId)
                continue;
            slot.GoodsId = slotRows.value(1).toInt();
            slot.CENA1 = slotRows.value(2).toInt();
            slot.CENA2 = slotRows.value(3).toInt();
            slot.CENA3 = slotRows.value(4).toInt();
            slot.ZALOHA = slotRows.value(5).toInt();
            slot.POZNAMKA = slotRows.value(6).toString();
            slot.GoodsFound = slotRows.value(7).toInt() == 1;
            if (slot.GoodsFound)
                slot.Zbozi = ZboziFromRecord(slotRows.record(), 8);
            slot.Zbozi.ID = slot.GoodsId;
        }
    }
    return row;
}
