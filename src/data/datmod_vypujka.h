#pragma once
// The rentals data module: what the rental editor reads of a rental and how a rental is
// saved, returned and deleted.
#include "app/datamod_main.h"
#include "data/datmod_znozi.h"

#include <QDate>
#include <QDateTime>
#include <QObject>
#include <QString>

#include <array>
#include <functional>
#include <optional>

// One goods slot of a saved rental: its RENT_GOOD row and the item it holds.
struct TRentSlot
{
    int RentGoodId = 0;      // RENT.ID_ZBOZIn; 0 = empty slot
    int GoodsId = 0;         // RENT_GOOD.ID_ZBOZI
    int CENA1 = 0, CENA2 = 0, CENA3 = 0, ZALOHA = 0; // agreed with the rental
    QString POZNAMKA;
    bool GoodsFound = false; // the item still exists in GOODS
    TZbozi Zbozi;            // the item as it stands now (ID = GoodsId even when not found)
};

// A RENT row with its fifteen slots.
struct TRentRow
{
    static constexpr int SlotCount = 15;

    int ID = 0;
    int EVID_CISLO = 0;
    int STAV_PUJC = 1;
    QDateTime PUJC_OD, PUJC_DO;
    int SLEVA = 0;
    double CENA_CELK = 0;
    int ZALOHA_CELK = 0;
    int ID_ZAK = 0;
    QString ZAK_JMENO, ZAK_FIRMA, ZAK_ICO, ZAK_DIC, ZAK_CISLOOP, ZAK_VYSTAVOP, ZAK_RODNEC;
    QString ZAK_FULICE, ZAK_FCISLO, ZAK_FMESTO, ZAK_FPSC, ZAK_TEL, ZAK_OSTATNI;
    QDate ZAK_DENVYDANIOP; // invalid when not stored
    QString ZAS_JMENO, ZAS_CISLOOP, ZAS_VYSTAVOP, ZAS_RODNEC;
    QDate ZAS_DENVYDANIOP;
    std::array<TRentSlot, SlotCount> Slots;
};

// A reservation of a goods item.
struct TRezervace
{
    int ID = 0;
    int ID_ZBOZI = 0;
    QDateTime OD_CAS, DO_CAS;
    QString VLASTNIK;
};

// A save, return or delete of a rental that was not written; everything it had written is
// rolled back.
class ERentSaveError : public EDatabaseError
{
public:
    enum TKind {
        Statement,   // a statement failed; the message is the database's text
        GoodsOut,    // the item of booked entry `Entry` is out (rented meanwhile elsewhere)
        RentChanged, // the rental or its customer was changed or deleted meanwhile elsewhere
        EvidUsed     // another workstation has just saved a rental with the same evidence number
    };
    ERentSaveError(TKind kind, int entry, const QString &message)
        : EDatabaseError(message), Kind(kind), Entry(entry) {}
    TKind Kind;
    int Entry; // the booked goods entry (1 to 15) whose statements failed, 0 for the rest
};

class TDataModule_vypujcka : public QObject, public TQueryGroup
{
    Q_OBJECT
public:
    // Registers its queries with the rentals group of `main`.
    explicit TDataModule_vypujcka(TDataModule_main &main, QObject *parent = nullptr);
    ~TDataModule_vypujcka() override;

    // The highest evidence number of all rentals, 0 when there are none.
    int MaxEvidCislo() const;
    // Whether some rental carries this evidence number.
    bool EvidCisloUsed(int number) const;
    // The rental with this ID with its slots; nullopt when there is none.
    std::optional<TRentRow> ReadRent(int id) const;

    // The writes below each run in one fresh transaction of their own (the shared one is
    // committed first): all of it is committed, or on any failure nothing. Counters and
    // earnings are changed relative to the stored values. A clash with another
    // workstation (the same new ID taken, a row changed concurrently) is retried with
    // fresh IDs up to MaxWriteAttempts times. Failures throw EDatabaseError; an
    // ERentSaveError says what failed.
    static constexpr int MaxWriteAttempts = 5;

    // A new rental out now. `row.Slots` holds the booked entries packed from the first
    // (GoodsId > 0; RentGoodId is allocated); `row.ID_ZAK` is the register customer or 0.
    // Writes a RENT_GOOD row per entry, marks each item out for the period, counts the
    // rental for the register customer (rentals out + 1, earnings + total) and inserts
    // the RENT row with STAV_PUJC 1. Returns the new rental's ID.
    int InsertRent(const TRentRow &row, int userId);
    // An edited rental in its stored state (`row.STAV_PUJC`): the slot prices and notes,
    // for a rental that is out its goods marked out again for the period, and the RENT
    // row. RentChanged when the rental is gone or no longer in that state.
    void UpdateRent(const TRentRow &row, int userId);
    // The return of a rental that is out: the slot prices and notes; each item back with
    // one more rental and the total added to its earnings; the register customer with one
    // rental out fewer, one more finished and the total added; the RENT row with
    // STAV_PUJC 0. RentChanged when the rental is gone or no longer out.
    void ReturnRent(const TRentRow &row, int userId);
    // Deletes a rental with its RENT_GOOD rows; for a rental that is out first frees its
    // goods and lowers the register customer's rentals out. A missing rental is no error.
    void DeleteRent(int rentId);

    // The first reservation of the item that overlaps the period, bounds included.
    std::optional<TRezervace> CollidingReservation(int goodsId, const QDateTime &from, const QDateTime &until) const;
    // Deletes a reservation and lowers its item's reservation count.
    void DeleteReservation(int reservationId);

    // Tests: runs inside every attempt of InsertRent after the new IDs were read and before
    // the first write, so that another workstation's save can come in between.
    std::function<void()> AfterIdsRead;

    void OpenQueries() override;
    void CloseQueries() override;

private:
    QSqlDatabase db() const { return m_main.IBDatabase1(); }
    template <class Write>
    auto writeInTransaction(Write write);
    void updateSlots(const TRentRow &row, const TRentRow &stored);
    void updateRentRow(const TRentRow &row, int state, int userId);
    TRentRow storedRent(const TRentRow &row, int state);

    TDataModule_main &m_main;
};

// The program's rentals data module (created at start).
TDataModule_vypujcka &DataModule_vypujcka();
void SetDataModule_vypujcka(TDataModule_vypujcka *module);
