// The rental editor's money and time rules on their own.
#include "rentals/rentcalc.h"

#include <QtTest>

class TestRentCalc : public QObject
{
    Q_OBJECT

private slots:
    void discountText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("corrected"); // empty: stays as it is
        QTest::newRow("empty becomes 0") << "" << "0";
        QTest::newRow("0 stays") << "0" << "";
        QTest::newRow("100 stays") << "100" << "";
        QTest::newRow("101 becomes 100") << "101" << "100";
        QTest::newRow("150 becomes 100") << "150" << "100";
        QTest::newRow("999 becomes 100") << "999" << "100";
        QTest::newRow("negative becomes 0") << "-5" << "0";
        QTest::newRow("leading zero stays") << "07" << "";
    }
    void discountText()
    {
        QFETCH(QString, text);
        QFETCH(QString, corrected);
        const auto result = CorrectedDiscountText(text);
        QCOMPARE(result.has_value(), !corrected.isEmpty());
        if (result)
            QCOMPARE(*result, corrected);
    }

    // Each change applies the factor to the total the field holds at that moment.
    void discountCompounds()
    {
        double total = 1000.0;
        total = ApplyDiscount(total, 1);
        QCOMPARE(total, 990.0);
        total = ApplyDiscount(total, 10);
        QCOMPARE(total, 891.0);
        QCOMPARE(ApplyDiscount(891.0, 100), 0.0);
        QCOMPARE(ApplyDiscount(200.0, 0), 200.0);
        QCOMPARE(ApplyDiscount(200.0, 5), 190.0);
    }

    void period_data()
    {
        QTest::addColumn<QDateTime>("from");
        QTest::addColumn<QDateTime>("until");
        QTest::addColumn<int>("days");
        QTest::addColumn<int>("hours");
        QTest::addColumn<int>("minutes");
        const QDate march1(2024, 3, 1);
        QTest::newRow("1 day 2 h 30 min") << QDateTime(march1, QTime(10, 0)) << QDateTime(march1.addDays(1), QTime(12, 30))
                                          << 1 << 2 << 30;
        QTest::newRow("start equals end") << QDateTime(march1, QTime(10, 0)) << QDateTime(march1, QTime(10, 0)) << 0 << 0 << 0;
        QTest::newRow("23 hours") << QDateTime(march1, QTime(10, 0)) << QDateTime(march1.addDays(1), QTime(9, 0)) << 0 << 23 << 0;
        QTest::newRow("part of a minute dropped") << QDateTime(march1, QTime(10, 0, 0)) << QDateTime(march1, QTime(10, 1, 59))
                                                  << 0 << 0 << 1;
        QTest::newRow("reversed: absolute") << QDateTime(march1.addDays(2), QTime(10, 0)) << QDateTime(march1, QTime(9, 15))
                                            << 2 << 0 << 45;
        QTest::newRow("over a year") << QDateTime(march1, QTime(0, 0)) << QDateTime(march1.addDays(400), QTime(0, 1))
                                     << 400 << 0 << 1;
    }
    void period()
    {
        QFETCH(QDateTime, from);
        QFETCH(QDateTime, until);
        const TRentalPeriod p = RentalPeriod(from, until);
        QTEST(p.Days, "days");
        QTEST(p.Hours, "hours");
        QTEST(p.Minutes, "minutes");
    }

    void endDate_data()
    {
        QTest::addColumn<QDate>("fromDate");
        QTest::addColumn<QTime>("fromTime");
        QTest::addColumn<QDate>("untilDate");
        QTest::addColumn<QTime>("untilTime");
        QTest::addColumn<QDate>("corrected"); // invalid: no correction
        const QDate may5(2024, 5, 5);
        QTest::newRow("same date, later start time") << may5 << QTime(10, 0) << may5 << QTime(9, 0) << may5.addDays(1);
        QTest::newRow("later start date") << may5.addDays(3) << QTime(8, 0) << may5 << QTime(18, 0) << may5.addDays(4);
        QTest::newRow("equal moments are accepted") << may5 << QTime(10, 0) << may5 << QTime(10, 0) << QDate();
        QTest::newRow("valid period") << may5 << QTime(14, 37) << may5.addDays(1) << QTime(14, 37) << QDate();
        QTest::newRow("next day, earlier time is valid") << may5 << QTime(23, 0) << may5.addDays(1) << QTime(1, 0) << QDate();
    }
    void endDate()
    {
        QFETCH(QDate, fromDate);
        QFETCH(QTime, fromTime);
        QFETCH(QDate, untilDate);
        QFETCH(QTime, untilTime);
        QFETCH(QDate, corrected);
        const auto result = CorrectedEndDate(fromDate, fromTime, untilDate, untilTime);
        QCOMPARE(result.has_value(), corrected.isValid());
        if (result)
            QCOMPARE(*result, corrected);
    }

    void formatTemplate_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QString>("expected");
        QTest::newRow("period") << "Půjčeno celkem %d dnů, %d hodin a %d minut" << QStringList{"1", "2", "30"}
                                << "Půjčeno celkem 1 dnů, 2 hodin a 30 minut";
        QTest::newRow("mixed kinds") << "Slot %d: %s (%s)" << QStringList{"5", "Kolo", "Novák"} << "Slot 5: Kolo (Novák)";
        QTest::newRow("percent sign") << "%d %% off" << QStringList{"10"} << "10 % off";
        QTest::newRow("missing value empty") << "%d and %d" << QStringList{"1"} << "1 and ";
        QTest::newRow("no placeholder") << "plain" << QStringList{"1"} << "plain";
        QTest::newRow("lone percent at end") << "100%" << QStringList{} << "100%";
    }
    void formatTemplate()
    {
        QFETCH(QString, pattern);
        QFETCH(QStringList, values);
        QTEST(FormatTemplate(pattern, values), "expected");
    }

    void depositSum()
    {
        QStringList deposits(15, QStringLiteral("0"));
        deposits[0] = QStringLiteral("500");
        deposits[2] = QStringLiteral("200");
        QCOMPARE(DepositSum(deposits), 700);
        deposits[2] = QString();
        QCOMPARE(DepositSum(deposits), 500);
    }

    void customerStatus_data()
    {
        QTest::addColumn<int>("rentalsOut");
        QTest::addColumn<QString>("key");
        QTest::newRow("one-off entry -10") << -10 << "";
        QTest::newRow("-5") << -5 << "";
        QTest::newRow("-4") << -4 << "STR_CUSTOMERS_NORENTYET";
        QTest::newRow("never rented -1") << -1 << "STR_CUSTOMERS_NORENTYET";
        QTest::newRow("nothing out 0") << 0 << "STR_CUSTOMERS_NORENTNOW";
        QTest::newRow("one out") << 1 << "STR_CUSTOMERS_RENTNOW";
        QTest::newRow("two out") << 2 << "STR_CUSTOMERS_RENTNOW";
    }
    void customerStatus()
    {
        QFETCH(int, rentalsOut);
        QTEST(CustomerStatusKey(rentalsOut), "key");
    }

    void goodsColour_data()
    {
        QTest::addColumn<bool>("rented");
        QTest::addColumn<bool>("reserved");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QColor>("colour"); // invalid: the list's own background
        QTest::newRow("free") << false << false << true << QColor();
        QTest::newRow("reserved: orange") << false << true << true << QColor(253, 134, 62);
        QTest::newRow("rented: red") << true << false << true << QColor(255, 0, 0);
        QTest::newRow("rented and reserved: red") << true << true << true << QColor(255, 0, 0);
        QTest::newRow("disabled list: none") << true << true << false << QColor();
    }
    void goodsColour()
    {
        QFETCH(bool, rented);
        QFETCH(bool, reserved);
        QFETCH(bool, enabled);
        QFETCH(QColor, colour);
        const auto result = GoodsItemBackground(rented, reserved, enabled);
        QCOMPARE(result.has_value(), colour.isValid());
        if (result)
            QCOMPARE(*result, colour);
    }

    void keyFilter_data()
    {
        QTest::addColumn<QChar>("key");
        QTest::addColumn<bool>("passes");
        QTest::newRow("0") << QChar('0') << true;
        QTest::newRow("9") << QChar('9') << true;
        QTest::newRow("backspace") << QChar(8) << true;
        QTest::newRow("letter") << QChar('a') << false;
        QTest::newRow("minus") << QChar('-') << false;
        QTest::newRow("comma") << QChar(',') << false;
        QTest::newRow("space") << QChar(' ') << false;
        QTest::newRow("superscript two") << QChar(0x00B2) << false;
    }
    void keyFilter()
    {
        QFETCH(QChar, key);
        QTEST(DigitKeyPasses(key), "passes");
    }
};

QTEST_APPLESS_MAIN(TestRentCalc)
#include "tst_rentcalc.moc"
