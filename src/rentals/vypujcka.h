#pragma once
// The rental editor: one rental entered, edited, viewed or returned.
#include "data/datm_zakaznik.h"
#include "data/datmod_vypujka.h"
#include "data/datmod_znozi.h"

#include <QDateTime>
#include <QDialog>
#include <QHash>
#include <QMap>
#include <QString>

#include <array>
#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTimeEdit;
class TComboSearch;

// One used goods slot as the save receives it.
struct TUlozenySlot
{
    int Slot = 0;       // 1 to 15
    int RentGoodId = 0; // the slot's RENT_GOOD row of a saved rental, 0 in a new one
    TZbozi Zbozi;       // the item as loaded when the window was opened
    int CENA1 = 0, CENA2 = 0, CENA3 = 0, ZALOHA = 0;
    QString POZNAMKA;
};

// Everything the save writes, taken from the window after the amounts were normalised.
struct TVypujckaUlozeni
{
    QString Rezim;
    int IdVypujcky = 0;
    int PuvodniStav = 1;
    int NovyStav = 1;
    int PuvodniEvidCislo = 0;
    QString EvidCislo; // the field's text (digits, possibly empty)

    QDateTime PujcOd, PujcDo; // date of the date picker with the time of the time picker
    double CenaCelk = 0;      // rounded to the configured step
    QString CenaCelkText;     // the same with two decimals and a point, as stored
    int ZalohaCelk = 0;
    int Sleva = 0;

    // Customer page 0: a register customer (Zakaznik.ID 0 when the one-off entry is chosen);
    // page 1: the one-off customer's fields below.
    bool ZakaznikZDb = true;
    TZakaznik Zakaznik;
    QString ZakJmeno, ZakFirma, ZakIco, ZakDic, ZakCisloOP, ZakVystavOP, ZakRodneC;
    QString ZakUlice, ZakCislo, ZakMesto, ZakPsc, ZakTel, ZakOstatni;
    QDate ZakDenVydaniOP; // invalid: no date

    QString ZasJmeno, ZasRodneC, ZasCisloOP, ZasVystavOP;
    QDate ZasDenVydaniOP; // invalid: no date

    // The loaded rental's customer and slot rows (edit modes; 0 in a new rental).
    int IdZakRadku = 0;
    std::array<int, TRentRow::SlotCount> RentGoodIds{};

    // New rental: the ticked slots that show an item. Edit modes: the saved slots.
    QList<TUlozenySlot> Sloty;
};

class Tfrm_vypujcka : public QDialog
{
    Q_OBJECT
public:
    static constexpr int PocetSlotu = TRentRow::SlotCount;

    explicit Tfrm_vypujcka(QWidget *parent = nullptr);
    ~Tfrm_vypujcka() override;

    // Set by the caller before showing: the mode ("VYPUJC", "EDIT_VYPUJC", "SHOW_VYPUJC",
    // "EDIT_VRAC", "SHOW_VRAC") and, except for a new rental, the rental's RENT.ID.
    QString Rezim;
    int IdVypujcky = 0;

    // The state on opening (1 out, 0 returned), the state the save writes, and the
    // evidence number of the opened rental.
    int PuvodniStav = 1;
    int NovyStav = 1;
    int PuvodniEvidCislo = 0;
    // Customer type names by type ID, read at each opening.
    QMap<int, QString> TypyZakazniku;
    // The chosen customer (the one-off entry has ID 0) and its row in the four lists
    // (-1 when it was found by typing or loaded with the rental).
    TZakaznik Zakaznik;
    int ZakaznikPozice = 0;
    // The rental loaded in the edit and view modes.
    std::optional<TRentRow> Vypujcka;

    // Dialogs opened from the window run through this; tests answer them at once.
    std::function<int(QDialog &)> RunModal;
    // The customer and goods editors; while unset, the show buttons stay disabled.
    std::function<void(int customerId)> ShowCustomer;
    std::function<void(int goodsId)> ShowGoods;

    // --- pages and groups
    QTabWidget *PageControlMain;
    QWidget *TabSheet1, *TabSheet2, *TabSheet3, *TabSheet4, *TabSheet5, *TabSheet6;

