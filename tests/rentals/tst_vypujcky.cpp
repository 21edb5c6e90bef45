// The rentals list against a real database: the list statement with its filters and sorts,
// the two lists, title clicks, columns, the commands, the filter panel and the overview.
#include "fixture.h"

#include "app/datamod_main.h"
#include "app/globalres.h"
#include "app/inifile.h"
#include "data/datm_zakaznik.h"
#include "data/datmod_vypujka.h"
#include "data/rentlist.h"
#include "rentals/panelzakazky.h"
#include "rentals/vypujcky.h"

#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QValueAxis>
#include <QtTest>

#include <memory>

namespace {
enum Customer { Zlutoucky = 1, ONeill = 2, Mala = 3 };
enum Goods { Kolo = 1, Helma = 2, Stan = 3, Varic = 4 };

void exec(const QString &sql, std::initializer_list<QVariant> values = {})
{
    QSqlQuery query = PrepareQuery(sql);
    ExecQuery(query, values);
}

const QVariant nullText = QVariant(QMetaType::fromType<int>());

struct TRent
{
    int id, evid, stav, idZak;
    QVariant zakJmeno, zakFirma, zasJmeno;
    int slot1, slot3;
    QDateTime end;
    double price;
};

void addRent(const TRent &r)
{
    exec(QStringLiteral("INSERT INTO RENT (ID, EVID_CISLO, STAV_PUJC, PUJC_OD, PUJC_DO, CENA_CELK, ID_ZAK, ZAK_JMENO, "
                        "ZAK_FIRMA, ZAS_JMENO, ID_ZBOZI1, ID_ZBOZI3, USER_PUJC, USER_EDIT, CIS_FAKT) "
                        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 1, 1, '')"),
         {r.id, r.evid, r.stav, r.end.addDays(-2), r.end, r.price, r.idZak, r.zakJmeno, r.zakFirma, r.zasJmeno,
          r.slot1, r.slot3});
}

// Every row of a list, fetched to the end.
QList<int> evids(QSqlQueryModel *model)
{
    while (model->canFetchMore())
        model->fetchMore();
    QList<int> numbers;
    const int column = model->record().indexOf(QStringLiteral("EVID_CISLO"));
    for (int row = 0; row < model->rowCount(); ++row)
        numbers << model->index(row, column).data().toInt();
    return numbers;
}

QList<int> listOf(const QString &numbers)
{
    QList<int> list;
    for (const QString &number : numbers.split(QLatin1Char(','), Qt::SkipEmptyParts))
        list << number.toInt();
    return list;
}

const QDateTime march10(QDate(2023, 3, 10), QTime(10, 0));
} // namespace

