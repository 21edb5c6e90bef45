#pragma once
// The rentals list window: rentals out now, returned rentals and the yearly overview.
#include "app/settings.h"
#include "data/rentlist.h"

#include <QHash>
#include <QPointer>
#include <QSqlRecord>
#include <QString>
#include <QWidget>

#include <array>
#include <functional>

class QAction;
class QActionGroup;
class QChart;
class QChartView;
class QComboBox;
class QLabel;
class QMenu;
class QMenuBar;
class QTabWidget;
class QTableView;
class QTableWidget;
class TDataModule_main;
class Tfrm_vypujcka;
class Tpanel_zakazky;

class Tfrm_vypujcky : public QWidget
{
    Q_OBJECT
public:
    static constexpr int ColumnCount = TParamsColumn::Count;

    // Creates the two list queries in the rentals group of `main` (they live as long as it)
    // and applies the column settings. The lists stay empty until ViewRents.
    explicit Tfrm_vypujcky(TDataModule_main &main, QWidget *parent = nullptr);

    // The filter panel whose every change rebuilds both lists.
    void SetFilterPanel(Tpanel_zakazky *panel);

    // Rebuilds and reopens the lists: 0 both, 1 the out-now list, 2 the returned list.
    void ViewRents(int mode);
    // Recomputes the overview tab for the chosen year and chart type.
    void Zobraz();
    // Applies Settings.RentsColumns (visibility and widths) to both grids.
    void ZobrazVybraneSloupce();
    // Copies the columns' current visibility and widths into Settings.RentsColumns (the
    // returned-rentals grid is the source) for SaveSettings.
    void UlozSloupce();
    // Menus and popup menu on while the database is connected.
    void SetConnectedState(bool connected);
    void Jazyk(const QString &languageFile);

    // Menu handlers (window menu and grid popup menu).
    void mnuRentsNewClick();
    void mnuRentsEditClick();
    void mnuRentsShowClick();
    void mnuRentsDelClick();
    void mnuRentsFakturClick();
    void mnuRentsTiskClick();
    void mnuZalozka1Click();
    void mnuZalozka2Click();
    void mnuZalozka3Click();
    // A click on the title of grid column `column` (0 to 32): the same field again toggles
    // the direction, another field sorts ascending; only that list is rebuilt.
    void gridRentsLendTitleClick(int column);
    void gridRentsReturnTitleClick(int column);
    void comboRokChange();
    void comboTypGrafuChange();

    // Opens the rental editor modally in a mode with a rental ID (0 for a new rental).
    // By default the program's editor, made on first use; tests replace it.
    std::function<void(const QString &mode, int rentId)> OpenEditor;
    // The invoice window for a rental without an invoice, and the contract print dialog;
    // their menu items stay disabled while these are unset.
    std::function<void(const QSqlRecord &rent)> IssueInvoice;
    std::function<void(int rentId, int evidCislo)> PrintContract;

    // The list queries (IBQVypujckyP out now, IBQVypujckyV returned) and their sorts.
    QPointer<TRentLists> Lists;
    TRentSort SortLend, SortReturn;

    // Controls.
    QMenuBar *mnuRents = nullptr;
    QMenu *mnuMain = nullptr;
    QMenu *mnuBookmark = nullptr;
    QMenu *PopupMenuRents = nullptr;
    QAction *mnuRentsNew, *mnuRentsEdit, *mnuRentsShow, *mnuRentsDel, *mnuRentsFaktur, *mnuRentsTisk;
    QAction *mnuZalozka1, *mnuZalozka2, *mnuZalozka3;
    QTabWidget *PageControl = nullptr;
    QWidget *TabSheet1 = nullptr, *TabSheet2 = nullptr, *TabSheet3 = nullptr;
    QTableView *gridRentsLend = nullptr;
    QTableView *gridRentsReturn = nullptr;
    QLabel *lblRok = nullptr;
    QComboBox *comboRok = nullptr;
    QComboBox *comboTypGrafu = nullptr;
    QChartView *Chart = nullptr;
    QTableWidget *StringGrid = nullptr;

    // Message texts read by Jazyk.
    QString STR_DEL_VYP1, STR_DEL_VYP2, STR_FAKTUREXIST, STR_NOSELECT_RENT;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // One of the two lists with its grid, query and sort.
    struct TList
    {
        QTableView *grid;
        TRentListModel *model;
        TRentSort *sort;
        TRentState state;
        int keptId = 0; // the current rental across a reload
    };

    QTableView *makeGrid(TList &list);
    void applyColumns(const TList &list);
    void columnResized(const TList &list, int logical, int newSize);
    void titleClick(TList &list, int column);
    void rememberCurrent(TList &list);
    void restoreCurrent(const TList &list);
    // The current row of a list: the selected one, else the first; -1 when empty.
    int currentRow(const TList &list) const;
    QVariant currentValue(const TList &list, const QString &field) const;
    // The list of the tab shown: 0 or 1, -1 on the overview tab.
    int activeList() const;
    void openEditor(const QString &mode, int rentId);
    void selectTab(int index);
    void fillYears();
    void fitMonthLabels();
    void updateTitles();
    QAction *action(const QString &text, void (Tfrm_vypujcky::*handler)());

    std::array<TList, 2> m_lists;
    QPointer<Tpanel_zakazky> m_panel;
    QPointer<Tfrm_vypujcka> m_editor;
    QActionGroup *m_tabs = nullptr;
    std::array<bool, ColumnCount> m_visible{};
    std::array<int, ColumnCount> m_widths{};
    bool m_applying = false;

    QHash<QString, QString> m_titleTemplates; // by field, before the currency is filled in
    QString m_months[12];
    QString m_celkemRok, m_grafYPocet;
    QString m_mesic, m_celkCena, m_pocetVypujcek;
};
