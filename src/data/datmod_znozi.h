#pragma once
// The goods data module: the goods list of the rental editor's slots.
#include "app/datamod_main.h"
#include "app/globalres.h"

#include <QList>
#include <QObject>
#include <QString>

#include <optional>

class QSqlQueryModel;
class QSqlRecord;

// One goods item as a rental slot holds it. A cleared record stands for no goods.
struct TZbozi
{
    int ID = 0;
    QString NAZEV, KOD1, FOTO;
    int CENA1 = 0, CENA2 = 0, CENA3 = 0, ZALOHA = 0;
    bool Pujceno = false;     // out now
    bool Rezervovano = false; // has reservations
    double VYDELANO = 0;
    int POCET_PUJC = 0;
};

class TDataModule_zbozi : public QObject, public TQueryGroup
{
    Q_OBJECT
public:
    enum class TPole { Nazev, Kod1 };

    // Columns of IBQZboziVyber.
    enum TColumn {
        colPozice, colId, colNazev, colKod1, colFoto, colCena1, colCena2, colCena3, colZaloha,
        colPujceni, colRezervace, colVydelano, colPocetPujc
    };

    // Registers its queries with the goods group of `main`.
    explicit TDataModule_zbozi(TDataModule_main &main, QObject *parent = nullptr);
    ~TDataModule_zbozi() override;

    // The name and code text of the entry that stands for no goods.
    // The goods lists' first entry, "no goods", in the current language.
    static QString ZadneZbozi() { return LanguageString.STR_NO_GOODS; }

    // The slots' goods list: row 0 no goods (ID 0, all values 0), then every item with a
    // type and a state by name; empty names, codes and photo paths read "-".
    QSqlQueryModel *IBQZboziVyber;
    void OpenZboziVyber();
    // The item on row `row` of IBQZboziVyber.
    TZbozi ZboziNaPozici(int row) const;
    // Items (with a type and a state) whose name or code contains `text` (case-insensitive),
    // in the order of that field, at most `limit` of them.
    QList<TZbozi> HledejZbozi(TPole field, const QString &text, int limit) const;

    void OpenQueries() override;
    void CloseQueries() override;
};

// The program's goods data module (created at start).
TDataModule_zbozi &DataModule_zbozi();
void SetDataModule_zbozi(TDataModule_zbozi *module);

// Shared by the goods readers: a goods record from `first` on in the TColumn order
// (ID first).
TZbozi ZboziFromRecord(const QSqlRecord &record, int first);
// The select list of that order for the goods table aliased `alias`.
QString ZboziColumns(const QString &alias);
