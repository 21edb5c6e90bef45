#include "rentals/vypujcky.h"

#include "app/datamod_main.h"
#include "app/dialogs.h"
#include "app/globalres.h"
#include "app/language.h"
#include "data/datmod_vypujka.h"
#include "rentals/panelzakazky.h"
#include "rentals/vypujcka.h"
#include "users/login.h"

#include <QActionGroup>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDate>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QValueAxis>
#include <QVBoxLayout>

#include <cmath>

namespace {
const QString section = QStringLiteral("frmRents");

// A step of 1, 2 or 5 times a power of ten (at least 1) that splits `maximum` into about five parts.
double niceStep(double maximum)
{
    const double raw = qMax(maximum / 5.0, 1.0);
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double factor : {1.0, 2.0, 5.0})
        if (factor * power >= raw)
            return factor * power;
    return 10.0 * power;
}
} // namespace

Tfrm_vypujcky::Tfrm_vypujcky(TDataModule_main &main, QWidget *parent)
    : QWidget(parent), Lists(new TRentLists(main))
{
    setObjectName(QStringLiteral("frm_vypujcky"));
    setWindowTitle(QStringLiteral("Zakázky"));
    m_lists[0] = {nullptr, Lists->IBQVypujckyP, &SortLend, TRentState::Out};
    m_lists[1] = {nullptr, Lists->IBQVypujckyV, &SortReturn, TRentState::Returned};

    // --- menus
    mnuRentsNew = action(QStringLiteral("Nová zakázka"), &Tfrm_vypujcky::mnuRentsNewClick);
    mnuRentsNew->setShortcut(Qt::Key_Insert);
    mnuRentsEdit = action(QStringLiteral("Upravit zakázku"), &Tfrm_vypujcky::mnuRentsEditClick);
    mnuRentsShow = action(QStringLiteral("Zobrazit zakázku"), &Tfrm_vypujcky::mnuRentsShowClick);
    mnuRentsDel = action(QStringLiteral("Smazat zakázku"), &Tfrm_vypujcky::mnuRentsDelClick);
    mnuRentsDel->setShortcut(Qt::Key_Delete);
    mnuRentsFaktur = action(QStringLiteral("Vystavit fakturu"), &Tfrm_vypujcky::mnuRentsFakturClick);
    mnuRentsTisk = action(QStringLiteral("Tisk smlouvy"), &Tfrm_vypujcky::mnuRentsTiskClick);
    mnuZalozka1 = action(QStringLiteral("Půjčené"), &Tfrm_vypujcky::mnuZalozka1Click);
    mnuZalozka2 = action(QStringLiteral("Vrácené"), &Tfrm_vypujcky::mnuZalozka2Click);
    mnuZalozka3 = action(QStringLiteral("Přehled"), &Tfrm_vypujcky::mnuZalozka3Click);
    m_tabs = new QActionGroup(this);
    for (QAction *item : {mnuZalozka1, mnuZalozka2, mnuZalozka3}) {
        item->setCheckable(true);
        m_tabs->addAction(item);
    }
    mnuZalozka1->setChecked(true);

    mnuRents = new QMenuBar(this);
    mnuMain = mnuRents->addMenu(QStringLiteral("Zakázky"));
    mnuBookmark = new QMenu(QStringLiteral("Záložky"), this);
    mnuBookmark->addActions({mnuZalozka1, mnuZalozka2, mnuZalozka3});
    PopupMenuRents = new QMenu(this);
    for (QMenu *menu : {mnuMain, PopupMenuRents}) {
        menu->addActions({mnuRentsNew, mnuRentsEdit, mnuRentsShow, mnuRentsDel});
        menu->addSeparator();
        menu->addActions({mnuRentsFaktur, mnuRentsTisk});
        menu->addSeparator();
        menu->addMenu(mnuBookmark);
    }
    // The shortcuts work wherever the focus is inside the window.
    addActions({mnuRentsNew, mnuRentsEdit, mnuRentsShow, mnuRentsDel, mnuRentsFaktur, mnuRentsTisk});

    // --- tabs with the two lists
    PageControl = new QTabWidget(this);
    TabSheet1 = new QWidget(PageControl);
    TabSheet2 = new QWidget(PageControl);
    TabSheet3 = new QWidget(PageControl);
    PageControl->addTab(TabSheet1, mnuZalozka1->text());
    PageControl->addTab(TabSheet2, mnuZalozka2->text());
    PageControl->addTab(TabSheet3, mnuZalozka3->text());
    connect(PageControl, &QTabWidget::currentChanged, this, [this](int index) {
        if (QAction *item = m_tabs->actions().value(index))
            item->setChecked(true);
    });

    gridRentsLend = makeGrid(m_lists[0]);
    gridRentsLend->setObjectName(QStringLiteral("gridRentsLend"));
    gridRentsReturn = makeGrid(m_lists[1]);
    gridRentsReturn->setObjectName(QStringLiteral("gridRentsReturn"));
    for (auto [page, grid] : {std::pair{TabSheet1, gridRentsLend}, std::pair{TabSheet2, gridRentsReturn}}) {
        auto *layout = new QVBoxLayout(page);
        layout->setContentsMargins(2, 2, 2, 2);
        layout->addWidget(grid);
    }

    // --- overview
    lblRok = new QLabel(QStringLiteral("Rok:"), TabSheet3);
    comboRok = new QComboBox(TabSheet3);
    comboRok->setObjectName(QStringLiteral("comboRok"));
    comboRok->setMinimumContentsLength(6);
    lblRok->setBuddy(comboRok);
    comboTypGrafu = new QComboBox(TabSheet3);
    comboTypGrafu->setObjectName(QStringLiteral("comboTypGrafu"));
    comboTypGrafu->addItems({QStringLiteral("Celková cena"), QStringLiteral("Počet vypůjček")});
    connect(comboRok, &QComboBox::currentIndexChanged, this, &Tfrm_vypujcky::comboRokChange);
    connect(comboTypGrafu, &QComboBox::currentIndexChanged, this, &Tfrm_vypujcky::comboTypGrafuChange);

    StringGrid = new QTableWidget(13, 3, TabSheet3);
    StringGrid->setObjectName(QStringLiteral("StringGrid"));
    StringGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid->setSelectionMode(QAbstractItemView::NoSelection);
    StringGrid->verticalHeader()->hide();
    StringGrid->verticalHeader()->setDefaultSectionSize(StringGrid->fontMetrics().height() + 6);
    StringGrid->setColumnWidth(0, 120);
    StringGrid->setColumnWidth(1, 100);
    StringGrid->setColumnWidth(2, 100);
    for (int row = 0; row < 13; ++row)
        for (int column = 0; column < 3; ++column) {
            auto *cell = new QTableWidgetItem;
            if (column > 0)
                cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (row == 12) {
                QFont bold = cell->font();
                bold.setBold(true);
                cell->setFont(bold);
            }
            StringGrid->setItem(row, column, cell);
        }
    StringGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid->setFixedSize(120 + 100 + 100 + 2 * StringGrid->frameWidth(),
                             StringGrid->horizontalHeader()->sizeHint().height()
                                 + 13 * StringGrid->verticalHeader()->defaultSectionSize()
                                 + 2 * StringGrid->frameWidth());

    auto *chart = new QChart;
    chart->legend()->hide();
    chart->setMargins(QMargins(4, 4, 4, 4));
    chart->setBackgroundRoundness(0);
    Chart = new QChartView(chart, TabSheet3);
    Chart->setObjectName(QStringLiteral("Chart"));
    Chart->setRenderHint(QPainter::Antialiasing);
    Chart->installEventFilter(this);

    auto *choice = new QHBoxLayout;
    choice->addWidget(lblRok);
    choice->addWidget(comboRok);
    choice->addSpacing(12);
    choice->addWidget(comboTypGrafu);
    choice->addStretch();
    auto *left = new QVBoxLayout;
    left->addLayout(choice);
    left->addWidget(StringGrid);
    left->addStretch();
    auto *overview = new QHBoxLayout(TabSheet3);
    overview->setContentsMargins(4, 4, 4, 4);
    overview->addLayout(left);
    overview->addWidget(Chart, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setMenuBar(mnuRents);
    layout->addWidget(PageControl);

    // Texts until the language file is loaded.
    for (int i = 0; i < 12; ++i)
        m_months[i] = QString::number(i + 1);
    for (int i = 0; i < ColumnCount; ++i)
        m_titleTemplates.insert(RentsColumnFields.at(i), RentsColumnKeys.at(i));
    updateTitles();
    STR_DEL_VYP1 = QStringLiteral("Opravdu chcete smazat vybranou zakázku?");
    STR_DEL_VYP2 = QStringLiteral("Smazat zakázku");

    ZobrazVybraneSloupce();
    SetConnectedState(Settings.Database.Connected);
    resize(760, 480);
}

QAction *Tfrm_vypujcky::action(const QString &text, void (Tfrm_vypujcky::*handler)())
{
    auto *item = new QAction(text, this);
    item->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(item, &QAction::triggered, this, handler);
    return item;
}

QTableView *Tfrm_vypujcky::makeGrid(TList &list)
{
    auto *grid = new QTableView(this);
    list.grid = grid;
    grid->setModel(list.model);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setWordWrap(false);
    grid->setAlternatingRowColors(true);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    QHeaderView *header = grid->horizontalHeader();
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(true);
    header->setHighlightSections(false);
    header->setMinimumSectionSize(16);
    // A title wider than its column shows its beginning.
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    connect(header, &QHeaderView::sectionClicked, this, [this, &list](int logical) {
        const int column = RentsColumnFields.indexOf(list.model->record().fieldName(logical));
        if (column >= 0)
            titleClick(list, column);
    });
    connect(header, &QHeaderView::sectionResized, this,
            [this, &list](int logical, int, int newSize) { columnResized(list, logical, newSize); });
    connect(list.model, &QAbstractItemModel::modelAboutToBeReset, this, [this, &list] { rememberCurrent(list); });
    connect(list.model, &QAbstractItemModel::modelReset, this, [this, &list] {
        applyColumns(list);
        restoreCurrent(list);
    });

    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid, &QWidget::customContextMenuRequested, this, [this, grid](const QPoint &pos) {
        if (!mnuMain->isEnabled())
            return;
        const QModelIndex under = grid->indexAt(pos);
        if (under.isValid())
            grid->selectionModel()->setCurrentIndex(
                under, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        PopupMenuRents->popup(grid->viewport()->mapToGlobal(pos));
    });
    return grid;
}

void Tfrm_vypujcky::SetFilterPanel(Tpanel_zakazky *panel)
{
    if (m_panel)
        m_panel->disconnect(this);
    m_panel = panel;
    if (panel)
        connect(panel, &Tpanel_zakazky::FilterChanged, this, [this] { ViewRents(0); });
}

// --- lists

void Tfrm_vypujcky::ViewRents(int mode)
{
    if (!Settings.Database.Connected || !Lists)
        return;
    const TRentFilter filter = m_panel ? m_panel->Filter() : TRentFilter();
    for (int i = 0; i < 2; ++i) {
        if (mode != 0 && mode != i + 1)
            continue;
        TList &list = m_lists[i];
        if (RentSortExpression(list.sort->Field).isEmpty())
            *list.sort = TRentSort();
        list.model->Open(RentListSql(filter, list.state, *list.sort));
    }
}

void Tfrm_vypujcky::titleClick(TList &list, int column)
{
    const QString &field = RentsColumnFields.at(column);
    if (list.sort->Field == field) {
        list.sort->Desc = !list.sort->Desc;
    } else {
        list.sort->Field = field;
        list.sort->Desc = false;
    }
    ViewRents(&list == &m_lists[0] ? 1 : 2);
    // Closed while disconnected: the arrow still shows what the next opening sorts by.
    applyColumns(list);
}

void Tfrm_vypujcky::gridRentsLendTitleClick(int column)
{
    titleClick(m_lists[0], column);
}

void Tfrm_vypujcky::gridRentsReturnTitleClick(int column)
{
    titleClick(m_lists[1], column);
}

void Tfrm_vypujcky::rememberCurrent(TList &list)
{
    list.keptId = currentValue(list, QStringLiteral("ID")).toInt();
}

void Tfrm_vypujcky::restoreCurrent(const TList &list)
{
    TRentListModel *model = list.model;
    if (model->rowCount() == 0)
        return;
    // The rental that was current, when it is among the rows fetched so far; else the first.
    int row = 0;
    const int idColumn = model->FieldColumn(QStringLiteral("ID"));
    if (list.keptId > 0)
        for (int r = 0; r < model->rowCount(); ++r)
            if (model->index(r, idColumn).data().toInt() == list.keptId) {
                row = r;
                break;
            }
    int column = model->FieldColumn(RentsColumnFields.first());
    for (int i = 0; i < ColumnCount; ++i)
        if (m_visible[i]) {
            column = model->FieldColumn(RentsColumnFields.at(i));
            break;
        }
    list.grid->selectionModel()->setCurrentIndex(model->index(row, column),
                                                 QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

int Tfrm_vypujcky::currentRow(const TList &list) const
{
    if (list.model->rowCount() == 0)
        return -1;
    const QModelIndex current = list.grid->currentIndex();
    return current.isValid() ? current.row() : 0;
}

QVariant Tfrm_vypujcky::currentValue(const TList &list, const QString &field) const
{
    return list.model->Value(currentRow(list), field);
}

int Tfrm_vypujcky::activeList() const
{
    const int tab = PageControl->currentIndex();
    return tab == 0 || tab == 1 ? tab : -1;
}

// --- columns

void Tfrm_vypujcky::ZobrazVybraneSloupce()
{
    for (int i = 0; i < ColumnCount; ++i) {
        m_visible[i] = Settings.RentsColumns.IsVisible(i);
        bool ok = false;
        const int width = Settings.RentsColumns.Width[i].trimmed().toInt(&ok);
        m_widths[i] = ok && width > 0 ? width : 100;
    }
    for (const TList &list : m_lists)
        applyColumns(list);
}

void Tfrm_vypujcky::applyColumns(const TList &list)
{
    const QSqlRecord record = list.model->record();
    if (record.isEmpty())
        return;
    const QScopedValueRollback<bool> applying(m_applying, true);
    QHeaderView *header = list.grid->horizontalHeader();
    QList<bool> shown(record.count(), false);
    for (int i = 0; i < ColumnCount; ++i) {
        const int logical = record.indexOf(RentsColumnFields.at(i));
        if (logical < 0)
            continue;
        header->moveSection(header->visualIndex(logical), i);
        header->resizeSection(logical, m_widths[i]);
        shown[logical] = m_visible[i];
    }
    for (int logical = 0; logical < record.count(); ++logical)
        header->setSectionHidden(logical, !shown[logical]);
    const int sorted = record.indexOf(list.sort->Field);
    header->setSortIndicator(sorted, list.sort->Desc ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void Tfrm_vypujcky::columnResized(const TList &list, int logical, int newSize)
{
    if (m_applying || newSize <= 0)
        return;
    const QString field = list.model->record().fieldName(logical);
    const int column = RentsColumnFields.indexOf(field);
    if (column < 0)
        return;
    m_widths[column] = newSize;
    const TList &other = &list == &m_lists[0] ? m_lists[1] : m_lists[0];
    const int otherLogical = other.model->FieldColumn(field);
    if (otherLogical >= 0) {
        const QScopedValueRollback<bool> applying(m_applying, true);
        other.grid->horizontalHeader()->resizeSection(otherLogical, newSize);
    }
}

void Tfrm_vypujcky::UlozSloupce()
{
    const TList &source = m_lists[1];
    for (int i = 0; i < ColumnCount; ++i) {
        const int logical = source.model->FieldColumn(RentsColumnFields.at(i));
        int width = m_widths[i];
        if (logical >= 0 && m_visible[i] && source.grid->horizontalHeader()->sectionSize(logical) > 0)
            width = source.grid->horizontalHeader()->sectionSize(logical);
        Settings.RentsColumns.View[i] = m_visible[i] ? QStringLiteral("True") : QStringLiteral("False");
        Settings.RentsColumns.Width[i] = QString::number(width);
    }
}

// --- state and texts

void Tfrm_vypujcky::SetConnectedState(bool connected)
{
    mnuMain->setEnabled(connected);
    for (QAction *item : {mnuRentsNew, mnuRentsEdit, mnuRentsShow, mnuRentsDel})
        item->setEnabled(connected);
    mnuRentsFaktur->setEnabled(connected && bool(IssueInvoice));
    mnuRentsTisk->setEnabled(connected && bool(PrintContract));
    if (!connected)
        Zobraz();
}

void Tfrm_vypujcky::updateTitles()
{
    QHash<QString, QString> titles = m_titleTemplates;
    for (const char *field : {"CENA_CELK", "ZALOHA_CELK"}) {
        QString &title = titles[QLatin1String(field)];
        title.replace(QStringLiteral("%s"), Settings.Currency);
    }
    for (TList &list : m_lists)
        list.model->SetTitles(titles);
}

void Tfrm_vypujcky::Jazyk(const QString &languageFile)
{
    const TLanguageFile file(languageFile);
    const auto text = [&](const char *key) { return file.Text(section, QLatin1String(key)); };
    setWindowTitle(text("Caption"));
    mnuMain->setTitle(text("mnuMain"));
    mnuRentsNew->setText(text("mnuAdd"));
    mnuRentsEdit->setText(text("mnuEdit"));
    mnuRentsShow->setText(text("mnuShow"));
    mnuRentsDel->setText(text("mnuDel"));
    mnuRentsFaktur->setText(text("mnuVystavFakt"));
    mnuRentsTisk->setText(text("mnuTisk"));
    mnuBookmark->setTitle(text("mnuBookmark"));
    QAction *const tabs[] = {mnuZalozka1, mnuZalozka2, mnuZalozka3};
    for (int i = 0; i < 3; ++i) {
        tabs[i]->setText(file.Text(section, QStringLiteral("mnuBookmark%1").arg(i + 1)));
        PageControl->setTabText(i, tabs[i]->text());
    }
    lblRok->setText(text("Rok"));
    m_mesic = text("Mesic");
    m_celkCena = text("CelkCena");
    m_pocetVypujcek = text("PocetVypujcek");
    StringGrid->setHorizontalHeaderLabels({m_mesic, m_celkCena, m_pocetVypujcek});
    {
        const QSignalBlocker blocker(comboTypGrafu);
        comboTypGrafu->clear();
        comboTypGrafu->addItems({text("Graf1"), text("Graf2")});
        comboTypGrafu->setCurrentIndex(0);
    }
    STR_DEL_VYP1 = text("STR_DEL_VYP1");
    STR_DEL_VYP2 = text("STR_DEL_VYP2");
    STR_FAKTUREXIST = text("STR_FAKTUREXIST");
    STR_NOSELECT_RENT = text("STR_NOSELECT_RENT");

    for (int i = 0; i < ColumnCount; ++i)
        m_titleTemplates.insert(RentsColumnFields.at(i), file.Text(QStringLiteral("RentsColumn"), RentsColumnKeys.at(i)));
    updateTitles();

    for (int i = 0; i < 12; ++i)
        m_months[i] = file.Text(QStringLiteral("Month"), QString::number(i + 1), QString::number(i + 1));
    m_celkemRok = file.Text(QStringLiteral("Month"), QStringLiteral("CelkemRok"));
    m_grafYPocet = file.Text(QStringLiteral("CommonStrings"), QStringLiteral("STR_GRAF_Y_POCET"));
    Zobraz();
}

// --- commands

void Tfrm_vypujcky::openEditor(const QString &mode, int rentId)
{
    if (OpenEditor) {
        OpenEditor(mode, rentId);
        return;
    }
    if (!m_editor)
        m_editor = new Tfrm_vypujcka(this);
    // The texts follow the language chosen meanwhile.
    m_editor->Jazyk(Settings.Language);
    m_editor->Rezim = mode;
    m_editor->IdVypujcky = rentId;
    m_editor->exec();
}

void Tfrm_vypujcky::mnuRentsNewClick()
{
    if (LoginRequiredRefused())
        return;
    openEditor(QStringLiteral("VYPUJC"), 0);
    Zobraz();
}

void Tfrm_vypujcky::mnuRentsEditClick()
{
    if (LoginRequiredRefused())
        return;
    const int index = activeList();
    if (index < 0 || currentRow(m_lists[index]) < 0)
        return;
    const int id = currentValue(m_lists[index], QStringLiteral("ID")).toInt();
    openEditor(index == 0 ? QStringLiteral("EDIT_VYPUJC") : QStringLiteral("EDIT_VRAC"), id);
    Zobraz();
}

void Tfrm_vypujcky::mnuRentsShowClick()
{
    const int index = activeList();
    if (index < 0 || currentRow(m_lists[index]) < 0)
        return;
    const int id = currentValue(m_lists[index], QStringLiteral("ID")).toInt();
    openEditor(index == 0 ? QStringLiteral("SHOW_VYPUJC") : QStringLiteral("SHOW_VRAC"), id);
}

void Tfrm_vypujcky::mnuRentsDelClick()
{
    if (LoginRequiredRefused())
        return;
    const int index = activeList();
    if (index < 0 || currentRow(m_lists[index]) < 0)
        return;
    if (!Dialogs().Ask(STR_DEL_VYP1, STR_DEL_VYP2))
        return;
    const int id = currentValue(m_lists[index], QStringLiteral("ID")).toInt();
    // The data module reads the rental and undoes it in one transaction (nothing stays
    // written when it fails); the lists come back with the database event.
    try {
        DataModule_vypujcka().DeleteRent(id);
    } catch (const EDatabaseError &error) {
        Dialogs().ShowError(error.message());
        return;
    }
    if (index == 1)
        Zobraz();
}

void Tfrm_vypujcky::mnuRentsFakturClick()
{
    if (LoginRequiredRefused())
        return;
    const TList &list = m_lists[PageControl->currentIndex() == 1 ? 1 : 0];
    const int row = currentRow(list);
    if (row < 0 || list.model->Value(row, QStringLiteral("ID")).toInt() < 1) {
        Dialogs().ShowText(STR_NOSELECT_RENT);
        return;
    }
    if (!list.model->Value(row, QStringLiteral("CIS_FAKT")).toString().isEmpty()) {
        Dialogs().ShowText(STR_FAKTUREXIST);
        return;
    }
    if (IssueInvoice)
        IssueInvoice(list.model->record(row));
}

void Tfrm_vypujcky::mnuRentsTiskClick()
{
    const int index = activeList();
    const int id = index < 0 ? 0 : currentValue(m_lists[index], QStringLiteral("ID")).toInt();
    if (id <= 0) {
        Dialogs().ShowText(STR_NOSELECT_RENT);
        return;
    }
    if (PrintContract)
        PrintContract(id, currentValue(m_lists[index], QStringLiteral("EVID_CISLO")).toInt());
}

void Tfrm_vypujcky::selectTab(int index)
{
    PageControl->setCurrentIndex(index);
    m_tabs->actions().at(index)->setChecked(true);
}

void Tfrm_vypujcky::mnuZalozka1Click()
{
    selectTab(0);
}

void Tfrm_vypujcky::mnuZalozka2Click()
{
    selectTab(1);
}

void Tfrm_vypujcky::mnuZalozka3Click()
{
    selectTab(2);
}

// --- overview

void Tfrm_vypujcky::comboRokChange()
{
    Zobraz();
}

void Tfrm_vypujcky::comboTypGrafuChange()
{
    Zobraz();
}

void Tfrm_vypujcky::fillYears()
{
    const QList<int> years = OverviewYears(EarliestReturnedYear(), QDate::currentDate().year());
    QList<int> offered;
    for (int i = 0; i < comboRok->count(); ++i)
        offered << comboRok->itemData(i).toInt();
    if (offered == years)
        return;
    const int chosen = comboRok->currentIndex() >= 0 ? comboRok->currentData().toInt() : years.last();
    const QSignalBlocker blocker(comboRok);
    comboRok->clear();
    for (int year : years)
        comboRok->addItem(QString::number(year), year);
    const int index = years.indexOf(chosen);
    comboRok->setCurrentIndex(index >= 0 ? index : years.size() - 1);
}

void Tfrm_vypujcky::fitMonthLabels()
{
    const auto axes = Chart->chart()->axes(Qt::Horizontal);
    auto *months = axes.isEmpty() ? nullptr : qobject_cast<QBarCategoryAxis *>(axes.first());
    if (!months)
        return;
    // Month names that do not fit side by side are turned aslant rather than cut short.
    const QFontMetrics metrics(months->labelsFont());
    int widest = 0;
    for (const QString &name : months->categories())
        widest = qMax(widest, metrics.horizontalAdvance(name));
    const int room = (Chart->width() - 100) / 12;
    months->setLabelsAngle(widest + 8 > room ? -45 : 0);
}

bool Tfrm_vypujcky::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Chart && event->type() == QEvent::Resize)
        fitMonthLabels();
    return QWidget::eventFilter(watched, event);
}

void Tfrm_vypujcky::Zobraz()
{
    QChart *chart = Chart->chart();
    chart->removeAllSeries();
    for (QAbstractAxis *axis : chart->axes()) {
        chart->removeAxis(axis);
        delete axis;
    }
    for (int row = 0; row < 13; ++row)
        for (int column = 0; column < 3; ++column)
            StringGrid->item(row, column)->setText(QString());
    if (!Settings.Database.Connected)
        return;

    fillYears();
    const TRentOverview overview = RentOverview(comboRok->currentData().toInt());
    const bool byPrice = comboTypGrafu->currentIndex() != 1;

    auto *bars = new QBarSet(byPrice ? Settings.Currency : m_grafYPocet);
    bars->setColor(QColor(0x4a, 0x7e, 0xbb));
    double maximum = 0;
    for (int month = 0; month < 12; ++month) {
        const double value = byPrice ? overview.Sums[month] : overview.Counts[month];
        *bars << value;
        maximum = qMax(maximum, value);
    }
    auto *series = new QBarSeries;
    series->append(bars);
    chart->addSeries(series);

    auto *months = new QBarCategoryAxis;
    for (const QString &name : m_months)
        months->append(name);
    QFont small = months->labelsFont();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    months->setLabelsFont(small);
    months->setTruncateLabels(false);
    chart->addAxis(months, Qt::AlignBottom);
    series->attachAxis(months);
    fitMonthLabels();

    auto *values = new QValueAxis;
    values->setTitleText(byPrice ? Settings.Currency : m_grafYPocet);
    const double step = niceStep(maximum);
    // Some room above the highest bar.
    values->setRange(0, qMax(step, std::ceil(maximum * 1.1 / step) * step));
    values->setTickType(QValueAxis::TicksDynamic);
    values->setTickAnchor(0);
    values->setTickInterval(step);
    values->setLabelFormat(QStringLiteral("%.0f"));
    chart->addAxis(values, Qt::AlignLeft);
    series->attachAxis(values);

    for (int month = 0; month < 12; ++month) {
        StringGrid->item(month, 0)->setText(m_months[month]);
        StringGrid->item(month, 1)->setText(QString::number(overview.Sums[month], 'f', 2));
        StringGrid->item(month, 2)->setText(QString::number(overview.Counts[month]));
    }
    StringGrid->item(12, 0)->setText(m_celkemRok);
    StringGrid->item(12, 1)->setText(QString::number(overview.TotalSum(), 'f', 2));
    StringGrid->item(12, 2)->setText(QString::number(overview.TotalCount()));
}