class TestVypujcky : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnv> env;
    std::unique_ptr<TRecordingDialogs> dialogs;
    std::unique_ptr<TDataModule_main> module;
    std::unique_ptr<Tfrm_vypujcky> form;
    QList<QPair<QString, int>> opened; // editor openings: mode and rental ID

    void insertRows()
    {
        const QString customer = QStringLiteral("INSERT INTO CUSTOMERS (ID, JMENO, FIRMA, ID_TYP) VALUES (?, ?, ?, ?)");
        exec(customer, {Zlutoucky, QStringLiteral("ŽLUŤOUČKÝ KŮŇ"), QStringLiteral("Alfa"), 1});
        exec(customer, {ONeill, QStringLiteral("Petr Svoboda"), QStringLiteral("O'Neill s.r.o."), 2});
        exec(customer, {Mala, QStringLiteral("Eva Malá"), QStringLiteral(""), 3});

        const QString item = QStringLiteral("INSERT INTO GOODS (ID, ID_TYP, ID_STAV, NAZEV, KOD1) VALUES (?, 1, 1, ?, ?)");
        exec(item, {Kolo, QStringLiteral("Kolo horské"), QStringLiteral("K-1")});
        exec(item, {Helma, QStringLiteral("Helma"), QStringLiteral("H-1")});
        exec(item, {Stan, QStringLiteral("Stan"), QStringLiteral("S-1")});
        exec(item, {Varic, QStringLiteral("Vařič"), QStringLiteral("V-1")});

        // Slot rows: 10+ID for each item, 99 for an item that no longer exists.
        const QString slot = QStringLiteral("INSERT INTO RENT_GOOD (ID, ID_ZBOZI, CENA1) VALUES (?, ?, 10)");
        for (int goods : {Kolo, Helma, Stan, Varic})
            exec(slot, {10 + goods, goods});
        exec(slot, {99, 77});

        const QDateTime now(QDate(2024, 6, 1), QTime(9, 0));
        const QString none;
        const QList<TRent> rents = {
            {1, 101, 1, Zlutoucky, none, none, none, 10 + Kolo, 0, now, 100},
            {2, 102, 1, ONeill, nullText, nullText, nullText, 10 + Helma, 10 + Stan, now, 200},
            {3, 103, 1, 0, QStringLiteral("Olga Jednorázová"), none, none, 10 + Varic, 0, now, 300},
            {4, 104, 1, Mala, none, none, QStringLiteral("Karel Zástupce"), 10 + Kolo, 0, now, 400},
            {5, 105, 1, ONeill, none, none, none, 0, 10 + Helma, now, 500},    // slot 1 empty
            {6, 106, 1, Zlutoucky, none, none, none, 99, 0, now, 600},        // slot 1 item gone
            {7, 201, 0, ONeill, none, none, none, 10 + Helma, 0, march10, 1000.5},
            {8, 202, 0, 0, none, QStringLiteral("Delta"), none, 10 + Stan, 0, march10.addDays(10), 500.25},
            {9, 203, 0, Zlutoucky, none, none, none, 10 + Kolo, 0, QDateTime(QDate(2023, 11, 1), QTime(8, 0)), 300},
            {10, 204, 0, Mala, none, none, none, 10 + Kolo, 0, QDateTime(QDate(2021, 6, 1), QTime(8, 0)), 50},
            {11, 205, 0, Mala, none, none, none, 0, 10 + Kolo, march10, 70}, // slot 1 empty
        };
        for (const TRent &rent : rents)
            addRent(rent);
    }

    void writeLanguageFile()
    {
        QDir().mkpath(env->home() + QStringLiteral("lng"));
        TIniFile ini(env->home() + QStringLiteral("lng/test.ini"));
        ini.WriteString(QStringLiteral("RentsColumn"), QStringLiteral("Cislo"), QStringLiteral("Číslo"));
        ini.WriteString(QStringLiteral("RentsColumn"), QStringLiteral("CelkCena"), QStringLiteral("Cena celkem (%s)"));
        ini.WriteString(QStringLiteral("RentsColumn"), QStringLiteral("CelkZaloha"), QStringLiteral("Záloha [%s]"));
        ini.WriteString(QStringLiteral("frmRents"), QStringLiteral("STR_NOSELECT_RENT"), QStringLiteral("nothing selected"));
        ini.WriteString(QStringLiteral("frmRents"), QStringLiteral("STR_FAKTUREXIST"), QStringLiteral("has an invoice"));
        ini.WriteString(QStringLiteral("frmRents"), QStringLiteral("STR_DEL_VYP1"), QStringLiteral("delete?"));
        ini.WriteString(QStringLiteral("frmRents"), QStringLiteral("mnuBookmark2"), QStringLiteral("Returned"));
        ini.WriteString(QStringLiteral("Month"), QStringLiteral("3"), QStringLiteral("March"));
        ini.WriteString(QStringLiteral("Month"), QStringLiteral("CelkemRok"), QStringLiteral("Year"));
        ini.WriteString(QStringLiteral("panRents"), QStringLiteral("Find1"), QStringLiteral("Borrower:"));
        ini.UpdateFile();
    }

    TRentListModel *lend() const { return form->Lists->IBQVypujckyP; }
    TRentListModel *returned() const { return form->Lists->IBQVypujckyV; }

    // The list statement executed on its own.
    QList<int> run(const TSqlText &statement)
    {
        QSqlQuery query = PrepareQuery(statement.Sql);
        for (int i = 0; i < statement.Values.size(); ++i)
            query.bindValue(i, statement.Values.at(i));
        if (!query.exec())
            throw EDatabaseError(DatabaseErrorText(query.lastError()));
        QList<int> numbers;
        const int column = query.record().indexOf(QStringLiteral("EVID_CISLO"));
        while (query.next())
            numbers << query.value(column).toInt();
        return numbers;
    }

    int logical(QTableView *grid, int column) const
    {
        return static_cast<TRentListModel *>(grid->model())->FieldColumn(RentsColumnFields.at(column));
    }

