// The rental editor against a real database: opening in every mode, the customer lists,
// the goods slots, prices, deposit, period and the save preparation.
#include "fixture.h"

#include "app/datamod_main.h"
#include "app/globalres.h"
#include "app/inifile.h"
#include "data/datm_zakaznik.h"
#include "data/datmod_vypujka.h"
#include "data/datmod_znozi.h"
#include "goods/imagepreview.h"
#include "rentals/searchcombo.h"
#include "rentals/vypujcka.h"
#include "settings/editText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QKeyEvent>
#include <QDateEdit>
#include <QDir>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QAbstractItemView>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSqlQueryModel>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTimeEdit>
#include <QtTest>

#include <memory>

namespace {
// Rows of the fixture database.
enum Customer { Novak = 1, Svoboda = 2, Dvorakova = 3, BezTypu = 4 };
enum Goods { Kolo = 1, Helma = 2, Stan = 3, Varic = 4 };
enum Rent { RentOut = 10, RentReturned = 11 };

void exec(const QString &sql, std::initializer_list<QVariant> values = {})
{
    QSqlQuery query = PrepareQuery(sql);
    ExecQuery(query, values);
}

const QDate rentFrom(2024, 5, 5);

// Types the text key by key (QTest's key clicks know only ASCII).
void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(widget, &press);
        QCoreApplication::sendEvent(widget, &release);
    }
}
} // namespace

