// Saving, returning and deleting rentals against a real database: what each writes, the
// checks that refuse a save, failures that must leave nothing behind, and two
// workstations saving at the same moment.
#include "fixture.h"

#include "app/datamod_main.h"
#include "app/globalres.h"
#include "app/inifile.h"
#include "data/datm_zakaznik.h"
#include "data/datmod_vypujka.h"
#include "data/datmod_znozi.h"
#include "rentals/vypujcka.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QTabWidget>
#include <QTimeEdit>
#include <QtTest>

#include <memory>

namespace {
// Rows of the fixture database.
enum Customer { Novak = 1, Svoboda = 2 };
enum Goods { Kolo = 1, Helma = 2, Stan = 3, Lampa = 4, Varic = 5, Vesta = 6, Mapa = 7, Lano = 8 };
enum Rent { RentReturned = 20, RentOut = 30 };
constexpr int highestRentGood = 40;
constexpr int loggedInUser = 3;

const QDateTime periodFrom(QDate(2024, 5, 10), QTime(8, 0));
const QDateTime periodUntil(QDate(2024, 5, 12), QTime(18, 0));

// Restores the default locale when the test ends.
struct TLocaleScope
{
    explicit TLocaleScope(const QLocale &locale) { QLocale::setDefault(locale); }
    ~TLocaleScope() { QLocale::setDefault(previous); }
    const QLocale previous;
};
} // namespace

