// The events panel: the remaining-time text, the counts of reservations and rentals from a
// real embedded database, and what the panel shows connected and disconnected.
#include "fixture.h"

#include "app/datamod_main.h"
#include "app/globalres.h"
#include "online/eventcounts.h"
#include "online/panelUdalosti.h"
#include "online/remainingtime.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QSqlError>
#include <QSqlQuery>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {
const TTimeUnits CzechUnits{QStringLiteral("den"), QStringLiteral("dnů"), QStringLiteral("dny"),
                            QStringLiteral("hodina"), QStringLiteral("hodin"), QStringLiteral("hodiny"),
                            QStringLiteral("minuta"), QStringLiteral("minut"), QStringLiteral("minuty")};
const QColor Green(0, 128, 0);
const QColor Orange(253, 134, 62);
const QColor Red(255, 0, 0);

// A fixed moment in the middle of a day.
const QDateTime Noon(QDate(2024, 5, 15), QTime(12, 0));

struct Event
{
    QVariant at; // null: no time
    QString holder;
};
using Events = QList<Event>;

// Minutes and seconds after noon.
Event at(int minutes, int seconds = 0, const QString &holder = QString())
{
    return {Noon.addSecs(minutes * 60 + seconds), holder};
}
} // namespace
Q_DECLARE_METATYPE(Event)

class TestPanelUdalosti : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnv> env;
    std::unique_ptr<TDataModule_main> module;
    int nextId = 1;

    void addReservation(const QVariant &start, const QString &holder)
    {
        QSqlQuery insert(env->connection());
        QVERIFY(insert.prepare("INSERT INTO RESERVE (ID, OD_CAS, DO_CAS, VLASTNIK, ID_ZBOZI) VALUES (?, ?, ?, ?, 1)"));
        insert.addBindValue(nextId++);
        insert.addBindValue(start.isNull() ? QVariant(QMetaType(QMetaType::QDateTime)) : start);
        insert.addBindValue(start.isNull() ? QVariant(QMetaType(QMetaType::QDateTime)) : start.toDateTime().addDays(1));
        insert.addBindValue(holder);
        QVERIFY2(insert.exec(), qPrintable(insert.lastError().text()));
    }

    void addRental(const QVariant &end, int evidCislo, int state = 1)
    {
        QSqlQuery insert(env->connection());
        QVERIFY(insert.prepare("INSERT INTO RENT (ID, EVID_CISLO, STAV_PUJC, PUJC_OD, PUJC_DO) VALUES (?, ?, ?, ?, ?)"));
        insert.addBindValue(nextId++);
        insert.addBindValue(evidCislo);
        insert.addBindValue(state);
        insert.addBindValue(Noon.addDays(-10));
        insert.addBindValue(end.isNull() ? QVariant(QMetaType(QMetaType::QDateTime)) : end);
        QVERIFY2(insert.exec(), qPrintable(insert.lastError().text()));
    }

    void connectModule()
    {
        QVERIFY(ConnectAsProgram(*module));
    }

    static QStringList texts(const Tpanel_udalosti &panel)
    {
        QStringList result;
        for (QLabel *label : {panel.lblCelkRez, panel.lblDnesRez, panel.lblNaslRez, panel.lblVypRez,
                              panel.lblCelkPujc, panel.lblDnesPujc, panel.lblNaslPujc, panel.lblVypPujc,
                              panel.lblNejRez, panel.lblNejPujc})
            result << label->text();
        return result;
    }

