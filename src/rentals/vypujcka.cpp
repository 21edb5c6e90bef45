#include "rentals/vypujcka.h"
#include "app/dialogs.h"
#include "app/globalres.h"
#include "goods/imagepreview.h"
#include "rentals/rentcalc.h"
#include "rentals/searchcombo.h"
#include "settings/editText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QSqlQueryModel>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace {
const QString modeNew = QStringLiteral("VYPUJC");
const QColor stateOut(255, 0, 0);
const QColor stateReturned(0, 128, 0);
constexpr int slotsPerPage = 3;
constexpr int hitLimit = 50;

// A list over a database query: sized by a fixed width, not by measuring every item.
QComboBox *newQueryList(const QString &name, QWidget *parent)
{
    auto *list = new QComboBox(parent);
    list->setObjectName(name);
    list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    list->setMinimumContentsLength(16);
    list->setMaxVisibleItems(20);
    return list;
}

QLineEdit *newEdit(const QString &name, int maxLength, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setMaxLength(maxLength);
    return edit;
}

QLabel *newLabel(const QString &name, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

QDateEdit *newDatePicker(const QString &name, QWidget *parent)
{
    auto *picker = new QDateEdit(parent);
    picker->setObjectName(name);
    picker->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    picker->setCalendarPopup(true);
    picker->setKeyboardTracking(false);
    return picker;
}

QTimeEdit *newTimePicker(const QString &name, QWidget *parent)
{
    auto *picker = new QTimeEdit(parent);
    picker->setObjectName(name);
    picker->setDisplayFormat(QStringLiteral("HH:mm"));
    picker->setKeyboardTracking(false);
    return picker;
}

// A card date picker: a rental may have no date stored, shown as an empty field.
QDateEdit *newCardDatePicker(const QString &name, QWidget *parent)
{
    QDateEdit *picker = newDatePicker(name, parent);
    picker->setMinimumDate(QDate(1900, 1, 1));
    picker->setSpecialValueText(QStringLiteral(" "));
    return picker;
}

QDate cardDate(const QDateEdit *picker)
{
    return picker->date() == picker->minimumDate() ? QDate() : picker->date();
}

void setCardDate(QDateEdit *picker, const QDate &date)
{
    const QSignalBlocker blocker(picker);
    picker->setDate(date.isValid() ? date : picker->minimumDate());
}

void setDate(QDateEdit *picker, const QDate &date)
{
    const QSignalBlocker blocker(picker);
    picker->setDate(date);
}

void setTime(QTimeEdit *picker, const QTime &time)
{
    const QSignalBlocker blocker(picker);
    picker->setTime(time);
}

void enableControls(const QList<QWidget *> &controls, bool enabled)
{
    for (QWidget *control : controls)
        control->setEnabled(enabled);
}

// Empties the edits and enables them.
void clearInputs(const QList<QLineEdit *> &edits)
{
    for (QLineEdit *edit : edits) {
        edit->clear();
        edit->setEnabled(true);
    }
}

QString orDash(const QString &text)
{
    return text.isEmpty() || text == QLatin1String("-") ? QString() : text;
}

QString detailOf(const QStringList &texts)
{
    QStringList shown;
    for (const QString &text : texts)
        if (!orDash(text).isEmpty())
            shown << text;
    return shown.join(QStringLiteral(", "));
}

// Items of a goods name list on red (out) or orange (reserved); grey in a disabled list.
class TGoodsItemDelegate : public QStyledItemDelegate
{
public:
    TGoodsItemDelegate(QComboBox *list) : QStyledItemDelegate(list), m_list(list) {}

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const bool rented = index.siblingAtColumn(TDataModule_zbozi::colPujceni).data().toInt() == 1;
        const bool reserved = index.siblingAtColumn(TDataModule_zbozi::colRezervace).data().toInt() >= 1;
        if (const auto background = GoodsItemBackground(rented, reserved, m_list->isEnabled())) {
            option->backgroundBrush = *background;
            option->palette.setColor(QPalette::Text, Qt::black);
        } else if (!m_list->isEnabled()) {
            option->palette.setColor(QPalette::Text, QColor(128, 128, 128));
        }
    }

private:
    QComboBox *m_list;
};
} // namespace

