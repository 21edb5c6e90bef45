#pragma once
// The events panel: reservations and rentals due, and the time left until the nearest.
#include "app/floatpanel.h"
#include "online/eventcounts.h"
#include "online/remainingtime.h"

class QLabel;
class QTimer;

class Tpanel_udalosti : public TFloatingPanel
{
    Q_OBJECT
public:
    explicit Tpanel_udalosti(QWidget *parent = nullptr);

    // Texts of the section "panEvents".
    void Jazyk(const QString &languageFile) override;

    // Captions.
    QLabel *labPocetRezerv = nullptr;
    QLabel *labPocetPujc = nullptr;
    QLabel *labNejRezerv = nullptr;
    QLabel *labNejPujc = nullptr;
    // Reservations: total, starting today (not yet started / started).
    QLabel *lblCelkRez = nullptr;
    QLabel *lblDnesRez = nullptr;
    QLabel *lblNaslRez = nullptr;
    QLabel *lblVypRez = nullptr;
    // Rentals out: total, ending today (not yet due / overdue).
    QLabel *lblCelkPujc = nullptr;
    QLabel *lblDnesPujc = nullptr;
    QLabel *lblNaslPujc = nullptr;
    QLabel *lblVypPujc = nullptr;
    // Time left until the nearest reservation start and rental end.
    QLabel *lblNejRez = nullptr;
    QLabel *lblNejPujc = nullptr;

    QTimer *TimerMain = nullptr;           // recounts every 6 s
    QTimer *TimerRezervaceBlink = nullptr; // blinks lblNejRez
    QTimer *TimerVypujckaBlink = nullptr;  // blinks lblNejPujc

    // Recounts both kinds of events from the database.
    void TimerMainTimer();
    // Connected: starts the recount and runs it at once; otherwise every count shows "0".
    void FormShow();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void showCounts(const TEventCounts &counts, QLabel *total, QLabel *today, QLabel *notYet, QLabel *started);
    void showNearest(const TEventCounts &counts, QLabel *label, QTimer *blink, const QString &hintPrefix);
    void showZeros();
    void stopBlinking(QLabel *label, QTimer *blink);

    TTimeUnits m_units;
    QString STR_HINT_REZERV; // "Rezervace na jméno: "
    QString STR_HINT_PUJC;   // "Vypůjčka číslo: "
};
