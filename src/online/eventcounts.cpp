#include "online/eventcounts.h"

#include "app/datamod_main.h"

namespace {
// `countSql` binds the day's start, the next day's start and the moment and returns the
// total, the count due that day and the count due at the moment or later; `nearestSql`
// binds the moment and returns the time and the holder of the nearest later event.
TEventCounts readEvents(const QSqlDatabase &db, const QDateTime &now, const QString &countSql,
                        const QString &nearestSql)
{
    const QDateTime dayStart(now.date(), QTime(0, 0));
    TEventCounts counts;

    QSqlQuery count = PrepareQuery(countSql, db);
    ExecQuery(count, {dayStart, dayStart.addDays(1), now});
    if (count.next()) {
        counts.Total = count.value(0).toInt();
        counts.Today = count.value(1).toInt();
        counts.NotYet = count.value(2).toInt();
    }
    // A row without a time counts as begun.
    counts.Started = counts.Total - counts.NotYet;

    QSqlQuery nearest = PrepareQuery(nearestSql, db);
    ExecQuery(nearest, {now});
    if (nearest.next()) {
        counts.HasNearest = true;
        counts.NearestMinutes = int(now.msecsTo(nearest.value(0).toDateTime()) / 60000);
        counts.NearestHolder = nearest.value(1).toString();
    }
    return counts;
}
} // namespace

TEventCounts ReadReservationEvents(const QSqlDatabase &db, const QDateTime &now)
{
    return readEvents(db, now,
                      QStringLiteral("SELECT COUNT(*),"
                                     " COALESCE(SUM(CASE WHEN OD_CAS >= ? AND OD_CAS < ? THEN 1 ELSE 0 END), 0),"
                                     " COALESCE(SUM(CASE WHEN OD_CAS >= ? THEN 1 ELSE 0 END), 0)"
                                     " FROM RESERVE"),
                      QStringLiteral("SELECT FIRST 1 OD_CAS, VLASTNIK FROM RESERVE"
                                     " WHERE OD_CAS > ? ORDER BY OD_CAS, ID"));
}

TEventCounts ReadRentalEvents(const QSqlDatabase &db, const QDateTime &now)
{
    return readEvents(db, now,
                      QStringLiteral("SELECT COUNT(*),"
                                     " COALESCE(SUM(CASE WHEN PUJC_DO >= ? AND PUJC_DO < ? THEN 1 ELSE 0 END), 0),"
                                     " COALESCE(SUM(CASE WHEN PUJC_DO >= ? THEN 1 ELSE 0 END), 0)"
                                     " FROM RENT WHERE STAV_PUJC = 1"),
                      QStringLiteral("SELECT FIRST 1 PUJC_DO, EVID_CISLO FROM RENT"
                                     " WHERE STAV_PUJC = 1 AND PUJC_DO > ? ORDER BY PUJC_DO, ID"));
}
