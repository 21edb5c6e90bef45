// The road of a rental through the real program: the main window's button, the editor,
// the save, the database event, the list; then the return, the returned list and the
// overview.
#include "fixture.h"

#include "app/globalres.h"
#include "app/main.h"
#include "app/startup.h"
#include "app/inifile.h"
#include "data/rentlist.h"
#include "rentals/panelzakazky.h"
#include "rentals/vypujcka.h"
#include "rentals/vypujcky.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <QSqlQuery>
#include <QHeaderView>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace {
// Runs `fill` on the rental editor as soon as it is open modally.
void whenEditorOpens(const std::function<void(Tfrm_vypujcka &)> &fill)
{
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, fill] {
        auto *editor = qobject_cast<Tfrm_vypujcka *>(QApplication::activeModalWidget());
        if (!editor)
            return;
        poll->stop();
        poll->deleteLater();
        fill(*editor);
    });
    poll->start(20);
}

// Saves; an editor that stays open (the save was refused) is closed so the test goes on.
void saveOrGiveUp(Tfrm_vypujcka &editor)
{
    editor.btnSave->click();
    if (editor.isVisible())
        editor.reject();
}

int rows(QTableView *grid)
{
    QAbstractItemModel *model = grid->model();
    while (model->canFetchMore(QModelIndex()))
        model->fetchMore(QModelIndex());
    return model->rowCount();
}
} // namespace

class TestRoad : public QObject
{
    Q_OBJECT
private slots:
    void newRentalThenReturn()
    {
        TestEnv env;
        env.installLanguages();
        TRecordingDialogs dialogs;
        env.writeSettings("[UsersSettings]\nAutoLoginName=admin\nAutoLoginId=1\n");
        {
            QSqlDatabase db = env.connection();
            QSqlQuery q(db);
            QVERIFY(q.exec("INSERT INTO CUSTOMERS (ID, JMENO, FIRMA, ID_TYP, AKT_PUJC, POCET_PRONAJMU, VYDELANO) "
                           "VALUES (1, 'Jan O''Neill', 'Stavby s.r.o.', 1, -1, 0, 0)"));
            QVERIFY(q.exec("INSERT INTO GOODS (ID, NAZEV, KOD1, ID_TYP, ID_STAV, PUJCENI, CENA1, CENA2, CENA3, ZALOHA, "
                           "POCET_PUJC, VYDELANO, REZERVACE) VALUES (1, 'Vrtačka', 'VR-1', 1, 1, -1, 100, 300, 1500, 2000, 0, 0, 0)"));
        }

        TProgram program({QStringLiteral("lormen")});
        program.Create();
        QVERIFY(program.Start(0));
        QVERIFY(Settings.Database.Connected);
        QCOMPARE(Settings.User.Name, QStringLiteral("admin"));
        Tfrm_vypujcky *list = program.Tarnovka->frmVypujcky;
        QVERIFY(list);
        QCOMPARE(rows(list->gridRentsLend), 0);

        // A new rental from the main window's button.
        whenEditorOpens([](Tfrm_vypujcka &editor) {
            QCOMPARE(editor.Rezim, QStringLiteral("VYPUJC"));
            // As the operator does: pick from the lists, tick the slot, type the total.
            emit editor.comboJmeno->activated(editor.comboJmeno->findText(QStringLiteral("Jan O'Neill")));
            editor.Slot[0].checkZbozi->setChecked(true);
            editor.checkZboziClick(0);
            emit editor.Slot[0].comboNazevZbozi->activated(editor.Slot[0].comboNazevZbozi->findText(QStringLiteral("Vrtačka")));
            editor.editCenaCelk->setValue(500);
            saveOrGiveUp(editor);
        });
        QVERIFY(program.Tarnovka->btnNovaZakazka->isEnabled());
        program.Tarnovka->btnNovaZakazka->trigger();
        QVERIFY2(dialogs.texts.isEmpty(), qPrintable(dialogs.texts.join(" | ")));
        // The list shows it once the database event has reloaded it.
        QTRY_COMPARE_WITH_TIMEOUT(rows(list->gridRentsLend), 1, 10000);
        const QModelIndex first = list->gridRentsLend->model()->index(0, 0);
        QCOMPARE(first.data().toInt(), 1);

        // Returned: edit, "Vrátit", confirm, save.
        list->gridRentsLend->setCurrentIndex(first);
        dialogs.answers << true;
        whenEditorOpens([](Tfrm_vypujcka &editor) {
            QCOMPARE(editor.Rezim, QStringLiteral("EDIT_VYPUJC"));
            editor.btnVratit->click();
            QCOMPARE(editor.NovyStav, 0);
            saveOrGiveUp(editor);
        });
        list->mnuRentsEditClick();
        QVERIFY2(dialogs.texts.isEmpty(), qPrintable(dialogs.texts.join(" | ")));
        QTRY_COMPARE_WITH_TIMEOUT(rows(list->gridRentsReturn), 1, 10000);
        QCOMPARE(rows(list->gridRentsLend), 0);

        // The overview of this year counts it in its month.
        list->Zobraz();
        // Rows are the twelve months, then the year.
        const int month = QDate::currentDate().month() - 1;
        QCOMPARE(list->StringGrid->rowCount(), 13);
        QCOMPARE(list->StringGrid->item(month, 1)->text().toDouble(), 500.0);
        QCOMPARE(list->StringGrid->item(month, 2)->text().toInt(), 1);
        QCOMPARE(list->StringGrid->item(12, 1)->text().toDouble(), 500.0);
        QCOMPARE(list->StringGrid->item(12, 2)->text().toInt(), 1);

        // The books agree: the goods is back and counted, the customer counted.
        QSqlQuery check(env.connection(QStringLiteral("check")));
        QVERIFY(check.exec("SELECT PUJCENI, POCET_PUJC, VYDELANO FROM GOODS WHERE ID = 1") && check.next());
        QCOMPARE(check.value(0).toInt(), 0);
        QCOMPARE(check.value(1).toInt(), 1);
        QCOMPARE(check.value(2).toDouble(), 500.0);
        QVERIFY(check.exec("SELECT AKT_PUJC, POCET_PRONAJMU, VYDELANO FROM CUSTOMERS WHERE ID = 1") && check.next());
        QCOMPARE(check.value(0).toInt(), 0);
        QCOMPARE(check.value(1).toInt(), 1);
        QCOMPARE(check.value(2).toDouble(), 1000.0);
    }