Tfrm_vypujcka::Tfrm_vypujcka(QWidget *parent)
    : QDialog(parent), RunModal([](QDialog &dialog) { return dialog.exec(); })
{
    setObjectName(QStringLiteral("frm_vypujcka"));
    setWindowTitle(QStringLiteral("Vypůjčka"));

    PageControlMain = new QTabWidget(this);
    PageControlMain->setObjectName(QStringLiteral("PageControlMain"));
    const QStringList tabs = {QStringLiteral("Hlavní údaje, vypůjčitel"), QStringLiteral("Vypůjčené zboží č.1, 2, 3"),
                              QStringLiteral("č.4, 5, 6"), QStringLiteral("č.7, 8, 9"),
                              QStringLiteral("č.10, 11, 12"), QStringLiteral("č.13, 14, 15")};
    QWidget **pages[] = {&TabSheet1, &TabSheet2, &TabSheet3, &TabSheet4, &TabSheet5, &TabSheet6};
    for (int i = 0; i < 6; ++i) {
        *pages[i] = new QWidget(PageControlMain);
        (*pages[i])->setObjectName(QStringLiteral("TabSheet%1").arg(i + 1));
        PageControlMain->addTab(*pages[i], tabs[i]);
    }
    buildMainPage();
    for (int page = 1; page <= 5; ++page)
        buildSlotPage(*pages[page], (page - 1) * slotsPerPage, page <= 4 ? page : 0);

    btnSave = new QPushButton(QStringLiteral("Uložit"), this);
    btnSave->setObjectName(QStringLiteral("btnSave"));
    btnSave->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("Storno"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    connect(btnSave, &QPushButton::clicked, this, &Tfrm_vypujcka::btnSaveClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnSave);
    buttons->addWidget(btnCancel);
    attachSearches();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(PageControlMain);
    layout->addLayout(buttons);
    resize(940, 640);
}

Tfrm_vypujcka::~Tfrm_vypujcka() = default;

void Tfrm_vypujcka::buildMainPage()
{
    // Main data: evidence number, state, period.
    grpkontakt = new QGroupBox(QStringLiteral("Hlavní údaje:"), TabSheet1);
    grpkontakt->setObjectName(QStringLiteral("grpkontakt"));
    editCisloLabel = newLabel(QStringLiteral("editCisloLabel"), QStringLiteral("Evidenční číslo:"), grpkontakt);
    editCislo = newEdit(QStringLiteral("editCislo"), 32, grpkontakt);
    lblStav = newLabel(QStringLiteral("lblStav"), QStringLiteral("Stav vypůjčky"), grpkontakt);
    comboStav = new QComboBox(grpkontakt);
    comboStav->setObjectName(QStringLiteral("comboStav"));
    comboStav->addItems({QStringLiteral("Půjčeno"), QStringLiteral("Vráceno")});
    comboStav->setEnabled(false);
    btnVratit = new QPushButton(QStringLiteral("Vrátit"), grpkontakt);
    btnVratit->setObjectName(QStringLiteral("btnVratit"));
    lblOd = newLabel(QStringLiteral("lblOd"), QStringLiteral("Vypůjčeno od:"), grpkontakt);
    DateTimePickerOdDatum = newDatePicker(QStringLiteral("DateTimePickerOdDatum"), grpkontakt);
    DateTimePickerOdCas = newTimePicker(QStringLiteral("DateTimePickerOdCas"), grpkontakt);
    lblDo = newLabel(QStringLiteral("lblDo"), QStringLiteral("Vypůjčeno do:"), grpkontakt);
    DateTimePickerDoDatum = newDatePicker(QStringLiteral("DateTimePickerDoDatum"), grpkontakt);
    DateTimePickerDoCas = newTimePicker(QStringLiteral("DateTimePickerDoCas"), grpkontakt);
    lblDobaPujceni = newLabel(QStringLiteral("lblDobaPujceni"),
                              QStringLiteral("Půjčeno celkem %d dnů, %d hodin a %d minut"), grpkontakt);
    for (QLabel *label : {editCisloLabel, lblStav, lblOd, lblDo})
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    editCisloLabel->setBuddy(editCislo);
    lblOd->setBuddy(DateTimePickerOdDatum);
    lblDo->setBuddy(DateTimePickerDoDatum);

    auto *contact = new QGridLayout(grpkontakt);
    contact->addWidget(editCisloLabel, 0, 0);
    contact->addWidget(editCislo, 0, 1, 1, 2);
    contact->addWidget(lblStav, 0, 3);
    contact->addWidget(comboStav, 0, 4);
    contact->addWidget(btnVratit, 0, 5);
    contact->addWidget(lblOd, 1, 0);
    contact->addWidget(DateTimePickerOdDatum, 1, 1);
    contact->addWidget(DateTimePickerOdCas, 1, 2);
    contact->addWidget(lblDo, 2, 0);
    contact->addWidget(DateTimePickerDoDatum, 2, 1);
    contact->addWidget(DateTimePickerDoCas, 2, 2);
    contact->addWidget(lblDobaPujceni, 3, 0, 1, 6);
    contact->setColumnStretch(5, 1);

    // Prices: total deposit, discount, total price.
    grpCeny = new QGroupBox(QStringLiteral("Cenové podmínky:"), TabSheet1);
    grpCeny->setObjectName(QStringLiteral("grpCeny"));
    editZalohaCelkLabel = newLabel(QStringLiteral("editZalohaCelkLabel"), QStringLiteral("Celková záloha:"), grpCeny);
    editZalohaCelk = newEdit(QStringLiteral("editZalohaCelk"), 6, grpCeny);
    lblMena20 = newLabel(QStringLiteral("lblMena20"), QStringLiteral("Kč"), grpCeny);
    editSlevaLabel = newLabel(QStringLiteral("editSlevaLabel"), QStringLiteral("Poskytnutá sleva:"), grpCeny);
    editSleva = newEdit(QStringLiteral("editSleva"), 3, grpCeny);
    lblProcento = newLabel(QStringLiteral("lblProcento"), QStringLiteral("%"), grpCeny);
    lblCena = newLabel(QStringLiteral("lblCena"), QStringLiteral("Celková cena s DPH:"), grpCeny);
    editCenaCelk = new QDoubleSpinBox(grpCeny);
    editCenaCelk->setObjectName(QStringLiteral("editCenaCelk"));
    editCenaCelk->setDecimals(2);
    editCenaCelk->setRange(0, 999999);
    editCenaCelk->setButtonSymbols(QAbstractSpinBox::NoButtons);
    editCenaCelk->setAlignment(Qt::AlignRight);
    lblMena21 = newLabel(QStringLiteral("lblMena21"), QStringLiteral("Kč"), grpCeny);
    for (QLineEdit *edit : {editZalohaCelk, editSleva})
        edit->setAlignment(Qt::AlignRight);
    for (QLabel *label : {editZalohaCelkLabel, editSlevaLabel, lblCena})
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    editZalohaCelkLabel->setBuddy(editZalohaCelk);
    editSlevaLabel->setBuddy(editSleva);
    lblCena->setBuddy(editCenaCelk);

    auto *prices = new QGridLayout(grpCeny);
    prices->addWidget(editZalohaCelkLabel, 0, 0);
    prices->addWidget(editZalohaCelk, 0, 1);
    prices->addWidget(lblMena20, 0, 2);
    prices->addWidget(editSlevaLabel, 1, 0);
    prices->addWidget(editSleva, 1, 1);
    prices->addWidget(lblProcento, 1, 2);
    prices->addWidget(lblCena, 2, 0);
    prices->addWidget(editCenaCelk, 2, 1);
    prices->addWidget(lblMena21, 2, 2);
    prices->setRowStretch(3, 1);

    // The digits-only fields: the key filter for typing, the validator for pasted text.
    auto *digits = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this);
    for (QLineEdit *edit : {editCislo, editZalohaCelk, editSleva}) {
        edit->installEventFilter(this);
        edit->setValidator(digits);
    }

    // The borrower: register customer or one-off customer, and the representative.
    grpVypujcitel = new QGroupBox(QStringLiteral("Vypůjčitel:"), TabSheet1);
    grpVypujcitel->setObjectName(QStringLiteral("grpVypujcitel"));
    PageControlZak = new QTabWidget(grpVypujcitel);
    PageControlZak->setObjectName(QStringLiteral("PageControlZak"));
    TabSheet7 = new QWidget(PageControlZak);
    TabSheet7->setObjectName(QStringLiteral("TabSheet7"));
    TabSheet8 = new QWidget(PageControlZak);
    TabSheet8->setObjectName(QStringLiteral("TabSheet8"));
    PageControlZak->addTab(TabSheet7, QStringLiteral("Zákazník z DB"));
    PageControlZak->addTab(TabSheet8, QStringLiteral("Nový zákazník (není-li v DB)"));

    auto newList = [this](const QString &name) { return newQueryList(name, TabSheet7); };
    lblJmeno = newLabel(QStringLiteral("lblJmeno"), QStringLiteral("Jméno a příjmení:"), TabSheet7);
    comboJmeno = newList(QStringLiteral("comboJmeno"));
    lblFirma = newLabel(QStringLiteral("lblFirma"), QStringLiteral("Firma:"), TabSheet7);
    comboFirma = newList(QStringLiteral("comboFirma"));
    lblRodneC = newLabel(QStringLiteral("lblRodneC"), QStringLiteral("Rodné číslo:"), TabSheet7);
    comboRodneC = newList(QStringLiteral("comboRodneC"));
    lblIco = newLabel(QStringLiteral("lblIco"), QStringLiteral("IČO:"), TabSheet7);
    comboIco = newList(QStringLiteral("comboIco"));
    editTypZakLabel = newLabel(QStringLiteral("editTypZakLabel"), QStringLiteral("Typ vybraného zákazníka:"), TabSheet7);
    editTypZak = newEdit(QStringLiteral("editTypZak"), 64, TabSheet7);
    editTypZak->setEnabled(false);
    lblRazeni = newLabel(QStringLiteral("lblRazeni"), QStringLiteral("Řadit zákazníky dle pole:"), TabSheet7);
    comboRazeni = new QComboBox(TabSheet7);
    comboRazeni->setObjectName(QStringLiteral("comboRazeni"));
    comboRazeni->addItems({QStringLiteral("Firma"), QStringLiteral("IČO"), QStringLiteral("Jméno a příjmení"),
                           QStringLiteral("Rodné číslo")});
    btnShowZakaznik = new QPushButton(QStringLiteral("Zobrazit zákazníka"), TabSheet7);
    btnShowZakaznik->setObjectName(QStringLiteral("btnShowZakaznik"));
    btnShowZakaznik->setEnabled(false);
    lblStatusZak = newLabel(QStringLiteral("lblStatusZak"), QString(), TabSheet7);
    lblStatusZak->setAutoFillBackground(true);
    QPalette silver = lblStatusZak->palette();
    silver.setColor(QPalette::Window, QColor(192, 192, 192));
    silver.setColor(QPalette::WindowText, Qt::black);
    lblStatusZak->setPalette(silver);
    lblStatusZak->setContentsMargins(6, 3, 6, 3);
    lblStatusZak->hide();
    lblJmeno->setBuddy(comboJmeno);
    lblFirma->setBuddy(comboFirma);
    lblRodneC->setBuddy(comboRodneC);
    lblIco->setBuddy(comboIco);
    lblRazeni->setBuddy(comboRazeni);

    auto *customer = new QGridLayout(TabSheet7);
    int row = 0;
    for (auto [label, field] : {std::pair<QLabel *, QWidget *>{lblJmeno, comboJmeno}, {lblFirma, comboFirma},
                                {lblRodneC, comboRodneC}, {lblIco, comboIco}, {editTypZakLabel, editTypZak}}) {
        customer->addWidget(label, row, 0);
        customer->addWidget(field, row++, 1, 1, 2);
    }
    customer->addWidget(lblRazeni, row, 0);
    customer->addWidget(comboRazeni, row++, 1);
    customer->addWidget(btnShowZakaznik, row, 1);
    customer->addWidget(lblStatusZak, row++, 2);
    customer->setColumnStretch(2, 1);
    customer->setRowStretch(row, 1);

    auto oneOff = [this](const QString &name, const QString &caption, QLabel *&label) {
        QLineEdit *edit = newEdit(name, 32, TabSheet8);
        label = newLabel(name + QStringLiteral("Label"), caption, TabSheet8);
        label->setBuddy(edit);
        return edit;
    };
    editNovyZakJmeno = oneOff(QStringLiteral("editNovyZakJmeno"), QStringLiteral("Jméno a příjmení:"), editNovyZakJmenoLabel);
    editNovyZakFirma = oneOff(QStringLiteral("editNovyZakFirma"), QStringLiteral("Firma:"), editNovyZakFirmaLabel);
    editNovyZakIco = oneOff(QStringLiteral("editNovyZakIco"), QStringLiteral("IČO:"), editNovyZakIcoLabel);
    editNovyZakDic = oneOff(QStringLiteral("editNovyZakDic"), QStringLiteral("DIČ:"), editNovyZakDicLabel);
    editNovyZakCisloOP = oneOff(QStringLiteral("editNovyZakCisloOP"), QStringLiteral("Číslo OP:"), editNovyZakCisloOPLabel);
    editNovyZakOPVydan = oneOff(QStringLiteral("editNovyZakOPVydan"), QStringLiteral("OP vydán:"), editNovyZakOPVydanLabel);
    editNovyZakRodneC = oneOff(QStringLiteral("editNovyZakRodneC"), QStringLiteral("Rodné číslo:"), editNovyZakRodneCLabel);
    editNovyZakTel = oneOff(QStringLiteral("editNovyZakTel"), QStringLiteral("Telefon:"), editNovyZakTelLabel);
    editNovyZakOstatni = oneOff(QStringLiteral("editNovyZakOstatni"), QStringLiteral("Ostatní údaje:"), editNovyZakOstatniLabel);
    editNovyZakUlice = oneOff(QStringLiteral("editNovyZakUlice"), QStringLiteral("Ulice:"), editNovyZakUliceLabel);
    editNovyZakCislo = oneOff(QStringLiteral("editNovyZakCislo"), QStringLiteral("Číslo:"), editNovyZakCisloLabel);
    editNovyZakMesto = oneOff(QStringLiteral("editNovyZakMesto"), QStringLiteral("Město"), editNovyZakMestoLabel);
    editNovyZakPsc = oneOff(QStringLiteral("editNovyZakPsc"), QStringLiteral("PSČ:"), editNovyZakPscLabel);
    DateTimePickerNovyZakDenOP = newCardDatePicker(QStringLiteral("DateTimePickerNovyZakDenOP"), TabSheet8);
    lblNovyZakDenVydaniOP = newLabel(QStringLiteral("lblNovyZakDenVydaniOP"), QStringLiteral("Datum vydání OP:"), TabSheet8);
    lblNovyZakDenVydaniOP->setBuddy(DateTimePickerNovyZakDenOP);
    lblAdresa = newLabel(QStringLiteral("lblAdresa"), QStringLiteral("Adresa:"), TabSheet8);
    QFont bold = lblAdresa->font();
    bold.setBold(true);
    lblAdresa->setFont(bold);
    lblAdresa->hide();

    auto *oneOffLayout = new QGridLayout(TabSheet8);
    const std::pair<QLabel *, QWidget *> left[] = {
        {editNovyZakJmenoLabel, editNovyZakJmeno}, {editNovyZakFirmaLabel, editNovyZakFirma},
        {editNovyZakIcoLabel, editNovyZakIco}, {editNovyZakDicLabel, editNovyZakDic},
        {editNovyZakRodneCLabel, editNovyZakRodneC}, {editNovyZakTelLabel, editNovyZakTel},
        {editNovyZakOstatniLabel, editNovyZakOstatni}};
    row = 0;
    for (auto [label, field] : left) {
        oneOffLayout->addWidget(label, row, 0);
        oneOffLayout->addWidget(field, row++, 1);
    }
    const std::pair<QLabel *, QWidget *> right[] = {
        {editNovyZakCisloOPLabel, editNovyZakCisloOP}, {editNovyZakOPVydanLabel, editNovyZakOPVydan},
        {lblNovyZakDenVydaniOP, DateTimePickerNovyZakDenOP}, {nullptr, nullptr},
        {editNovyZakUliceLabel, editNovyZakUlice}, {editNovyZakCisloLabel, editNovyZakCislo},
        {editNovyZakMestoLabel, editNovyZakMesto}, {editNovyZakPscLabel, editNovyZakPsc}};
    row = 0;
    for (auto [label, field] : right) {
        if (!label) {
            oneOffLayout->addWidget(lblAdresa, row++, 2, 1, 2);
            continue;
        }
        oneOffLayout->addWidget(label, row, 2);
        oneOffLayout->addWidget(field, row++, 3);
    }
    oneOffLayout->setColumnStretch(1, 1);
    oneOffLayout->setColumnStretch(3, 1);
    oneOffLayout->setRowStretch(row, 1);

    auto *representative = new QWidget(grpVypujcitel);
    lblZastoupen = newLabel(QStringLiteral("lblZastoupen"), QStringLiteral("Zastoupen:"), representative);
    lblZastoupen->setFont(bold);
    auto repEdit = [representative](const QString &name, const QString &caption, QLabel *&label) {
        QLineEdit *edit = newEdit(name, 32, representative);
        label = newLabel(name + QStringLiteral("Label"), caption, representative);
        label->setBuddy(edit);
        return edit;
    };
    editZastupJmeno = repEdit(QStringLiteral("editZastupJmeno"), QStringLiteral("Jméno a přijmení"), editZastupJmenoLabel);
    editZastupRodneC = repEdit(QStringLiteral("editZastupRodneC"), QStringLiteral("Rodné číslo"), editZastupRodneCLabel);
    editZastupCisloOP = repEdit(QStringLiteral("editZastupCisloOP"), QStringLiteral("Číslo OP"), editZastupCisloOPLabel);
    editZastupOPVydan = repEdit(QStringLiteral("editZastupOPVydan"), QStringLiteral("OP vydán:"), editZastupOPVydanLabel);
    // The typed customer and the representative fit their columns of RENT.
    const std::pair<QLineEdit *, int> widths[] = {
        {editNovyZakJmeno, 64}, {editNovyZakFirma, 64}, {editNovyZakIco, 32}, {editNovyZakDic, 32},
        {editNovyZakCisloOP, 32}, {editNovyZakOPVydan, 64}, {editNovyZakRodneC, 16}, {editNovyZakUlice, 64},
        {editNovyZakCislo, 16}, {editNovyZakMesto, 64}, {editNovyZakPsc, 16}, {editNovyZakTel, 32},
        {editNovyZakOstatni, 128}, {editZastupJmeno, 64}, {editZastupRodneC, 16}, {editZastupCisloOP, 32},
        {editZastupOPVydan, 64}};
    for (const auto &[edit, width] : widths)
        edit->setMaxLength(width);
    DateTimePickerZasVydaniOP = newCardDatePicker(QStringLiteral("DateTimePickerZasVydaniOP"), representative);
    lblZasDenVydaniOP = newLabel(QStringLiteral("lblZasDenVydaniOP"), QStringLiteral("Den vydání OP:"), representative);
    lblZasDenVydaniOP->setBuddy(DateTimePickerZasVydaniOP);
    auto *repLayout = new QGridLayout(representative);
    repLayout->setContentsMargins(0, 0, 0, 0);
    repLayout->addWidget(lblZastoupen, 0, 0, 1, 2);
    row = 1;
    for (auto [label, field] : {std::pair<QLabel *, QWidget *>{editZastupJmenoLabel, editZastupJmeno},
                                {editZastupRodneCLabel, editZastupRodneC}, {editZastupCisloOPLabel, editZastupCisloOP},
                                {editZastupOPVydanLabel, editZastupOPVydan}, {lblZasDenVydaniOP, DateTimePickerZasVydaniOP}}) {
        repLayout->addWidget(label, row, 0);
        repLayout->addWidget(field, row++, 1);
    }
    repLayout->setRowStretch(row, 1);
    repLayout->setColumnStretch(1, 1);

    auto *borrower = new QHBoxLayout(grpVypujcitel);
    borrower->addWidget(PageControlZak, 3);
    borrower->addWidget(representative, 2);

    auto *top = new QHBoxLayout;
    top->addWidget(grpkontakt, 3);
    top->addWidget(grpCeny, 2);
    auto *page = new QVBoxLayout(TabSheet1);
    page->addLayout(top);
    page->addWidget(grpVypujcitel, 1);

    connect(btnVratit, &QPushButton::clicked, this, &Tfrm_vypujcka::btnVratitClick);
    connect(editSleva, &QLineEdit::textChanged, this, &Tfrm_vypujcka::editSlevaChange);
    for (QDateEdit *picker : {DateTimePickerOdDatum, DateTimePickerDoDatum})
        connect(picker, &QDateEdit::dateChanged, this, &Tfrm_vypujcka::DateTimePickerDoDatumChange);
    for (QTimeEdit *picker : {DateTimePickerOdCas, DateTimePickerDoCas})
        connect(picker, &QTimeEdit::timeChanged, this, &Tfrm_vypujcka::DateTimePickerDoDatumChange);
    connect(comboRazeni, qOverload<int>(&QComboBox::activated), this, &Tfrm_vypujcka::comboRazeniChange);
    connect(PageControlZak, &QTabWidget::currentChanged, this, &Tfrm_vypujcka::PageControlZakChange);
    connect(btnShowZakaznik, &QPushButton::clicked, this, &Tfrm_vypujcka::btnShowZakaznikClick);
}

