#pragma once
// The rentals data module: what the rental editor reads of a rental.
#include "app/datamod_main.h"
#include "data/datmod_znozi.h"

#include <QDate>
#include <QDateTime>
#include <QObject>
#include <QString>

#include <array>
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

    void OpenQueries() override;
    void CloseQueries() override;
};

// The program's rentals data module (created at start).
TDataModule_vypujcka &DataModule_vypujcka();
void SetDataModule_vypujcka(TDataModule_vypujcka *module);
