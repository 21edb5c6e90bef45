// Shared routines that need no database.
#include "app/dbcreate.h"
#include "app/globalres.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QtTest>

class TestHelpers : public QObject
{
    Q_OBJECT
private slots:
    void roundPrice_data()
    {
        QTest::addColumn<double>("R");
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("expected");
        QTest::newRow("half up to even") << 1.0 << 123.5 << 124.0;
        QTest::newRow("half down to even") << 1.0 << 122.5 << 122.0;
        QTest::newRow("halves") << 2.0 << 10.3 << 10.5;
        QTest::newRow("tenths") << 10.0 << 7.25 << 7.2;
        QTest::newRow("zero point five") << 1.0 << 0.5 << 0.0;
        QTest::newRow("hundredths, half to even") << 100.0 << 10.125 << 10.12;
        QTest::newRow("fifths") << 5.0 << 3.1 << 3.2;
        QTest::newRow("negative") << 1.0 << -2.5 << -2.0;
    }
    void roundPrice()
    {
        QFETCH(double, R);
        QFETCH(double, x);
        QFETCH(double, expected);
        QCOMPARE(RoundPrice(R, x), expected);
    }

    void timeWithoutSeconds()
    {
        const QTime t = TimeWithoutSeconds();
        QCOMPARE(t.second(), 0);
        QCOMPARE(t.msec(), 0);
        QVERIFY(qAbs(t.secsTo(QTime::currentTime())) < 120);
    }

    void clearingAndEnablingInputs()
    {
        QLineEdit edit(QStringLiteral("Novák"));
        QPlainTextEdit memo(QStringLiteral("poznámka"));
        QComboBox combo;
        combo.addItems({QStringLiteral("a"), QStringLiteral("b")});
        combo.setCurrentIndex(1);
        QDateEdit date(QDate(2001, 2, 3));
        const QList<QWidget *> controls = {&edit, &memo, &combo, &date};
        DisableControls(controls);
        for (QWidget *control : controls)
            QVERIFY(!control->isEnabled());
        ClearInputs(controls);
        QVERIFY(edit.text().isEmpty());
        QVERIFY(memo.toPlainText().isEmpty());
        QCOMPARE(combo.currentIndex(), 0);
        QCOMPARE(date.date(), QDate::currentDate());
        for (QWidget *control : controls)
            QVERIFY(control->isEnabled());
    }

    void schemaSplitting()
    {
        const QString script = QStringLiteral(
            "-- comment\n"
            "CREATE TABLE A (ID INTEGER);\n"
            "\n"
            "SET TERM ^ ;\n"
            "CREATE TRIGGER T FOR A AFTER INSERT AS\n"
            "BEGIN\n"
            "  POST_EVENT 'EVENT_DB';\n"
            "END^\n"
            "SET TERM ; ^\n"
            "INSERT INTO A VALUES (1);\n");
        const QStringList statements = TDatabaseCreator::SplitStatements(script);
        QCOMPARE(statements.size(), 3);
        QCOMPARE(statements[0], QStringLiteral("CREATE TABLE A (ID INTEGER)"));
        QVERIFY(statements[1].startsWith(QStringLiteral("CREATE TRIGGER T")));
        QVERIFY(statements[1].endsWith(QStringLiteral("END")));
        QVERIFY(statements[1].contains(QStringLiteral("POST_EVENT 'EVENT_DB';")));
        QCOMPARE(statements[2], QStringLiteral("INSERT INTO A VALUES (1)"));
    }

    void builtInSchemaIsTheShippedOne()
    {
        QFile file(QStringLiteral(LORMEN_SOURCE_DIR "/db/schema.sql"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(TDatabaseCreator::BuiltInSchema(), QString::fromUtf8(file.readAll()));
    }
};

QTEST_MAIN(TestHelpers)
#include "tst_helpers.moc"