void Tfrm_vypujcka::buildSlotPage(QWidget *page, int firstSlot, int nextButton)
{
    auto *layout = new QVBoxLayout(page);
    for (int n = firstSlot; n < firstSlot + slotsPerPage; ++n) {
        buildSlot(n, page);
        layout->addWidget(Slot[n].grpZbozi);
    }
    layout->addStretch();
    if (nextButton) {
        auto *next = new QPushButton(QStringLiteral("Vypůjčit další zboží  >>"), page);
        next->setObjectName(QStringLiteral("btnNext%1").arg(nextButton));
        btnNext[nextButton - 1] = next;
        connect(next, &QPushButton::clicked, this, [this, nextButton] { btnNextClick(nextButton); });
        auto *row = new QHBoxLayout;
        row->addStretch();
        row->addWidget(next);
        layout->addLayout(row);
    }
}

void Tfrm_vypujcka::buildSlot(int n, QWidget *parent)
{
    TSlot &s = Slot[n];
    const QString no = QString::number(n + 1);
    s.grpZbozi = new QGroupBox(QStringLiteral("Vypůjčené zboží č.%1:").arg(no), parent);
    s.grpZbozi->setObjectName(QStringLiteral("grpZbozi") + no);
    QWidget *g = s.grpZbozi;
    s.checkZbozi = new QCheckBox(QStringLiteral("Vypůjčit toto zboží"), g);
    s.checkZbozi->setObjectName(QStringLiteral("checkZbozi") + no);
    s.lblNazevZbozi = newLabel(QStringLiteral("lblNazevZbozi") + no, QStringLiteral("Název vybraného zboží:"), g);
    s.comboNazevZbozi = newQueryList(QStringLiteral("comboNazevZbozi") + no, g);
    s.comboNazevZbozi->setItemDelegate(new TGoodsItemDelegate(s.comboNazevZbozi));
    s.lblKod1Zbozi = newLabel(QStringLiteral("lblKod1Zbozi") + no, QStringLiteral("Kód 1 vybraného zboží:"), g);
    s.comboKod1Zbozi = newQueryList(QStringLiteral("comboKod1Zbozi") + no, g);
    s.lblNazevZbozi->setBuddy(s.comboNazevZbozi);
    s.lblKod1Zbozi->setBuddy(s.comboKod1Zbozi);

    // Whole amounts only: the price and deposit fields take digits.
    auto *whole = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), g);
    auto amount = [&](const QString &name, const QString &caption, QLabel *&label) {
        QLineEdit *edit = newEdit(name + no, 8, g);
        edit->setValidator(whole);
        edit->setAlignment(Qt::AlignRight);
        label = newLabel(name + no + QStringLiteral("Label"), caption, g);
        label->setBuddy(edit);
        return edit;
    };
    s.editCena1Zbozi = amount(QStringLiteral("editCena1Zbozi"), QStringLiteral("Cena 1:"), s.lblCena1);
    s.editCena2Zbozi = amount(QStringLiteral("editCena2Zbozi"), QStringLiteral("Cena 2:"), s.lblCena2);
    s.editCena3Zbozi = amount(QStringLiteral("editCena3Zbozi"), QStringLiteral("Cena 3:"), s.lblCena3);
    s.editZalohaZbozi = amount(QStringLiteral("editZalohaZbozi"), QStringLiteral("Záloha"), s.lblZaloha);
    s.lblMena = newLabel(QStringLiteral("lblMena") + no, QStringLiteral("Kč"), g);
    s.lblPoznamky = newLabel(QStringLiteral("lblPoznamky") + no, QStringLiteral("Poznámky k tomuto zboží při vypůjčení:"), g);
    s.editPoznamkyZbozi = newEdit(QStringLiteral("editPoznamkyZbozi") + no, 256, g);
    s.editPoznamkyZbozi->setReadOnly(true);
    s.btnPoznamkyZbozi = new QPushButton(QStringLiteral("..."), g);
    s.btnPoznamkyZbozi->setObjectName(QStringLiteral("btnPoznamkyZbozi") + no);
    s.btnPoznamkyZbozi->setMaximumWidth(40);
    s.btnFotoZbozi = new QPushButton(QStringLiteral("Zobrazit fotografii"), g);
    s.btnFotoZbozi->setObjectName(QStringLiteral("btnFotoZbozi") + no);
    s.btnShowZbozi = new QPushButton(QStringLiteral("Zobrazit kompletně zboží"), g);
    s.btnShowZbozi->setObjectName(QStringLiteral("btnShowZbozi") + no);

    const int amountWidth = s.editCena1Zbozi->fontMetrics().horizontalAdvance(QStringLiteral("99999999")) + 16;
    for (QLineEdit *edit : {s.editCena1Zbozi, s.editCena2Zbozi, s.editCena3Zbozi, s.editZalohaZbozi})
        edit->setFixedWidth(amountWidth);

    auto *lists = new QGridLayout;
    lists->addWidget(s.lblNazevZbozi, 0, 0);
    lists->addWidget(s.lblKod1Zbozi, 0, 1);
    lists->addWidget(s.comboNazevZbozi, 1, 0);
    lists->addWidget(s.comboKod1Zbozi, 1, 1);
    lists->setColumnStretch(0, 2);
    lists->setColumnStretch(1, 1);
    auto *amounts = new QHBoxLayout;
    for (auto [label, edit] : {std::pair<QLabel *, QLineEdit *>{s.lblCena1, s.editCena1Zbozi}, {s.lblCena2, s.editCena2Zbozi},
                               {s.lblCena3, s.editCena3Zbozi}, {s.lblZaloha, s.editZalohaZbozi}}) {
        amounts->addWidget(label);
        amounts->addWidget(edit);
        amounts->addSpacing(8);
    }
    amounts->addWidget(s.lblMena);
    amounts->addStretch();
    amounts->addWidget(s.btnFotoZbozi);
    amounts->addWidget(s.btnShowZbozi);
    auto *note = new QHBoxLayout;
    note->addWidget(s.lblPoznamky);
    note->addWidget(s.editPoznamkyZbozi, 1);
    note->addWidget(s.btnPoznamkyZbozi);
    auto *box = new QVBoxLayout(g);
    box->addWidget(s.checkZbozi);
    box->addLayout(lists);
    box->addLayout(amounts);
    box->addLayout(note);

    connect(s.checkZbozi, &QCheckBox::clicked, this, [this, n] { checkZboziClick(n); });
    connect(s.comboNazevZbozi, qOverload<int>(&QComboBox::activated), this,
            [this, n](int index) { NastavZbozi(index, Slot[n].comboNazevZbozi); });
    connect(s.comboKod1Zbozi, qOverload<int>(&QComboBox::activated), this,
            [this, n](int index) { NastavZbozi(index, Slot[n].comboKod1Zbozi); });
    connect(s.editZalohaZbozi, &QLineEdit::editingFinished, this, &Tfrm_vypujcka::VypoctiZalohu);
    connect(s.btnPoznamkyZbozi, &QPushButton::clicked, this, [this, n] { UpravaPoznamky(Slot[n].btnPoznamkyZbozi); });
    connect(s.btnFotoZbozi, &QPushButton::clicked, this, [this, n] { ZobrazFoto(Slot[n].Zbozi.FOTO); });
    connect(s.btnShowZbozi, &QPushButton::clicked, this, [this, n] { ZobrazZbozi(Slot[n].Zbozi.ID); });
}

