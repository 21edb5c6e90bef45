#pragma once
// The customers data module: customer types and the customer list of the rental editor.
#include "app/datamod_main.h"

#include <QList>
#include <QMap>
#include <QObject>
#include <QString>

#include <initializer_list>
#include <optional>

class QSqlQueryModel;

// One customer as the rental editor holds it. A cleared record stands for no customer.
struct TZakaznik
{
    int ID = 0;
    QString JMENO, FIRMA, ICO, RODNE_CIS;
    int ID_TYP = 0;
    int SLEVA = 0;
    int AKT_PUJC = -10;
    int POCET_PRONAJMU = 0;
    double VYDELANO = 0;
    QString TYP;
};


class TDataModule_zakaznik : public QObject, public TQueryGroup
{
    Q_OBJECT
public:
    // The sort field of the customer list, in the order of the editor's sort choice.
    enum class TRazeni { Firma, Ico, Jmeno, RodneCis };

    // Columns of IBQCustomersVyber.
    enum TColumn {
        colPozice, colId, colJmeno, colFirma, colIco, colRodneCis,
        colIdTyp, colSleva, colAktPujc, colPocetPronajmu, colVydelano, colTyp
    };

    // Registers its queries with the customers group of `main`.
    explicit TDataModule_zakaznik(TDataModule_main &main, QObject *parent = nullptr);
    ~TDataModule_zakaznik() override;

    // "SELECT * FROM TYPE_CUSTOMER ORDER BY ID".
    QSqlQueryModel *IBCustomersType;
    // The rental editor's customer list: row 0 the one-off customer (ID 0, type −1,
    // rentals out −10), then every register customer with a type, sorted by the chosen
    // field; empty texts of register customers read "-".
    QSqlQueryModel *IBQCustomersVyber;

    // The customer type names by type ID.
    QMap<int, QString> CustomerTypeNames() const;

    // Reopens the customer list sorted by `field`; row 0 carries `manualCustomerText` as
    // its name and company. The choice is kept for every reload.
    void OpenCustomersVyber(TRazeni field, const QString &manualCustomerText);
    TRazeni Razeni() const { return m_razeni; }
    // The customer on row `row` of IBQCustomersVyber.
    TZakaznik ZakaznikNaPozici(int row) const;
    // The register customer with this ID (with or without a type); nullopt when none.
    std::optional<TZakaznik> ZakaznikDleId(int id) const;
    // Register customers (with a type) whose `field` contains `text` (case-insensitive),
    // in the order of that field, at most `limit` of them.
    QList<TZakaznik> HledejZakazniky(TRazeni field, const QString &text, int limit) const;

    void OpenQueries() override;
    void CloseQueries() override;

private:
    TRazeni m_razeni = TRazeni::Firma;
    QString m_manualCustomerText;
};

// The program's customers data module (created at start).
TDataModule_zakaznik &DataModule_zakaznik();
void SetDataModule_zakaznik(TDataModule_zakaznik *module);