private slots:
    void init()
    {
        env = std::make_unique<TestEnv>();
        module = std::make_unique<TDataModule_main>();
        SetDataModule_main(module.get());
        nextId = 1;
    }

    void cleanup()
    {
        SetDataModule_main(nullptr);
        module.reset();
        env.reset();
    }

    void remainingTime_data()
    {
        QTest::addColumn<int>("minutes");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QColor>("color");
        QTest::addColumn<bool>("blink");

        QTest::newRow("day, hour, no minutes") << 1500 << "1 den 1 hodina 0 minut " << Green << false;
        QTest::newRow("under an hour") << 59 << "59 minut " << Red << true;
        QTest::newRow("just over an hour") << 61 << "1 hodina 1 minuta " << Orange << false;
        QTest::newRow("nothing left") << 0 << "0 minut " << QColor() << false;
        QTest::newRow("one minute") << 1 << "1 minuta " << Red << true;
        QTest::newRow("two minutes") << 2 << "2 minuty " << Red << true;
        QTest::newRow("four minutes") << 4 << "4 minuty " << Red << true;
        QTest::newRow("five minutes") << 5 << "5 minut " << Red << true;
        QTest::newRow("21 minutes") << 21 << "21 minut " << Red << true;
        QTest::newRow("exactly an hour") << 60 << "1 hodina 0 minut " << Orange << false;
        QTest::newRow("two to four hours") << 4 * 60 + 3 << "4 hodiny 3 minuty " << Orange << false;
        QTest::newRow("five hours") << 5 * 60 + 59 << "5 hodin 59 minut " << Orange << false;
        QTest::newRow("23 hours") << 23 * 60 << "23 hodin 0 minut " << Orange << false;
        QTest::newRow("exactly a day") << 1440 << "1 den 0 hodin 0 minut " << Green << false;
        QTest::newRow("two days") << 2 * 1440 + 2 * 60 + 2 << "2 dny 2 hodiny 2 minuty " << Green << false;
        QTest::newRow("four days") << 4 * 1440 + 1 << "4 dny 0 hodin 1 minuta " << Green << false;
        QTest::newRow("five days") << 5 * 1440 + 5 * 60 + 5 << "5 dnů 5 hodin 5 minut " << Green << false;
        QTest::newRow("many days") << 40 * 1440 << "40 dnů 0 hodin 0 minut " << Green << false;
    }

    void remainingTime()
    {
        QFETCH(int, minutes);
        const TZbyvajiciCas left = ZobrazZbyvajiciCas(minutes, CzechUnits);
        QTEST(left.Text, "text");
        QTEST(left.Color, "color");
        QTEST(left.Blink, "blink");
    }

    void reservationCounts_data()
    {
        QTest::addColumn<Events>("events");
        QTest::addColumn<QList<int>>("counts"); // total, today, not yet, started
        QTest::addColumn<int>("nearest");       // -1: none
        QTest::addColumn<QString>("holder");

        QTest::newRow("none") << Events{} << QList<int>{0, 0, 0, 0} << -1 << QString();
        QTest::newRow("only started")
            << Events{at(-1), at(-13 * 60), {QVariant(), "no start"}} << QList<int>{3, 1, 0, 3} << -1 << QString();
        QTest::newRow("starting exactly now")
            << Events{at(0, 0, "Now")} << QList<int>{1, 1, 1, 0} << -1 << QString();
        QTest::newRow("half a minute ahead")
            << Events{at(0, 0, "Now"), at(0, 30, "Soon")} << QList<int>{2, 2, 2, 0} << 0 << "Soon";
        QTest::newRow("nearest of several, whole minutes truncated")
            << Events{at(3 * 1440, 0, "Later"), at(61, 59, "Next"), at(62, 0, "After"), at(-5, 0, "Begun")}
            << QList<int>{4, 3, 3, 1} << 61 << "Next";
        QTest::newRow("day bounds")
            << Events{at(-12 * 60, -1, "Yesterday"), at(-12 * 60, 0, "Midnight"), at(12 * 60 - 1, 59, "Last"),
                      at(12 * 60, 0, "Tomorrow")}
            << QList<int>{4, 2, 2, 2} << 719 << "Last";
    }

    void reservationCounts()
    {
        QFETCH(Events, events);
        QFETCH(QList<int>, counts);
        QFETCH(int, nearest);
        for (const Event &event : std::as_const(events))
            addReservation(event.at, event.holder);

        const TEventCounts result = ReadReservationEvents(env->connection(), Noon);
        QCOMPARE((QList<int>{result.Total, result.Today, result.NotYet, result.Started}), counts);
        QCOMPARE(result.HasNearest, nearest >= 0);
        if (nearest >= 0) {
            QCOMPARE(result.NearestMinutes, nearest);
            QTEST(result.NearestHolder, "holder");
        }
    }

    void rentalCountsTakeOnlyRentalsOut()
    {
        addRental(at(-30).at, 101);            // overdue, today
        addRental(at(90, 30).at, 102);          // ending today
        addRental(at(0).at, 103);               // ending exactly now
        addRental(at(2 * 1440).at, 104);        // ending later
        addRental(at(10).at, 105, 0);           // returned: ignored
        addRental(at(5).at, 106, 0);            // returned: ignored
        addRental(at(-3 * 1440).at, 107);       // overdue for days

        const TEventCounts result = ReadRentalEvents(env->connection(), Noon);
        QCOMPARE((QList<int>{result.Total, result.Today, result.NotYet, result.Started}), (QList<int>{5, 3, 3, 2}));
        QVERIFY(result.HasNearest);
        QCOMPARE(result.NearestMinutes, 90);
        QCOMPARE(result.NearestHolder, QStringLiteral("102"));
    }

    void panelShowsCountsWhenConnected()
    {
        const QDateTime now = QDateTime::currentDateTime();
        // Half a minute to spare, so that the minutes stay whole while the panel counts.
        addReservation(now.addSecs(30 * 60 + 30), QStringLiteral("Novák"));
        addReservation(now.addSecs(-60), QStringLiteral("Begun"));
        addRental(now.addSecs(3 * 1440 * 60 + 30), 77);
        connectModule();

        Tpanel_udalosti panel;
        panel.show();
        QVERIFY(panel.TimerMain->isActive());
        QCOMPARE(panel.TimerMain->interval(), 6000);
        QCOMPARE(panel.lblCelkRez->text(), QStringLiteral("2"));
        QCOMPARE(panel.lblNaslRez->text(), QStringLiteral("1"));
        QCOMPARE(panel.lblVypRez->text(), QStringLiteral("1"));
        QCOMPARE(panel.lblCelkPujc->text(), QStringLiteral("1"));
        QCOMPARE(panel.lblNaslPujc->text(), QStringLiteral("1"));
        QCOMPARE(panel.lblVypPujc->text(), QStringLiteral("0"));

        QCOMPARE(panel.lblNejRez->text(), QStringLiteral("30 minut "));
        QCOMPARE(panel.lblNejRez->toolTip(), QStringLiteral("Rezervace na jméno: Novák"));
        QVERIFY(panel.TimerRezervaceBlink->isActive());
        QCOMPARE(panel.lblNejPujc->text(), QStringLiteral("3 dny 0 hodin 0 minut "));
        QCOMPARE(panel.lblNejPujc->toolTip(), QStringLiteral("Vypůjčka číslo: 77"));
        QVERIFY(!panel.TimerVypujckaBlink->isActive());

        // The blink timer hides and shows the label in turn.
        QVERIFY(panel.lblNejRez->isVisible());
        QVERIFY(QMetaObject::invokeMethod(panel.TimerRezervaceBlink, "timeout"));
        QVERIFY(!panel.lblNejRez->isVisible());
        QVERIFY(QMetaObject::invokeMethod(panel.TimerRezervaceBlink, "timeout"));
        QVERIFY(panel.lblNejRez->isVisible());
        QVERIFY(QMetaObject::invokeMethod(panel.TimerRezervaceBlink, "timeout"));

        // Once the reservation is gone the label shows "-" again, steady.
        QSqlQuery remove(env->connection());
        QVERIFY(remove.exec("DELETE FROM RESERVE"));
        module->RefreshData();
        panel.TimerMainTimer();
        QCOMPARE(panel.lblCelkRez->text(), QStringLiteral("0"));
        QCOMPARE(panel.lblNejRez->text(), QStringLiteral("-"));
        QVERIFY(!panel.TimerRezervaceBlink->isActive());
        QVERIFY(panel.lblNejRez->isVisible());

        // Hidden, nothing runs.
        addReservation(now.addSecs(10 * 60 + 30), QStringLiteral("Again"));
        module->RefreshData();
        panel.TimerMainTimer();
        QVERIFY(panel.TimerRezervaceBlink->isActive());
        panel.close();
        QVERIFY(!panel.TimerMain->isActive());
        QVERIFY(!panel.TimerRezervaceBlink->isActive());
        QVERIFY(!panel.TimerVypujckaBlink->isActive());
    }

    void panelShowsZerosWhenDisconnected()
    {
        addReservation(QDateTime::currentDateTime().addSecs(3600), QStringLiteral("Ignored"));
        Settings.Database.Connected = false;
        Tpanel_udalosti panel;
        panel.lblCelkRez->setText(QStringLiteral("9"));
        panel.show();
        QCOMPARE(texts(panel), QStringList(10, QStringLiteral("0")));
        QVERIFY(!panel.TimerMain->isActive());
    }

    void recountAfterDisconnectStops()
    {
        addReservation(QDateTime::currentDateTime().addSecs(600), QStringLiteral("Soon"));
        connectModule();
        Tpanel_udalosti panel;
        panel.show();
        QVERIFY(panel.TimerRezervaceBlink->isActive());
        module->SetDisconnected();
        panel.TimerMainTimer();
        QVERIFY(!panel.TimerMain->isActive());
        QVERIFY(!panel.TimerRezervaceBlink->isActive());
        QCOMPARE(texts(panel), QStringList(10, QStringLiteral("0")));
    }

    void languageTexts()
    {
        QDir().mkpath(env->home() + "lng");
        QFile file(env->home() + "lng/test.ini");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[panEvents]\nCaption=Events\nPocetRezerv=Reservations\nPocetPujc=Rentals\n"
                   "NejRezerv=Next reservation in\nNejPujc=Next return in\n"
                   "STR_HINT_REZERV=For: \nSTR_HINT_PUJC=No. \n"
                   "STR_DEN=day\nSTR_DNU=days5\nSTR_DNY=days2\nSTR_HODINA=hour\nSTR_HODIN=hours5\n"
                   "STR_HODINY=hours2\nSTR_MINUTA=minute\nSTR_MINUT=minutes5\nSTR_MINUTY=minutes2\n");
        file.close();

        addReservation(QDateTime::currentDateTime().addSecs(2 * 1440 * 60 + 3 * 3600 + 30), QStringLiteral("Eva"));
        addRental(QDateTime::currentDateTime().addSecs(1440 * 60 + 60 + 30), 5);
        connectModule();
        Tpanel_udalosti panel;
        panel.Jazyk(QStringLiteral("test.ini"));
        QCOMPARE(panel.windowTitle(), QStringLiteral("Events"));
        QCOMPARE(panel.labPocetRezerv->text(), QStringLiteral("Reservations"));
        QCOMPARE(panel.labPocetPujc->text(), QStringLiteral("Rentals"));
        QCOMPARE(panel.labNejRezerv->text(), QStringLiteral("Next reservation in"));
        QCOMPARE(panel.labNejPujc->text(), QStringLiteral("Next return in"));
        panel.show();
        QCOMPARE(panel.lblNejRez->text(), QStringLiteral("2 days2 3 hours2 0 minutes5 "));
        QCOMPARE(panel.lblNejRez->toolTip(), QStringLiteral("For: Eva"));
        QCOMPARE(panel.lblNejPujc->text(), QStringLiteral("1 day 0 hours5 1 minute "));
        QCOMPARE(panel.lblNejPujc->toolTip(), QStringLiteral("No. 5"));
    }
};

QTEST_MAIN(TestPanelUdalosti)
#include "tst_panelUdalosti.moc"
