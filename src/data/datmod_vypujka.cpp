#include "data/datmod_vypujka.h"
#include "app/instance.h"
#include "app/globalres.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <type_traits>
#include <utility>

namespace {

QDate optionalDate(const QVariant &value)
{
    return value.isNull() ? QDate() : value.toDateTime().date();
}

// A date column's value: midnight of the date, or NULL for no date.
QVariant dateValue(const QDate &date)
{
    return date.isValid() ? QVariant(QDateTime(date, QTime(0, 0))) : QVariant(QMetaType(QMetaType::QDateTime));
}

// Another workstation's write clashed with ours (it took the same new ID, or changed a
// row we write since our snapshot began); the whole write is tried again.
class EWriteConflict : public EDatabaseError
{
public:
    using EDatabaseError::EDatabaseError;
};

bool isWriteConflict(const QSqlError &error)
{
    // SQLCODE -803: duplicate value in a unique index; -913: deadlock / update conflict.
    const QString code = error.nativeErrorCode();
    const QString text = error.databaseText();
    return code == QLatin1String("-803") || code == QLatin1String("-913")
        || text.contains(QLatin1String("PRIMARY or UNIQUE KEY"), Qt::CaseInsensitive)
        || text.contains(QLatin1String("update conflicts"), Qt::CaseInsensitive)
        || text.contains(QLatin1String("deadlock"), Qt::CaseInsensitive);
}

// Prepares (inside the running transaction) and executes one write with bound values;
// `entry` is the booked goods entry the statement belongs to (0 for none). Returns the
// number of rows it changed.
int execWrite(const QSqlDatabase &db, const QString &sql, const QVariantList &values, int entry = 0)
{
    QSqlQuery query = PrepareQuery(sql, db);
    for (int i = 0; i < values.size(); ++i) {
        const QVariant &value = values[i];
        // An empty text is stored as an empty text, not as NULL.
        const bool nullText = value.typeId() == QMetaType::QString && value.toString().isNull();
        query.bindValue(i, nullText ? QVariant(QStringLiteral("")) : value);
    }
    if (!query.exec()) {
        const QSqlError error = query.lastError();
        if (error.databaseText().contains(QLatin1String("IDX_RENT_EVID_CISLO"), Qt::CaseInsensitive))
            throw ERentSaveError(ERentSaveError::EvidUsed, entry, DatabaseErrorText(error));
        if (isWriteConflict(error))
            throw EWriteConflict(DatabaseErrorText(error));
        throw ERentSaveError(ERentSaveError::Statement, entry, DatabaseErrorText(error));
    }
    return query.numRowsAffected();
}

using TColumnValues = QList<std::pair<QString, QVariant>>;

QStringList columnNames(const TColumnValues &columns)
{
    QStringList names;
    for (const auto &column : columns)
        names << column.first;
    return names;
}

QVariantList columnValues(const TColumnValues &columns)
{
    QVariantList values;
    for (const auto &column : columns)
        values << column.second;
    return values;
}

// The RENT columns a save writes for a new and for an edited rental alike.
TColumnValues rentColumns(const TRentRow &row, int state, int userId)
{
    return {{QStringLiteral("STAV_PUJC"), state},
            {QStringLiteral("CENA_CELK"), row.CENA_CELK},
            {QStringLiteral("ZALOHA_CELK"), row.ZALOHA_CELK},
            {QStringLiteral("EVID_CISLO"), row.EVID_CISLO},
            {QStringLiteral("PUJC_OD"), row.PUJC_OD},
            {QStringLiteral("PUJC_DO"), row.PUJC_DO},
            {QStringLiteral("SLEVA"), row.SLEVA},
            {QStringLiteral("ZAK_JMENO"), row.ZAK_JMENO},
            {QStringLiteral("ZAK_FIRMA"), row.ZAK_FIRMA},
            {QStringLiteral("ZAK_ICO"), row.ZAK_ICO},
            {QStringLiteral("ZAK_DIC"), row.ZAK_DIC},
            {QStringLiteral("ZAK_CISLOOP"), row.ZAK_CISLOOP},
            {QStringLiteral("ZAK_VYSTAVOP"), row.ZAK_VYSTAVOP},
            {QStringLiteral("ZAK_RODNEC"), row.ZAK_RODNEC},
            {QStringLiteral("ZAK_FULICE"), row.ZAK_FULICE},
            {QStringLiteral("ZAK_FCISLO"), row.ZAK_FCISLO},
            {QStringLiteral("ZAK_FMESTO"), row.ZAK_FMESTO},
            {QStringLiteral("ZAK_FPSC"), row.ZAK_FPSC},
            {QStringLiteral("ZAK_TEL"), row.ZAK_TEL},
            {QStringLiteral("ZAK_OSTATNI"), row.ZAK_OSTATNI},
            {QStringLiteral("ZAK_DENVYDANIOP"), dateValue(row.ZAK_DENVYDANIOP)},
            {QStringLiteral("ZAS_JMENO"), row.ZAS_JMENO},
            {QStringLiteral("ZAS_CISLOOP"), row.ZAS_CISLOOP},
            {QStringLiteral("ZAS_VYSTAVOP"), row.ZAS_VYSTAVOP},
            {QStringLiteral("ZAS_RODNEC"), row.ZAS_RODNEC},
            {QStringLiteral("ZAS_DENVYDANIOP"), dateValue(row.ZAS_DENVYDANIOP)},
            {QStringLiteral("USER_EDIT"), userId}};
}

// A rental out now stands for one rental out of its register customer; a negative count
// (never rented) counts as none.
const QString lowerRentalsOut =
    QStringLiteral("AKT_PUJC = CASE WHEN AKT_PUJC > 0 THEN AKT_PUJC - 1 ELSE 0 END");
} // namespace