    QGroupBox *grpkontakt;
    QLabel *editCisloLabel;
    QLineEdit *editCislo;
    QLabel *lblStav;
    QComboBox *comboStav;
    QPushButton *btnVratit;
    QLabel *lblOd;
    QDateEdit *DateTimePickerOdDatum;
    QTimeEdit *DateTimePickerOdCas;
    QLabel *lblDo;
    QDateEdit *DateTimePickerDoDatum;
    QTimeEdit *DateTimePickerDoCas;
    QLabel *lblDobaPujceni;

    QGroupBox *grpCeny;
    QLabel *editZalohaCelkLabel;
    QLineEdit *editZalohaCelk;
    QLabel *lblMena20;
    QLabel *editSlevaLabel;
    QLineEdit *editSleva;
    QLabel *lblProcento;
    QLabel *lblCena;
    QDoubleSpinBox *editCenaCelk;
    QLabel *lblMena21;

    QGroupBox *grpVypujcitel;
    QTabWidget *PageControlZak;
    QWidget *TabSheet7, *TabSheet8;
    QLabel *lblJmeno, *lblFirma, *lblRodneC, *lblIco;
    QComboBox *comboJmeno, *comboFirma, *comboRodneC, *comboIco;
    QLabel *editTypZakLabel;
    QLineEdit *editTypZak;
    QLabel *lblRazeni;
    QComboBox *comboRazeni;
    QPushButton *btnShowZakaznik;
    QLabel *lblStatusZak;

    QLineEdit *editNovyZakJmeno, *editNovyZakFirma, *editNovyZakIco, *editNovyZakDic, *editNovyZakCisloOP,
        *editNovyZakOPVydan, *editNovyZakRodneC, *editNovyZakTel, *editNovyZakOstatni, *editNovyZakUlice,
        *editNovyZakCislo, *editNovyZakMesto, *editNovyZakPsc;
    QLabel *editNovyZakJmenoLabel, *editNovyZakFirmaLabel, *editNovyZakIcoLabel, *editNovyZakDicLabel,
        *editNovyZakCisloOPLabel, *editNovyZakOPVydanLabel, *editNovyZakRodneCLabel, *editNovyZakTelLabel,
        *editNovyZakOstatniLabel, *editNovyZakUliceLabel, *editNovyZakCisloLabel, *editNovyZakMestoLabel,
        *editNovyZakPscLabel;
    QDateEdit *DateTimePickerNovyZakDenOP;
    QLabel *lblNovyZakDenVydaniOP;
    QLabel *lblAdresa;

    QLabel *lblZastoupen;
    QLineEdit *editZastupJmeno, *editZastupRodneC, *editZastupCisloOP, *editZastupOPVydan;
    QLabel *editZastupJmenoLabel, *editZastupRodneCLabel, *editZastupCisloOPLabel, *editZastupOPVydanLabel;
    QDateEdit *DateTimePickerZasVydaniOP;
    QLabel *lblZasDenVydaniOP;

    QPushButton *btnSave;
    QPushButton *btnCancel;
    std::array<QPushButton *, 4> btnNext{}; // btnNext1 … btnNext4 on slot pages 1 to 4

    // --- one goods slot (the controls carry the slot's number in their object names)
    struct TSlot
    {
        QGroupBox *grpZbozi = nullptr;
        QCheckBox *checkZbozi = nullptr;
        QLabel *lblNazevZbozi = nullptr;
        QComboBox *comboNazevZbozi = nullptr;
        QLabel *lblKod1Zbozi = nullptr;
        QComboBox *comboKod1Zbozi = nullptr;
        QLabel *lblCena1 = nullptr, *lblCena2 = nullptr, *lblCena3 = nullptr, *lblZaloha = nullptr;
        QLineEdit *editCena1Zbozi = nullptr, *editCena2Zbozi = nullptr, *editCena3Zbozi = nullptr,
                  *editZalohaZbozi = nullptr;
        QLabel *lblMena = nullptr;
        QLabel *lblPoznamky = nullptr;
        QLineEdit *editPoznamkyZbozi = nullptr;
        QPushButton *btnPoznamkyZbozi = nullptr;
        QPushButton *btnFotoZbozi = nullptr;
        QPushButton *btnShowZbozi = nullptr;
        TComboSearch *hledatNazev = nullptr;
        TComboSearch *hledatKod = nullptr;

        TZbozi Zbozi;    // the item placed in the slot (ID 0: none)
        int Pozice = 0;  // its row in the goods lists, -1 when not among them
    };
    std::array<TSlot, PocetSlotu> Slot;

    // --- handlers and routines
    void FormActivate();
    void Jazyk(const QString &languageFile);

