#include "rentals/panelzakazky.h"

#include "app/globalres.h"
#include "app/inifile.h"
#include "app/language.h"
#include "data/datm_zakaznik.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {
const QString settingsSection = QStringLiteral("panelRents");

QString checkKey(int n)
{
    return QStringLiteral("checkZakTyp%1").arg(n);
}

// The longest text a searched column holds.
constexpr int SearchLength = 64;
} // namespace

Tpanel_zakazky::Tpanel_zakazky(QWidget *parent)
    : TFloatingPanel(parent)
{
    setObjectName(QStringLiteral("panel_zakazky"));
    setWindowTitle(QStringLiteral("Zakázky - filtry"));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->setSpacing(0);

    lblTypZak = new QLabel(QStringLiteral("Typ zákazníka:"), this);
    layout->addWidget(lblTypZak);
    const TIniFile ini(SettingsFilePath());
    for (int n = 1; n <= TypeCount; ++n) {
        QCheckBox *box = new QCheckBox(this);
        box->setObjectName(QStringLiteral("checkVypZakTyp%1").arg(n));
        box->setChecked(ini.ReadBoolF(settingsSection, checkKey(n)));
        box->setFixedHeight(16);
        box->hide();
        connect(box, &QCheckBox::clicked, this, &Tpanel_zakazky::FilterChanged);
        checkVypZakTyp[n - 1] = box;
        layout->addWidget(box);
    }

    const auto search = [this, layout](QLabel *&label, QLineEdit *&edit, const QString &caption, int n) {
        layout->addSpacing(8);
        label = new QLabel(caption, this);
        edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("editSearchRents%1").arg(n));
        edit->setMaxLength(SearchLength);
        edit->setClearButtonEnabled(true);
        label->setBuddy(edit);
        layout->addWidget(label);
        layout->addSpacing(2);
        layout->addWidget(edit);
        connect(edit, &QLineEdit::textChanged, this, &Tpanel_zakazky::FilterChanged);
    };
    search(lblSearchRents1, editSearchRents1, QStringLiteral("Vyhledat dle vypůjčitele:"), 1);
    search(lblSearchRents2, editSearchRents2, QStringLiteral("Vyhledat dle zboží:"), 2);
    search(lblSearchRents3, editSearchRents3, QStringLiteral("Vyhledat dle evid. čísla:"), 3);
    layout->addStretch();

    resize(190, 200);
}

void Tpanel_zakazky::Jazyk(const QString &languageFile)
{
    const TLanguageFile file(languageFile);
    const QString section = QStringLiteral("panRents");
    const auto text = [&](const char *key) { return file.Text(section, QLatin1String(key)); };
    setWindowTitle(text("Caption"));
    lblTypZak->setText(text("TypZak"));
    lblSearchRents1->setText(text("Find1"));
    lblSearchRents2->setText(text("Find2"));
    lblSearchRents3->setText(text("Find3"));
}

void Tpanel_zakazky::FillCustomerTypeChecks()
{
    if (!Settings.Database.Connected) {
        for (QCheckBox *box : checkVypZakTyp)
            box->hide();
        return;
    }
    FillCustomerTypeChecks(DataModule_zakaznik().CustomerTypeNames().values());
}

void Tpanel_zakazky::FillCustomerTypeChecks(const QStringList &typeNames)
{
    // A type beyond the sixth has no box.
    const int shown = qMin(int(typeNames.size()), TypeCount);
    for (int i = 0; i < TypeCount; ++i) {
        QCheckBox *box = checkVypZakTyp[i];
        box->setVisible(i < shown);
        if (i < shown)
            box->setText(typeNames.at(i));
    }
    resize(width(), 200 + 16 * qMax(0, shown - 1));
}

TRentFilter Tpanel_zakazky::Filter() const
{
    TRentFilter filter;
    for (int i = 0; i < TypeCount; ++i)
        filter.CustomerTypes[i] = checkVypZakTyp[i]->isChecked();
    filter.Borrower = editSearchRents1->text();
    filter.Goods = editSearchRents2->text();
    filter.EvidCislo = editSearchRents3->text();
    return filter;
}

void Tpanel_zakazky::WriteChecks(TIniFile &ini) const
{
    for (int n = 1; n <= TypeCount; ++n)
        ini.WriteBool(settingsSection, checkKey(n), checkVypZakTyp[n - 1]->isChecked());
}