// Search by typing in the four customer lists and in the two lists of every slot. Made
// with the window, while the lists are still empty.
void Tfrm_vypujcka::attachSearches()
{
    using TRazeni = TDataModule_zakaznik::TRazeni;
    const std::pair<QComboBox *, TRazeni> customerLists[] = {
        {comboJmeno, TRazeni::Jmeno}, {comboFirma, TRazeni::Firma}, {comboRodneC, TRazeni::RodneCis}, {comboIco, TRazeni::Ico}};
    for (const auto &[list, field] : customerLists) {
        auto *search = new TComboSearch(list, [this, field = field](const QString &text) {
            QList<TSearchHit> hits;
            m_nalezeniZakaznici.clear();
            for (const TZakaznik &z : DataModule_zakaznik().HledejZakazniky(field, text, hitLimit)) {
                m_nalezeniZakaznici.insert(z.ID, z);
                switch (field) {
                case TRazeni::Jmeno: hits.append({z.ID, z.JMENO, detailOf({z.FIRMA, z.ICO})}); break;
                case TRazeni::Firma: hits.append({z.ID, z.FIRMA, detailOf({z.JMENO, z.ICO})}); break;
                case TRazeni::Ico: hits.append({z.ID, z.ICO, detailOf({z.FIRMA, z.JMENO})}); break;
                case TRazeni::RodneCis: hits.append({z.ID, z.RODNE_CIS, detailOf({z.JMENO, z.FIRMA})}); break;
                }
            }
            return hits;
        });
        connect(search, &TComboSearch::chosen, this, [this](int id) { NastavZakaznika(m_nalezeniZakaznici.value(id)); });
        connect(search, &TComboSearch::left, this, &Tfrm_vypujcka::zobrazZakaznika);
    }

    auto goodsSearch = [this](TDataModule_zbozi::TPole field) {
        return [this, field](const QString &text) {
            QList<TSearchHit> hits;
            m_nalezeneZbozi.clear();
            for (const TZbozi &z : DataModule_zbozi().HledejZbozi(field, text, hitLimit)) {
                m_nalezeneZbozi.insert(z.ID, z);
                if (field == TDataModule_zbozi::TPole::Kod1)
                    hits.append({z.ID, z.KOD1, z.NAZEV});
                else
                    hits.append({z.ID, z.NAZEV, orDash(z.KOD1)});
            }
            return hits;
        };
    };
    for (int n = 0; n < PocetSlotu; ++n) {
        TSlot &s = Slot[n];
        s.hledatNazev = new TComboSearch(s.comboNazevZbozi, goodsSearch(TDataModule_zbozi::TPole::Nazev));
        s.hledatKod = new TComboSearch(s.comboKod1Zbozi, goodsSearch(TDataModule_zbozi::TPole::Kod1));
        for (TComboSearch *search : {s.hledatNazev, s.hledatKod}) {
            connect(search, &TComboSearch::chosen, this, [this, n](int id) { UmistiZbozi(n, m_nalezeneZbozi.value(id), -1); });
            connect(search, &TComboSearch::left, this, [this, n] { zobrazZbozi(n); });
        }
    }
}

// The lists show the data modules' standing queries; they are attached on the first
// showing (the modules exist by then).
void Tfrm_vypujcka::bindLists()
{
    if (m_listsBound)
        return;
    m_listsBound = true;

    TDataModule_zakaznik &customers = DataModule_zakaznik();
    const std::pair<QComboBox *, int> customerLists[] = {
        {comboJmeno, TDataModule_zakaznik::colJmeno}, {comboFirma, TDataModule_zakaznik::colFirma},
        {comboRodneC, TDataModule_zakaznik::colRodneCis}, {comboIco, TDataModule_zakaznik::colIco}};
    for (const auto &[list, column] : customerLists) {
        list->setModel(customers.IBQCustomersVyber);
        list->setModelColumn(column);
        connect(list, qOverload<int>(&QComboBox::activated), this, &Tfrm_vypujcka::NastavZak);
    }
    connect(customers.IBQCustomersVyber, &QAbstractItemModel::modelReset, this, [this] {
        ZakaznikPozice = Zakaznik.ID == 0 ? 0 : -1;
        zobrazZakaznika();
    });

    TDataModule_zbozi &goods = DataModule_zbozi();
    for (TSlot &s : Slot) {
        s.comboNazevZbozi->setModel(goods.IBQZboziVyber);
        s.comboNazevZbozi->setModelColumn(TDataModule_zbozi::colNazev);
        s.comboKod1Zbozi->setModel(goods.IBQZboziVyber);
        s.comboKod1Zbozi->setModelColumn(TDataModule_zbozi::colKod1);
    }
    connect(goods.IBQZboziVyber, &QAbstractItemModel::modelReset, this, [this] {
        for (int n = 0; n < PocetSlotu; ++n) {
            Slot[n].Pozice = Slot[n].Zbozi.ID == 0 ? 0 : -1;
            zobrazZbozi(n);
        }
    });
}

void Tfrm_vypujcka::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        FormActivate();
    QDialog::showEvent(event);
}

