// The database made from db/schema.sql: tables and columns with their types and widths,
// keys, indexes, the EVENT_DB triggers, the initial rows, and Czech text handling.
#include "fixture.h"

#include "app/eventlistener.h"
#include "app/globalres.h"

#include <QSignalSpy>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

#include <memory>

namespace {

// Columns of every table in their order. A number is a WIN1250 text of that many
// characters; "!" marks NOT NULL.
const QList<QPair<QString, QString>> &expectedTables()
{
    static const QList<QPair<QString, QString>> tables = {
        {"CUSTOMERS",
         "ID int!, JMENO 64, FIRMA 64, ICO 34, DIC 34, FA_NAZEV 64, FA_ULICE 64, FA_CISLO 16, "
         "FA_PSC 16, FA_MESTO 64, DA1_NAZEV 64, DA2_NAZEV 64, DA3_NAZEV 64, DA1_ULICE 64, "
         "DA2_ULICE 64, DA3_ULICE 64, DA1_CISLO 16, DA2_CISLO 16, DA3_CISLO 16, DA1_PSC 16, "
         "DA2_PSC 16, DA3_PSC 16, DA1_MESTO 64, DA2_MESTO 64, DA3_MESTO 64, EMAIL 64, ICQ 64, "
         "CISLO_OP 32, VYDANO_OP 64, DENVYDANI_OP date, ID_TYP int, SLEVA int, "
         "POCET_PRONAJMU int, TEL1 32, TEL2 32, TEL3 32, WEB 64, RODNE_CIS 16, TISK int, "
         "POZNAMKY 2056, AKT_PUJC small, VYDELANO double"},
        {"TYPE_CUSTOMER", "ID int!, TYP 32, SLEVA int, BARVA 16"},
        {"GOODS",
         "ID int!, ID_TYP int, ID_STAV int, REZERVACE small, ROK_PORIZENI int, POPIS 258, "
         "PUJCENI small, KOD1 32, KOD2 32, CENA1 int, CENA2 int, CENA3 int, ZALOHA int, "
         "PUJCENO_OD date, PUJCENO_DO date, POCET_PUJC int, KONTROLA1 date, KONTROLA2 date, "
         "PRISLUSENTSVI 128, NAZEV 32, KONTROLA1_POPIS 66, KONTROLA2_POPIS 66, POZNAMKY 1024, "
         "FOTO 128, VYDELANO double"},
        {"TYPE_GOOD", "ID int!, TYP 32, BARVA 16"},
        {"STATE_GOOD", "ID int!, STAV 32, BARVA 16"},
        {"RENT",
         "ID int!, EVID_CISLO int, STAV_PUJC small, PUJC_OD date, PUJC_DO date, SLEVA int, "
         "CENA_CELK double, ZALOHA_CELK int, ID_ZAK int, ZAK_JMENO 64, ZAK_FIRMA 64, ZAK_ICO 32, "
         "ZAK_DIC 32, ZAK_CISLOOP 32, ZAK_VYSTAVOP 64, ZAK_RODNEC 16, ZAK_FULICE 64, "
         "ZAK_FCISLO 16, ZAK_FMESTO 64, ZAK_FPSC 16, ZAK_TEL 32, ZAK_OSTATNI 128, ZAS_JMENO 64, "
         "ZAS_CISLOOP 32, ZAS_VYSTAVOP 64, ZAS_RODNEC 16, ID_ZBOZI1 int, ID_ZBOZI2 int, "
         "ID_ZBOZI3 int, ID_ZBOZI4 int, ID_ZBOZI5 int, ID_ZBOZI6 int, ID_ZBOZI7 int, "
         "ID_ZBOZI8 int, ID_ZBOZI9 int, ID_ZBOZI10 int, ID_ZBOZI11 int, ID_ZBOZI12 int, "
         "ID_ZBOZI13 int, ID_ZBOZI14 int, ID_ZBOZI15 int, USER_PUJC int, USER_EDIT int, "
         "CIS_FAKT 14, ZAK_DENVYDANIOP date, ZAS_DENVYDANIOP date"},
        {"RENT_GOOD", "ID int!, CENA1 int, CENA2 int, CENA3 int, ZALOHA int, POZNAMKA 512, ID_ZBOZI int"},
        {"RESERVE", "ID int!, OD_CAS date, DO_CAS date, TEXT 256, VLASTNIK 128, ID_ZBOZI int"},
        {"INVOICE",
         "ID int!, CIS_FAKT int, ID_VYP int, USER_VYSTAV int, USER_EDIT int, SLEVA int, NAZEV 64, "
         "JMENO 64, ICO 32, DIC 32, ULICE 64, CISLO 16, MESTO 64, PSC 16, STAT 64, "
         "DAT_VYSTAV date, DAT_UZP date, DAT_SPLAT date, TEXT 1024, CENA_S_DPH double, "
         "CENA_BEZ_DPH double, UCET 32, STORNO small, FORMA small"},
        {"INVOICE_FORM", "ID int!, FORMA 64"},
        {"TEXT_CONTRACT", "ID int!, POPIS 32, TEXT 1024"},
        {"USERS",
         "ID int!, JMENO 64, HESLO 16, NUM_LOGIN int, POCET_NEWVYP int, POCET_EDITVYP int, "
         "POCET_NEWFAKT int, POCET_EDITFAKT int, PRAVA small"},
        {"LORMEN",
         "ID int!, NAZEV 64, JMENO 64, ULICE 64, CISLO 16, MESTO 64, PSC 16, STAT 64, ICO 32, "
         "DIC 32, TEL1 32, TEL2 32, TEL3 32, EMAIL 64, WEB 64, UCET1_CISLO 34, UCET2_CISLO 34, "
         "UCET3_CISLO 34, UCET1_POPIS 32, UCET2_POPIS 32, UCET3_POPIS 32, SPLATNOST_FAKT int, "
         "TEXT 512"},
    };
    return tables;
}

// One column of the catalogue in the notation of expectedTables().
QString describeColumn(const QSqlQuery &q)
{
    QString type;
    switch (q.value("FIELD_TYPE").toInt()) {
    case 7: type = "small"; break;
    case 8: type = "int"; break;
    case 27: type = "double"; break;
    case 35: type = "date"; break;  // a dialect-1 DATE: date and time of day
    case 14:                        // CHAR or VARCHAR: either will do
    case 37: {
        type = q.value("CHARS").toString();
        const QString charset = q.value("CHARSET").toString().trimmed();
        if (charset != "WIN1250")
            type += " " + charset;
        break;
    }
    default: type = "type" + q.value("FIELD_TYPE").toString();
    }
    return q.value("NAME").toString().trimmed() + " " + type + (q.value("NOT_NULL").toInt() == 1 ? "!" : "");
}

} // namespace