TDataModule_vypujcka &DataModule_vypujcka()
{
    return TProgramInstance<TDataModule_vypujcka>::Get();
}

void SetDataModule_vypujcka(TDataModule_vypujcka *module)
{
    TProgramInstance<TDataModule_vypujcka>::Set(module);
}

TDataModule_vypujcka::TDataModule_vypujcka(TDataModule_main &main, QObject *parent)
    : QObject(parent), m_main(main)
{
    main.RegisterGroup(TDataGroup::Rents, this);
}

TDataModule_vypujcka::~TDataModule_vypujcka()
{
    TProgramInstance<TDataModule_vypujcka>::Forget(this);
}

void TDataModule_vypujcka::OpenQueries()
{
}

void TDataModule_vypujcka::CloseQueries()
{
}

int TDataModule_vypujcka::MaxEvidCislo() const
{
    QSqlQuery query = PrepareQuery(QStringLiteral("SELECT MAX(EVID_CISLO) FROM RENT"), db());
    ExecQuery(query);
    return query.next() ? query.value(0).toInt() : 0;
}

bool TDataModule_vypujcka::EvidCisloUsed(int number) const
{
    QSqlQuery query = PrepareQuery(QStringLiteral(
        "SELECT 1 FROM RDB$DATABASE WHERE EXISTS (SELECT 1 FROM RENT WHERE EVID_CISLO=?)"), db());
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
        "ID_ZBOZI12, ID_ZBOZI13, ID_ZBOZI14, ID_ZBOZI15 FROM RENT WHERE ID=?"), db());
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
                                       .arg(ZboziColumns(QStringLiteral("G")), placeholders), db());
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

// ---------------------------------------------------------------- writing

template <class Write>
auto TDataModule_vypujcka::writeInTransaction(Write write)
{
    for (int attempt = 1;; ++attempt) {
        try {
            // A fresh snapshot: one taken before another workstation's last commit would
            // make every row that workstation changed an update conflict.
            m_main.CommitWork();
            TWorkTransaction work(m_main);
            if constexpr (std::is_void_v<decltype(write())>) {
                write();
                work.Commit();
                return;
            } else {
                auto result = write();
                work.Commit();
                return result;
            }
        } catch (const EWriteConflict &conflict) {
            if (attempt >= MaxWriteAttempts)
                throw ERentSaveError(ERentSaveError::Statement, 0, conflict.message());
        }
    }
}

// The rental as stored now, which must still be in `state` with the same customer.
TRentRow TDataModule_vypujcka::storedRent(const TRentRow &row, int state)
{
    const std::optional<TRentRow> stored = ReadRent(row.ID);
    if (!stored || stored->STAV_PUJC != state || stored->ID_ZAK != row.ID_ZAK)
        throw ERentSaveError(ERentSaveError::RentChanged, 0, QStringLiteral("RENT %1 changed").arg(row.ID));
    return *stored;
}