    void listSettingsSurviveARestart()
    {
        TestEnv env;
        env.installLanguages();
        TRecordingDialogs dialogs;
        env.writeSettings("[RentsColumnView]\nVystavil=False\nEditoval=False\n[panelRents]\ncheckZakTyp2=False\nLeft=300\nTop=50\n");
        {
            TProgram program({QStringLiteral("lormen")});
            program.Create();
            QVERIFY(program.Start(0));
            Tfrm_vypujcky *list = program.Tarnovka->frmVypujcky;
            auto *panel = qobject_cast<Tpanel_zakazky *>(program.Tarnovka->panelRents);
            QVERIFY(panel && panel->isVisible());
            QCOMPARE(panel->pos(), QPoint(300, 50));
            QVERIFY(!panel->checkVypZakTyp[1]->isChecked());
            QVERIFY(panel->checkVypZakTyp[0]->isChecked());
            // The user widens the first column and ticks type 2 again, then closes.
            auto *model = qobject_cast<TRentListModel *>(list->gridRentsReturn->model());
            QVERIFY(model);
            list->gridRentsReturn->horizontalHeader()->resizeSection(model->FieldColumn(QStringLiteral("EVID_CISLO")), 150);
            panel->checkVypZakTyp[1]->click();
            panel->checkVypZakTyp[2]->click();
            dialogs.answers << true;
            program.Tarnovka->btnAppCloseClick();
        }
        const TIniFile saved(env.settingsFile());
        QCOMPARE(saved.ReadString("RentsColumnView", "Vystavil", ""), QStringLiteral("False"));
        QCOMPARE(saved.ReadString("RentsColumnView", "Editoval", ""), QStringLiteral("False"));
        QCOMPARE(saved.ReadString("RentsColumnView", "Cislo", ""), QStringLiteral("True"));
        QCOMPARE(saved.ReadString("RentsColumnHeight", "Cislo", ""), QStringLiteral("150"));
        QCOMPARE(saved.ReadString("panelRents", "checkZakTyp2", ""), QStringLiteral("True"));
        QCOMPARE(saved.ReadString("panelRents", "checkZakTyp3", ""), QStringLiteral("False"));
        QCOMPARE(saved.ReadString("panelRents", "Left", ""), QStringLiteral("300"));
    }
};

QTEST_MAIN(TestRoad)
#include "tst_road.moc"