bool Tfrm_vypujcka::eventFilter(QObject *watched, QEvent *event)
{
    // editCisloKeyPress: digits and backspace pass, every other character is discarded;
    // keys without a character (arrows, Delete, Tab) keep their meaning.
    if (event->type() == QEvent::KeyPress && (watched == editCislo || watched == editZalohaCelk || watched == editSleva)) {
        const QString text = static_cast<QKeyEvent *>(event)->text();
        if (!text.isEmpty()) {
            const QChar c = text.at(0);
            if ((c.isPrint() || c == QChar(8)) && !DigitKeyPasses(c))
                return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// ---------------------------------------------------------------- opening

void Tfrm_vypujcka::FormActivate()
{
    bindLists();
    nastavTarify();
    PageControlMain->setCurrentIndex(0);
    TypyZakazniku = DataModule_zakaznik().CustomerTypeNames();
    {
        const QSignalBlocker blocker(comboRazeni);
        comboRazeni->setCurrentIndex(0);
    }
    comboRazeniChange();
    PoleZboziClearAndSet();
    Vypujcka.reset();

    const bool showMode = Rezim == QLatin1String("SHOW_VYPUJC") || Rezim == QLatin1String("SHOW_VRAC");
    if (Rezim == modeNew) {
        enableControls(zakaznickeSeznamy(), true);
        const QDate today = QDate::currentDate();
        const QTime now = TimeWithoutSeconds();
        setDate(DateTimePickerOdDatum, today);
        setTime(DateTimePickerOdCas, now);
        setDate(DateTimePickerDoDatum, today.addDays(1));
        setTime(DateTimePickerDoCas, now);
        setCardDate(DateTimePickerZasVydaniOP, today.addDays(-365));
        setCardDate(DateTimePickerNovyZakDenOP, today.addDays(-365));

        lblDobaPujceni->hide();
        lblRazeni->show();
        comboRazeni->show();
        btnShowZakaznik->show();
        btnShowZakaznik->setEnabled(bool(ShowCustomer));
        btnVratit->hide();
        lblStatusZak->hide();
        PuvodniStav = 1;
        NovyStav = 1;
        PuvodniEvidCislo = 0;
        setZakPage(0, false);
        lblAdresa->hide();
        editCislo->setText(QString::number(OverEvidCislo(0)));
        nastavStav(0);

        for (int page = 2; page <= 5; ++page)
            PageControlMain->setTabVisible(page, false);
        for (QPushButton *next : btnNext)
            next->show();
        editZalohaCelk->setText(QStringLiteral("0"));
        editCenaCelk->setValue(0);
        for (TSlot &s : Slot)
            s.checkZbozi->setEnabled(true);
        editCislo->setEnabled(true);
        QList<QLineEdit *> cleared = polaNovehoZakaznika();
        cleared << editZastupJmeno << editZastupRodneC << editZastupCisloOP << editZastupOPVydan;
        clearInputs(cleared);
    } else if (Rezim == QLatin1String("EDIT_VRAC") || Rezim == QLatin1String("SHOW_VRAC")) {
        lblDobaPujceni->show();
        PuvodniStav = 0;
        NovyStav = 0;
        PageControlZakChange();
        btnVratit->hide();
        nastavStav(1);
    } else {
        lblDobaPujceni->hide();
        PuvodniStav = 1;
        NovyStav = 1;
        PageControlZakChange();
        btnVratit->show();
        nastavStav(0);
    }

    if (Rezim != modeNew)
        nactiVypujcku();

    if (!showMode) {
        enableControls(upravitelnePrvky(), true);
    } else {
        enableControls(upravitelnePrvky(), false);
        enableControls(zakaznickeSeznamy(), false);
        for (TSlot &s : Slot)
            enableControls({s.editCena1Zbozi, s.editCena2Zbozi, s.editCena3Zbozi, s.editZalohaZbozi, s.lblCena1,
                        s.lblCena2, s.lblCena3, s.lblZaloha, s.lblMena, s.lblPoznamky},
                       false);
        btnSave->setEnabled(false);
        btnVratit->hide();
    }
}

void Tfrm_vypujcka::nactiVypujcku()
{
    Vypujcka = DataModule_vypujcka().ReadRent(IdVypujcky);
    if (!Vypujcka) {
        // The rental is gone (deleted at another workstation): nothing to show or change.
        nactiSloty(TRentRow());
        enableControls(zakaznickeSeznamy(), false);
        return;
    }
    const TRentRow &r = *Vypujcka;
    m_nacitani = true;

    if (r.ID_ZAK < 1) {
        setZakPage(1, true);
        lblAdresa->show();
        const std::pair<QLineEdit *, QString> fields[] = {
            {editNovyZakJmeno, r.ZAK_JMENO}, {editNovyZakFirma, r.ZAK_FIRMA}, {editNovyZakCisloOP, r.ZAK_CISLOOP},
            {editNovyZakOPVydan, r.ZAK_VYSTAVOP}, {editNovyZakRodneC, r.ZAK_RODNEC}, {editNovyZakIco, r.ZAK_ICO},
            {editNovyZakOstatni, r.ZAK_OSTATNI}, {editNovyZakTel, r.ZAK_TEL}, {editNovyZakDic, r.ZAK_DIC},
            {editNovyZakUlice, r.ZAK_FULICE}, {editNovyZakCislo, r.ZAK_FCISLO}, {editNovyZakMesto, r.ZAK_FMESTO},
            {editNovyZakPsc, r.ZAK_FPSC}};
        for (const auto &[edit, text] : fields)
            edit->setText(text);
        setCardDate(DateTimePickerNovyZakDenOP, r.ZAK_DENVYDANIOP);
    } else {
        setZakPage(0, true);
        if (const auto customer = DataModule_zakaznik().ZakaznikDleId(r.ID_ZAK))
            NastavZakaznika(*customer);
    }
    // The customer of a saved rental stays as it was saved.
    enableControls(zakaznickeSeznamy(), false);

    setDate(DateTimePickerOdDatum, r.PUJC_OD.date());
    setTime(DateTimePickerOdCas, r.PUJC_OD.time());
    setDate(DateTimePickerDoDatum, r.PUJC_DO.date());
    setTime(DateTimePickerDoCas, r.PUJC_DO.time());
    setCardDate(DateTimePickerZasVydaniOP, r.ZAS_DENVYDANIOP);
    if (r.STAV_PUJC == 1) {
        nastavStav(0);
    } else {
        nastavStav(1);
        dobaPujceni();
    }
    editZastupJmeno->setText(r.ZAS_JMENO);
    editZastupRodneC->setText(r.ZAS_RODNEC);
    editZastupCisloOP->setText(r.ZAS_CISLOOP);
    editZastupOPVydan->setText(r.ZAS_VYSTAVOP);

    editSleva->setText(QString::number(r.SLEVA));
    editCenaCelk->setValue(r.CENA_CELK);
    PuvodniEvidCislo = r.EVID_CISLO;
    editCislo->setText(QString::number(r.EVID_CISLO));
    lblRazeni->hide();
    comboRazeni->hide();
    btnShowZakaznik->hide();

    nactiSloty(r);
    // The stored total deposit stands as it was saved (it may have been typed).
    editZalohaCelk->setText(QString::number(r.ZALOHA_CELK));
    m_nacitani = false;
}

void Tfrm_vypujcka::nactiSloty(const TRentRow &row)
{
    for (int page = 2; page <= 5; ++page)
        PageControlMain->setTabVisible(page, false);
    for (QPushButton *next : btnNext)
        next->hide();
    for (int n = 0; n < PocetSlotu; ++n) {
        TSlot &s = Slot[n];
        s.checkZbozi->setChecked(false);
        enableControls({s.checkZbozi, s.lblNazevZbozi, s.comboNazevZbozi, s.lblKod1Zbozi, s.comboKod1Zbozi,
                    s.editZalohaZbozi, s.editCena1Zbozi, s.editCena2Zbozi, s.editCena3Zbozi, s.lblMena,
                    s.lblPoznamky, s.btnPoznamkyZbozi},
                   false);
    }
    for (int n = 0; n < PocetSlotu; ++n) {
        const TRentSlot &saved = row.Slots[n];
        if (saved.RentGoodId <= 0)
            continue;
        TSlot &s = Slot[n];
        s.checkZbozi->setChecked(true);
        // The slot shows its own item from the rental, whether or not the goods list holds it.
        TZbozi item = saved.Zbozi;
        if (!saved.GoodsFound) {
            item.NAZEV = QStringLiteral("-");
            item.KOD1 = QStringLiteral("-");
            item.FOTO = QStringLiteral("-");
        }
        UmistiZbozi(n, item, -1);
        enableControls({s.checkZbozi, s.lblNazevZbozi, s.comboNazevZbozi, s.lblKod1Zbozi, s.comboKod1Zbozi}, false);
        enableControls({s.editZalohaZbozi, s.editCena1Zbozi, s.editCena2Zbozi, s.editCena3Zbozi, s.lblMena,
                    s.lblPoznamky, s.btnPoznamkyZbozi, s.btnFotoZbozi},
                   true);
        s.btnShowZbozi->setEnabled(bool(ShowGoods));
        s.editZalohaZbozi->setText(QString::number(saved.ZALOHA));
        s.editCena1Zbozi->setText(QString::number(saved.CENA1));
        s.editCena2Zbozi->setText(QString::number(saved.CENA2));
        s.editCena3Zbozi->setText(QString::number(saved.CENA3));
        s.editPoznamkyZbozi->setText(saved.POZNAMKA);
        if (n >= slotsPerPage)
            PageControlMain->setTabVisible(1 + n / slotsPerPage, true);
    }
}

void Tfrm_vypujcka::nastavTarify()
{
    const QString names[] = {Settings.Tariffs.Name1, Settings.Tariffs.Name2, Settings.Tariffs.Name3};
    const QString fallbacks[] = {Texty.ZboziCena1, Texty.ZboziCena2, Texty.ZboziCena3};
    QString captions[3];
    for (int k = 0; k < 3; ++k)
        captions[k] = names[k].isEmpty() ? fallbacks[k] : names[k] + QLatin1Char(':');
    for (TSlot &s : Slot) {
        s.lblCena1->setText(captions[0]);
        s.lblCena2->setText(captions[1]);
        s.lblCena3->setText(captions[2]);
    }
}

void Tfrm_vypujcka::nastavStav(int item)
{
    comboStav->setCurrentIndex(item);
    const QColor background = item == 0 ? stateOut : stateReturned;
    comboStav->setStyleSheet(QStringLiteral("QComboBox { background-color: %1; color: white; font-weight: bold; "
                                            "padding: 1px 6px; }")
                                 .arg(background.name()));
}

QList<QWidget *> Tfrm_vypujcka::upravitelnePrvky() const
{
    QList<QWidget *> controls = {lblZastoupen, editZastupJmeno, editZastupJmenoLabel, editZastupRodneC,
                                 editZastupRodneCLabel, editZastupCisloOP, editZastupCisloOPLabel, editZastupOPVydan,
                                 editZastupOPVydanLabel, DateTimePickerZasVydaniOP, lblZasDenVydaniOP,
                                 editCislo, editCisloLabel, lblStav, lblOd, lblDo, DateTimePickerOdDatum,
                                 DateTimePickerOdCas, DateTimePickerDoDatum, DateTimePickerDoCas, editZalohaCelk,
                                 editZalohaCelkLabel, lblMena20, lblMena21, lblProcento, editSleva, editSlevaLabel,
                                 lblCena, editCenaCelk, btnSave, lblAdresa, DateTimePickerNovyZakDenOP,
                                 lblNovyZakDenVydaniOP};
    for (QLineEdit *edit : polaNovehoZakaznika())
        controls << edit;
    controls << editNovyZakJmenoLabel << editNovyZakFirmaLabel << editNovyZakIcoLabel << editNovyZakDicLabel
             << editNovyZakCisloOPLabel << editNovyZakOPVydanLabel << editNovyZakRodneCLabel << editNovyZakTelLabel
             << editNovyZakOstatniLabel << editNovyZakUliceLabel << editNovyZakCisloLabel << editNovyZakMestoLabel
             << editNovyZakPscLabel;
    return controls;
}

QList<QLineEdit *> Tfrm_vypujcka::polaNovehoZakaznika() const
{
    return {editNovyZakJmeno, editNovyZakFirma, editNovyZakIco, editNovyZakDic, editNovyZakCisloOP,
            editNovyZakOPVydan, editNovyZakRodneC, editNovyZakTel, editNovyZakOstatni, editNovyZakUlice,
            editNovyZakCislo, editNovyZakMesto, editNovyZakPsc};
}

QList<QWidget *> Tfrm_vypujcka::zakaznickeSeznamy() const
{
    return {comboJmeno, lblJmeno, comboFirma, lblFirma, comboRodneC, lblRodneC, comboIco, lblIco, lblRazeni, comboRazeni};
}

// ---------------------------------------------------------------- customer

void Tfrm_vypujcka::comboRazeniChange()
{
    using TRazeni = TDataModule_zakaznik::TRazeni;
    static const TRazeni fields[] = {TRazeni::Firma, TRazeni::Ico, TRazeni::Jmeno, TRazeni::RodneCis};
    const int item = comboRazeni->currentIndex();
    const TRazeni field = item >= 0 && item < 4 ? fields[item] : TRazeni::Firma;
    DataModule_zakaznik().OpenCustomersVyber(field, Texty.STR_MANUAL_CUSTOMER);
    PoleZakaznikuClearAndSet();
}

void Tfrm_vypujcka::PoleZakaznikuClearAndSet()
{
    // The four lists show the customers data module's list as it was just opened.
    NastavZak(0);
}

void Tfrm_vypujcka::NastavZak(int index)
{
    NastavZakaznika(DataModule_zakaznik().ZakaznikNaPozici(index), index);
}

void Tfrm_vypujcka::NastavZakaznika(const TZakaznik &zakaznik, int pozice)
{
    Zakaznik = zakaznik;
    ZakaznikPozice = pozice;
    zobrazZakaznika();
    if (zakaznik.ID_TYP >= 1) {
        editTypZak->setText(TypyZakazniku.value(zakaznik.ID_TYP, zakaznik.TYP));
        editSleva->setText(QString::number(zakaznik.SLEVA));
        lblStatusZak->show();
    } else {
        editSleva->setText(QStringLiteral("0"));
        editTypZak->setText(QStringLiteral("-"));
        lblStatusZak->hide();
    }
    const QString key = CustomerStatusKey(zakaznik.AKT_PUJC);
    QString status;
    if (key == QLatin1String("STR_CUSTOMERS_NORENTYET"))
        status = Texty.STR_CUSTOMERS_NORENTYET;
    else if (key == QLatin1String("STR_CUSTOMERS_NORENTNOW"))
        status = Texty.STR_CUSTOMERS_NORENTNOW;
    else if (key == QLatin1String("STR_CUSTOMERS_RENTNOW"))
        status = Texty.STR_CUSTOMERS_RENTNOW;
    lblStatusZak->setText(status);
}

// The four lists show the chosen customer: on its row when the lists hold it there, else
// by its texts.
void Tfrm_vypujcka::zobrazZakaznika()
{
    const std::pair<QComboBox *, QString> lists[] = {
        {comboJmeno, Zakaznik.JMENO}, {comboFirma, Zakaznik.FIRMA}, {comboRodneC, Zakaznik.RODNE_CIS}, {comboIco, Zakaznik.ICO}};
    for (const auto &[list, text] : lists) {
        const QSignalBlocker blocker(list);
        if (ZakaznikPozice >= 0 && ZakaznikPozice < list->count()) {
            list->setCurrentIndex(ZakaznikPozice);
        } else {
            list->setCurrentIndex(-1);
            list->setEditText(text);
        }
    }
}

void Tfrm_vypujcka::setZakPage(int page, bool hideOther)
{
    const QSignalBlocker blocker(PageControlZak);
    PageControlZak->setTabVisible(page, true);
    PageControlZak->setCurrentIndex(page);
    PageControlZak->setTabVisible(1 - page, !hideOther);
}

void Tfrm_vypujcka::PageControlZakChange()
{
    if (PageControlZak->currentIndex() == 1) {
        lblAdresa->show();
        NastavZak(0);
    } else {
        lblAdresa->hide();
        for (QLineEdit *edit : polaNovehoZakaznika())
            edit->clear();
    }
}

void Tfrm_vypujcka::btnShowZakaznikClick()
{
    if (Zakaznik.ID <= 0) {
        Dialogs().ShowText(Texty.STR_NOCUSTOMERS);
        return;
    }
    if (ShowCustomer)
        ShowCustomer(Zakaznik.ID);
}

// ---------------------------------------------------------------- goods slots

void Tfrm_vypujcka::PoleZboziClearAndSet()
{
    // The slots' lists show the goods data module's list as last loaded; every slot is emptied.
    for (int n = 0; n < PocetSlotu; ++n) {
        Slot[n].checkZbozi->setChecked(false);
        NastavZbozi(0, Slot[n].comboNazevZbozi);
    }
}

int Tfrm_vypujcka::slotOf(const QObject *control) const
{
    for (int n = 0; n < PocetSlotu; ++n) {
        const TSlot &s = Slot[n];
        if (control == s.comboNazevZbozi || control == s.comboKod1Zbozi || control == s.checkZbozi
            || control == s.btnPoznamkyZbozi || control == s.btnFotoZbozi || control == s.btnShowZbozi)
            return n;
    }
    return -1;
}

void Tfrm_vypujcka::NastavZbozi(int index, QComboBox *list)
{
    const int n = slotOf(list);
    if (n >= 0)
        UmistiZbozi(n, DataModule_zbozi().ZboziNaPozici(index), index);
}

bool Tfrm_vypujcka::UmistiZbozi(int n, const TZbozi &zbozi, int pozice)
{
    TSlot &s = Slot[n];
    bool ok = true;
    // One item per slot: the newly chosen item must not stand in another slot. A saved
    // rental is loaded as it was stored.
    if (!m_nacitani && zbozi.ID > 0 && s.checkZbozi->isChecked()) {
        for (int other = 0; other < PocetSlotu && ok; ++other)
            if (other != n && Slot[other].Zbozi.ID == zbozi.ID)
                ok = false;
        if (!ok) {
            Dialogs().ShowText(Texty.STR_GOODONLY1);
            s.checkZbozi->setChecked(false);
            checkZboziClick(n);
        }
    }
    if (ok) {
        const bool used = s.checkZbozi->isChecked();
        s.Zbozi = used ? zbozi : DataModule_zbozi().ZboziNaPozici(0);
        s.Pozice = used ? pozice : 0;
        setSlotEnabled(n, used);
        zobrazZbozi(n);
        setSlotValues(n, s.Zbozi);
        s.editPoznamkyZbozi->clear();
    }
    if (!m_nacitani)
        VypoctiZalohu();
    return ok;
}

void Tfrm_vypujcka::setSlotEnabled(int n, bool enabled)
{
    TSlot &s = Slot[n];
    enableControls({s.comboNazevZbozi, s.comboKod1Zbozi, s.btnFotoZbozi, s.btnPoznamkyZbozi, s.editCena1Zbozi,
                s.editCena2Zbozi, s.editCena3Zbozi, s.editZalohaZbozi, s.editPoznamkyZbozi, s.lblNazevZbozi,
                s.lblKod1Zbozi, s.lblMena, s.lblPoznamky, s.lblCena1, s.lblCena2, s.lblCena3, s.lblZaloha},
               enabled);
    s.btnShowZbozi->setEnabled(enabled && ShowGoods);
}

void Tfrm_vypujcka::setSlotValues(int n, const TZbozi &zbozi)
{
    TSlot &s = Slot[n];
    s.editCena1Zbozi->setText(QString::number(zbozi.CENA1));
    s.editCena2Zbozi->setText(QString::number(zbozi.CENA2));
    s.editCena3Zbozi->setText(QString::number(zbozi.CENA3));
    s.editZalohaZbozi->setText(QString::number(zbozi.ZALOHA));
}

// Both lists of the slot show its item, on its row when the lists hold it there; the
// name list's face takes the item's colour.
void Tfrm_vypujcka::zobrazZbozi(int n)
{
    TSlot &s = Slot[n];
    const std::pair<QComboBox *, QString> lists[] = {{s.comboNazevZbozi, s.Zbozi.NAZEV}, {s.comboKod1Zbozi, s.Zbozi.KOD1}};
    for (const auto &[list, text] : lists) {
        const QSignalBlocker blocker(list);
        if (s.Pozice >= 0 && s.Pozice < list->count()) {
            list->setCurrentIndex(s.Pozice);
        } else {
            list->setCurrentIndex(-1);
            list->setEditText(text);
        }
    }
    QLineEdit *face = s.comboNazevZbozi->lineEdit();
    QPalette palette = s.comboNazevZbozi->palette();
    if (const auto background = GoodsItemBackground(s.Zbozi.Pujceno, s.Zbozi.Rezervovano, s.comboNazevZbozi->isEnabled())) {
        palette.setColor(QPalette::Base, *background);
        palette.setColor(QPalette::Text, Qt::black);
    }
    face->setPalette(palette);
}

void Tfrm_vypujcka::checkZboziClick(int n)
{
    NastavZbozi(0, Slot[n].comboNazevZbozi);
}

void Tfrm_vypujcka::btnNextClick(int k)
{
    PageControlMain->setTabVisible(k + 1, true);
    PageControlMain->setCurrentIndex(k + 1);
}

void Tfrm_vypujcka::UpravaPoznamky(QPushButton *button)
{
    const int n = slotOf(button);
    if (n < 0)
        return;
    Tfrm_editText dialog(this);
    dialog.editText->setText(Slot[n].editPoznamkyZbozi->text());
    dialog.editText->setEnabled(Rezim != QLatin1String("SHOW_VRAC") && Rezim != QLatin1String("SHOW_VYPUJC"));
    if (RunModal(dialog) == QDialog::Accepted)
        Slot[n].editPoznamkyZbozi->setText(dialog.editText->text());
}

void Tfrm_vypujcka::ZobrazFoto(const QString &path)
{
    if (path.isEmpty() || path == QLatin1String("-") || !QFileInfo(path).isFile()) {
        Dialogs().ShowText(Texty.STR_NOFOTO);
        return;
    }
    Tfrm_imagePreview preview(this);
    preview.NactiFoto(path);
    RunModal(preview);
}

void Tfrm_vypujcka::ZobrazZbozi(int id)
{
    if (id <= 0) {
        Dialogs().ShowText(Texty.STR_NOGOODS);
        return;
    }
    if (ShowGoods)
        ShowGoods(id);
}

// ---------------------------------------------------------------- prices and period

void Tfrm_vypujcka::VypoctiZalohu()
{
    QStringList deposits;
    for (TSlot &s : Slot) {
        if (s.editZalohaZbozi->text().isEmpty())
            s.editZalohaZbozi->setText(QStringLiteral("0"));
        deposits << s.editZalohaZbozi->text();
    }
    editZalohaCelk->setText(QString::number(DepositSum(deposits)));
}

void Tfrm_vypujcka::editSlevaChange()
{
    // A correction is a change of its own and runs this rule for the corrected text first.
    if (const auto corrected = CorrectedDiscountText(editSleva->text()))
        editSleva->setText(*corrected);
    editCenaCelk->setValue(ApplyDiscount(editCenaCelk->value(), editSleva->text().toInt()));
}

void Tfrm_vypujcka::dobaPujceni()
{
    if (const auto end = CorrectedEndDate(DateTimePickerOdDatum->date(), DateTimePickerOdCas->time(),
                                          DateTimePickerDoDatum->date(), DateTimePickerDoCas->time()))
        setDate(DateTimePickerDoDatum, *end);
    const TRentalPeriod period = RentalPeriod(QDateTime(DateTimePickerOdDatum->date(), DateTimePickerOdCas->time()),
                                              QDateTime(DateTimePickerDoDatum->date(), DateTimePickerDoCas->time()));
    lblDobaPujceni->setText(FormatTemplate(Texty.STR_DOBA_VYPUJC, {QString::number(period.Days),
                                                                   QString::number(period.Hours),
                                                                   QString::number(period.Minutes)}));
}

void Tfrm_vypujcka::DateTimePickerDoDatumChange()
{
    if (const auto end = CorrectedEndDate(DateTimePickerOdDatum->date(), DateTimePickerOdCas->time(),
                                          DateTimePickerDoDatum->date(), DateTimePickerDoCas->time())) {
        Dialogs().ShowText(Texty.STR_WRONG_DATE);
        setDate(DateTimePickerDoDatum, *end);
    }
    dobaPujceni();
}

int Tfrm_vypujcka::OverEvidCislo(int number) const
{
    const TDataModule_vypujcka &rents = DataModule_vypujcka();
    if (number != 0 && !rents.EvidCisloUsed(number))
        return number;
    return rents.MaxEvidCislo() + 1;
}

// ---------------------------------------------------------------- save and return

TVypujckaUlozeni Tfrm_vypujcka::PripravUlozeni()
{
    if (editZalohaCelk->text().isEmpty())
        editZalohaCelk->setText(QStringLiteral("0"));
    editCenaCelk->setValue(RoundPrice(Settings.RoundOn, editCenaCelk->value()));
    if (const auto corrected = CorrectedDiscountText(editSleva->text()))
        editSleva->setText(*corrected);
    for (TSlot &s : Slot)
        for (QLineEdit *edit : {s.editZalohaZbozi, s.editCena1Zbozi, s.editCena2Zbozi, s.editCena3Zbozi})
            if (edit->text().isEmpty())
                edit->setText(QStringLiteral("0"));

    TVypujckaUlozeni d;
    d.Rezim = Rezim;
    d.IdVypujcky = IdVypujcky;
    d.PuvodniStav = PuvodniStav;
    d.NovyStav = NovyStav;
    d.PuvodniEvidCislo = PuvodniEvidCislo;
    d.EvidCislo = editCislo->text();
    d.PujcOd = QDateTime(DateTimePickerOdDatum->date(), DateTimePickerOdCas->time());
    d.PujcDo = QDateTime(DateTimePickerDoDatum->date(), DateTimePickerDoCas->time());
    d.CenaCelk = editCenaCelk->value();
    d.CenaCelkText = QString::number(d.CenaCelk, 'f', 2);
    d.ZalohaCelk = editZalohaCelk->text().toInt();
    d.Sleva = editSleva->text().toInt();

    d.ZakaznikZDb = PageControlZak->currentIndex() == 0;
    d.Zakaznik = Zakaznik;
    d.ZakJmeno = editNovyZakJmeno->text();
    d.ZakFirma = editNovyZakFirma->text();
    d.ZakIco = editNovyZakIco->text();
    d.ZakDic = editNovyZakDic->text();
    d.ZakCisloOP = editNovyZakCisloOP->text();
    d.ZakVystavOP = editNovyZakOPVydan->text();
    d.ZakRodneC = editNovyZakRodneC->text();
    d.ZakUlice = editNovyZakUlice->text();
    d.ZakCislo = editNovyZakCislo->text();
    d.ZakMesto = editNovyZakMesto->text();
    d.ZakPsc = editNovyZakPsc->text();
    d.ZakTel = editNovyZakTel->text();
    d.ZakOstatni = editNovyZakOstatni->text();
    d.ZakDenVydaniOP = cardDate(DateTimePickerNovyZakDenOP);
    d.ZasJmeno = editZastupJmeno->text();
    d.ZasRodneC = editZastupRodneC->text();
    d.ZasCisloOP = editZastupCisloOP->text();
    d.ZasVystavOP = editZastupOPVydan->text();
    d.ZasDenVydaniOP = cardDate(DateTimePickerZasVydaniOP);

    if (Vypujcka) {
        d.IdZakRadku = Vypujcka->ID_ZAK;
        for (int n = 0; n < PocetSlotu; ++n)
            d.RentGoodIds[n] = Vypujcka->Slots[n].RentGoodId;
    }
    for (int n = 0; n < PocetSlotu; ++n) {
        const TSlot &s = Slot[n];
        const bool used = Rezim == modeNew ? s.checkZbozi->isChecked() && s.Zbozi.ID > 0 : d.RentGoodIds[n] > 0;
        if (!used)
            continue;
        TUlozenySlot slot;
        slot.Slot = n + 1;
        slot.RentGoodId = d.RentGoodIds[n];
        slot.Zbozi = s.Zbozi;
        slot.CENA1 = s.editCena1Zbozi->text().toInt();
        slot.CENA2 = s.editCena2Zbozi->text().toInt();
        slot.CENA3 = s.editCena3Zbozi->text().toInt();
        slot.ZALOHA = s.editZalohaZbozi->text().toInt();
        slot.POZNAMKA = s.editPoznamkyZbozi->text();
        d.Sloty << slot;
    }
    return d;
}

void Tfrm_vypujcka::btnSaveClick()
{
    UlozVypujcku(PripravUlozeni());
}

void Tfrm_vypujcka::UlozVypujcku(const TVypujckaUlozeni &data)
{
    if (data.Rezim != modeNew && data.Rezim != QLatin1String("EDIT_VYPUJC") && data.Rezim != QLatin1String("EDIT_VRAC"))
        return;
    // Every check runs before anything is written; the write itself is one transaction.
    // On any failure the window stays open with what was typed.
    QList<TUlozenySlot> booked;
    try {
        // The checks read the database as it stands now, not as the shared snapshot saw it
        // when the window was opened (numbers, reservations and rentals of other workstations).
        DataModule_main().RefreshData();
        if (!Settings.Database.Connected)
            return;
        if (!overUlozeni(data, booked))
            return;
        zapisVypujcku(data, booked);
    } catch (const ERentSaveError &error) {
        ukazChybuUlozeni(error, booked);
        return;
    } catch (const EDatabaseError &error) {
        Dialogs().ShowError(Texty.STR_ERROR + QStringLiteral("\n\n") + error.message());
        return;
    }
    if (!Settings.Database.RefreshByEvent)
        DataModule_main().RefreshData();
    accept();
}

bool Tfrm_vypujcka::overUlozeni(const TVypujckaUlozeni &data, QList<TUlozenySlot> &booked)
{
    bool valid = true;
    if (data.ZakaznikZDb && data.Zakaznik.ID <= 0) {
        Dialogs().ShowText(Texty.STR_NOCUSTOMERS);
        valid = false;
    } else if (!data.ZakaznikZDb && data.ZakJmeno.trimmed().isEmpty() && data.ZakFirma.trimmed().isEmpty()) {
        valid = false;
        Dialogs().ShowText(Texty.STR_NOCUSTOMERS2);
        PageControlMain->setCurrentIndex(0);
        editNovyZakJmeno->setFocus();
    }

    // The evidence number: checked for a new rental always, for an edited one when changed.
    if (editCislo->text().isEmpty())
        editCislo->setText(QStringLiteral("1"));
    const QString typed = editCislo->text();
    const int number = typed.toInt();
    if (data.Rezim == modeNew || number != data.PuvodniEvidCislo || data.PuvodniEvidCislo == 0) {
        const int proposed = OverEvidCislo(number);
        if (proposed != number) {
            valid = false;
            Dialogs().ShowText(FormatTemplate(Texty.STR_NUMBER_ISUSED, {typed}));
            editCislo->setText(QString::number(proposed));
            PageControlMain->setCurrentIndex(0);
            editCislo->setFocus();
        }
    }
    if (!valid)
        return false;

    // The goods: a new rental refuses items that are out (each one is named); the goods of
    // a rental that stays out must not collide with a reservation. Reservations are looked
    // up for every item, as the goods list's reservation mark may be older than the window.
    const bool newRent = data.Rezim == modeNew;
    const bool staysOut = newRent || (data.PuvodniStav == 1 && data.NovyStav == 1);
    for (const TUlozenySlot &slot : data.Sloty) {
        if (newRent && slot.Zbozi.Pujceno) {
            Dialogs().ShowText(FormatTemplate(Texty.STR_GOOD_ISRENTED, {QString::number(slot.Slot)}));
            valid = false;
            ukazSlot(slot.Slot);
            continue;
        }
        if (valid && staysOut && !overRezervaci(slot, data.PujcOd, data.PujcDo))
            valid = false;
        if (valid)
            booked << slot;
    }
    if (!valid)
        return false;
    if (newRent && booked.isEmpty()) {
        Dialogs().ShowText(Texty.STR_NOGOODS);
        return false;
    }
    return true;
}

bool Tfrm_vypujcka::overRezervaci(const TUlozenySlot &slot, const QDateTime &od, const QDateTime &doCasu)
{
    TDataModule_vypujcka &rents = DataModule_vypujcka();
    const std::optional<TRezervace> reservation = rents.CollidingReservation(slot.Zbozi.ID, od, doCasu);
    if (!reservation)
        return true;
    const QString text = FormatTemplate(Texty.STR_DEL_REZERV_TEXT,
                                        {QString::number(slot.Slot), Slot[slot.Slot - 1].comboNazevZbozi->currentText(),
                                         reservation->VLASTNIK});
    // Either way the save stops; after the reservation is deleted the operator saves again.
    if (Dialogs().Ask(text, Texty.STR_DEL_REZERV_CAPT)) {
        rents.DeleteReservation(reservation->ID);
        if (!Settings.Database.RefreshByEvent)
            DataModule_main().RefreshData();
    }
    return false;
}

void Tfrm_vypujcka::zapisVypujcku(const TVypujckaUlozeni &data, const QList<TUlozenySlot> &booked)
{
    TRentRow row;
    row.ID = data.IdVypujcky;
    row.EVID_CISLO = editCislo->text().toInt();
    row.STAV_PUJC = data.PuvodniStav;
    row.PUJC_OD = data.PujcOd;
    row.PUJC_DO = data.PujcDo;
    row.SLEVA = data.Sleva;
    row.CENA_CELK = data.CenaCelk;
    row.ZALOHA_CELK = data.ZalohaCelk;
    const bool newRent = data.Rezim == modeNew;
    row.ID_ZAK = newRent ? (data.ZakaznikZDb ? data.Zakaznik.ID : 0) : data.IdZakRadku;
    // The one-off customer's fields belong only to a rental without a register customer.
    if (!data.ZakaznikZDb) {
        row.ZAK_JMENO = data.ZakJmeno;
        row.ZAK_FIRMA = data.ZakFirma;
        row.ZAK_ICO = data.ZakIco;
        row.ZAK_DIC = data.ZakDic;
        row.ZAK_CISLOOP = data.ZakCisloOP;
        row.ZAK_VYSTAVOP = data.ZakVystavOP;
        row.ZAK_RODNEC = data.ZakRodneC;
        row.ZAK_FULICE = data.ZakUlice;
        row.ZAK_FCISLO = data.ZakCislo;
        row.ZAK_FMESTO = data.ZakMesto;
        row.ZAK_FPSC = data.ZakPsc;
        row.ZAK_TEL = data.ZakTel;
        row.ZAK_OSTATNI = data.ZakOstatni;
        row.ZAK_DENVYDANIOP = data.ZakDenVydaniOP;
    }
    row.ZAS_JMENO = data.ZasJmeno;
    row.ZAS_CISLOOP = data.ZasCisloOP;
    row.ZAS_VYSTAVOP = data.ZasVystavOP;
    row.ZAS_RODNEC = data.ZasRodneC;
    row.ZAS_DENVYDANIOP = data.ZasDenVydaniOP;

    // A new rental's booked entries are packed from the first; a saved rental keeps its slots.
    for (int k = 0; k < booked.size(); ++k) {
        const TUlozenySlot &entry = booked[k];
        TRentSlot &slot = row.Slots[newRent ? k : entry.Slot - 1];
        slot.RentGoodId = entry.RentGoodId;
        slot.GoodsId = entry.Zbozi.ID;
        slot.CENA1 = entry.CENA1;
        slot.CENA2 = entry.CENA2;
        slot.CENA3 = entry.CENA3;
        slot.ZALOHA = entry.ZALOHA;
        slot.POZNAMKA = entry.POZNAMKA;
    }

    TDataModule_vypujcka &rents = DataModule_vypujcka();
    if (newRent)
        rents.InsertRent(row, Settings.User.Id);
    else if (data.PuvodniStav == 1 && data.NovyStav == 0)
        rents.ReturnRent(row, Settings.User.Id);
    else
        rents.UpdateRent(row, Settings.User.Id);
}

void Tfrm_vypujcka::ukazChybuUlozeni(const ERentSaveError &error, const QList<TUlozenySlot> &booked)
{
    switch (error.Kind) {
    case ERentSaveError::GoodsOut:
        // Entry k of a new rental is its k-th booked slot.
        if (error.Entry >= 1 && error.Entry <= booked.size()) {
            const int n = booked[error.Entry - 1].Slot;
            Dialogs().ShowText(FormatTemplate(Texty.STR_GOOD_ISRENTED, {QString::number(n)}));
            ukazSlot(n);
        }
        break;
    case ERentSaveError::RentChanged:
        Dialogs().ShowError(Texty.STR_RENT_CHANGED);
        break;
    case ERentSaveError::EvidUsed:
        Dialogs().ShowText(FormatTemplate(Texty.STR_NUMBER_ISUSED, {editCislo->text()}));
        editCislo->setText(QString::number(DataModule_vypujcka().MaxEvidCislo() + 1));
        PageControlMain->setCurrentIndex(0);
        editCislo->setFocus();
        break;
    case ERentSaveError::Statement: {
        const QString what = error.Entry > 0 ? FormatTemplate(Texty.STR_ERROR_GOOD, {QString::number(error.Entry)})
                                             : Texty.STR_ERROR;
        Dialogs().ShowError(what + QStringLiteral("\n\n") + error.message());
        break;
    }
    }
}

void Tfrm_vypujcka::ukazSlot(int n)
{
    const int page = 1 + (n - 1) / slotsPerPage;
    PageControlMain->setTabVisible(page, true);
    PageControlMain->setCurrentIndex(page);
}

void Tfrm_vypujcka::btnVratitClick()
{
    PotvrdVraceni();
}

void Tfrm_vypujcka::PotvrdVraceni()
{
    if (Dialogs().Ask(Texty.STR_VRACENI_TEXT, Texty.STR_VRACENI_CAPT))
        ZobrazVraceni();
}

void Tfrm_vypujcka::ZobrazVraceni()
{
    nastavStav(1);
    btnVratit->hide();
    lblDobaPujceni->show();
    NovyStav = 0;
    dobaPujceni();
}

// ---------------------------------------------------------------- texts

void Tfrm_vypujcka::Jazyk(const QString &languageFile)
{
    const TLanguageFile file(languageFile);
    const QString section = QStringLiteral("frmRent");
    auto text = [&file, &section](const char *key) { return file.Text(section, QString::fromUtf8(key)); };
    const QString common = QStringLiteral("CommonStrings");

    setWindowTitle(text("Caption"));
    for (int i = 0; i < 6; ++i)
        PageControlMain->setTabText(i, file.Text(section, QStringLiteral("Tab%1").arg(i + 1)));
    PageControlZak->setTabText(0, text("Tab1a"));
    PageControlZak->setTabText(1, text("Tab1b"));
    btnSave->setText(file.Text(common, QStringLiteral("btnSave")));
    btnCancel->setText(file.Text(common, QStringLiteral("btnStorno")));

    grpkontakt->setTitle(text("HlavniUdaje"));
    editCisloLabel->setText(text("EvidCis"));
    lblStav->setText(text("StavVyp"));
    btnVratit->setText(text("btnVratit"));
    lblOd->setText(text("VypujcOd"));
    lblDo->setText(text("VypujcDo"));
    grpCeny->setTitle(text("Ceny"));
    editZalohaCelkLabel->setText(text("Zaloha"));
    editSlevaLabel->setText(text("Sleva"));
    lblCena->setText(text("Cena"));
    comboStav->setItemText(0, text("StavPujceno"));
    comboStav->setItemText(1, text("StavVraceno"));

    grpVypujcitel->setTitle(text("Vypujcitel"));
    lblJmeno->setText(text("Jmeno"));
    lblFirma->setText(text("Firma"));
    lblRodneC->setText(text("RodneCis"));
    lblIco->setText(text("Ico"));
    editTypZakLabel->setText(text("TypZak"));
    lblRazeni->setText(text("Razeni"));
    btnShowZakaznik->setText(text("btnZobraz"));
    {
        const QSignalBlocker blocker(comboRazeni);
        const int item = qMax(0, comboRazeni->currentIndex());
        comboRazeni->clear();
        for (int i = 1; i <= 4; ++i)
            comboRazeni->addItem(file.Text(section, QStringLiteral("RezeniPole%1").arg(i)));
        comboRazeni->setCurrentIndex(item);
    }

    editNovyZakJmenoLabel->setText(text("Jmeno"));
    editNovyZakFirmaLabel->setText(text("Firma"));
    editNovyZakCisloOPLabel->setText(text("CisloOP"));
    editNovyZakOPVydanLabel->setText(text("VydalOP"));
    editNovyZakRodneCLabel->setText(text("RodneCis"));
    editNovyZakIcoLabel->setText(text("Ico"));
    editNovyZakOstatniLabel->setText(text("OstatníUdaje"));
    editNovyZakTelLabel->setText(text("Tel"));
    editNovyZakDicLabel->setText(text("Dic"));
    editNovyZakUliceLabel->setText(text("Ulice"));
    editNovyZakCisloLabel->setText(text("Cislo"));
    editNovyZakMestoLabel->setText(text("Mesto"));
    editNovyZakPscLabel->setText(text("Psc"));
    lblNovyZakDenVydaniOP->setText(text("DatumOP"));
    lblAdresa->setText(text("Adresa"));

    lblZastoupen->setText(text("Zastoupen"));
    editZastupJmenoLabel->setText(text("Jmeno"));
    editZastupRodneCLabel->setText(text("RodneCis"));
    editZastupCisloOPLabel->setText(text("CisloOP"));
    editZastupOPVydanLabel->setText(text("VydalOP"));
    lblZasDenVydaniOP->setText(text("DatumOP"));

    for (QPushButton *next : btnNext)
        next->setText(text("btnNextGoods"));
    Texty.ZboziCena1 = text("ZboziCena1");
    Texty.ZboziCena2 = text("ZboziCena2");
    Texty.ZboziCena3 = text("ZboziCena3");
    for (int n = 0; n < PocetSlotu; ++n) {
        TSlot &s = Slot[n];
        s.grpZbozi->setTitle(file.Text(section, QStringLiteral("Zbozi%1").arg(n + 1)));
        s.checkZbozi->setText(text("ZboziVypujcit"));
        s.lblNazevZbozi->setText(text("ZboziNazev"));
        s.lblKod1Zbozi->setText(text("zboziKod"));
        s.lblZaloha->setText(text("ZboziZaloha"));
        s.lblPoznamky->setText(text("ZboziPoznamky"));
        s.btnShowZbozi->setText(text("btnShowGood"));
        s.btnFotoZbozi->setText(text("btnShowPicture"));
    }
    nastavTarify();

    Texty.STR_MANUAL_CUSTOMER = file.Text(common, QStringLiteral("STR_MANUAL_CUSTOMER"));
    const std::pair<const char *, QString *> messages[] = {
        {"STR_DOBA_VYPUJC", &Texty.STR_DOBA_VYPUJC}, {"STR_CUSTOMERS_NORENTYET", &Texty.STR_CUSTOMERS_NORENTYET},
        {"STR_CUSTOMERS_NORENTNOW", &Texty.STR_CUSTOMERS_NORENTNOW}, {"STR_CUSTOMERS_RENTNOW", &Texty.STR_CUSTOMERS_RENTNOW},
        {"STR_GOODONLY1", &Texty.STR_GOODONLY1}, {"STR_NOGOODS", &Texty.STR_NOGOODS}, {"STR_NOFOTO", &Texty.STR_NOFOTO},
        {"STR_NOCUSTOMERS", &Texty.STR_NOCUSTOMERS}, {"STR_NOCUSTOMERS2", &Texty.STR_NOCUSTOMERS2},
        {"STR_NUMBER_ISUSED", &Texty.STR_NUMBER_ISUSED}, {"STR_ERROR", &Texty.STR_ERROR},
        {"STR_ERROR_GOOD", &Texty.STR_ERROR_GOOD}, {"STR_GOOD_ISRENTED", &Texty.STR_GOOD_ISRENTED},
        {"STR_WRONG_DATE", &Texty.STR_WRONG_DATE}, {"STR_DEL_REZERV_TEXT", &Texty.STR_DEL_REZERV_TEXT},
        {"STR_DEL_REZERV_CAPT", &Texty.STR_DEL_REZERV_CAPT}, {"STR_VRACENI_TEXT", &Texty.STR_VRACENI_TEXT},
        {"STR_VRACENI_CAPT", &Texty.STR_VRACENI_CAPT}, {"STR_RENT_CHANGED", &Texty.STR_RENT_CHANGED}};
    for (const auto &[key, target] : messages)
        *target = text(key);
}