    void comboRazeniChange();
    void PoleZakaznikuClearAndSet();
    // Chooses the customer on row `index` of the four lists.
    void NastavZak(int index);
    // Chooses a register customer found by typing or stored with a rental.
    void NastavZakaznika(const TZakaznik &zakaznik, int pozice = -1);
    void PageControlZakChange();
    void btnShowZakaznikClick();

    void PoleZboziClearAndSet();
    // Places the item on row `index` of the goods lists in the slot of `list` (its name or
    // code list), or empties the slot, according to the slot's check box.
    void NastavZbozi(int index, QComboBox *list);
    // The same for an item found by typing (slot from 0).
    bool UmistiZbozi(int slot, const TZbozi &zbozi, int pozice);
    void checkZboziClick(int slot);
    void btnNextClick(int k); // k from 1 to 4
    void UpravaPoznamky(QPushButton *button);
    void ZobrazFoto(const QString &path);
    void ZobrazZbozi(int id);

    void VypoctiZalohu();
    void editSlevaChange();
    void dobaPujceni();
    void DateTimePickerDoDatumChange();
    // The highest evidence number + 1 for 0 or a used number, else the number itself.
    int OverEvidCislo(int number) const;

    // The first steps of saving: totals, rounding, discount and slot fields normalised,
    // then everything the save writes.
    TVypujckaUlozeni PripravUlozeni();
    void btnSaveClick();
    void btnVratitClick();
    // Shows the rental as returned (state "Vráceno" on green, the period, no return button).
    void ZobrazVraceni();

    // Message texts read by Jazyk.
    struct TTexty
    {
        QString ZboziCena1, ZboziCena2, ZboziCena3;
        QString STR_MANUAL_CUSTOMER;
        QString STR_DOBA_VYPUJC, STR_CUSTOMERS_NORENTYET, STR_CUSTOMERS_NORENTNOW, STR_CUSTOMERS_RENTNOW;
        QString STR_GOODONLY1, STR_NOGOODS, STR_NOFOTO, STR_NOCUSTOMERS, STR_NOCUSTOMERS2, STR_NUMBER_ISUSED;
        QString STR_ERROR, STR_ERROR_GOOD, STR_GOOD_ISRENTED, STR_WRONG_DATE;
        QString STR_DEL_REZERV_TEXT, STR_DEL_REZERV_CAPT, STR_VRACENI_TEXT, STR_VRACENI_CAPT;
        QString STR_RENT_CHANGED;
    } Texty;

protected:
    // Writes the prepared rental (the save); the window stays open until it is written.
    virtual void UlozVypujcku(const TVypujckaUlozeni &data);
    // Asks about the return and marks it for the save.
    virtual void PotvrdVraceni();

    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMainPage();
    void buildSlotPage(QWidget *page, int firstSlot, int nextButton);
    void buildSlot(int n, QWidget *parent);
    void attachSearches();
    void bindLists();
    void nastavTarify();
    void zobrazZakaznika();
    void zobrazZbozi(int slot);
    void setSlotEnabled(int slot, bool enabled);
    void setSlotValues(int slot, const TZbozi &zbozi);
    void nactiVypujcku();
    void nactiSloty(const TRentRow &row);
    void nastavStav(int item);
    void setZakPage(int page, bool hideOther);
    // Saving: the checks (true when the rental may be written; `booked` receives the slots
    // to write), the reservation question for one slot (true when nothing collides), the
    // write, the message for a write that failed, and the page of slot n (from 1).
    bool overUlozeni(const TVypujckaUlozeni &data, QList<TUlozenySlot> &booked);
    bool overRezervaci(const TUlozenySlot &slot, const QDateTime &od, const QDateTime &doCasu);
    void zapisVypujcku(const TVypujckaUlozeni &data, const QList<TUlozenySlot> &booked);
    void ukazChybuUlozeni(const ERentSaveError &error, const QList<TUlozenySlot> &booked);
    void ukazSlot(int n);
    QList<QWidget *> upravitelnePrvky() const;
    QList<QLineEdit *> polaNovehoZakaznika() const;
    QList<QWidget *> zakaznickeSeznamy() const;
    int slotOf(const QObject *control) const;

    bool m_listsBound = false;
    bool m_nacitani = false; // a saved rental is being loaded
    QHash<int, TZakaznik> m_nalezeniZakaznici;
    QHash<int, TZbozi> m_nalezeneZbozi;
};