class TestVypujcka : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnv> env;
    std::unique_ptr<TRecordingDialogs> dialogs;
    std::unique_ptr<TDataModule_main> module;
    std::unique_ptr<TDataModule_zakaznik> customers;
    std::unique_ptr<TDataModule_zbozi> goods;
    std::unique_ptr<TDataModule_vypujcka> rents;
    std::unique_ptr<Tfrm_vypujcka> form;
    // What the dialogs the form opened showed; each is answered at once (a note is
    // extended and accepted, a preview closed).
    struct TModal
    {
        QString kind;
        bool editEnabled = false;
        QString path;
        QSize picture;
    };
    QList<TModal> modals;

    void writeLanguageFile()
    {
        QDir().mkpath(env->home() + QStringLiteral("lng"));
        TIniFile ini(env->home() + QStringLiteral("lng/test.ini"));
        const std::pair<const char *, const char *> rent[] = {
            {"ZboziCena1", "Tariff 1:"}, {"ZboziCena2", "Tariff 2:"}, {"ZboziCena3", "Tariff 3:"},
            {"RezeniPole1", "Company"}, {"RezeniPole2", "Company ID"}, {"RezeniPole3", "Name"}, {"RezeniPole4", "Personal no."},
            {"STR_DOBA_VYPUJC", "%d days, %d hours, %d minutes"}, {"STR_WRONG_DATE", "wrong date"},
            {"STR_GOODONLY1", "only once"}, {"STR_NOFOTO", "no photo"}, {"STR_NOGOODS", "no goods"},
            {"STR_NOCUSTOMERS", "no customer"}, {"STR_CUSTOMERS_NORENTYET", "never rented"},
            {"STR_CUSTOMERS_NORENTNOW", "nothing out"}, {"STR_CUSTOMERS_RENTNOW", "has goods out"}};
        for (const auto &[key, text] : rent)
            ini.WriteString(QStringLiteral("frmRent"), QLatin1String(key), QString::fromUtf8(text));
        ini.WriteString(QStringLiteral("CommonStrings"), QStringLiteral("STR_MANUAL_CUSTOMER"), QStringLiteral("One-off customer"));
        ini.UpdateFile();
    }

    void insertRows()
    {
        // The code lists of the test, in place of those a new database starts with.
        for (const char *table : {"TYPE_CUSTOMER", "TYPE_GOOD", "STATE_GOOD"})
            exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(table)));
        exec(QStringLiteral("INSERT INTO TYPE_CUSTOMER (ID, TYP, SLEVA) VALUES (?, ?, ?)"), {1, QStringLiteral("Běžný"), 0});
        exec(QStringLiteral("INSERT INTO TYPE_CUSTOMER (ID, TYP, SLEVA) VALUES (?, ?, ?)"), {2, QStringLiteral("Firemní"), 10});
        const QString customer = QStringLiteral("INSERT INTO CUSTOMERS (ID, JMENO, FIRMA, ICO, RODNE_CIS, ID_TYP, SLEVA, "
                                                "AKT_PUJC, POCET_PRONAJMU, VYDELANO) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
        exec(customer, {Novak, QStringLiteral("Jan Novák"), QStringLiteral(""), QStringLiteral("111"),
                        QStringLiteral("800101/1234"), 1, 0, -1, 0, 0.0});
        exec(customer, {Svoboda, QStringLiteral("Petr Svoboda"), QStringLiteral("Alfa s.r.o."), QStringLiteral("333"),
                        QStringLiteral(""), 2, 5, 0, 3, 1200.5});
        exec(customer, {Dvorakova, QStringLiteral("Eva Dvořáková"), QStringLiteral("Beta a.s."), QStringLiteral("222"),
                        QStringLiteral("855512/0001"), 1, 5, 2, 1, 10.0});
        exec(customer, {BezTypu, QStringLiteral("Bez Typu"), QStringLiteral("Gama"), QStringLiteral("444"),
                        QStringLiteral(""), 0, 0, 0, 0, 0.0});

        exec(QStringLiteral("INSERT INTO TYPE_GOOD (ID, TYP) VALUES (1, 'Kola')"));
        exec(QStringLiteral("INSERT INTO STATE_GOOD (ID, STAV) VALUES (1, 'OK')"));
        const QString item = QStringLiteral("INSERT INTO GOODS (ID, ID_TYP, ID_STAV, NAZEV, KOD1, FOTO, CENA1, CENA2, "
                                            "CENA3, ZALOHA, PUJCENI, REZERVACE) VALUES (?, ?, 1, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
        exec(item, {Kolo, 1, QStringLiteral("Kolo horské"), QStringLiteral("K-01"), QStringLiteral(""), 100, 150, 400, 1000, 0, 0});
        exec(item, {Helma, 1, QStringLiteral("Helma"), QStringLiteral(""), QStringLiteral(""), 20, 30, 90, 200, 1, 0});
        exec(item, {Stan, 1, QStringLiteral("Stan"), QStringLiteral("S-07"), QStringLiteral("/nowhere/stan.jpg"), 50, 80, 250, 500, 0, 1});
        exec(item, {Varic, 0, QStringLiteral("Vařič"), QStringLiteral("V-1"), QStringLiteral(""), 10, 20, 30, 300, 0, 0});

        const QString slot = QStringLiteral("INSERT INTO RENT_GOOD (ID, ID_ZBOZI, CENA1, CENA2, CENA3, ZALOHA, POZNAMKA) "
                                            "VALUES (?, ?, ?, ?, ?, ?, ?)");
        exec(slot, {100, Kolo, 90, 140, 390, 900, QStringLiteral("bez zvonku")});
        exec(slot, {101, Stan, 45, 75, 240, 450, QStringLiteral("")});
        exec(slot, {102, Varic, 11, 21, 31, 310, QStringLiteral("plyn vlastní")});
        // Out now: register customer, goods in slots 1 and 5.
        exec(QStringLiteral("INSERT INTO RENT (ID, EVID_CISLO, STAV_PUJC, PUJC_OD, PUJC_DO, SLEVA, CENA_CELK, ZALOHA_CELK, "
                            "ID_ZAK, ZAS_JMENO, ZAS_RODNEC, ZAS_CISLOOP, ZAS_VYSTAVOP, ZAS_DENVYDANIOP, ID_ZBOZI1, ID_ZBOZI5) "
                            "VALUES (?, 7, 1, ?, ?, 5, 1500.5, 1350, ?, 'Karel Zástupce', '700101/0000', 'OP123', "
                            "'MÚ Brno', ?, 100, 101)"),
             {RentOut, QDateTime(rentFrom, QTime(14, 37)), QDateTime(rentFrom.addDays(2), QTime(9, 0)), Dvorakova,
              QDateTime(QDate(2020, 2, 3), QTime())});
        // Returned: one-off customer, the item of slot 1 is not in the goods list (no type).
        exec(QStringLiteral("INSERT INTO RENT (ID, EVID_CISLO, STAV_PUJC, PUJC_OD, PUJC_DO, SLEVA, CENA_CELK, ZALOHA_CELK, "
                            "ID_ZAK, ZAK_JMENO, ZAK_FIRMA, ZAK_ICO, ZAK_DIC, ZAK_CISLOOP, ZAK_VYSTAVOP, ZAK_RODNEC, "
                            "ZAK_FULICE, ZAK_FCISLO, ZAK_FMESTO, ZAK_FPSC, ZAK_TEL, ZAK_OSTATNI, ZAK_DENVYDANIOP, ID_ZBOZI1) "
                            "VALUES (?, 12, 0, ?, ?, 0, 300, 310, 0, 'Olga Jednorázová', 'Delta', '555', 'CZ555', 'OP9', "
                            "'MÚ Olomouc', '905050/5555', 'Dlouhá', '12', 'Olomouc', '77900', '777 123 456', 'VIP', ?, 102)"),
             {RentReturned, QDateTime(QDate(2024, 3, 1), QTime(10, 0)), QDateTime(QDate(2024, 3, 2), QTime(12, 30)),
              QDateTime(QDate(2019, 9, 9), QTime())});
    }

    // The row of the four customer lists that holds this customer.
    int customerRow(int id) const
    {
        QSqlQueryModel *model = customers->IBQCustomersVyber;
        for (int row = 0; row < model->rowCount(); ++row)
            if (model->index(row, TDataModule_zakaznik::colId).data().toInt() == id)
                return row;
        return -1;
    }

    int goodsRow(int id) const
    {
        QSqlQueryModel *model = goods->IBQZboziVyber;
        for (int row = 0; row < model->rowCount(); ++row)
            if (model->index(row, TDataModule_zbozi::colId).data().toInt() == id)
                return row;
        return -1;
    }

    void open(const QString &mode, int rentId = 0)
    {
        form->Rezim = mode;
        form->IdVypujcky = rentId;
        form->FormActivate();
    }

    Tfrm_vypujcka::TSlot &slot(int n) { return form->Slot[n - 1]; }

    // Ticks slot n and chooses the item by name, as the operator does.
    void placeByName(int n, int goodsId)
    {
        slot(n).checkZbozi->setChecked(true);
        form->checkZboziClick(n - 1);
        emit slot(n).comboNazevZbozi->activated(goodsRow(goodsId));
    }

private slots:
    void initTestCase()
    {
        env = std::make_unique<TestEnv>();
        dialogs = std::make_unique<TRecordingDialogs>();
        module = std::make_unique<TDataModule_main>();
        SetDataModule_main(module.get());
        customers = std::make_unique<TDataModule_zakaznik>(*module);
        SetDataModule_zakaznik(customers.get());
        goods = std::make_unique<TDataModule_zbozi>(*module);
        SetDataModule_zbozi(goods.get());
        rents = std::make_unique<TDataModule_vypujcka>(*module);
        SetDataModule_vypujcka(rents.get());
        QVERIFY(ConnectAsProgram(*module));
        insertRows();
        module->RefreshData();
        writeLanguageFile();
    }

    void cleanupTestCase()
    {
        form.reset();
        rents.reset();
        goods.reset();
        customers.reset();
        module.reset();
        dialogs.reset();
        env.reset();
    }

    void init()
    {
        Settings.Tariffs = TCenSazba();
        Settings.RoundOn = 1;
        dialogs->texts.clear();
        modals.clear();
        form = std::make_unique<Tfrm_vypujcka>();
        form->RunModal = [this](QDialog &dialog) {
            if (auto *note = qobject_cast<Tfrm_editText *>(&dialog)) {
                modals.append({QStringLiteral("note"), note->editText->isEnabled(), QString(), QSize()});
                note->editText->setText(note->editText->text() + QStringLiteral(" +"));
                return int(QDialog::Accepted);
            }
            if (auto *preview = qobject_cast<Tfrm_imagePreview *>(&dialog))
                modals.append({QStringLiteral("preview"), false, preview->lblCesta->text(), preview->Foto().size()});
            return int(QDialog::Rejected);
        };
        form->Jazyk(QStringLiteral("test.ini"));
    }

    void cleanup()
    {
        form.reset();
    }

    // ------------------------------------------------------------ new rental

    void newRentalDefaults()
    {
        const QTime before = TimeWithoutSeconds();
        open(QStringLiteral("VYPUJC"));
        const QTime after = TimeWithoutSeconds();
        const QDate today = QDate::currentDate();

        QCOMPARE(form->DateTimePickerOdDatum->date(), today);
        QVERIFY(form->DateTimePickerOdCas->time() == before || form->DateTimePickerOdCas->time() == after);
        QCOMPARE(form->DateTimePickerOdCas->time().second(), 0);
        QCOMPARE(form->DateTimePickerDoDatum->date(), today.addDays(1));
        QCOMPARE(form->DateTimePickerDoCas->time(), form->DateTimePickerOdCas->time());
        QCOMPARE(form->DateTimePickerZasVydaniOP->date(), today.addDays(-365));
        QCOMPARE(form->DateTimePickerNovyZakDenOP->date(), today.addDays(-365));

        QCOMPARE(form->editCislo->text(), QStringLiteral("13")); // highest 12 + 1
        QCOMPARE(form->comboStav->currentIndex(), 0);
        QVERIFY(form->lblDobaPujceni->isHidden());
        QVERIFY(form->btnVratit->isHidden());
        QCOMPARE(form->PuvodniStav, 1);
        QCOMPARE(form->NovyStav, 1);
        QCOMPARE(form->editZalohaCelk->text(), QStringLiteral("0"));
        QCOMPARE(form->editCenaCelk->value(), 0.0);
        QVERIFY(form->btnSave->isEnabled());

        // Only the main page and slots 1 to 3 until "next" is used.
        QCOMPARE(form->PageControlMain->currentIndex(), 0);
        for (int page = 0; page < 6; ++page)
            QCOMPARE(form->PageControlMain->isTabVisible(page), page <= 1);
        for (QPushButton *next : form->btnNext)
            QVERIFY(!next->isHidden());
        form->btnNextClick(1);
        QVERIFY(form->PageControlMain->isTabVisible(2));
        QCOMPARE(form->PageControlMain->currentIndex(), 2);

        // Empty slots; the one-off entry chosen in enabled lists; both customer pages.
        for (const auto &s : form->Slot) {
            QVERIFY(!s.checkZbozi->isChecked());
            QVERIFY(s.checkZbozi->isEnabled());
            QVERIFY(!s.comboNazevZbozi->isEnabled());
            QCOMPARE(s.comboNazevZbozi->currentText(), TDataModule_zbozi::ZadneZbozi());
            QCOMPARE(s.editZalohaZbozi->text(), QStringLiteral("0"));
        }
        QCOMPARE(form->PageControlZak->currentIndex(), 0);
        QVERIFY(form->PageControlZak->isTabVisible(0) && form->PageControlZak->isTabVisible(1));
        QVERIFY(form->comboJmeno->isEnabled() && form->comboRazeni->isEnabled());
        QVERIFY(!form->comboRazeni->isHidden());
        QCOMPARE(form->comboJmeno->currentIndex(), 0);
        QCOMPARE(form->comboJmeno->currentText(), QStringLiteral("One-off customer"));
        QCOMPARE(form->comboIco->currentText(), QStringLiteral("-"));
        QCOMPARE(form->editTypZak->text(), QStringLiteral("-"));
        QCOMPARE(form->editSleva->text(), QStringLiteral("0"));
        QVERIFY(form->lblStatusZak->isHidden());
        // The show buttons wait for their editors.
        QVERIFY(!form->btnShowZakaznik->isEnabled());
        QVERIFY(dialogs->texts.isEmpty());
    }

    // Nothing typed in an earlier showing survives a new one.
    void reopeningClearsInputs()
    {
        open(QStringLiteral("EDIT_VRAC"), RentReturned);
        QCOMPARE(form->editNovyZakJmeno->text(), QStringLiteral("Olga Jednorázová"));
        open(QStringLiteral("VYPUJC"));
        QCOMPARE(form->editNovyZakJmeno->text(), QString());
        QCOMPARE(form->editZastupJmeno->text(), QString());
        QVERIFY(form->PageControlZak->isTabVisible(0) && form->PageControlZak->isTabVisible(1));
        QVERIFY(form->editCislo->isEnabled());
        QCOMPARE(form->comboStav->currentIndex(), 0);
        QCOMPARE(form->editCislo->text(), QStringLiteral("13"));
        for (const auto &s : form->Slot) {
            QVERIFY(!s.checkZbozi->isChecked());
            QVERIFY(s.checkZbozi->isEnabled());
            QCOMPARE(s.editPoznamkyZbozi->text(), QString());
        }
    }

    // ------------------------------------------------------------ customer

    void customerChoice_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("status");
        QTest::addColumn<bool>("statusShown");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("discount");
        QTest::newRow("one-off entry (-10)") << 0 << "" << false << "-" << "0";
        QTest::newRow("never rented (-1)") << int(Novak) << "never rented" << true << "Běžný" << "0";
        QTest::newRow("nothing out (0), type 2") << int(Svoboda) << "nothing out" << true << "Firemní" << "5";
        QTest::newRow("goods out (2)") << int(Dvorakova) << "has goods out" << true << "Běžný" << "5";
    }
    void customerChoice()
    {
        QFETCH(int, id);
        open(QStringLiteral("VYPUJC"));
        const int row = customerRow(id);
        QVERIFY(row >= 0);
        emit form->comboFirma->activated(row);
        QCOMPARE(form->Zakaznik.ID, id);
        for (QComboBox *list : {form->comboJmeno, form->comboFirma, form->comboRodneC, form->comboIco})
            QCOMPARE(list->currentIndex(), row);
        QTEST(form->lblStatusZak->text(), "status");
        QFETCH(bool, statusShown);
        QCOMPARE(!form->lblStatusZak->isHidden(), statusShown);
        QTEST(form->editTypZak->text(), "type");
        QTEST(form->editSleva->text(), "discount");
    }

    void customerListOrder()
    {
        open(QStringLiteral("VYPUJC"));
        // Every customer with a type, the one-off entry first; a customer without a type is not offered.
        QCOMPARE(form->comboJmeno->count(), 4);
        QCOMPARE(customerRow(BezTypu), -1);
        QCOMPARE(customerRow(0), 0);

        form->comboRazeni->setCurrentIndex(1); // "IČO"
        form->comboRazeniChange();
        const QStringList icos = {"-", "111", "222", "333"};
        const QStringList companies = {"One-off customer", "-", "Beta a.s.", "Alfa s.r.o."};
        for (int row = 0; row < 4; ++row) {
            QCOMPARE(form->comboIco->itemText(row), icos[row]);
            QCOMPARE(form->comboFirma->itemText(row), companies[row]); // an empty company reads "-"
        }
        QCOMPARE(form->comboRodneC->itemText(0), QString());
        QCOMPARE(form->comboJmeno->currentIndex(), 0);

        form->comboRazeni->setCurrentIndex(2); // "Jméno a příjmení"
        form->comboRazeniChange();
        QCOMPARE(form->comboJmeno->itemText(1), QStringLiteral("Eva Dvořáková"));
        QCOMPARE(form->comboJmeno->itemText(3), QStringLiteral("Petr Svoboda"));
    }

    // Typing looks customers up in the database; a hit sets all four lists to that customer,
    // and a reload of the lists keeps it.
    void customerSearch_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("id");
        QTest::newRow("name, lower case") << "comboJmeno" << "novák" << int(Novak);
        QTest::newRow("name, Czech upper case") << "comboJmeno" << "DVOŘ" << int(Dvorakova);
        QTest::newRow("company, inside the text") << "comboFirma" << "s.r" << int(Svoboda);
        QTest::newRow("company ID") << "comboIco" << "22" << int(Dvorakova);
        QTest::newRow("personal number") << "comboRodneC" << "800101" << int(Novak);
    }
    void customerSearch()
    {
        QFETCH(QString, list);
        QFETCH(QString, typed);
        QFETCH(int, id);
        open(QStringLiteral("VYPUJC"));
        auto *combo = form->findChild<QComboBox *>(list);
        auto *search = combo->findChild<TComboSearch *>();
        QVERIFY(search);
        combo->lineEdit()->clear();
        typeText(combo->lineEdit(), typed);
        QCOMPARE(search->Hits()->rowCount(), 1);
        QVERIFY(search->Completer()->popup()->isVisible());
        search->Choose(0);
        QCOMPARE(form->Zakaznik.ID, id);
        const TZakaznik expected = *customers->ZakaznikDleId(id);
        QCOMPARE(form->comboJmeno->currentText(), expected.JMENO);
        QCOMPARE(form->comboFirma->currentText(), expected.FIRMA);
        QCOMPARE(form->comboIco->currentText(), expected.ICO);
        QCOMPARE(form->comboRodneC->currentText(), expected.RODNE_CIS);
        QCOMPARE(form->editSleva->text(), QString::number(expected.SLEVA));

        module->RefreshData();
        QCOMPARE(form->Zakaznik.ID, id);
        QCOMPARE(form->comboJmeno->currentText(), expected.JMENO);
        QCOMPARE(form->comboIco->currentText(), expected.ICO);
    }

    void customerSearchFindsNoUntypedCustomer()
    {
        open(QStringLiteral("VYPUJC"));
        auto *search = form->comboFirma->findChild<TComboSearch *>();
        search->Search(QStringLiteral("Gama"));
        QCOMPARE(search->Hits()->rowCount(), 0);
        search->Search(QStringLiteral("a")); // Alfa, Beta, Delta not a customer, Gama without type
        QCOMPARE(search->Hits()->rowCount(), 2);
    }

    void typedFieldsFitTheirColumns()
    {
        open(QStringLiteral("VYPUJC"));
        const std::pair<QLineEdit *, const char *> fields[] = {
            {form->editNovyZakJmeno, "ZAK_JMENO"}, {form->editNovyZakFirma, "ZAK_FIRMA"},
            {form->editNovyZakIco, "ZAK_ICO"}, {form->editNovyZakDic, "ZAK_DIC"},
            {form->editNovyZakCisloOP, "ZAK_CISLOOP"}, {form->editNovyZakOPVydan, "ZAK_VYSTAVOP"},
            {form->editNovyZakRodneC, "ZAK_RODNEC"}, {form->editNovyZakUlice, "ZAK_FULICE"},
            {form->editNovyZakCislo, "ZAK_FCISLO"}, {form->editNovyZakMesto, "ZAK_FMESTO"},
            {form->editNovyZakPsc, "ZAK_FPSC"}, {form->editNovyZakTel, "ZAK_TEL"},
            {form->editNovyZakOstatni, "ZAK_OSTATNI"}, {form->editZastupJmeno, "ZAS_JMENO"},
            {form->editZastupRodneC, "ZAS_RODNEC"}, {form->editZastupCisloOP, "ZAS_CISLOOP"},
            {form->editZastupOPVydan, "ZAS_VYSTAVOP"}};
        QSqlQuery width(env->connection());
        QVERIFY(width.prepare("SELECT F.RDB$CHARACTER_LENGTH FROM RDB$RELATION_FIELDS R JOIN RDB$FIELDS F "
                              "ON R.RDB$FIELD_SOURCE = F.RDB$FIELD_NAME WHERE R.RDB$RELATION_NAME = 'RENT' "
                              "AND R.RDB$FIELD_NAME = ?"));
        for (const auto &[edit, column] : fields) {
            width.addBindValue(QString::fromLatin1(column));
            QVERIFY(width.exec() && width.next());
            QVERIFY2(edit->maxLength() == width.value(0).toInt(), column);
        }
    }

    void oneOffCustomerPage()
    {
        open(QStringLiteral("VYPUJC"));
        emit form->comboJmeno->activated(customerRow(Svoboda));
        QCOMPARE(form->editSleva->text(), QStringLiteral("5"));
        form->PageControlZak->setCurrentIndex(1);
        QVERIFY(!form->lblAdresa->isHidden());
        QCOMPARE(form->Zakaznik.ID, 0);
        QCOMPARE(form->editSleva->text(), QStringLiteral("0"));
        form->editNovyZakJmeno->setText(QStringLiteral("Někdo"));
        form->PageControlZak->setCurrentIndex(0);
        QVERIFY(form->lblAdresa->isHidden());
        QCOMPARE(form->editNovyZakJmeno->text(), QString());
    }

    void showCustomerWithoutCustomer()
    {
        open(QStringLiteral("VYPUJC"));
        form->btnShowZakaznikClick();
        QCOMPARE(dialogs->texts, QStringList{QStringLiteral("no customer")});
    }

    // ------------------------------------------------------------ prices

    void discount_data()
    {
        QTest::addColumn<double>("total");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QString>("finalText");
        QTest::addColumn<double>("finalTotal");
        QTest::newRow("1 then 10 compound") << 1000.0 << QStringList{"1"} << "1" << 990.0;
        QTest::newRow("1 then 10 compound, second step") << 1000.0 << QStringList{"1", "10"} << "10" << 891.0;
        QTest::newRow("150 becomes 100") << 1000.0 << QStringList{"150"} << "100" << 0.0;
        QTest::newRow("emptied becomes 0, total stays") << 1000.0 << QStringList{""} << "0" << 1000.0;
        QTest::newRow("10 on 200") << 200.0 << QStringList{"10"} << "10" << 180.0;
    }
    void discount()
    {
        QFETCH(double, total);
        QFETCH(QStringList, texts);
        open(QStringLiteral("VYPUJC"));
        form->editCenaCelk->setValue(total);
        for (const QString &text : texts)
            form->editSleva->setText(text);
        QTEST(form->editSleva->text(), "finalText");
        QTEST(form->editCenaCelk->value(), "finalTotal");
    }

    void discountTyped()
    {
        open(QStringLiteral("VYPUJC"));
        form->editCenaCelk->setValue(1000);
        form->editSleva->clear(); // becomes "0" at once
        QCOMPARE(form->editSleva->text(), QStringLiteral("0"));
        form->editSleva->selectAll();
        QTest::keyClicks(form->editSleva, QStringLiteral("1x0"));
        QCOMPARE(form->editSleva->text(), QStringLiteral("10"));
        QCOMPARE(form->editCenaCelk->value(), 891.0);
    }

    // Choosing a customer sets its discount; the same text again changes nothing.
    void discountFromCustomer()
    {
        open(QStringLiteral("VYPUJC"));
        form->editCenaCelk->setValue(200);
        emit form->comboJmeno->activated(customerRow(Svoboda));
        QCOMPARE(form->editCenaCelk->value(), 190.0);
        emit form->comboJmeno->activated(customerRow(Dvorakova));
        QCOMPARE(form->editCenaCelk->value(), 190.0);
        emit form->comboJmeno->activated(customerRow(Novak));
        QCOMPARE(form->editSleva->text(), QStringLiteral("0"));
        QCOMPARE(form->editCenaCelk->value(), 190.0);
    }

    void keyFilter_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");
        QTest::newRow("evidence number") << "editCislo" << "12a-3 4" << "1234";
        QTest::newRow("total deposit") << "editZalohaCelk" << "5,00x" << "500";
        QTest::newRow("evidence number, backspace") << "editCislo" << "19\b8" << "18";
    }
    void keyFilter()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        open(QStringLiteral("VYPUJC"));
        auto *edit = form->findChild<QLineEdit *>(field);
        edit->clear();
        for (const QChar c : typed) {
            if (c == QChar(8))
                QTest::keyClick(edit, Qt::Key_Backspace);
            else
                QTest::keyClicks(edit, QString(c));
        }
        QTEST(edit->text(), "expected");
    }

    void tariffCaptions_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("captions");
        QTest::newRow("names from the settings") << QStringList{"hodina", "den", "týden"}
                                                 << QStringList{"hodina:", "den:", "týden:"};
        QTest::newRow("no names: language texts") << QStringList{"", "", ""}
                                                  << QStringList{"Tariff 1:", "Tariff 2:", "Tariff 3:"};
        QTest::newRow("mixed") << QStringList{"", "den", ""} << QStringList{"Tariff 1:", "den:", "Tariff 3:"};
    }
    void tariffCaptions()
    {
        QFETCH(QStringList, names);
        QFETCH(QStringList, captions);
        Settings.Tariffs.Name1 = names[0];
        Settings.Tariffs.Name2 = names[1];
        Settings.Tariffs.Name3 = names[2];
        open(QStringLiteral("VYPUJC"));
        for (const auto &s : form->Slot) {
            QCOMPARE(s.lblCena1->text(), captions[0]);
            QCOMPARE(s.lblCena2->text(), captions[1]);
            QCOMPARE(s.lblCena3->text(), captions[2]);
        }
    }

    // A language file without the key gives an empty caption; the sort items come from the file.
    void languageTexts()
    {
        open(QStringLiteral("VYPUJC"));
        QCOMPARE(form->btnVratit->text(), QString());
        QCOMPARE(form->comboRazeni->count(), 4);
        QCOMPARE(form->comboRazeni->itemText(1), QStringLiteral("Company ID"));
        QCOMPARE(form->comboRazeni->currentIndex(), 0);
    }

    // ------------------------------------------------------------ period

    void period_data()
    {
        QTest::addColumn<QDateTime>("from");
        QTest::addColumn<QDateTime>("until");
        QTest::addColumn<bool>("wrongDate");
        QTest::addColumn<QDate>("endDate");
        QTest::addColumn<QString>("text");
        const QDate march1(2024, 3, 1);
        QTest::newRow("1 day 2 h 30 min") << QDateTime(march1, QTime(10, 0)) << QDateTime(march1.addDays(1), QTime(12, 30))
                                          << false << march1.addDays(1) << "1 days, 2 hours, 30 minutes";
        QTest::newRow("same date, end earlier") << QDateTime(march1, QTime(10, 0)) << QDateTime(march1, QTime(9, 0))
                                                << true << march1.addDays(1) << "0 days, 23 hours, 0 minutes";
        QTest::newRow("start date later") << QDateTime(march1.addDays(5), QTime(8, 0)) << QDateTime(march1, QTime(18, 0))
                                          << true << march1.addDays(6) << "1 days, 10 hours, 0 minutes";
        QTest::newRow("start equals end") << QDateTime(march1, QTime(10, 0)) << QDateTime(march1, QTime(10, 0))
                                          << false << march1 << "0 days, 0 hours, 0 minutes";
    }
    void period()
    {
        QFETCH(QDateTime, from);
        QFETCH(QDateTime, until);
        QFETCH(bool, wrongDate);
        open(QStringLiteral("VYPUJC"));
        {
            const QSignalBlocker b1(form->DateTimePickerOdDatum), b2(form->DateTimePickerOdCas),
                b3(form->DateTimePickerDoDatum), b4(form->DateTimePickerDoCas);
            form->DateTimePickerOdDatum->setDate(from.date());
            form->DateTimePickerOdCas->setTime(from.time());
            form->DateTimePickerDoDatum->setDate(until.date());
            form->DateTimePickerDoCas->setTime(until.time());
        }
        form->DateTimePickerDoDatumChange();
        QCOMPARE(dialogs->texts, wrongDate ? QStringList{QStringLiteral("wrong date")} : QStringList{});
        QTEST(form->DateTimePickerDoDatum->date(), "endDate");
        QCOMPARE(form->DateTimePickerDoCas->time(), until.time());
        QTEST(form->lblDobaPujceni->text(), "text");
    }

    // The operator's change of a picker runs the check once; the period itself corrects silently.
    void pickerChangeAndSilentCorrection()
    {
        open(QStringLiteral("VYPUJC"));
        form->DateTimePickerDoDatum->setDate(form->DateTimePickerOdDatum->date().addDays(-1));
        QCOMPARE(dialogs->texts, QStringList{QStringLiteral("wrong date")});
        QCOMPARE(form->DateTimePickerDoDatum->date(), form->DateTimePickerOdDatum->date().addDays(1));

        dialogs->texts.clear();
        {
            const QSignalBlocker blocker(form->DateTimePickerDoDatum);
            form->DateTimePickerDoDatum->setDate(form->DateTimePickerOdDatum->date().addDays(-3));
        }
        form->dobaPujceni();
        QVERIFY(dialogs->texts.isEmpty());
        QCOMPARE(form->DateTimePickerDoDatum->date(), form->DateTimePickerOdDatum->date().addDays(1));
    }

    // ------------------------------------------------------------ slots

    void depositSum()
    {
        open(QStringLiteral("VYPUJC"));
        slot(2).checkZbozi->setChecked(true);
        form->checkZboziClick(1);
        QVERIFY(slot(2).comboNazevZbozi->isEnabled());
        QCOMPARE(slot(2).comboNazevZbozi->currentText(), TDataModule_zbozi::ZadneZbozi());
        for (QLineEdit *edit : {slot(2).editCena1Zbozi, slot(2).editCena2Zbozi, slot(2).editCena3Zbozi, slot(2).editZalohaZbozi})
            QCOMPARE(edit->text(), QStringLiteral("0"));

        emit slot(2).comboNazevZbozi->activated(goodsRow(Kolo));
        QCOMPARE(slot(2).editCena1Zbozi->text(), QStringLiteral("100"));
        QCOMPARE(slot(2).editCena2Zbozi->text(), QStringLiteral("150"));
        QCOMPARE(slot(2).editCena3Zbozi->text(), QStringLiteral("400"));
        QCOMPARE(slot(2).editZalohaZbozi->text(), QStringLiteral("1000"));
        QCOMPARE(form->editZalohaCelk->text(), QStringLiteral("1000"));

        placeByName(3, Stan);
        QCOMPARE(form->editZalohaCelk->text(), QStringLiteral("1500"));
        // An edited deposit counts when the field is left; an emptied one becomes 0.
        slot(3).editZalohaZbozi->setText(QStringLiteral("200"));
        emit slot(3).editZalohaZbozi->editingFinished();
        QCOMPARE(form->editZalohaCelk->text(), QStringLiteral("1200"));
        slot(2).editZalohaZbozi->clear();
        form->VypoctiZalohu();
        QCOMPARE(slot(2).editZalohaZbozi->text(), QStringLiteral("0"));
        QCOMPARE(form->editZalohaCelk->text(), QStringLiteral("200"));
        // Unticking empties the slot.
        slot(3).checkZbozi->setChecked(false);
        form->checkZboziClick(2);
        QCOMPARE(slot(3).editZalohaZbozi->text(), QStringLiteral("0"));
        QVERIFY(!slot(3).comboNazevZbozi->isEnabled());
        QCOMPARE(form->editZalohaCelk->text(), QStringLiteral("0"));
    }

    void codeAndNameListsAgree()
    {
        open(QStringLiteral("VYPUJC"));
        slot(1).checkZbozi->setChecked(true);
        form->checkZboziClick(0);
        emit slot(1).comboKod1Zbozi->activated(goodsRow(Stan));
        QCOMPARE(slot(1).comboNazevZbozi->currentText(), QStringLiteral("Stan"));
        QCOMPARE(slot(1).comboKod1Zbozi->currentText(), QStringLiteral("S-07"));
        QCOMPARE(slot(1).editZalohaZbozi->text(), QStringLiteral("500"));
        // An empty code is listed as "-".
        QCOMPARE(slot(1).comboKod1Zbozi->itemText(goodsRow(Helma)), QStringLiteral("-"));
        // By typing: the code search places the item too.
        auto *search = slot(1).comboKod1Zbozi->findChild<TComboSearch *>();
        search->Search(QStringLiteral("k-0"));
        QCOMPARE(search->Hits()->rowCount(), 1);
        search->Choose(0);
        QCOMPARE(slot(1).Zbozi.ID, int(Kolo));
        QCOMPARE(slot(1).comboNazevZbozi->currentText(), QStringLiteral("Kolo horské"));
        QCOMPARE(slot(1).comboKod1Zbozi->currentText(), QStringLiteral("K-01"));
        QCOMPARE(slot(1).editCena3Zbozi->text(), QStringLiteral("400"));
    }

    // The newly chosen item is compared with the other slots, however it was chosen.
    void oneItemPerSlot_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("by name") << "name";
        QTest::newRow("by code") << "code";
        QTest::newRow("by typing") << "search";
    }
    void oneItemPerSlot()
    {
        QFETCH(QString, how);
        open(QStringLiteral("VYPUJC"));
        placeByName(1, Kolo);
        slot(3).checkZbozi->setChecked(true);
        form->checkZboziClick(2);
        if (how == QLatin1String("name")) {
            emit slot(3).comboNazevZbozi->activated(goodsRow(Kolo));
        } else if (how == QLatin1String("code")) {
            emit slot(3).comboKod1Zbozi->activated(goodsRow(Kolo));
        } else {
            auto *search = slot(3).comboNazevZbozi->findChild<TComboSearch *>();
            search->Search(QStringLiteral("horsk"));
            search->Choose(0);
        }
        QCOMPARE(dialogs->texts, QStringList{QStringLiteral("only once")});
        QVERIFY(!slot(3).checkZbozi->isChecked());
        QCOMPARE(slot(3).Zbozi.ID, 0);
        QCOMPARE(slot(3).comboNazevZbozi->currentText(), TDataModule_zbozi::ZadneZbozi());
        QCOMPARE(slot(3).editZalohaZbozi->text(), QStringLiteral("0"));
        QCOMPARE(slot(1).Zbozi.ID, int(Kolo));
        QCOMPARE(slot(1).comboNazevZbozi->currentText(), QStringLiteral("Kolo horské"));
        QCOMPARE(form->editZalohaCelk->text(), QStringLiteral("1000"));
    }

    // Rented items on red, reserved ones on orange, nothing in a disabled list.
    void goodsColours()
    {
        open(QStringLiteral("VYPUJC"));
        QComboBox *list = slot(1).comboNazevZbozi;
        auto colourOf = [list](int row) {
            QImage image(120, 16, QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            QStyleOptionViewItem option;
            option.initFrom(list->view());
            option.rect = image.rect();
            list->itemDelegate()->paint(&painter, option, list->model()->index(row, TDataModule_zbozi::colNazev));
            painter.end();
            return image.pixelColor(118, 1);
        };
        QCOMPARE(colourOf(goodsRow(Helma)), QColor(Qt::white)); // disabled list
        slot(1).checkZbozi->setChecked(true);
        form->checkZboziClick(0);
        QCOMPARE(colourOf(goodsRow(Helma)), QColor(255, 0, 0));
        QCOMPARE(colourOf(goodsRow(Stan)), QColor(253, 134, 62));
        QCOMPARE(colourOf(goodsRow(Kolo)), QColor(Qt::white));

        emit list->activated(goodsRow(Helma));
        QCOMPARE(list->lineEdit()->palette().color(QPalette::Base), QColor(255, 0, 0));
        emit list->activated(goodsRow(Kolo));
        QVERIFY(list->lineEdit()->palette().color(QPalette::Base) != QColor(255, 0, 0));
    }

    void notePhotoAndShowButtons()
    {
        open(QStringLiteral("VYPUJC"));
        placeByName(1, Stan);
        slot(1).editPoznamkyZbozi->setText(QStringLiteral("poznámka"));
        form->UpravaPoznamky(slot(1).btnPoznamkyZbozi);
        QCOMPARE(modals.size(), 1);
        QCOMPARE(slot(1).editPoznamkyZbozi->text(), QStringLiteral("poznámka +"));

        // The photo path of the item names no file.
        slot(1).btnFotoZbozi->click();
        QCOMPARE(dialogs->texts, QStringList{QStringLiteral("no photo")});
        dialogs->texts.clear();
        form->ZobrazFoto(QStringLiteral("-"));
        QCOMPARE(dialogs->texts, QStringList{QStringLiteral("no photo")});

        const QString picture = env->home() + QStringLiteral("stan.png");
        QImage image(40, 20, QImage::Format_RGB32);
        image.fill(Qt::blue);
        QVERIFY(image.save(picture));
        form->ZobrazFoto(picture);
        QCOMPARE(modals.size(), 2);
        QCOMPARE(modals.last().kind, QStringLiteral("preview"));
        QCOMPARE(modals.last().path, picture);
        QCOMPARE(modals.last().picture, QSize(40, 20));

        // The goods editor does not exist yet: the button stays disabled; an empty slot has no goods.
        QVERIFY(!slot(1).btnShowZbozi->isEnabled());
        dialogs->texts.clear();
        form->ZobrazZbozi(0);
        QCOMPARE(dialogs->texts, QStringList{QStringLiteral("no goods")});
    }

    // ------------------------------------------------------------ saved rentals

    void modes_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<int>("rentId");
        QTest::addColumn<int>("state");
        QTest::addColumn<bool>("editable");
        QTest::addColumn<bool>("returnShown");
        QTest::addColumn<bool>("periodShown");
        QTest::newRow("EDIT_VYPUJC") << "EDIT_VYPUJC" << int(RentOut) << 1 << true << true << false;
        QTest::newRow("SHOW_VYPUJC") << "SHOW_VYPUJC" << int(RentOut) << 1 << false << false << false;
        QTest::newRow("EDIT_VRAC") << "EDIT_VRAC" << int(RentReturned) << 0 << true << false << true;
        QTest::newRow("SHOW_VRAC") << "SHOW_VRAC" << int(RentReturned) << 0 << false << false << true;
    }
    void modes()
    {
        QFETCH(QString, mode);
        QFETCH(int, rentId);
        QFETCH(int, state);
        QFETCH(bool, editable);
        QFETCH(bool, returnShown);
        QFETCH(bool, periodShown);
        open(mode, rentId);

        QCOMPARE(form->PuvodniStav, state);
        QCOMPARE(form->NovyStav, state);
        QCOMPARE(form->comboStav->currentIndex(), state == 1 ? 0 : 1);
        QVERIFY(!form->comboStav->isEnabled());
        QCOMPARE(!form->btnVratit->isHidden(), returnShown);
        QCOMPARE(!form->lblDobaPujceni->isHidden(), periodShown);
        for (QWidget *control : std::initializer_list<QWidget *>{
                 form->editCislo, form->DateTimePickerOdDatum, form->DateTimePickerDoCas, form->editZalohaCelk,
                 form->editSleva, form->editCenaCelk, form->editZastupJmeno, form->DateTimePickerZasVydaniOP,
                 form->editNovyZakJmeno, form->DateTimePickerNovyZakDenOP, form->btnSave, slot(1).editCena1Zbozi,
                 slot(1).editZalohaZbozi})
            QVERIFY2(control->isEnabled() == editable, qPrintable(control->objectName()));
        // The saved item is fixed; its note, photo and (later) show buttons stay usable.
        QVERIFY(slot(1).checkZbozi->isChecked());
        QVERIFY(!slot(1).checkZbozi->isEnabled());
        QVERIFY(!slot(1).comboNazevZbozi->isEnabled());
        QVERIFY(slot(1).btnPoznamkyZbozi->isEnabled());
        QVERIFY(slot(1).btnFotoZbozi->isEnabled());
        QVERIFY(!form->comboJmeno->isEnabled());
        QVERIFY(form->comboRazeni->isHidden());
        QVERIFY(form->btnShowZakaznik->isHidden());
        for (QPushButton *next : form->btnNext)
            QVERIFY(next->isHidden());

        // The note dialog shows the note; only the edit modes let it be changed.
        form->UpravaPoznamky(slot(1).btnPoznamkyZbozi);
        QCOMPARE(modals.last().kind, QStringLiteral("note"));
        QCOMPARE(modals.last().editEnabled, editable);
    }

    void editRentalOfRegisterCustomer()
    {
        open(QStringLiteral("EDIT_VYPUJC"), RentOut);
        QCOMPARE(form->PageControlZak->currentIndex(), 0);
        QVERIFY(form->PageControlZak->isTabVisible(0));
        QVERIFY(!form->PageControlZak->isTabVisible(1));
        QCOMPARE(form->Zakaznik.ID, int(Dvorakova));
        QCOMPARE(form->comboJmeno->currentText(), QStringLiteral("Eva Dvořáková"));
        QCOMPARE(form->comboFirma->currentText(), QStringLiteral("Beta a.s."));
        QCOMPARE(form->editTypZak->text(), QStringLiteral("Běžný"));
        QCOMPARE(form->lblStatusZak->text(), QStringLiteral("has goods out"));

        QCOMPARE(form->editCislo->text(), QStringLiteral("7"));
        QCOMPARE(form->PuvodniEvidCislo, 7);
        QCOMPARE(form->DateTimePickerOdDatum->date(), rentFrom);
        QCOMPARE(form->DateTimePickerOdCas->time(), QTime(14, 37));
        QCOMPARE(form->DateTimePickerDoDatum->date(), rentFrom.addDays(2));
        QCOMPARE(form->DateTimePickerDoCas->time(), QTime(9, 0));
        QCOMPARE(form->editSleva->text(), QStringLiteral("5"));
        QCOMPARE(form->editCenaCelk->value(), 1500.5);
        QCOMPARE(form->editZalohaCelk->text(), QStringLiteral("1350"));
        QCOMPARE(form->editZastupJmeno->text(), QStringLiteral("Karel Zástupce"));
        QCOMPARE(form->editZastupOPVydan->text(), QStringLiteral("MÚ Brno"));
        QCOMPARE(form->DateTimePickerZasVydaniOP->date(), QDate(2020, 2, 3));

        // Slots 1 and 5 hold goods: pages 1 and 2 are shown, the agreed values replace the catalogue ones.
        for (int page = 0; page < 6; ++page)
            QCOMPARE(form->PageControlMain->isTabVisible(page), page <= 2);
        QCOMPARE(slot(1).comboNazevZbozi->currentText(), QStringLiteral("Kolo horské"));
        QCOMPARE(slot(1).editCena1Zbozi->text(), QStringLiteral("90"));
        QCOMPARE(slot(1).editZalohaZbozi->text(), QStringLiteral("900"));
        QCOMPARE(slot(1).editPoznamkyZbozi->text(), QStringLiteral("bez zvonku"));
        QCOMPARE(slot(5).comboNazevZbozi->currentText(), QStringLiteral("Stan"));
        QCOMPARE(slot(5).comboKod1Zbozi->currentText(), QStringLiteral("S-07"));
        QVERIFY(!slot(5).comboNazevZbozi->isEnabled());
        QVERIFY(slot(5).editCena3Zbozi->isEnabled());
        QCOMPARE(slot(5).editCena3Zbozi->text(), QStringLiteral("240"));
        for (int n : {2, 3, 4, 6}) {
            QVERIFY(!slot(n).checkZbozi->isChecked());
            QVERIFY(!slot(n).checkZbozi->isEnabled());
            QVERIFY(!slot(n).editZalohaZbozi->isEnabled());
        }
        QVERIFY(dialogs->texts.isEmpty());
    }

    void editReturnedRentalOfOneOffCustomer()
    {
        open(QStringLiteral("EDIT_VRAC"), RentReturned);
        QCOMPARE(form->PageControlZak->currentIndex(), 1);
        QVERIFY(!form->PageControlZak->isTabVisible(0));
        QVERIFY(form->PageControlZak->isTabVisible(1));
        QVERIFY(!form->lblAdresa->isHidden());
        const std::pair<QLineEdit *, const char *> fields[] = {
            {form->editNovyZakJmeno, "Olga Jednorázová"}, {form->editNovyZakFirma, "Delta"},
            {form->editNovyZakIco, "555"}, {form->editNovyZakDic, "CZ555"}, {form->editNovyZakCisloOP, "OP9"},
            {form->editNovyZakOPVydan, "MÚ Olomouc"}, {form->editNovyZakRodneC, "905050/5555"},
            {form->editNovyZakUlice, "Dlouhá"}, {form->editNovyZakCislo, "12"}, {form->editNovyZakMesto, "Olomouc"},
            {form->editNovyZakPsc, "77900"}, {form->editNovyZakTel, "777 123 456"}, {form->editNovyZakOstatni, "VIP"}};
        for (const auto &[edit, text] : fields)
            QCOMPARE(edit->text(), QString::fromUtf8(text));
        QCOMPARE(form->DateTimePickerNovyZakDenOP->date(), QDate(2019, 9, 9));
        QCOMPARE(form->Zakaznik.ID, 0);
        QCOMPARE(form->lblDobaPujceni->text(), QStringLiteral("1 days, 2 hours, 30 minutes"));
        QCOMPARE(form->comboStav->currentIndex(), 1);
        // No representative was stored: the card date stays empty.
        QVERIFY(!form->PripravUlozeni().ZasDenVydaniOP.isValid());

        // The item of slot 1 is not in the goods list: the slot shows its own item.
        QCOMPARE(slot(1).Zbozi.ID, int(Varic));
        QCOMPARE(slot(1).comboNazevZbozi->currentText(), QStringLiteral("Vařič"));
        QCOMPARE(slot(1).comboKod1Zbozi->currentText(), QStringLiteral("V-1"));
        QCOMPARE(slot(1).editZalohaZbozi->text(), QStringLiteral("310"));
        QCOMPARE(form->editZalohaCelk->text(), QStringLiteral("310"));
    }

    // ------------------------------------------------------------ save preparation

    void savePreparationRounds_data()
    {
        QTest::addColumn<double>("roundOn");
        QTest::addColumn<double>("total");
        QTest::addColumn<QString>("stored");
        QTest::newRow("halves") << 2.0 << 123.30 << "123.50";
        QTest::newRow("whole, half to even down") << 1.0 << 122.50 << "122.00";
        QTest::newRow("whole, half to even up") << 1.0 << 123.50 << "124.00";
        QTest::newRow("hundredths") << 100.0 << 1234.5 << "1234.50";
    }
    void savePreparationRounds()
    {
        QFETCH(double, roundOn);
        QFETCH(double, total);
        Settings.RoundOn = roundOn;
        open(QStringLiteral("VYPUJC"));
        form->editCenaCelk->setValue(total);
        const TVypujckaUlozeni data = form->PripravUlozeni();
        QTEST(data.CenaCelkText, "stored");
        QCOMPARE(form->editCenaCelk->value(), data.CenaCelk);
    }

    void savePreparationNewRental()
    {
        open(QStringLiteral("VYPUJC"));
        emit form->comboJmeno->activated(customerRow(Svoboda));
        placeByName(1, Kolo);
        slot(1).editCena2Zbozi->setText(QStringLiteral("140"));
        slot(1).editCena3Zbozi->clear();
        slot(2).checkZbozi->setChecked(true); // ticked, but no goods chosen
        form->checkZboziClick(1);
        form->btnNextClick(1);
        placeByName(4, Stan);
        slot(4).editPoznamkyZbozi->setText(QStringLiteral("celta"));
        form->editZalohaCelk->clear();
        form->editSleva->clear();
        form->editCislo->setText(QStringLiteral("77"));
        form->editZastupJmeno->setText(QStringLiteral("Zástupce"));

        const TVypujckaUlozeni data = form->PripravUlozeni();
        QCOMPARE(data.Rezim, QStringLiteral("VYPUJC"));
        QCOMPARE(data.EvidCislo, QStringLiteral("77"));
        QCOMPARE(data.ZalohaCelk, 0);
        QCOMPARE(form->editZalohaCelk->text(), QStringLiteral("0"));
        QCOMPARE(data.Sleva, 0);
        QVERIFY(data.ZakaznikZDb);
        QCOMPARE(data.Zakaznik.ID, int(Svoboda));
        QCOMPARE(data.Zakaznik.POCET_PRONAJMU, 3);
        QCOMPARE(data.Zakaznik.VYDELANO, 1200.5);
        QCOMPARE(data.ZasJmeno, QStringLiteral("Zástupce"));
        QCOMPARE(data.PujcOd, QDateTime(form->DateTimePickerOdDatum->date(), form->DateTimePickerOdCas->time()));
        QCOMPARE(data.PujcDo.date(), QDate::currentDate().addDays(1));
        QCOMPARE(data.Sloty.size(), 2);
        QCOMPARE(data.Sloty[0].Slot, 1);
        QCOMPARE(data.Sloty[0].Zbozi.ID, int(Kolo));
        QCOMPARE(data.Sloty[0].CENA1, 100);
        QCOMPARE(data.Sloty[0].CENA2, 140);
        QCOMPARE(data.Sloty[0].CENA3, 0);
        QCOMPARE(slot(1).editCena3Zbozi->text(), QStringLiteral("0"));
        QCOMPARE(data.Sloty[0].ZALOHA, 1000);
        QCOMPARE(data.Sloty[1].Slot, 4);
        QCOMPARE(data.Sloty[1].Zbozi.ID, int(Stan));
        QVERIFY(data.Sloty[1].Zbozi.Rezervovano);
        QCOMPARE(data.Sloty[1].POZNAMKA, QStringLiteral("celta"));
        QCOMPARE(data.Sloty[1].RentGoodId, 0);
    }

    void savePreparationEditedRental()
    {
        open(QStringLiteral("EDIT_VYPUJC"), RentOut);
        slot(5).editCena1Zbozi->setText(QStringLiteral("47"));
        const TVypujckaUlozeni data = form->PripravUlozeni();
        QCOMPARE(data.IdVypujcky, int(RentOut));
        QCOMPARE(data.PuvodniEvidCislo, 7);
        QCOMPARE(data.IdZakRadku, int(Dvorakova));
        QCOMPARE(data.RentGoodIds[0], 100);
        QCOMPARE(data.RentGoodIds[4], 101);
        QCOMPARE(data.RentGoodIds[1], 0);
        QCOMPARE(data.Sloty.size(), 2);
        QCOMPARE(data.Sloty[1].Slot, 5);
        QCOMPARE(data.Sloty[1].RentGoodId, 101);
        QCOMPARE(data.Sloty[1].CENA1, 47);
        QCOMPARE(data.Sloty[1].ZALOHA, 450);
        QCOMPARE(data.CenaCelkText, QStringLiteral("1500.00")); // whole units by default: 1500.5 → 1500
        QCOMPARE(data.ZasDenVydaniOP, QDate(2020, 2, 3));
        QVERIFY(data.ZakaznikZDb);
    }
};

QTEST_MAIN(TestVypujcka)
#include "tst_vypujcka.moc"