class TestUlozeni : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnv> env;
    std::unique_ptr<TRecordingDialogs> dialogs;
    std::unique_ptr<TDataModule_main> module;
    std::unique_ptr<TDataModule_zakaznik> customers;
    std::unique_ptr<TDataModule_zbozi> goods;
    std::unique_ptr<TDataModule_vypujcka> rents;
    std::unique_ptr<Tfrm_vypujcka> form;

    // Statements of the test run on a connection of their own, each committed at once, so
    // they see and leave what another workstation would.
    QSqlDatabase check() { return env->connection(QStringLiteral("check")); }

    void exec(const QString &sql, const QVariantList &values = {})
    {
        QSqlQuery query(check());
        QVERIFY2(query.prepare(sql), qPrintable(query.lastError().text()));
        for (int i = 0; i < values.size(); ++i)
            query.bindValue(i, values[i]);
        QVERIFY2(query.exec(), qPrintable(query.lastError().text()));
    }

    QSqlRecord row(const QString &table, int id)
    {
        QSqlQuery query(check());
        query.prepare(QStringLiteral("SELECT * FROM %1 WHERE ID=?").arg(table));
        query.bindValue(0, id);
        if (!query.exec() || !query.next())
            return QSqlRecord();
        return query.record();
    }

    int count(const QString &table)
    {
        QSqlQuery query(check());
        query.exec(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table));
        return query.next() ? query.value(0).toInt() : -1;
    }

    // Every row of the tables a save may touch.
    QStringList dump()
    {
        QStringList rows;
        for (const char *table : {"CUSTOMERS", "GOODS", "RENT", "RENT_GOOD", "RESERVE"}) {
            QSqlQuery query(check());
            query.exec(QStringLiteral("SELECT * FROM %1 ORDER BY ID").arg(QLatin1String(table)));
            while (query.next()) {
                QStringList values;
                for (int i = 0; i < query.record().count(); ++i)
                    values << (query.isNull(i) ? QStringLiteral("NULL") : query.value(i).toString());
                rows << QLatin1String(table) + QStringLiteral(": ") + values.join('|');
            }
        }
        return rows;
    }

    void writeLanguageFile()
    {
        QDir().mkpath(env->home() + QStringLiteral("lng"));
        TIniFile ini(env->home() + QStringLiteral("lng/test.ini"));
        const std::pair<const char *, const char *> texts[] = {
            {"STR_NOGOODS", "no goods"}, {"STR_NOCUSTOMERS", "no customer"}, {"STR_NOCUSTOMERS2", "name or company"},
            {"STR_NUMBER_ISUSED", "number %s used"}, {"STR_ERROR", "rental not saved"},
            {"STR_ERROR_GOOD", "item %d not saved"}, {"STR_GOOD_ISRENTED", "slot %d is out"},
            {"STR_DEL_REZERV_TEXT", "slot %d (%s) reserved for %s"}, {"STR_DEL_REZERV_CAPT", "collision"},
            {"STR_VRACENI_TEXT", "return it?"}, {"STR_VRACENI_CAPT", "return"}, {"STR_RENT_CHANGED", "changed elsewhere"}};
        for (const auto &[key, text] : texts)
            ini.WriteString(QStringLiteral("frmRent"), QLatin1String(key), QString::fromUtf8(text));
        ini.WriteString(QStringLiteral("CommonStrings"), QStringLiteral("STR_MANUAL_CUSTOMER"), QStringLiteral("One-off"));
        ini.UpdateFile();
    }

    void insertRows()
    {
        for (const char *table : {"TYPE_CUSTOMER", "TYPE_GOOD", "STATE_GOOD", "CUSTOMERS", "GOODS", "RENT", "RENT_GOOD", "RESERVE"})
            exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(table)));
        exec(QStringLiteral("INSERT INTO TYPE_CUSTOMER (ID, TYP, SLEVA) VALUES (1, 'Běžný', 0)"));
        const QString customer = QStringLiteral("INSERT INTO CUSTOMERS (ID, JMENO, FIRMA, ICO, RODNE_CIS, ID_TYP, SLEVA, "
                                                "AKT_PUJC, POCET_PRONAJMU, VYDELANO) VALUES (?, ?, '', ?, '', 1, 0, ?, ?, ?)");
        exec(customer, {Novak, QStringLiteral("Jan Novák"), QStringLiteral("111"), -1, 3, 1200.0});
        exec(customer, {Svoboda, QStringLiteral("Petr Svoboda"), QStringLiteral("222"), 1, 5, 50.0});

        exec(QStringLiteral("INSERT INTO TYPE_GOOD (ID, TYP) VALUES (1, 'Kola')"));
        exec(QStringLiteral("INSERT INTO STATE_GOOD (ID, STAV) VALUES (1, 'OK')"));
        const QString item = QStringLiteral("INSERT INTO GOODS (ID, ID_TYP, ID_STAV, NAZEV, KOD1, CENA1, CENA2, CENA3, "
                                            "ZALOHA, PUJCENI, REZERVACE, POCET_PUJC, VYDELANO, PUJCENO_OD, PUJCENO_DO) "
                                            "VALUES (?, 1, 1, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
        const QVariant noDate(QMetaType(QMetaType::QDateTime));
        const QDateTime outFrom(QDate(2024, 4, 1), QTime(9, 0)), outUntil(QDate(2024, 4, 3), QTime(9, 0));
        exec(item, {Kolo, QStringLiteral("Kolo"), QStringLiteral("K-1"), 100, 150, 400, 1000, 0, 0, 2, 100.0, noDate, noDate});
        exec(item, {Helma, QStringLiteral("Helma"), QStringLiteral("H-1"), 20, 30, 90, 200, 1, 0, 1, 10.0, outFrom, outUntil});
        exec(item, {Stan, QStringLiteral("Stan"), QStringLiteral("S-1"), 50, 80, 250, 500, -1, 2, 0, 0.0, noDate, noDate});
        exec(item, {Lampa, QStringLiteral("Lampa"), QStringLiteral("L-1"), 10, 15, 40, 100, -1, 0, 0, 0.0, noDate, noDate});
        exec(item, {Varic, QStringLiteral("Vařič"), QStringLiteral("V-1"), 10, 20, 30, 300, 0, 0, 4, 900.0, noDate, noDate});
        for (const auto &[id, name] : {std::pair{Vesta, "Vesta"}, {Mapa, "Mapa"}, {Lano, "Lano"}})
            exec(item, {id, QString::fromUtf8(name), QString::fromUtf8(name), 5, 6, 7, 50, 1, 0, 1, 20.0, outFrom, outUntil});

        const QString slot = QStringLiteral("INSERT INTO RENT_GOOD (ID, ID_ZBOZI, CENA1, CENA2, CENA3, ZALOHA, POZNAMKA) "
                                            "VALUES (?, ?, ?, ?, ?, ?, ?)");
        exec(slot, {36, Vesta, 5, 6, 7, 50, QStringLiteral("")});
        exec(slot, {37, Mapa, 5, 6, 7, 50, QStringLiteral("")});
        exec(slot, {38, Lano, 5, 6, 7, 50, QStringLiteral("")});
        exec(slot, {highestRentGood, Varic, 11, 21, 31, 310, QStringLiteral("plyn")});
        const QString rent = QStringLiteral("INSERT INTO RENT (ID, EVID_CISLO, STAV_PUJC, PUJC_OD, PUJC_DO, SLEVA, CENA_CELK, "
                                            "ZALOHA_CELK, ID_ZAK, ID_ZBOZI1, ID_ZBOZI3, ID_ZBOZI7) VALUES (?, ?, ?, ?, ?, 0, ?, ?, ?, ?, ?, ?)");
        exec(rent, {RentReturned, 7, 0, QDateTime(QDate(2024, 3, 1), QTime(10, 0)), QDateTime(QDate(2024, 3, 2), QTime(10, 0)),
                    300.0, 310, Novak, highestRentGood, 0, 0});
        exec(rent, {RentOut, 12, 1, outFrom, outUntil, 90.0, 150, Svoboda, 36, 37, 38});

        const QString reservation = QStringLiteral("INSERT INTO RESERVE (ID, OD_CAS, DO_CAS, TEXT, VLASTNIK, ID_ZBOZI) "
                                                   "VALUES (?, ?, ?, '', ?, ?)");
        exec(reservation, {1, periodFrom, periodUntil, QStringLiteral("Karel Rezervant"), Stan});
        exec(reservation, {2, QDateTime(QDate(2024, 6, 1), QTime(8, 0)), QDateTime(QDate(2024, 6, 2), QTime(8, 0)),
                           QStringLiteral("Jiný"), Stan});
    }

    std::unique_ptr<Tfrm_vypujcka> newForm()
    {
        auto editor = std::make_unique<Tfrm_vypujcka>();
        editor->RunModal = [](QDialog &) { return int(QDialog::Rejected); };
        editor->Jazyk(QStringLiteral("test.ini"));
        return editor;
    }

    void open(Tfrm_vypujcka &editor, const QString &mode, int rentId = 0)
    {
        editor.Rezim = mode;
        editor.IdVypujcky = rentId;
        editor.setResult(QDialog::Rejected);
        editor.FormActivate();
    }

    int rowOf(QSqlQueryModel *model, int column, int id) const
    {
        for (int r = 0; r < model->rowCount(); ++r)
            if (model->index(r, column).data().toInt() == id)
                return r;
        return -1;
    }

    void chooseCustomer(int id)
    {
        emit form->comboJmeno->activated(rowOf(customers->IBQCustomersVyber, TDataModule_zakaznik::colId, id));
    }

    Tfrm_vypujcka::TSlot &slot(int n) { return form->Slot[n - 1]; }

    // Ticks slot n and chooses the item by name, as the operator does.
    void place(int n, int goodsId)
    {
        slot(n).checkZbozi->setChecked(true);
        form->checkZboziClick(n - 1);
        emit slot(n).comboNazevZbozi->activated(rowOf(goods->IBQZboziVyber, TDataModule_zbozi::colId, goodsId));
        QCOMPARE(slot(n).Zbozi.ID, goodsId);
    }

    void setPeriod(Tfrm_vypujcka &editor, const QDateTime &from, const QDateTime &until)
    {
        const QSignalBlocker b1(editor.DateTimePickerOdDatum), b2(editor.DateTimePickerOdCas),
            b3(editor.DateTimePickerDoDatum), b4(editor.DateTimePickerDoCas);
        editor.DateTimePickerOdDatum->setDate(from.date());
        editor.DateTimePickerOdCas->setTime(from.time());
        editor.DateTimePickerDoDatum->setDate(until.date());
        editor.DateTimePickerDoCas->setTime(until.time());
    }

    // The new rental of the first example: register customer Novák, items in slots 1 and 4,
    // total 500.
    void enterNewRental()
    {
        open(*form, QStringLiteral("VYPUJC"));
        chooseCustomer(Novak);
        place(1, Kolo);
        slot(1).editCena2Zbozi->setText(QStringLiteral("140"));
        slot(1).editPoznamkyZbozi->setText(QStringLiteral("bez zvonku"));
        form->btnNextClick(1);
        place(4, Lampa);
        setPeriod(*form, periodFrom, periodUntil);
        form->editCenaCelk->setValue(500);
        form->editZastupJmeno->setText(QStringLiteral("Zástupce"));
    }

    bool saved() const { return form->result() == QDialog::Accepted; }

    void verifyNothingShown()
    {
        QVERIFY2(dialogs->texts.isEmpty(), qPrintable(dialogs->texts.join('\n')));
        QVERIFY2(dialogs->errors.isEmpty(), qPrintable(dialogs->errors.join('\n')));
    }

    // A trigger that makes the rental's statement of `event` (INSERT, UPDATE or DELETE) fail.
    void failRentStatement(const QString &event)
    {
        exec(QStringLiteral("CREATE EXCEPTION E_INJECTED 'injected failure'"));
        exec(QStringLiteral("CREATE TRIGGER RENT_FAIL FOR RENT ACTIVE BEFORE %1 POSITION 5 AS BEGIN EXCEPTION E_INJECTED; END")
                 .arg(event));
    }

