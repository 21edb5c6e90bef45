#pragma once
// Money and time rules of the rental editor, free of widgets.
#include <QColor>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QTime>

#include <optional>

// The discount text as it must stand: empty → "0", above 100 → "100", below 0 → "0";
// nullopt when the text is already acceptable.
std::optional<QString> CorrectedDiscountText(const QString &text);

// The total after applying a discount of `percent` to it (the total the field holds now;
// no undiscounted price is kept, so successive discounts compound).
double ApplyDiscount(double total, int percent);

// Whole minutes between two moments split into days, hours and minutes (the absolute
// difference; a part of a minute is dropped).
struct TRentalPeriod
{
    int Days = 0;
    int Hours = 0;
    int Minutes = 0;
};
TRentalPeriod RentalPeriod(const QDateTime &from, const QDateTime &until);

// The end date the rental must get: start date + 1 day when the start lies after the end
// (a later date, or the same date with a later time); nullopt when the period is valid.
// The end time is kept either way.
std::optional<QDate> CorrectedEndDate(const QDate &fromDate, const QTime &fromTime,
                                      const QDate &untilDate, const QTime &untilTime);

// A language template filled the way "%d"/"%s" formatting fills it: each placeholder takes
// the next value in order; "%%" is a percent sign.
QString FormatTemplate(const QString &pattern, const QStringList &values);

// Sum of the slot deposits; an empty text counts as 0. Every text must be a whole number
// (the slot fields accept nothing else).
int DepositSum(const QStringList &deposits);

// The language key of a customer's rental status by its rentals-out count: −4…−1 has
// never rented, 0 has nothing out, 1 or more has goods out, −5 or less no status (empty key).
QString CustomerStatusKey(int rentalsOut);

// Background of an item in a goods name list: red for an item that is out (reserved or
// not), orange for a reserved one, none (the list's own) otherwise or when the list is
// disabled.
std::optional<QColor> GoodsItemBackground(bool rented, bool reserved, bool listEnabled);

// The key filter of the digits-only fields: digits and backspace pass.
bool DigitKeyPasses(QChar c);