private slots:
    void initTestCase()
    {
        env = std::make_unique<TestEnv>();
        dialogs = std::make_unique<TRecordingDialogs>();
        module = std::make_unique<TDataModule_main>();
        SetDataModule_main(module.get());
        QVERIFY(module->ConnectDatabase(Settings.Database.Path));
        Settings.Database.Connected = true;
        // Both live as long as the connection module that reloads them.
        SetDataModule_vypujcka(new TDataModule_vypujcka(*module, module.get()));
        module->RefreshData();
        insertRows();
        module->RefreshData();
        writeLanguageFile();
    }

    void cleanupTestCase()
    {
        form.reset();
        module.reset();
        dialogs.reset();
        env.reset();
    }

    void init()
    {
        Settings.Users.RequireLogin = false;
        Settings.User = TUser();
        Settings.RentsColumns = TParamsColumn();
        form = std::make_unique<Tfrm_vypujcky>(*module);
        opened.clear();
        form->OpenEditor = [this](const QString &mode, int id) { opened.append({mode, id}); };
        dialogs->texts.clear();
        dialogs->questions.clear();
        dialogs->answers.clear();
    }

    void cleanup()
    {
        form.reset();
    }

    // --- the list statement

    void listStatement_data()
    {
        QTest::addColumn<QString>("hiddenTypes");
        QTest::addColumn<QString>("borrower");
        QTest::addColumn<QString>("goods");
        QTest::addColumn<QString>("evid");
        QTest::addColumn<bool>("returnedList");
        QTest::addColumn<QString>("expected");

        QTest::newRow("everything with goods in slot 1") << "" << "" << "" << "" << false << "101,102,103,104";
        QTest::newRow("returned") << "" << "" << "" << "" << true << "201,202,203,204";
        QTest::newRow("type 2 hidden, typed-in customer kept") << "2" << "" << "" << "" << false << "101,103,104";
        QTest::newRow("type 2 hidden, typed-in company kept") << "2" << "" << "" << "" << true << "202,203,204";
        QTest::newRow("all types hidden") << "123456" << "" << "" << "" << false << "103";
        QTest::newRow("borrower, Czech lower case") << "" << "žluťoučký" << "" << "" << false << "101";
        QTest::newRow("borrower, Czech lower case, returned") << "" << "kůň" << "" << "" << true << "203";
        QTest::newRow("borrower, company") << "" << "ALFA" << "" << "" << false << "101";
        QTest::newRow("borrower, typed-in name") << "" << "olga" << "" << "" << false << "103";
        QTest::newRow("borrower, typed-in company") << "" << "delt" << "" << "" << true << "202";
        QTest::newRow("borrower, representative") << "" << "zÁstupce" << "" << "" << false << "104";
        QTest::newRow("borrower with a quote") << "" << "o'neill" << "" << "" << false << "102";
        QTest::newRow("comment dashes") << "" << "--" << "" << "" << false << "";
        QTest::newRow("semicolon") << "" << ";" << "" << "" << false << "";
        QTest::newRow("statement in the text") << "" << "x'; DELETE FROM RENT; --" << "" << "" << false << "";
        QTest::newRow("percent sign is literal") << "" << "%" << "" << "" << false << "";
        QTest::newRow("underscore is literal") << "" << "_" << "" << "" << false << "";
        QTest::newRow("text the database cannot hold") << "" << "漢字" << "" << "" << false << "";
        QTest::newRow("long text") << "" << QString(64, QLatin1Char('a')) << "" << "" << false << "";
        QTest::newRow("goods in slot 3") << "" << "" << "stan" << "" << false << "102";
        QTest::newRow("goods, Czech letters") << "" << "" << "VAŘIČ" << "" << false << "103";
        QTest::newRow("goods in two rentals") << "" << "" << "kolo" << "" << false << "101,104";
        QTest::newRow("goods and type") << "1" << "" << "kolo" << "" << false << "104";
        QTest::newRow("evidence number") << "" << "" << "" << "102" << false << "102";
        QTest::newRow("evidence number with spaces") << "" << "" << "" << " 104 " << false << "104";
        QTest::newRow("evidence number of the other list") << "" << "" << "" << "201" << false << "";
        QTest::newRow("evidence text not a number") << "" << "" << "" << "abc" << false << "101,102,103,104";
        QTest::newRow("evidence text half a number") << "" << "" << "" << "12x" << true << "201,202,203,204";
    }

    void listStatement()
    {
        QFETCH(QString, hiddenTypes);
        QFETCH(QString, borrower);
        QFETCH(QString, goods);
        QFETCH(QString, evid);
        QFETCH(bool, returnedList);
        QFETCH(QString, expected);

        TRentFilter filter;
        for (QChar type : hiddenTypes)
            filter.CustomerTypes[type.digitValue() - 1] = false;
        filter.Borrower = borrower;
        filter.Goods = goods;
        filter.EvidCislo = evid;
        const TSqlText statement =
            RentListSql(filter, returnedList ? TRentState::Returned : TRentState::Out, TRentSort());
        for (const QString &text : {borrower, goods, evid})
            if (text.trimmed().size() > 2)
                QVERIFY2(!statement.Sql.contains(text.trimmed(), Qt::CaseInsensitive), "user text in the SQL");
        QCOMPARE(run(statement), listOf(expected));
        // Nothing was executed from the search text.
        QCOMPARE(run(RentListSql({}, TRentState::Out, {})), listOf(QStringLiteral("101,102,103,104")));
    }

    void everyColumnSortsBothWays()
    {
        for (const QString &field : RentsColumnFields) {
            QVERIFY2(!RentSortExpression(field).isEmpty(), qPrintable(field));
            for (bool desc : {false, true}) {
                const QList<int> rows = run(RentListSql({}, TRentState::Out, {field, desc}));
                QCOMPARE(rows.size(), 4);
            }
        }
        const QList<int> byGoods = run(RentListSql({}, TRentState::Out, {QStringLiteral("Z1_NAZEV"), true}));
        QCOMPARE(byGoods.first(), 103); // Vařič, Kolo, Kolo, Helma
        QCOMPARE(byGoods.last(), 102);
        // A field that is not on the list sorts by evidence number; its text never reaches SQL.
        const QString odd = QStringLiteral("ID; DELETE FROM RENT");
        const TSqlText statement = RentListSql({}, TRentState::Out, {odd, true});
        QVERIFY(!statement.Sql.contains(odd));
        QCOMPARE(run(statement), listOf(QStringLiteral("104,103,102,101")));
    }

    // --- the window's lists

    void listsSkipRentalsWithoutGoodsInSlot1()
    {
        form->ViewRents(0);
        QCOMPARE(evids(lend()), listOf(QStringLiteral("101,102,103,104")));
        QCOMPARE(evids(returned()), listOf(QStringLiteral("201,202,203,204")));
        // Rows are selected whole; the first is current.
        QCOMPARE(form->gridRentsLend->selectionBehavior(), QAbstractItemView::SelectRows);
        QCOMPARE(form->gridRentsLend->currentIndex().row(), 0);
    }

    void viewRentsModes()
    {
        form->ViewRents(2);
        QVERIFY(!lend()->HasStatement());
        QCOMPARE(evids(returned()).size(), 4);
        form->ViewRents(1);
        QCOMPARE(evids(lend()).size(), 4);
    }

    void reloadKeepsFilterAndCurrentRental()
    {
        Tpanel_zakazky panel;
        form->SetFilterPanel(&panel);
        panel.editSearchRents2->setText(QStringLiteral("kolo"));
        QCOMPARE(evids(lend()), listOf(QStringLiteral("101,104")));
        form->gridRentsLend->selectRow(1);
        addRent({20, 107, 1, Mala, QString(), QString(), QString(), 10 + Kolo, 0, march10, 10});
        module->RefreshData();
        QCOMPARE(evids(lend()), listOf(QStringLiteral("101,104,107")));
        QCOMPARE(form->gridRentsLend->currentIndex().row(), 1);
        exec(QStringLiteral("DELETE FROM RENT WHERE ID=20"));
        module->RefreshData();
    }

    void titleClicksSort()
    {
        form->show();
        form->ViewRents(0);
        QHeaderView *header = form->gridRentsLend->horizontalHeader();
        const int jmenoDb = 8;   // ZAK_JMENO
        const int zbozi1 = 16;   // Z1_NAZEV

        form->gridRentsLendTitleClick(jmenoDb);
        QCOMPARE(form->SortLend.Field, QStringLiteral("ZAK_JMENO"));
        QVERIFY(!form->SortLend.Desc);
        QCOMPARE(evids(lend()).last(), 103); // the only name; empty texts come first
        QCOMPARE(header->sortIndicatorSection(), logical(form->gridRentsLend, jmenoDb));
        QCOMPARE(header->sortIndicatorOrder(), Qt::AscendingOrder);

        form->gridRentsLendTitleClick(jmenoDb);
        QVERIFY(form->SortLend.Desc);
        QCOMPARE(evids(lend()).first(), 103);
        QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);

        form->gridRentsLendTitleClick(zbozi1);
        QCOMPARE(form->SortLend.Field, QStringLiteral("Z1_NAZEV"));
        QVERIFY(!form->SortLend.Desc);
        QCOMPARE(evids(lend()).first(), 102); // Helma, Kolo, Kolo, Vařič
        QCOMPARE(evids(lend()).last(), 103);
        QCOMPARE(header->sortIndicatorSection(), logical(form->gridRentsLend, zbozi1));
        QCOMPARE(header->sortIndicatorOrder(), Qt::AscendingOrder);

        // The other list keeps its own sort.
        QCOMPARE(form->SortReturn.Field, QStringLiteral("EVID_CISLO"));
        QCOMPARE(evids(returned()), listOf(QStringLiteral("201,202,203,204")));

        // A real click on a title of the returned list, twice.
        form->mnuZalozka2Click();
        QHeaderView *other = form->gridRentsReturn->horizontalHeader();
        const auto clickTitle = [other](int section) {
            QTest::mouseClick(other->viewport(), Qt::LeftButton, {},
                              QPoint(other->sectionViewportPosition(section) + 5, other->height() / 2));
        };
        const int cislo = logical(form->gridRentsReturn, 0);
        clickTitle(cislo);
        QVERIFY(form->SortReturn.Desc);
        QCOMPARE(evids(returned()), listOf(QStringLiteral("204,203,202,201")));
        QCOMPARE(other->sortIndicatorSection(), cislo);
        QCOMPARE(other->sortIndicatorOrder(), Qt::DescendingOrder);
        clickTitle(cislo);
        QVERIFY(!form->SortReturn.Desc);
        QCOMPARE(other->sortIndicatorOrder(), Qt::AscendingOrder);
    }

    void columnsFromSettingsAndBack()
    {
        Settings.RentsColumns.View[1] = QStringLiteral("False");
        Settings.RentsColumns.View[20] = QStringLiteral("no"); // anything but "False" shows
        Settings.RentsColumns.Width[0] = QStringLiteral("55");
        Settings.RentsColumns.Width[2] = QString();
        form->ZobrazVybraneSloupce();
        form->show();
        form->ViewRents(0);
        for (QTableView *grid : {form->gridRentsLend, form->gridRentsReturn}) {
            QHeaderView *header = grid->horizontalHeader();
            QVERIFY(header->isSectionHidden(logical(grid, 1)));
            QVERIFY(!header->isSectionHidden(logical(grid, 20)));
            QCOMPARE(header->sectionSize(logical(grid, 0)), 55);
            QCOMPARE(header->sectionSize(logical(grid, 2)), 100);
            // The 33 columns in their order; every other field of the row is hidden.
            for (int column = 0; column < Tfrm_vypujcky::ColumnCount; ++column)
                QCOMPARE(header->visualIndex(logical(grid, column)), column);
            QCOMPARE(header->count() - header->hiddenSectionCount(), Tfrm_vypujcky::ColumnCount - 1);
        }

        // Resizing in one grid resizes the other, and survives a reload.
        form->gridRentsLend->horizontalHeader()->resizeSection(logical(form->gridRentsLend, 3), 140);
        QCOMPARE(form->gridRentsReturn->horizontalHeader()->sectionSize(logical(form->gridRentsReturn, 3)), 140);
        form->gridRentsReturn->horizontalHeader()->resizeSection(logical(form->gridRentsReturn, 0), 77);
        QCOMPARE(form->gridRentsLend->horizontalHeader()->sectionSize(logical(form->gridRentsLend, 0)), 77);
        module->RefreshData();
        QCOMPARE(form->gridRentsLend->horizontalHeader()->sectionSize(logical(form->gridRentsLend, 3)), 140);

        Settings.RentsColumns = TParamsColumn();
        Settings.RentsColumns.View[1] = QStringLiteral("False");
        form->UlozSloupce();
        QCOMPARE(Settings.RentsColumns.Width[0], QStringLiteral("77"));
        QCOMPARE(Settings.RentsColumns.Width[3], QStringLiteral("140"));
        QCOMPARE(Settings.RentsColumns.Width[1], QStringLiteral("100"));
        QCOMPARE(Settings.RentsColumns.View[1], QStringLiteral("False"));
        QCOMPARE(Settings.RentsColumns.View[20], QStringLiteral("True"));
    }

    void titlesFromTheLanguageFile()
    {
        Settings.Currency = QStringLiteral("EUR");
        form->Jazyk(QStringLiteral("test.ini"));
        form->ViewRents(0);
        const auto title = [this](QTableView *grid, int column) {
            return grid->model()->headerData(logical(grid, column), Qt::Horizontal).toString();
        };
        QCOMPARE(title(form->gridRentsLend, 0), QStringLiteral("Číslo"));
        QCOMPARE(title(form->gridRentsReturn, 4), QStringLiteral("Cena celkem (EUR)"));
        QCOMPARE(title(form->gridRentsLend, 5), QStringLiteral("Záloha [EUR]"));
        QCOMPARE(title(form->gridRentsLend, 6), QString()); // an absent key gives an empty text
        QCOMPARE(form->PageControl->tabText(1), QStringLiteral("Returned"));
        Settings.Currency = QStringLiteral("Kč");
    }

    void cellsAreFormatted()
    {
        form->ViewRents(0);
        const int price = returned()->FieldColumn(QStringLiteral("CENA_CELK"));
        QCOMPARE(returned()->index(0, price).data().toString(), QStringLiteral("1000.50"));
        const int until = returned()->FieldColumn(QStringLiteral("PUJC_DO"));
        QCOMPARE(returned()->index(0, until).data().toString(), QStringLiteral("10.03.2023 10:00"));
    }

    // --- commands

    void editorOpensInTheModeOfTheTab()
    {
        form->ViewRents(0);
        form->mnuRentsNewClick();
        form->gridRentsLend->selectRow(2);
        form->mnuRentsEditClick();
        form->mnuRentsShowClick();
        form->mnuZalozka2Click();
        form->gridRentsReturn->selectRow(1);
        form->mnuRentsEditClick();
        form->mnuRentsShowClick();
        form->mnuZalozka3Click();
        form->mnuRentsEditClick();
        form->mnuRentsShowClick();
        const QList<QPair<QString, int>> expected = {
            {"VYPUJC", 0}, {"EDIT_VYPUJC", 3}, {"SHOW_VYPUJC", 3}, {"EDIT_VRAC", 8}, {"SHOW_VRAC", 8}};
        QCOMPARE(opened, expected);
    }

    void nothingToEditInAnEmptyList()
    {
        Tpanel_zakazky panel;
        form->SetFilterPanel(&panel);
        panel.editSearchRents3->setText(QStringLiteral("999"));
        QCOMPARE(lend()->rowCount(), 0);
        form->mnuRentsEditClick();
        form->mnuRentsShowClick();
        form->mnuRentsDelClick();
        QVERIFY(opened.isEmpty());
        QVERIFY(dialogs->questions.isEmpty());
        form->Jazyk(QStringLiteral("test.ini"));
        form->mnuRentsTiskClick();
        form->mnuRentsFakturClick();
        QCOMPARE(dialogs->texts, QStringList({"nothing selected", "nothing selected"}));
    }

    void loginRequired()
    {
        Settings.Users.RequireLogin = true;
        LanguageString.STR_ONLYLOGIN = QStringLiteral("log in first");
        form->ViewRents(0);
        form->mnuRentsNewClick();
        form->mnuRentsEditClick();
        form->mnuRentsDelClick();
        form->mnuRentsFakturClick();
        QCOMPARE(dialogs->texts, QStringList(4, QStringLiteral("log in first")));
        QVERIFY(dialogs->questions.isEmpty());
        QVERIFY(opened.isEmpty());
        form->mnuRentsShowClick(); // viewing needs no login
        QCOMPARE(opened.size(), 1);
        Settings.User = {QStringLiteral("admin"), 1};
        form->mnuRentsNewClick();
        QCOMPARE(opened.size(), 2);
    }

    void deleteAsksFirst()
    {
        form->Jazyk(QStringLiteral("test.ini"));
        form->ViewRents(0);
        dialogs->answers = {false};
        form->mnuRentsDelClick();
        QCOMPARE(dialogs->questions, QStringList({"delete?"}));
        QCOMPARE(evids(lend()).size(), 4);
        form->mnuZalozka3Click();
        form->mnuRentsDelClick();
        QCOMPARE(dialogs->questions.size(), 1);
    }

    void deleteFromEitherList()
    {
        exec(QStringLiteral("UPDATE GOODS SET PUJCENI=1 WHERE ID IN (?, ?)"), {Kolo, Stan});
        exec(QStringLiteral("UPDATE CUSTOMERS SET AKT_PUJC=1 WHERE ID=?"), {Mala});
        exec(QStringLiteral("INSERT INTO RENT_GOOD (ID, ID_ZBOZI) VALUES (?, ?)"), {40, Kolo});
        exec(QStringLiteral("INSERT INTO RENT_GOOD (ID, ID_ZBOZI) VALUES (?, ?)"), {41, Stan});
        addRent({30, 108, 1, Mala, QString(), QString(), QString(), 40, 41, march10, 10});
        exec(QStringLiteral("INSERT INTO RENT_GOOD (ID, ID_ZBOZI) VALUES (?, ?)"), {42, Helma});
        addRent({31, 206, 0, Mala, QString(), QString(), QString(), 42, 0, march10, 1000});
        module->RefreshData();
        Tpanel_zakazky panel;
        form->SetFilterPanel(&panel);
        form->Jazyk(QStringLiteral("test.ini"));
        form->comboRok->setCurrentIndex(form->comboRok->findData(2023));
        QCOMPARE(form->StringGrid->item(2, 2)->text(), QStringLiteral("4"));

        panel.editSearchRents3->setText(QStringLiteral("108"));
        QCOMPARE(evids(lend()), QList<int>{108});
        dialogs->answers = {true, true};
        form->mnuRentsDelClick();
        QCOMPARE(dialogs->questions, QStringList({"delete?"}));
        module->RefreshData(); // the database event
        QCOMPARE(evids(lend()), QList<int>());
        const auto number = [](const QString &sql, int id) {
            QSqlQuery query = PrepareQuery(sql);
            ExecQuery(query, {id});
            return query.next() ? query.value(0).toInt() : -99;
        };
        QCOMPARE(number(QStringLiteral("SELECT PUJCENI FROM GOODS WHERE ID=?"), Kolo), 0);
        QCOMPARE(number(QStringLiteral("SELECT PUJCENI FROM GOODS WHERE ID=?"), Stan), 0);
        QCOMPARE(number(QStringLiteral("SELECT AKT_PUJC FROM CUSTOMERS WHERE ID=?"), Mala), 0);
        QCOMPARE(number(QStringLiteral("SELECT COUNT(*) FROM RENT_GOOD WHERE ID IN (40, ?)"), 41), 0);

        // From the returned list the overview follows at once.
        panel.editSearchRents3->setText(QStringLiteral("206"));
        form->mnuZalozka2Click();
        form->mnuRentsDelClick();
        QCOMPARE(form->StringGrid->item(2, 2)->text(), QStringLiteral("3"));
        module->RefreshData();
        QCOMPARE(evids(returned()), QList<int>());
        QCOMPARE(number(QStringLiteral("SELECT COUNT(*) FROM RENT WHERE ID=?"), 31), 0);
        exec(QStringLiteral("UPDATE GOODS SET PUJCENI=0 WHERE ID IN (?, ?)"), {Kolo, Stan});
        exec(QStringLiteral("UPDATE CUSTOMERS SET AKT_PUJC=-1 WHERE ID=?"), {Mala});
        module->RefreshData();
    }

    void invoiceOnlyOnce()
    {
        form->Jazyk(QStringLiteral("test.ini"));
        exec(QStringLiteral("UPDATE RENT SET CIS_FAKT='2024001' WHERE ID=1"));
        module->RefreshData();
        QSqlRecord handed;
        form->IssueInvoice = [&handed](const QSqlRecord &rent) { handed = rent; };
        form->ViewRents(0);
        form->mnuRentsFakturClick();
        QCOMPARE(dialogs->texts, QStringList({"has an invoice"}));
        QVERIFY(handed.isEmpty());
        form->gridRentsLend->selectRow(1);
        form->mnuRentsFakturClick();
        QCOMPARE(handed.value(QStringLiteral("ID")).toInt(), 2);
        QCOMPARE(handed.value(QStringLiteral("JMENO")).toString(), QStringLiteral("Petr Svoboda"));
        exec(QStringLiteral("UPDATE RENT SET CIS_FAKT='' WHERE ID=1"));
        module->RefreshData();
    }

    void menusFollowTheConnection()
    {
        form->SetConnectedState(true);
        QVERIFY(form->mnuMain->isEnabled());
        QVERIFY(form->mnuRentsNew->isEnabled());
        QVERIFY(!form->mnuRentsFaktur->isEnabled()); // its window is not there yet
        QVERIFY(!form->mnuRentsTisk->isEnabled());
        QCOMPARE(form->mnuRentsNew->shortcut(), QKeySequence(Qt::Key_Insert));
        QCOMPARE(form->mnuRentsDel->shortcut(), QKeySequence(Qt::Key_Delete));
        QVERIFY(form->PopupMenuRents->actions().contains(form->mnuRentsDel));
        form->SetConnectedState(false);
        QVERIFY(!form->mnuMain->isEnabled());
        QVERIFY(!form->mnuRentsDel->isEnabled());
    }

    void tabsAndTheirMenuItems()
    {
        QCOMPARE(form->PageControl->currentIndex(), 0);
        QVERIFY(form->mnuZalozka1->isChecked());
        form->mnuZalozka3Click();
        QCOMPARE(form->PageControl->currentIndex(), 2);
        QVERIFY(form->mnuZalozka3->isChecked());
        QVERIFY(!form->mnuZalozka1->isChecked());
        form->PageControl->setCurrentIndex(1); // by mouse
        QVERIFY(form->mnuZalozka2->isChecked());
        QVERIFY(!form->mnuZalozka3->isChecked());
    }

    // --- the filter panel

    void panelReadsItsChecksAndWritesThemBack()
    {
        {
            TIniFile ini(SettingsFilePath());
            ini.WriteString(QStringLiteral("panelRents"), QStringLiteral("checkZakTyp2"), QStringLiteral("False"));
            ini.WriteString(QStringLiteral("panelRents"), QStringLiteral("checkZakTyp3"), QStringLiteral("false"));
            ini.UpdateFile();
        }
        Tpanel_zakazky panel;
        QVERIFY(panel.checkVypZakTyp[0]->isChecked());
        QVERIFY(!panel.checkVypZakTyp[1]->isChecked());
        QVERIFY(panel.checkVypZakTyp[2]->isChecked()); // only exactly "False" unchecks
        const TRentFilter filter = panel.Filter();
        QCOMPARE(filter.CustomerTypes, (std::array<bool, 6>{true, false, true, true, true, true}));

        panel.checkVypZakTyp[1]->setChecked(true);
        panel.checkVypZakTyp[5]->setChecked(false);
        TIniFile out(env->home() + QStringLiteral("saved.ini"));
        panel.WriteChecks(out);
        QCOMPARE(out.ReadString(QStringLiteral("panelRents"), QStringLiteral("checkZakTyp2"), QString()), QStringLiteral("True"));
        QCOMPARE(out.ReadString(QStringLiteral("panelRents"), QStringLiteral("checkZakTyp6"), QString()), QStringLiteral("False"));
        QFile::remove(SettingsFilePath());
    }

    void panelTypeChecks_data()
    {
        QTest::addColumn<QStringList>("types");
        QTest::addColumn<int>("shown");
        QTest::addColumn<int>("height");
        QTest::newRow("none") << QStringList() << 0 << 200;
        QTest::newRow("one") << QStringList{"A"} << 1 << 200;
        QTest::newRow("four") << QStringList{"A", "B", "C", "D"} << 4 << 248;
        QTest::newRow("eight, six boxes") << QStringList{"A", "B", "C", "D", "E", "F", "G", "H"} << 6 << 280;
    }

    void panelTypeChecks()
    {
        QFETCH(QStringList, types);
        QFETCH(int, shown);
        QFETCH(int, height);
        Tpanel_zakazky panel;
        panel.show();
        panel.FillCustomerTypeChecks(types);
        for (int i = 0; i < Tpanel_zakazky::TypeCount; ++i) {
            QCOMPARE(panel.checkVypZakTyp[i]->isVisible(), i < shown);
            if (i < shown)
                QCOMPARE(panel.checkVypZakTyp[i]->text(), types.at(i));
        }
        QCOMPARE(panel.height(), height);
    }

    void panelTypesFromTheDatabase()
    {
        // Lives as long as the connection module that reloads it.
        SetDataModule_zakaznik(new TDataModule_zakaznik(*module, module.get()));
        Tpanel_zakazky panel;
        panel.show();
        panel.FillCustomerTypeChecks();
        QCOMPARE(panel.checkVypZakTyp[0]->text(), QStringLiteral("Běžný"));
        QCOMPARE(panel.checkVypZakTyp[2]->text(), QStringLiteral("Firma"));
        QVERIFY(!panel.checkVypZakTyp[3]->isVisible());
        QCOMPARE(panel.height(), 232);
        Settings.Database.Connected = false;
        panel.FillCustomerTypeChecks();
        Settings.Database.Connected = true;
        QVERIFY(!panel.checkVypZakTyp[0]->isVisible());
        QCOMPARE(panel.height(), 232); // the height stays while disconnected
    }

    void panelChangesRebuildTheLists()
    {
        Tpanel_zakazky panel;
        panel.Jazyk(QStringLiteral("test.ini"));
        QCOMPARE(panel.lblSearchRents1->text(), QStringLiteral("Borrower:"));
        form->SetFilterPanel(&panel);
        form->ViewRents(0);
        panel.FillCustomerTypeChecks({QStringLiteral("Běžný"), QStringLiteral("Stálý"), QStringLiteral("Firma")});
        panel.show();
        QTest::mouseClick(panel.checkVypZakTyp[1], Qt::LeftButton, {}, QPoint(6, 8));
        QCOMPARE(evids(lend()), listOf(QStringLiteral("101,103,104")));
        QCOMPARE(evids(returned()), listOf(QStringLiteral("202,203,204")));
        panel.editSearchRents1->setText(QStringLiteral("žluť"));
        QCOMPARE(evids(lend()), listOf(QStringLiteral("101")));
        QCOMPARE(evids(returned()), listOf(QStringLiteral("203")));
        panel.editSearchRents1->clear();
        QTest::keyClicks(panel.editSearchRents3, QStringLiteral("1x"));
        QCOMPARE(evids(lend()), listOf(QStringLiteral("101,103,104")));
        QVERIFY(dialogs->texts.isEmpty());
    }

    // --- overview

    void overview_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("chartType");
        QTest::addColumn<QString>("march");
        QTest::addColumn<QString>("november");
        QTest::addColumn<QString>("total");
        QTest::addColumn<QString>("totalCount");
        QTest::addColumn<double>("marchBar");

        QTest::newRow("no returned rentals") << 2022 << 0 << "0.00" << "0.00" << "0.00" << "0" << 0.0;
        // March: 1000.50 + 500.25 + 70 (a rental without goods in slot 1 still counts).
        QTest::newRow("prices") << 2023 << 0 << "1570.75" << "300.00" << "1870.75" << "4" << 1570.75;
        QTest::newRow("counts") << 2023 << 1 << "1570.75" << "300.00" << "1870.75" << "4" << 3.0;
    }

    void overview()
    {
        QFETCH(int, year);
        QFETCH(int, chartType);
        QFETCH(QString, march);
        QFETCH(QString, november);
        QFETCH(QString, total);
        QFETCH(QString, totalCount);
        QFETCH(double, marchBar);

        form->Jazyk(QStringLiteral("test.ini"));
        form->comboTypGrafu->setCurrentIndex(chartType);
        form->comboRok->setCurrentIndex(form->comboRok->findData(year));
        QTableWidget *table = form->StringGrid;
        QCOMPARE(table->rowCount(), 13);
        QCOMPARE(table->item(2, 0)->text(), QStringLiteral("March"));
        QCOMPARE(table->item(3, 0)->text(), QStringLiteral("4")); // absent month names are digits
        QCOMPARE(table->item(2, 1)->text(), march);
        QCOMPARE(table->item(10, 1)->text(), november);
        QCOMPARE(table->item(12, 0)->text(), QStringLiteral("Year"));
        QCOMPARE(table->item(12, 1)->text(), total);
        QCOMPARE(table->item(12, 2)->text(), totalCount);
        for (int month : {0, 1, 3, 4, 5, 6, 7, 8, 9, 11})
            QCOMPARE(table->item(month, 2)->text(), QStringLiteral("0"));

        const QList<QAbstractSeries *> series = form->Chart->chart()->series();
        QCOMPARE(series.size(), 1);
        QBarSet *bars = static_cast<QBarSeries *>(series.first())->barSets().first();
        QCOMPARE(bars->count(), 12);
        QCOMPARE(bars->at(2), marchBar);
        QCOMPARE(bars->at(0), 0.0);
        const auto axes = form->Chart->chart()->axes(Qt::Vertical);
        QCOMPARE(axes.size(), 1);
        QCOMPARE(axes.first()->titleText(), chartType == 0 ? Settings.Currency : QString());
    }

    void overviewYears_data()
    {
        QTest::addColumn<int>("earliest");
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("count");
        QTest::newRow("no returned rentals") << 0 << 2025 << 2025 << 1;
        QTest::newRow("from the earliest") << 2021 << 2025 << 2021 << 5;
        QTest::newRow("not before 2000") << 1995 << 2025 << 2000 << 26;
        QTest::newRow("a return dated ahead") << 2030 << 2025 << 2025 << 1;
    }

    void overviewYears()
    {
        QFETCH(int, earliest);
        QFETCH(int, current);
        QFETCH(int, first);
        QFETCH(int, count);
        const QList<int> years = OverviewYears(earliest, current);
        QCOMPARE(years.size(), count);
        QCOMPARE(years.first(), first);
        QCOMPARE(years.last(), current);
    }

    void yearListOfTheWindow()
    {
        QCOMPARE(EarliestReturnedYear(), 2021); // the out-now rentals do not count
        form->Zobraz();
        const int now = QDate::currentDate().year();
        QCOMPARE(form->comboRok->itemData(0).toInt(), 2021);
        QCOMPARE(form->comboRok->count(), now - 2021 + 1);
        QCOMPARE(form->comboRok->currentData().toInt(), now);
    }

    // --- a larger list

    void firstScreenOfALargeListIsQuick()
    {
        {
            TWorkTransaction work(*module);
            QSqlQuery slot = PrepareQuery(QStringLiteral("INSERT INTO RENT_GOOD (ID, ID_ZBOZI) VALUES (?, ?)"));
            QSqlQuery rent = PrepareQuery(QStringLiteral(
                "INSERT INTO RENT (ID, EVID_CISLO, STAV_PUJC, PUJC_OD, PUJC_DO, CENA_CELK, ID_ZAK, ZAK_JMENO, "
                "ZAK_FIRMA, ID_ZBOZI1) VALUES (?, ?, ?, ?, ?, ?, ?, '', '', ?)"));
            for (int i = 0; i < 2000; ++i) {
                ExecQuery(slot, {1000 + i, 1 + i % 4});
                ExecQuery(rent, {1000 + i, 1000 + i, i % 10 == 0 ? 1 : 0, march10, march10.addDays(i % 300),
                                 10.0 * i, 1 + i % 3, 1000 + i});
            }
            work.Commit();
        }
        module->RefreshData();
        form->SortReturn = {QStringLiteral("EVID_CISLO"), true};
        QElapsedTimer timer;
        timer.start();
        form->ViewRents(0);
        for (int row = 0; row < 40; ++row)
            QVERIFY(returned()->index(row, 0).data().isValid());
        QVERIFY2(timer.elapsed() < 1000, qPrintable(QStringLiteral("%1 ms").arg(timer.elapsed())));
        QCOMPARE(returned()->index(0, returned()->FieldColumn(QStringLiteral("EVID_CISLO"))).data().toInt(), 2999);
        // The model holds only what was fetched, not the whole list.
        QVERIFY(returned()->rowCount() < 1800);
        QVERIFY(returned()->canFetchMore());
    }
};

QTEST_MAIN(TestVypujcky)
#include "tst_vypujcky.moc"