class TestSchema : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnv> env;
    QSqlDatabase db;

    QSqlQuery exec(const QString &sql, const QVariantList &values = {})
    {
        QSqlQuery q(db);
        bool ok = q.prepare(sql);
        for (const QVariant &value : values)
            q.addBindValue(value);
        ok = ok && q.exec();
        if (!ok)
            qWarning("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
        return q;
    }

    QVariant value(const QString &sql, const QVariantList &values = {})
    {
        QSqlQuery q = exec(sql, values);
        return q.next() ? q.value(0) : QVariant();
    }

    QStringList column(const QString &sql, const QVariantList &values = {})
    {
        QSqlQuery q = exec(sql, values);
        QStringList result;
        while (q.next())
            result << q.value(0).toString().trimmed();
        return result;
    }

    static void tableRows()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("columns");
        for (const auto &[table, columns] : expectedTables())
            QTest::newRow(qPrintable(table)) << table << columns;
    }

private slots:
    void initTestCase()
    {
        env = std::make_unique<TestEnv>();
        db = env->connection();
    }

    // A failed check can leave a transaction or a subscription open: close them.
    void cleanup()
    {
        db.rollback();
    }

    void cleanupTestCase()
    {
        db = QSqlDatabase();
        env.reset();
    }

    void noOtherTables()
    {
        QStringList expected;
        for (const auto &table : expectedTables())
            expected << table.first;
        expected.sort();
        QCOMPARE(column("SELECT RDB$RELATION_NAME FROM RDB$RELATIONS "
                        "WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 ORDER BY 1"),
                 expected);
    }

    void columns_data() { tableRows(); }
    void columns()
    {
        QFETCH(QString, table);
        QFETCH(QString, columns);
        QSqlQuery q = exec(
            "SELECT RF.RDB$FIELD_NAME AS NAME, F.RDB$FIELD_TYPE AS FIELD_TYPE, "
            "F.RDB$CHARACTER_LENGTH AS CHARS, CS.RDB$CHARACTER_SET_NAME AS CHARSET, "
            "COALESCE(RF.RDB$NULL_FLAG, F.RDB$NULL_FLAG, 0) AS NOT_NULL "
            "FROM RDB$RELATION_FIELDS RF "
            "JOIN RDB$FIELDS F ON F.RDB$FIELD_NAME = RF.RDB$FIELD_SOURCE "
            "LEFT JOIN RDB$CHARACTER_SETS CS ON CS.RDB$CHARACTER_SET_ID = F.RDB$CHARACTER_SET_ID "
            "WHERE RF.RDB$RELATION_NAME = ? ORDER BY RF.RDB$FIELD_POSITION",
            {table});
        QStringList actual;
        while (q.next())
            actual << describeColumn(q);
        const QStringList expected = columns.split(", ");
        for (int i = 0; i < qMax(actual.size(), expected.size()); ++i)
            QCOMPARE(actual.value(i, "(none)"), expected.value(i, "(none)"));
    }

    void keysAndEvents_data() { tableRows(); }
    void keysAndEvents()
    {
        QFETCH(QString, table);
        QCOMPARE(column("SELECT S.RDB$FIELD_NAME FROM RDB$RELATION_CONSTRAINTS C "
                        "JOIN RDB$INDEX_SEGMENTS S ON S.RDB$INDEX_NAME = C.RDB$INDEX_NAME "
                        "WHERE C.RDB$RELATION_NAME = ? AND C.RDB$CONSTRAINT_TYPE = 'PRIMARY KEY'",
                        {table}),
                 QStringList{"ID"});
        // Type 114 is AFTER INSERT OR UPDATE OR DELETE.
        QCOMPARE(value("SELECT COUNT(*) FROM RDB$TRIGGERS WHERE RDB$RELATION_NAME = ? "
                       "AND RDB$TRIGGER_TYPE = 114 AND COALESCE(RDB$TRIGGER_INACTIVE, 0) = 0 "
                       "AND RDB$TRIGGER_SOURCE CONTAINING 'EVENT_DB'",
                       {table}).toInt(), 1);

        // The triggers really post it: one event for each committed change.
        TEventListener listener;
        QString why;
        QVERIFY2(listener.Start(env->databaseFile(), Settings.Database.User, Settings.Database.Password,
                                "EVENT_DB", &why), qPrintable(why));
        QSignalSpy events(&listener, &TEventListener::Posted);
        const int id = 1000000;
        for (const QString &sql : {QString("INSERT INTO %1 (ID) VALUES (?)"),
                                   QString("UPDATE %1 SET ID = ID WHERE ID = ?"),
                                   QString("DELETE FROM %1 WHERE ID = ?")}) {
            events.clear();
            QVERIFY(db.transaction());
            exec(sql.arg(table), {id});
            QVERIFY(db.commit());
            QVERIFY2(events.wait(5000), qPrintable(sql.arg(table)));
        }
    }

    void indexes()
    {
        // Single-column indexes as "TABLE.COLUMN" with " desc" for descending ones.
        QStringList expected = {"RENT.EVID_CISLO", "RENT.EVID_CISLO desc", "RENT.PUJC_DO",
                                "RENT.ID_ZAK", "RENT_GOOD.ID_ZBOZI", "RESERVE.ID_ZBOZI",
                                "INVOICE.ID_VYP", "INVOICE.CIS_FAKT", "CUSTOMERS.ID_TYP",
                                "GOODS.ID_TYP", "GOODS.ID_STAV"};
        for (const auto &table : expectedTables())
            expected << table.first + ".ID desc";  // the highest ID is read through it
        const QStringList actual = column(
            "SELECT TRIM(I.RDB$RELATION_NAME) || '.' || TRIM(S.RDB$FIELD_NAME) "
            "|| CASE WHEN I.RDB$INDEX_TYPE = 1 THEN ' desc' ELSE '' END "
            "FROM RDB$INDICES I JOIN RDB$INDEX_SEGMENTS S ON S.RDB$INDEX_NAME = I.RDB$INDEX_NAME "
            "WHERE COALESCE(I.RDB$SYSTEM_FLAG, 0) = 0 AND I.RDB$SEGMENT_COUNT = 1");
        for (const QString &index : expected)
            QVERIFY2(actual.contains(index), qPrintable(index));
    }

    void initialRows()
    {
        QSqlQuery admin = exec("SELECT ID, HESLO, NUM_LOGIN, POCET_NEWVYP, POCET_EDITVYP, "
                               "POCET_NEWFAKT, POCET_EDITFAKT, PRAVA FROM USERS WHERE JMENO = 'admin'");
        QVERIFY(admin.next());
        QCOMPARE(admin.value(0).toInt(), 1);
        QCOMPARE(admin.value(1).toString(), QString("admin"));
        for (int i = 2; i < 8; ++i) {
            QVERIFY(!admin.value(i).isNull());
            QCOMPARE(admin.value(i).toInt(), 0);
        }

        QCOMPARE(column("SELECT ID FROM INVOICE_FORM ORDER BY ID"), (QStringList{"1", "2", "3"}));
        QCOMPARE(column("SELECT FORMA FROM INVOICE_FORM ORDER BY ID"),
                 (QStringList{"Hotově", "Převodem", "Dobírkou"}));

        QCOMPARE(column("SELECT ID FROM LORMEN"), QStringList{"1"});
        QVERIFY(!value("SELECT NAZEV FROM LORMEN").toString().isEmpty());

        QSqlQuery contract = exec("SELECT POPIS, TEXT FROM TEXT_CONTRACT WHERE ID = 1");
        QVERIFY(contract.next());
        QVERIFY(!contract.value(0).toString().isEmpty());
        QVERIFY(contract.value(1).toString().contains("nájem"));

        QCOMPARE(value("SELECT TYP || '/' || SLEVA || '/' || BARVA FROM TYPE_CUSTOMER WHERE ID = 1").toString(),
                 QString("Běžný/0/-"));
        // Code tables are numbered 1..N without gaps, each has a row, colours are "-".
        for (const QString &table : {"TYPE_CUSTOMER", "TYPE_GOOD", "STATE_GOOD"}) {
            QSqlQuery q = exec(QString("SELECT COUNT(*), MIN(ID), MAX(ID), "
                                       "SUM(CASE WHEN BARVA = '-' THEN 1 ELSE 0 END) FROM %1").arg(table));
            QVERIFY(q.next());
            const int rows = q.value(0).toInt();
            QVERIFY2(rows >= 1, qPrintable(table));
            QCOMPARE(q.value(1).toInt(), 1);
            QCOMPARE(q.value(2).toInt(), rows);
            QCOMPARE(q.value(3).toInt(), rows);
        }
    }

    void czechTexts()
    {
        const QStringList sorted = {"Cibulka", "cukr", "Čermák", "Dvořák", "Hrubý", "Chmelař",
                                    "Ivanov", "Rada", "Řezník", "Svoboda", "Šťastný", "Zeman", "žluťoučký"};
        QVERIFY(db.transaction());
        for (int i = 0; i < sorted.size(); ++i)  // inserted in reverse order
            exec("INSERT INTO CUSTOMERS (ID, JMENO) VALUES (?, ?)", {1000 + i, sorted.at(sorted.size() - 1 - i)});
        QCOMPARE(column("SELECT JMENO FROM CUSTOMERS WHERE ID >= 1000 ORDER BY JMENO"), sorted);
        QCOMPARE(value("SELECT UPPER(JMENO) FROM CUSTOMERS WHERE JMENO = ?", {"žluťoučký"}).toString(),
                 QString("ŽLUŤOUČKÝ"));
        QVERIFY(db.rollback());

        // Comparisons are exact: a password differing only in case does not match.
        QCOMPARE(value("SELECT COUNT(*) FROM USERS WHERE HESLO = ?", {"admin"}).toInt(), 1);
        QCOMPARE(value("SELECT COUNT(*) FROM USERS WHERE HESLO = ?", {"Admin"}).toInt(), 0);
    }

    void textWidth_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("32 Czech letters in 32") << "TYPE_GOOD" << "TYP" << QString(32, u'ž') << true;
        QTest::newRow("33 letters in 32") << "TYPE_GOOD" << "TYP" << QString(33, 'a') << false;
        QTest::newRow("17 letters in 16") << "USERS" << "HESLO" << QString(17, 'x') << false;
        QTest::newRow("2056 in 2056") << "CUSTOMERS" << "POZNAMKY" << QString(2056, u'ř') << true;
        QTest::newRow("2057 in 2056") << "CUSTOMERS" << "POZNAMKY" << QString(2057, 'n') << false;
        QTest::newRow("not in WIN1250") << "CUSTOMERS" << "JMENO" << QString("Жуков") << false;
    }
    void textWidth()
    {
        QFETCH(QString, table);
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(bool, accepted);
        const int id = 2000;
        QVERIFY(db.transaction());
        QSqlQuery insert(db);
        QVERIFY(insert.prepare(QString("INSERT INTO %1 (ID, %2) VALUES (?, ?)").arg(table, field)));
        insert.addBindValue(id);
        insert.addBindValue(text);
        QCOMPARE(insert.exec(), accepted);
        const QString select = QString("SELECT %2 FROM %1 WHERE ID = ?").arg(table, field);
        if (accepted) {
            QCOMPARE(value(select, {id}).toString(), text);  // read back unchanged
            QVERIFY(db.rollback());
            return;
        }
        QVERIFY(insert.lastError().type() != QSqlError::NoError);
        // A refused statement leaves nothing behind, even when the transaction commits.
        QVERIFY(db.commit());
        QCOMPARE(column(select, {id}), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestSchema)
#include "tst_schema.moc"