// The prices, deposit and note of each stored slot as `row` holds them.
void TDataModule_vypujcka::updateSlots(const TRentRow &row, const TRentRow &stored)
{
    for (int n = 0; n < TRentRow::SlotCount; ++n) {
        const int id = stored.Slots[n].RentGoodId;
        if (id <= 0)
            continue;
        const TRentSlot &slot = row.Slots[n];
        execWrite(db(), QStringLiteral("UPDATE RENT_GOOD SET CENA1=?, CENA2=?, CENA3=?, ZALOHA=?, POZNAMKA=? WHERE ID=?"),
                  {slot.CENA1, slot.CENA2, slot.CENA3, slot.ZALOHA, slot.POZNAMKA, id});
    }
}

void TDataModule_vypujcka::updateRentRow(const TRentRow &row, int state, int userId)
{
    const TColumnValues columns = rentColumns(row, state, userId);
    QVariantList values = columnValues(columns);
    values << row.ID;
    execWrite(db(), QStringLiteral("UPDATE RENT SET %1=? WHERE ID=?").arg(columnNames(columns).join(QStringLiteral("=?, "))),
              values);
}

int TDataModule_vypujcka::InsertRent(const TRentRow &row, int userId)
{
    return writeInTransaction([&] {
        int nextSlotId = HighestId(db(), QStringLiteral("RENT_GOOD")) + 1;
        const int rentId = HighestId(db(), QStringLiteral("RENT")) + 1;
        if (AfterIdsRead)
            AfterIdsRead();

        std::array<int, TRentRow::SlotCount> slotIds{};
        int entry = 0;
        for (const TRentSlot &slot : row.Slots) {
            if (slot.GoodsId <= 0)
                continue;
            slotIds[entry] = nextSlotId++;
            ++entry;
            execWrite(db(), QStringLiteral("INSERT INTO RENT_GOOD (ID, ID_ZBOZI, CENA1, CENA2, CENA3, ZALOHA, POZNAMKA) "
                                           "VALUES (?, ?, ?, ?, ?, ?, ?)"),
                      {slotIds[entry - 1], slot.GoodsId, slot.CENA1, slot.CENA2, slot.CENA3, slot.ZALOHA, slot.POZNAMKA},
                      entry);
            // Only an item that is not out: another workstation may have rented it since
            // the editor was opened.
            const int marked = execWrite(db(), QStringLiteral("UPDATE GOODS SET PUJCENI=1, PUJCENO_OD=?, PUJCENO_DO=? "
                                                              "WHERE ID=? AND (PUJCENI IS NULL OR PUJCENI < 1)"),
                                         {row.PUJC_OD, row.PUJC_DO, slot.GoodsId}, entry);
            if (marked == 0)
                throw ERentSaveError(ERentSaveError::GoodsOut, entry, QStringLiteral("GOODS %1 is out").arg(slot.GoodsId));
        }

        if (row.ID_ZAK > 0) {
            const int counted = execWrite(
                db(), QStringLiteral("UPDATE CUSTOMERS SET AKT_PUJC = CASE WHEN AKT_PUJC IS NULL OR AKT_PUJC < 0 THEN 0 "
                                     "ELSE AKT_PUJC END + 1, VYDELANO = COALESCE(VYDELANO, 0) + ? WHERE ID=?"),
                {row.CENA_CELK, row.ID_ZAK});
            if (counted == 0)
                throw ERentSaveError(ERentSaveError::RentChanged, 0, QStringLiteral("CUSTOMERS %1 is gone").arg(row.ID_ZAK));
        }

        TColumnValues columns = rentColumns(row, 1, userId);
        columns.prepend({QStringLiteral("ID"), rentId});
        columns << std::pair{QStringLiteral("ID_ZAK"), QVariant(qMax(0, row.ID_ZAK))}
                << std::pair{QStringLiteral("USER_PUJC"), QVariant(userId)};
        for (int n = 0; n < TRentRow::SlotCount; ++n)
            columns << std::pair{QStringLiteral("ID_ZBOZI%1").arg(n + 1), QVariant(slotIds[n])};
        QStringList marks;
        for (int i = 0; i < columns.size(); ++i)
            marks << QStringLiteral("?");
        execWrite(db(), QStringLiteral("INSERT INTO RENT (%1) VALUES (%2)")
                            .arg(columnNames(columns).join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))),
                  columnValues(columns));
        return rentId;
    });
}

