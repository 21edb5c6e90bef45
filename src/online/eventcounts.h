#pragma once
// What the events panel counts: reservations by their start, rentals out by their end.
#include <QDateTime>
#include <QSqlDatabase>
#include <QString>

// The events of one kind around a moment.
struct TEventCounts
{
    int Total = 0;
    int Today = 0;   // due on the moment's day
    int NotYet = 0;  // due at the moment or later
    int Started = 0; // due before the moment (reservations begun, rentals overdue)
    // The nearest event after the moment: whole minutes until it and who it belongs to
    // (the reservation's holder, the rental's evidence number).
    bool HasNearest = false;
    int NearestMinutes = 0;
    QString NearestHolder;
};

// Reservations by their start `OD_CAS`. Throws EDatabaseError.
TEventCounts ReadReservationEvents(const QSqlDatabase &db, const QDateTime &now);
// Rentals out now (`STAV_PUJC` 1) by their end `PUJC_DO`. Throws EDatabaseError.
TEventCounts ReadRentalEvents(const QSqlDatabase &db, const QDateTime &now);
