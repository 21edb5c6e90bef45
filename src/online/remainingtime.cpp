#include "online/remainingtime.h"

namespace {
// "n unit " with the unit for 1, for 2 to 4 and for everything else.
QString part(int n, const QString &one, const QString &twoToFour, const QString &many)
{
    const QString &unit = n == 1 ? one : (n >= 2 && n <= 4 ? twoToFour : many);
    return QString::number(n) + QLatin1Char(' ') + unit + QLatin1Char(' ');
}
} // namespace

TZbyvajiciCas ZobrazZbyvajiciCas(int minutes, const TTimeUnits &units)
{
    const int days = minutes / 1440;
    const int hours = minutes % 1440 / 60;
    const int mins = minutes % 60;

    TZbyvajiciCas result;
    if (days > 0)
        result.Text += part(days, units.STR_DEN, units.STR_DNY, units.STR_DNU);
    if (days > 0 || hours > 0)
        result.Text += part(hours, units.STR_HODINA, units.STR_HODINY, units.STR_HODIN);
    result.Text += part(mins, units.STR_MINUTA, units.STR_MINUTY, units.STR_MINUT);

    if (days > 0)
        result.Color = QColor(0, 128, 0);
    else if (hours > 0)
        result.Color = QColor(253, 134, 62);
    else if (mins > 0)
        result.Color = QColor(255, 0, 0);
    result.Blink = days == 0 && hours == 0 && mins > 0;
    return result;
}
