#pragma once
// The rentals filter panel: customer types and three search texts that narrow both lists.
#include "app/floatpanel.h"
#include "data/rentlist.h"

#include <QStringList>

#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class TIniFile;

class Tpanel_zakazky : public TFloatingPanel
{
    Q_OBJECT
public:
    static constexpr int TypeCount = TRentFilter::TypeCount;

    // Reads the states of the type boxes from settings.ini ("panelRents", "checkZakTyp1" …
    // "checkZakTyp6": anything but "False" is checked). The boxes stay hidden until
    // FillCustomerTypeChecks names them.
    explicit Tpanel_zakazky(QWidget *parent = nullptr);

    // Texts of the section "panRents".
    void Jazyk(const QString &languageFile) override;

    // Hides the type boxes; then, while the database is connected, shows one box per
    // customer type in ID order (at most six) with the type's name and sets the panel's
    // height to 200 + 16 for each type after the first.
    void FillCustomerTypeChecks();
    // The same with the type names given in ID order.
    void FillCustomerTypeChecks(const QStringList &typeNames);

    // The filter as the panel shows it.
    TRentFilter Filter() const;
    // Writes the states of the type boxes for SaveSettings ("panelRents", "checkZakTyp1" …).
    void WriteChecks(TIniFile &ini) const override;

    QLabel *lblTypZak = nullptr;
    std::array<QCheckBox *, TypeCount> checkVypZakTyp{}; // checkVypZakTyp1 … checkVypZakTyp6
    QLabel *lblSearchRents1 = nullptr, *lblSearchRents2 = nullptr, *lblSearchRents3 = nullptr;
    QLineEdit *editSearchRents1 = nullptr; // borrower
    QLineEdit *editSearchRents2 = nullptr; // goods
    QLineEdit *editSearchRents3 = nullptr; // evidence number

signals:
    // A box was clicked or a search text changed: the lists are rebuilt at once.
    void FilterChanged();
};