private slots:
    void init()
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
        insertRows();
        QVERIFY(module->ConnectDatabase(Settings.Database.Path));
        Settings.Database.Connected = true;
        Settings.RoundOn = 1;
        Settings.User.Id = loggedInUser;
        module->RefreshData();
        writeLanguageFile();
        form = newForm();
    }

    void cleanup()
    {
        form.reset();
        rents.reset();
        goods.reset();
        customers.reset();
        module.reset();
        dialogs.reset();
        env.reset();
    }

    // ------------------------------------------------------------ new rental

    void newRentalOfRegisterCustomer()
    {
        enterNewRental();
        form->btnSaveClick();
        verifyNothingShown();
        QVERIFY(saved());

        const QSqlRecord customer = row(QStringLiteral("CUSTOMERS"), Novak);
        QCOMPARE(customer.value("AKT_PUJC").toInt(), 1); // −1 counts as none
        QCOMPARE(customer.value("POCET_PRONAJMU").toInt(), 3);
        QCOMPARE(customer.value("VYDELANO").toDouble(), 1700.0);

        const QSqlRecord first = row(QStringLiteral("RENT_GOOD"), highestRentGood + 1);
        QCOMPARE(first.value("ID_ZBOZI").toInt(), int(Kolo));
        QCOMPARE(first.value("CENA1").toInt(), 100);
        QCOMPARE(first.value("CENA2").toInt(), 140);
        QCOMPARE(first.value("CENA3").toInt(), 400);
        QCOMPARE(first.value("ZALOHA").toInt(), 1000);
        QCOMPARE(first.value("POZNAMKA").toString(), QStringLiteral("bez zvonku"));
        const QSqlRecord second = row(QStringLiteral("RENT_GOOD"), highestRentGood + 2);
        QCOMPARE(second.value("ID_ZBOZI").toInt(), int(Lampa));
        QCOMPARE(second.value("CENA3").toInt(), 40);
        QCOMPARE(second.value("ZALOHA").toInt(), 100);
        QCOMPARE(second.value("POZNAMKA").toString(), QString());

        for (const int id : {Kolo, Lampa}) {
            const QSqlRecord item = row(QStringLiteral("GOODS"), id);
            QCOMPARE(item.value("PUJCENI").toInt(), 1);
            QCOMPARE(item.value("PUJCENO_OD").toDateTime(), periodFrom);
            QCOMPARE(item.value("PUJCENO_DO").toDateTime(), periodUntil);
        }
        // Count and earnings of goods change only on return.
        QCOMPARE(row(QStringLiteral("GOODS"), Kolo).value("POCET_PUJC").toInt(), 2);
        QCOMPARE(row(QStringLiteral("GOODS"), Kolo).value("VYDELANO").toDouble(), 100.0);

        const QSqlRecord rent = row(QStringLiteral("RENT"), RentOut + 1);
        QCOMPARE(rent.value("ID_ZBOZI1").toInt(), highestRentGood + 1);
        QCOMPARE(rent.value("ID_ZBOZI2").toInt(), highestRentGood + 2);
        for (int n = 3; n <= 15; ++n)
            QCOMPARE(rent.value(QStringLiteral("ID_ZBOZI%1").arg(n)).toInt(), 0);
        QCOMPARE(rent.value("STAV_PUJC").toInt(), 1);
        QCOMPARE(rent.value("USER_PUJC").toInt(), loggedInUser);
        QCOMPARE(rent.value("USER_EDIT").toInt(), loggedInUser);
        QCOMPARE(rent.value("ID_ZAK").toInt(), int(Novak));
        QCOMPARE(rent.value("EVID_CISLO").toInt(), 13); // the highest + 1, proposed on opening
        QCOMPARE(rent.value("CENA_CELK").toDouble(), 500.0);
        QCOMPARE(rent.value("ZALOHA_CELK").toInt(), 1100);
        QCOMPARE(rent.value("PUJC_OD").toDateTime(), periodFrom);
        QCOMPARE(rent.value("PUJC_DO").toDateTime(), periodUntil);
        QCOMPARE(rent.value("ZAK_JMENO").toString(), QString());
        QVERIFY(rent.isNull("ZAK_DENVYDANIOP"));
        QCOMPARE(rent.value("ZAS_JMENO").toString(), QStringLiteral("Zástupce"));
        QCOMPARE(count(QStringLiteral("RENT")), 3);
        QCOMPARE(count(QStringLiteral("RENT_GOOD")), 6);
    }

    void newRentalOfOneOffCustomer()
    {
        const QStringList customersBefore = dump().filter(QStringLiteral("CUSTOMERS:"));
        open(*form, QStringLiteral("VYPUJC"));
        form->PageControlZak->setCurrentIndex(1);
        const QList<QLineEdit *> fields = {form->editNovyZakJmeno, form->editNovyZakFirma, form->editNovyZakIco,
                                           form->editNovyZakDic, form->editNovyZakCisloOP, form->editNovyZakOPVydan,
                                           form->editNovyZakRodneC, form->editNovyZakUlice, form->editNovyZakCislo,
                                           form->editNovyZakMesto, form->editNovyZakPsc, form->editNovyZakTel,
                                           form->editNovyZakOstatni};
        const QStringList columns = {"ZAK_JMENO", "ZAK_FIRMA", "ZAK_ICO", "ZAK_DIC", "ZAK_CISLOOP", "ZAK_VYSTAVOP",
                                     "ZAK_RODNEC", "ZAK_FULICE", "ZAK_FCISLO", "ZAK_FMESTO", "ZAK_FPSC", "ZAK_TEL",
                                     "ZAK_OSTATNI"};
        for (int i = 0; i < fields.size(); ++i)
            fields[i]->setText(QStringLiteral("Olga Ž. %1").arg(i));
        form->DateTimePickerNovyZakDenOP->setDate(QDate(2019, 9, 9));
        place(1, Kolo);
        setPeriod(*form, periodFrom, periodUntil);
        form->editCenaCelk->setValue(250);
        form->btnSaveClick();
        verifyNothingShown();
        QVERIFY(saved());

        const QSqlRecord rent = row(QStringLiteral("RENT"), RentOut + 1);
        QCOMPARE(rent.value("ID_ZAK").toInt(), 0);
        for (int i = 0; i < columns.size(); ++i)
            QCOMPARE(rent.value(columns[i]).toString(), QStringLiteral("Olga Ž. %1").arg(i));
        QCOMPARE(rent.value("ZAK_DENVYDANIOP").toDateTime().date(), QDate(2019, 9, 9));
        QCOMPARE(rent.value("ID_ZBOZI1").toInt(), highestRentGood + 1);
        QCOMPARE(dump().filter(QStringLiteral("CUSTOMERS:")), customersBefore);
    }

    void decimalCommaTotal()
    {
        const TLocaleScope czech{QLocale(QLocale::Czech)};
        Settings.RoundOn = 100;
        form = newForm(); // made under the decimal-comma locale
        enterNewRental();
        form->editCenaCelk->clear();
        QTest::keyClicks(form->editCenaCelk, QStringLiteral("1234,5"));
        form->editCenaCelk->interpretText();
        QCOMPARE(form->editCenaCelk->value(), 1234.5);
        form->btnSaveClick();
        verifyNothingShown();

        QSqlQuery stored(check());
        stored.prepare(QStringLiteral("SELECT CAST(CAST(CENA_CELK AS NUMERIC(9,2)) AS VARCHAR(20)) FROM RENT WHERE ID=?"));
        stored.bindValue(0, RentOut + 1);
        QVERIFY(stored.exec() && stored.next());
        QCOMPARE(stored.value(0).toString(), QStringLiteral("1234.50"));
        QCOMPARE(row(QStringLiteral("CUSTOMERS"), Novak).value("VYDELANO").toDouble(), 2434.5);
    }

    // ------------------------------------------------------------ checks that refuse a save

    void itemOut_data()
    {
        QTest::addColumn<bool>("rentedMeanwhile");
        QTest::addColumn<int>("slotNo");
        QTest::addColumn<int>("page");
        QTest::newRow("out when the window was opened") << false << 5 << 2;
        QTest::newRow("rented meanwhile at another workstation") << true << 8 << 3;
    }
    void itemOut()
    {
        QFETCH(bool, rentedMeanwhile);
        QFETCH(int, slotNo);
        enterNewRental();
        if (rentedMeanwhile) {
            place(slotNo, Varic);
            exec(QStringLiteral("UPDATE GOODS SET PUJCENI=1 WHERE ID=?"), {Varic});
        } else {
            place(slotNo, Helma);
        }
        form->PageControlMain->setCurrentIndex(0);
        const QStringList before = dump();
        form->btnSaveClick();
        QCOMPARE(dialogs->texts, QStringList{QStringLiteral("slot %1 is out").arg(slotNo)});
        QTEST(form->PageControlMain->currentIndex(), "page");
        QVERIFY(!saved());
        QCOMPARE(dump(), before);
    }

    void refused_data()
    {
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("message");
        QTest::newRow("no register customer") << "noCustomer" << "no customer";
        QTest::newRow("one-off without name and company") << "oneOffEmpty" << "name or company";
        QTest::newRow("no goods") << "noGoods" << "no goods";
    }
    void refused()
    {
        QFETCH(QString, what);
        open(*form, QStringLiteral("VYPUJC"));
        if (what == QLatin1String("oneOffEmpty")) {
            form->PageControlZak->setCurrentIndex(1);
            form->editNovyZakIco->setText(QStringLiteral("123"));
            form->editNovyZakJmeno->setText(QStringLiteral("  "));
        } else if (what != QLatin1String("noCustomer")) {
            chooseCustomer(Novak);
        }
        if (what != QLatin1String("noGoods"))
            place(1, Kolo);
        else
            slot(2).checkZbozi->setChecked(true); // ticked, but no item chosen
        const QStringList before = dump();
        form->btnSaveClick();
        QTEST(dialogs->texts.join('|'), "message");
        QVERIFY(!saved());
        QCOMPARE(dump(), before);
    }

    void evidenceNumber_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("oneUsed");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("field");
        QTest::newRow("used by another rental") << "7" << false << "number 7 used" << "13";
        QTest::newRow("free") << "8" << false << "" << "8";
        QTest::newRow("emptied, 1 is free") << "" << false << "" << "1";
        QTest::newRow("emptied, 1 is used") << "" << true << "number 1 used" << "13";
    }
    void evidenceNumber()
    {
        QFETCH(QString, typed);
        QFETCH(bool, oneUsed);
        QFETCH(QString, message);
        if (oneUsed)
            exec(QStringLiteral("INSERT INTO RENT (ID, EVID_CISLO, STAV_PUJC) VALUES (99, 1, 0)"));
        enterNewRental();
        form->editCislo->setText(typed);
        const QStringList before = dump();
        form->btnSaveClick();
        QCOMPARE(dialogs->texts.join('|'), message);
        QTEST(form->editCislo->text(), "field");
        QCOMPARE(saved(), message.isEmpty());
        if (message.isEmpty()) {
            QCOMPARE(row(QStringLiteral("RENT"), RentOut + 1).value("EVID_CISLO").toString(), form->editCislo->text());
        } else {
            QCOMPARE(form->PageControlMain->currentIndex(), 0);
            QCOMPARE(dump(), before);
        }
    }

    // ------------------------------------------------------------ reservations

    void reservationCollision_data()
    {
        QTest::addColumn<QDateTime>("from");
        QTest::addColumn<QDateTime>("until");
        QTest::addColumn<bool>("collides");
        const QDate may9(2024, 5, 9), may10(2024, 5, 10), may12(2024, 5, 12), may13(2024, 5, 13);
        QTest::newRow("ends exactly at its start") << QDateTime(may9, QTime(8, 0)) << QDateTime(may10, QTime(8, 0)) << true;
        QTest::newRow("starts exactly at its end") << QDateTime(may12, QTime(18, 0)) << QDateTime(may13, QTime(8, 0)) << true;
        QTest::newRow("covers it") << QDateTime(may9, QTime(8, 0)) << QDateTime(may13, QTime(8, 0)) << true;
        QTest::newRow("lies inside it") << QDateTime(may10, QTime(12, 0)) << QDateTime(may10, QTime(13, 0)) << true;
        QTest::newRow("ends a minute before") << QDateTime(may9, QTime(8, 0)) << QDateTime(may10, QTime(7, 59)) << false;
        QTest::newRow("starts a minute after") << QDateTime(may12, QTime(18, 1)) << QDateTime(may13, QTime(8, 0)) << false;
    }
    void reservationCollision()
    {
        QFETCH(QDateTime, from);
        QFETCH(QDateTime, until);
        QFETCH(bool, collides);
        QCOMPARE(rents->CollidingReservation(Stan, from, until).has_value(), collides);

        enterNewRental();
        place(2, Stan);
        setPeriod(*form, from, until);
        const QStringList before = dump();
        dialogs->answers << false; // keep the reservation
        form->btnSaveClick();
        if (!collides) {
            QVERIFY(dialogs->questions.isEmpty());
            QVERIFY(saved());
            return;
        }
        QCOMPARE(dialogs->questions, QStringList{QStringLiteral("slot 2 (Stan) reserved for Karel Rezervant")});
        QVERIFY(!saved());
        QCOMPARE(dump(), before);
    }

    void reservationDeletedOnYes()
    {
        enterNewRental();
        place(2, Stan);
        dialogs->answers << true;
        form->btnSaveClick();
        QCOMPARE(dialogs->questions.size(), 1);
        QVERIFY(!saved()); // the save stops; the operator saves again
        QVERIFY(row(QStringLiteral("RESERVE"), 1).isEmpty());
        QVERIFY(!row(QStringLiteral("RESERVE"), 2).isEmpty());
        QCOMPARE(row(QStringLiteral("GOODS"), Stan).value("REZERVACE").toInt(), 1);
        QCOMPARE(count(QStringLiteral("RENT")), 2);

        form->btnSaveClick();
        QCOMPARE(dialogs->questions.size(), 1);
        verifyNothingShown();
        QVERIFY(saved());
        QCOMPARE(row(QStringLiteral("GOODS"), Stan).value("PUJCENI").toInt(), 1);
    }

    // ------------------------------------------------------------ edits and return

    void returnRental()
    {
        enterNewRental();
        form->btnSaveClick();
        QVERIFY(saved());
        const int id = RentOut + 1;

        form = newForm();
        open(*form, QStringLiteral("EDIT_VYPUJC"), id);
        dialogs->answers << false;
        form->btnVratitClick();
        QCOMPARE(form->NovyStav, 1); // not confirmed: still out
        dialogs->answers << true;
        form->btnVratitClick();
        QCOMPARE(dialogs->questions, QStringList({QStringLiteral("return it?"), QStringLiteral("return it?")}));
        QCOMPARE(form->NovyStav, 0);
        QCOMPARE(form->comboStav->currentIndex(), 1);
        form->btnSaveClick();
        verifyNothingShown();
        QVERIFY(saved());

        const QSqlRecord kolo = row(QStringLiteral("GOODS"), Kolo);
        QCOMPARE(kolo.value("PUJCENI").toInt(), 0);
        QVERIFY(kolo.isNull("PUJCENO_OD"));
        QVERIFY(kolo.isNull("PUJCENO_DO"));
        QCOMPARE(kolo.value("POCET_PUJC").toInt(), 3);
        QCOMPARE(kolo.value("VYDELANO").toDouble(), 600.0);
        const QSqlRecord lampa = row(QStringLiteral("GOODS"), Lampa);
        QCOMPARE(lampa.value("PUJCENI").toInt(), 0);
        QCOMPARE(lampa.value("POCET_PUJC").toInt(), 1);
        QCOMPARE(lampa.value("VYDELANO").toDouble(), 500.0);
        const QSqlRecord customer = row(QStringLiteral("CUSTOMERS"), Novak);
        QCOMPARE(customer.value("AKT_PUJC").toInt(), 0);
        QCOMPARE(customer.value("POCET_PRONAJMU").toInt(), 4);
        QCOMPARE(customer.value("VYDELANO").toDouble(), 2200.0);
        QCOMPARE(row(QStringLiteral("RENT"), id).value("STAV_PUJC").toInt(), 0);
    }

    void returnFromStaleWindowIsRefused()
    {
        // Two workstations have the same rental open; both return it.
        std::unique_ptr<Tfrm_vypujcka> other = newForm();
        open(*other, QStringLiteral("EDIT_VYPUJC"), RentOut);
        open(*form, QStringLiteral("EDIT_VYPUJC"), RentOut);
        dialogs->answers << true << true;
        form->btnVratitClick();
        other->btnVratitClick();
        form->btnSaveClick();
        QVERIFY(saved());
        const QStringList afterFirst = dump();
        QCOMPARE(row(QStringLiteral("CUSTOMERS"), Svoboda).value("POCET_PRONAJMU").toInt(), 6);

        other->btnSaveClick();
        QCOMPARE(dialogs->errors, QStringList{QStringLiteral("changed elsewhere")});
        QVERIFY(other->result() != QDialog::Accepted);
        QCOMPARE(dump(), afterFirst);
    }

    void editOutRentalMarksGoodsAgain()
    {
        const QStringList customersBefore = dump().filter(QStringLiteral("CUSTOMERS:"));
        open(*form, QStringLiteral("EDIT_VYPUJC"), RentOut);
        const QDateTime newUntil(QDate(2024, 4, 9), QTime(17, 0));
        setPeriod(*form, form->Vypujcka->PUJC_OD, newUntil);
        slot(3).editCena1Zbozi->setText(QStringLiteral("77"));
        form->btnSaveClick();
        verifyNothingShown();
        QVERIFY(saved());
        for (const int id : {Vesta, Mapa, Lano}) {
            QCOMPARE(row(QStringLiteral("GOODS"), id).value("PUJCENI").toInt(), 1);
            QCOMPARE(row(QStringLiteral("GOODS"), id).value("PUJCENO_DO").toDateTime(), newUntil);
            QCOMPARE(row(QStringLiteral("GOODS"), id).value("POCET_PUJC").toInt(), 1);
        }
        QCOMPARE(row(QStringLiteral("RENT_GOOD"), 37).value("CENA1").toInt(), 77);
        QCOMPARE(row(QStringLiteral("RENT"), RentOut).value("PUJC_DO").toDateTime(), newUntil);
        QCOMPARE(row(QStringLiteral("RENT"), RentOut).value("STAV_PUJC").toInt(), 1);
        QCOMPARE(dump().filter(QStringLiteral("CUSTOMERS:")), customersBefore);
    }

    void editReturnedRentalTouchesOnlyItsRows()
    {
        const QStringList before = dump();
        open(*form, QStringLiteral("EDIT_VRAC"), RentReturned);
        slot(1).editCena1Zbozi->setText(QStringLiteral("12"));
        slot(1).editPoznamkyZbozi->setText(QStringLiteral("plyn a hořák"));
        form->editCenaCelk->setValue(320);
        form->btnSaveClick();
        verifyNothingShown();
        QVERIFY(saved());

        const QStringList after = dump();
        for (const char *table : {"CUSTOMERS:", "GOODS:", "RESERVE:"})
            QCOMPARE(after.filter(QLatin1String(table)), before.filter(QLatin1String(table)));
        QCOMPARE(row(QStringLiteral("RENT_GOOD"), highestRentGood).value("CENA1").toInt(), 12);
        QCOMPARE(row(QStringLiteral("RENT_GOOD"), highestRentGood).value("POZNAMKA").toString(), QStringLiteral("plyn a hořák"));
        const QSqlRecord rent = row(QStringLiteral("RENT"), RentReturned);
        QCOMPARE(rent.value("CENA_CELK").toDouble(), 320.0);
        QCOMPARE(rent.value("STAV_PUJC").toInt(), 0);
        QCOMPARE(rent.value("EVID_CISLO").toInt(), 7); // the loaded number passes unchecked
        QCOMPARE(rent.value("USER_EDIT").toInt(), loggedInUser);
        // Only the rental's own rows changed.
        QStringList others = after;
        for (const QString &line : before)
            others.removeOne(line);
        QCOMPARE(others.size(), 2);
    }

    // ------------------------------------------------------------ delete

    void deleteOutRental()
    {
        rents->DeleteRent(RentOut);
        QVERIFY(row(QStringLiteral("RENT"), RentOut).isEmpty());
        for (const int id : {36, 37, 38})
            QVERIFY(row(QStringLiteral("RENT_GOOD"), id).isEmpty());
        for (const int id : {Vesta, Mapa, Lano}) {
            const QSqlRecord item = row(QStringLiteral("GOODS"), id);
            QCOMPARE(item.value("PUJCENI").toInt(), 0);
            QVERIFY(item.isNull("PUJCENO_OD"));
            QVERIFY(item.isNull("PUJCENO_DO"));
            QCOMPARE(item.value("POCET_PUJC").toInt(), 1);
        }
        const QSqlRecord customer = row(QStringLiteral("CUSTOMERS"), Svoboda);
        QCOMPARE(customer.value("AKT_PUJC").toInt(), 0);
        QCOMPARE(customer.value("POCET_PRONAJMU").toInt(), 5);
        QCOMPARE(customer.value("VYDELANO").toDouble(), 50.0);
    }

    void deleteReturnedRental()
    {
        const QStringList before = dump();
        rents->DeleteRent(RentReturned);
        const QStringList after = dump();
        QVERIFY(row(QStringLiteral("RENT"), RentReturned).isEmpty());
        QVERIFY(row(QStringLiteral("RENT_GOOD"), highestRentGood).isEmpty());
        QCOMPARE(before.size() - after.size(), 2);
        for (const QString &line : after)
            QVERIFY(before.contains(line));
        rents->DeleteRent(RentReturned); // already gone: nothing to do
        QCOMPARE(dump(), after);
    }

    // ------------------------------------------------------------ failures leave nothing

    void failureAtLastStatement_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::newRow("save") << "save";
        QTest::newRow("return") << "return";
        QTest::newRow("delete") << "delete";
    }
    void failureAtLastStatement()
    {
        QFETCH(QString, operation);
        if (operation == QLatin1String("save")) {
            enterNewRental();
        } else if (operation == QLatin1String("return")) {
            open(*form, QStringLiteral("EDIT_VYPUJC"), RentOut);
            dialogs->answers << true;
            form->btnVratitClick();
        }
        const QStringList before = dump();
        failRentStatement(operation == QLatin1String("save")     ? QStringLiteral("INSERT")
                          : operation == QLatin1String("return") ? QStringLiteral("UPDATE")
                                                                 : QStringLiteral("DELETE"));

        if (operation == QLatin1String("delete")) {
            QVERIFY_THROWS_EXCEPTION(EDatabaseError, rents->DeleteRent(RentOut));
        } else {
            form->btnSaveClick();
            QCOMPARE(dialogs->errors.size(), 1);
            QVERIFY2(dialogs->errors[0].startsWith(QStringLiteral("rental not saved")), qPrintable(dialogs->errors[0]));
            QVERIFY2(dialogs->errors[0].contains(QStringLiteral("injected failure")), qPrintable(dialogs->errors[0]));
            QVERIFY(!saved());
        }
        QCOMPARE(dump(), before);

        if (operation == QLatin1String("save")) {
            // The window still holds what was typed, and saves once the failure is gone.
            QCOMPARE(form->editCenaCelk->value(), 500.0);
            QCOMPARE(slot(1).Zbozi.ID, int(Kolo));
            QCOMPARE(slot(1).editPoznamkyZbozi->text(), QStringLiteral("bez zvonku"));
            QCOMPARE(form->editZastupJmeno->text(), QStringLiteral("Zástupce"));
            exec(QStringLiteral("DROP TRIGGER RENT_FAIL"));
            form->btnSaveClick();
            QVERIFY(saved());
            QCOMPARE(row(QStringLiteral("CUSTOMERS"), Novak).value("AKT_PUJC").toInt(), 1);
        }
    }

    // ------------------------------------------------------------ two workstations

    void writeStartsFromFreshSnapshot()
    {
        // The shared snapshot is older than another workstation's change of the customer;
        // a write on that snapshot would conflict with it.
        QVERIFY(module->InTransaction());
        exec(QStringLiteral("UPDATE CUSTOMERS SET VYDELANO = VYDELANO + 300 WHERE ID=?"), {Novak});
        int attempts = 0;
        rents->AfterIdsRead = [&attempts] { ++attempts; };
        TRentRow rental;
        rental.EVID_CISLO = 50;
        rental.PUJC_OD = periodFrom;
        rental.PUJC_DO = periodUntil;
        rental.CENA_CELK = 100;
        rental.ID_ZAK = Novak;
        rental.Slots[0].GoodsId = Kolo;
        QCOMPARE(rents->InsertRent(rental, loggedInUser), RentOut + 1);
        QCOMPARE(attempts, 1);
        QCOMPARE(row(QStringLiteral("CUSTOMERS"), Novak).value("VYDELANO").toDouble(), 1200.0 + 300 + 100);
    }

    void twoWorkstations_data()
    {
        QTest::addColumn<QString>("other");
        QTest::addColumn<int>("attempts");
        QTest::newRow("the other saves a rental with the same new IDs") << "rental" << 2;
        QTest::newRow("the other changes the customer during the save") << "customer" << 2;
    }
    void twoWorkstations()
    {
        QFETCH(QString, other);
        // The other workstation: a connection and a rentals module of its own.
        TDataModule_main otherMain(QStringLiteral("other"));
        QVERIFY(otherMain.ConnectDatabase(Settings.Database.Path));
        TDataModule_vypujcka otherRents(otherMain);
        TRentRow otherRow;
        otherRow.EVID_CISLO = 50;
        otherRow.PUJC_OD = periodFrom;
        otherRow.PUJC_DO = periodUntil;
        otherRow.CENA_CELK = 300;
        otherRow.ID_ZAK = Novak;
        otherRow.Slots[0].GoodsId = Varic;
        otherRow.Slots[0].CENA1 = 10;

        int attempts = 0;
        int otherId = 0;
        rents->AfterIdsRead = [&] {
            if (++attempts > 1)
                return;
            if (other == QLatin1String("rental"))
                otherId = otherRents.InsertRent(otherRow, 9);
            else if (other == QLatin1String("customer"))
                exec(QStringLiteral("UPDATE CUSTOMERS SET VYDELANO = VYDELANO + 300 WHERE ID=?"), {Novak});
        };
        enterNewRental();
        form->btnSaveClick();
        verifyNothingShown();
        QVERIFY(saved());
        QTEST(attempts, "attempts");

        const QSqlRecord customer = row(QStringLiteral("CUSTOMERS"), Novak);
        QCOMPARE(customer.value("VYDELANO").toDouble(), 1200.0 + 500 + 300);
        if (other == QLatin1String("rental")) {
            // Both rentals, with distinct IDs, both counted.
            QCOMPARE(otherId, RentOut + 1);
            QCOMPARE(customer.value("AKT_PUJC").toInt(), 2);
            QCOMPARE(count(QStringLiteral("RENT")), 4);
            const QSqlRecord ours = row(QStringLiteral("RENT"), RentOut + 2);
            QCOMPARE(ours.value("ID_ZAK").toInt(), int(Novak));
            QCOMPARE(ours.value("ID_ZBOZI1").toInt(), highestRentGood + 2);
            QCOMPARE(ours.value("ID_ZBOZI2").toInt(), highestRentGood + 3);
            QCOMPARE(row(QStringLiteral("RENT_GOOD"), highestRentGood + 1).value("ID_ZBOZI").toInt(), int(Varic));
            QCOMPARE(row(QStringLiteral("RENT_GOOD"), highestRentGood + 2).value("ID_ZBOZI").toInt(), int(Kolo));
            QCOMPARE(row(QStringLiteral("RENT_GOOD"), highestRentGood + 3).value("ID_ZBOZI").toInt(), int(Lampa));
            QCOMPARE(row(QStringLiteral("RENT"), otherId).value("USER_PUJC").toInt(), 9);
        } else {
            QCOMPARE(customer.value("AKT_PUJC").toInt(), 1);
            QCOMPARE(row(QStringLiteral("RENT"), RentOut + 1).value("ID_ZBOZI1").toInt(), highestRentGood + 1);
        }
    }

    void otherWorkstationTakesTheEvidenceNumber()
    {
        TDataModule_main otherMain(QStringLiteral("other"));
        QVERIFY(otherMain.ConnectDatabase(Settings.Database.Path));
        TDataModule_vypujcka otherRents(otherMain);
        enterNewRental();
        const int number = form->editCislo->text().toInt();
        TRentRow otherRow;
        otherRow.EVID_CISLO = number;
        otherRow.PUJC_OD = periodFrom;
        otherRow.PUJC_DO = periodUntil;
        otherRow.ID_ZAK = Novak;
        otherRow.Slots[0].GoodsId = Varic;
        // The other workstation saves the same number after our checks have passed.
        rents->AfterIdsRead = [&] {
            if (rents->AfterIdsRead) {
                rents->AfterIdsRead = nullptr;
                otherRents.InsertRent(otherRow, 9);
            }
        };
        const int before = count(QStringLiteral("RENT"));
        form->btnSaveClick();
        QVERIFY(!saved());
        QCOMPARE(count(QStringLiteral("RENT")), before + 1); // only the other one
        QCOMPARE(dialogs->texts.size(), 1);
        QCOMPARE(form->editCislo->text().toInt(), number + 1);
        // Saving again with the proposed number goes through.
        dialogs->texts.clear();
        form->btnSaveClick();
        verifyNothingShown();
        QVERIFY(saved());
        QCOMPARE(count(QStringLiteral("RENT")), before + 2);
    }
};

QTEST_MAIN(TestUlozeni)
#include "tst_ulozeni.moc"