void TDataModule_vypujcka::UpdateRent(const TRentRow &row, int userId)
{
    writeInTransaction([&] {
        const TRentRow stored = storedRent(row, row.STAV_PUJC);
        updateSlots(row, stored);
        if (row.STAV_PUJC == 1) {
            for (int n = 0; n < TRentRow::SlotCount; ++n)
                if (stored.Slots[n].GoodsId > 0)
                    execWrite(db(), QStringLiteral("UPDATE GOODS SET PUJCENI=1, PUJCENO_OD=?, PUJCENO_DO=? WHERE ID=?"),
                              {row.PUJC_OD, row.PUJC_DO, stored.Slots[n].GoodsId});
        }
        updateRentRow(row, row.STAV_PUJC, userId);
    });
}

void TDataModule_vypujcka::ReturnRent(const TRentRow &row, int userId)
{
    writeInTransaction([&] {
        const TRentRow stored = storedRent(row, 1);
        updateSlots(row, stored);
        // Each item earns the rental's whole total.
        for (int n = 0; n < TRentRow::SlotCount; ++n)
            if (stored.Slots[n].GoodsId > 0)
                execWrite(db(), QStringLiteral("UPDATE GOODS SET PUJCENI=0, POCET_PUJC = COALESCE(POCET_PUJC, 0) + 1, "
                                               "VYDELANO = COALESCE(VYDELANO, 0) + ?, PUJCENO_OD=NULL, PUJCENO_DO=NULL "
                                               "WHERE ID=?"),
                          {row.CENA_CELK, stored.Slots[n].GoodsId});
        if (stored.ID_ZAK > 0)
            execWrite(db(), QStringLiteral("UPDATE CUSTOMERS SET %1, POCET_PRONAJMU = COALESCE(POCET_PRONAJMU, 0) + 1, "
                                           "VYDELANO = COALESCE(VYDELANO, 0) + ? WHERE ID=?")
                                .arg(lowerRentalsOut),
                      {row.CENA_CELK, stored.ID_ZAK});
        updateRentRow(row, 0, userId);
    });
}

void TDataModule_vypujcka::DeleteRent(int rentId)
{
    writeInTransaction([&] {
        const std::optional<TRentRow> stored = ReadRent(rentId);
        if (!stored)
            return;
        if (stored->STAV_PUJC == 1) {
            if (stored->ID_ZAK > 0)
                execWrite(db(), QStringLiteral("UPDATE CUSTOMERS SET %1 WHERE ID=?").arg(lowerRentalsOut), {stored->ID_ZAK});
            for (const TRentSlot &slot : stored->Slots)
                if (slot.GoodsId > 0)
                    execWrite(db(), QStringLiteral("UPDATE GOODS SET PUJCENI = CASE WHEN PUJCENI > 0 THEN PUJCENI - 1 "
                                                   "ELSE PUJCENI END, PUJCENO_OD=NULL, PUJCENO_DO=NULL WHERE ID=?"),
                              {slot.GoodsId});
        }
        for (const TRentSlot &slot : stored->Slots)
            if (slot.RentGoodId > 0)
                execWrite(db(), QStringLiteral("DELETE FROM RENT_GOOD WHERE ID=?"), {slot.RentGoodId});
        execWrite(db(), QStringLiteral("DELETE FROM RENT WHERE ID=?"), {rentId});
    });
}

std::optional<TRezervace> TDataModule_vypujcka::CollidingReservation(int goodsId, const QDateTime &from,
                                                                     const QDateTime &until) const
{
    // Overlap with both bounds included: the reservation starts no later than the rental
    // ends and ends no earlier than it starts.
    QSqlQuery query = PrepareQuery(QStringLiteral("SELECT FIRST 1 ID, ID_ZBOZI, OD_CAS, DO_CAS, VLASTNIK FROM RESERVE "
                                                  "WHERE ID_ZBOZI=? AND OD_CAS <= ? AND DO_CAS >= ? ORDER BY ID"),
                                   db());
    ExecQuery(query, {goodsId, until, from});
    if (!query.next())
        return std::nullopt;
    return TRezervace{query.value(0).toInt(), query.value(1).toInt(), query.value(2).toDateTime(),
                      query.value(3).toDateTime(), query.value(4).toString()};
}

void TDataModule_vypujcka::DeleteReservation(int reservationId)
{
    writeInTransaction([&] {
        execWrite(db(), QStringLiteral("UPDATE GOODS SET REZERVACE = CASE WHEN REZERVACE > 0 THEN REZERVACE - 1 ELSE 0 END "
                                       "WHERE ID=(SELECT ID_ZBOZI FROM RESERVE WHERE ID=?)"),
                  {reservationId});
        execWrite(db(), QStringLiteral("DELETE FROM RESERVE WHERE ID=?"), {reservationId});
    });
}
