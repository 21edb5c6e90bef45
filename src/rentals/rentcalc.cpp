#include "rentals/rentcalc.h"

#include <cstdlib>

std::optional<QString> CorrectedDiscountText(const QString &text)
{
    if (text.isEmpty())
        return QStringLiteral("0");
    bool ok = false;
    const int value = text.toInt(&ok);
    if (ok && value > 100)
        return QStringLiteral("100");
    if (ok && value < 0)
        return QStringLiteral("0");
    return std::nullopt;
}

double ApplyDiscount(double total, int percent)
{
    return total * (1.0 - percent / 100.0);
}

TRentalPeriod RentalPeriod(const QDateTime &from, const QDateTime &until)
{
    const qint64 minutes = std::llabs(from.secsTo(until)) / 60;
    TRentalPeriod period;
    period.Days = int(minutes / 1440);
    period.Hours = int((minutes % 1440) / 60);
    period.Minutes = int(minutes % 60);
    return period;
}

std::optional<QDate> CorrectedEndDate(const QDate &fromDate, const QTime &fromTime,
                                      const QDate &untilDate, const QTime &untilTime)
{
    if (fromDate > untilDate || (fromDate == untilDate && fromTime > untilTime))
        return fromDate.addDays(1);
    return std::nullopt;
}

QString FormatTemplate(const QString &pattern, const QStringList &values)
{
    QString result;
    int next = 0;
    for (int i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (c == QLatin1Char('%') && i + 1 < pattern.size()) {
            const QChar kind = pattern.at(i + 1);
            if (kind == QLatin1Char('%')) {
                result += QLatin1Char('%');
                ++i;
                continue;
            }
            if (kind == QLatin1Char('d') || kind == QLatin1Char('s')) {
                result += next < values.size() ? values.at(next) : QString();
                ++next;
                ++i;
                continue;
            }
        }
        result += c;
    }
    return result;
}

int DepositSum(const QStringList &deposits)
{
    int sum = 0;
    for (const QString &text : deposits)
        sum += text.isEmpty() ? 0 : text.toInt();
    return sum;
}

QString CustomerStatusKey(int rentalsOut)
{
    if (rentalsOut >= 1)
        return QStringLiteral("STR_CUSTOMERS_RENTNOW");
    if (rentalsOut == 0)
        return QStringLiteral("STR_CUSTOMERS_NORENTNOW");
    if (rentalsOut >= -4)
        return QStringLiteral("STR_CUSTOMERS_NORENTYET");
    return QString();
}

std::optional<QColor> GoodsItemBackground(bool rented, bool reserved, bool listEnabled)
{
    if (!listEnabled)
        return std::nullopt;
    if (rented)
        return QColor(255, 0, 0);
    if (reserved)
        return QColor(253, 134, 62);
    return std::nullopt;
}

bool DigitKeyPasses(QChar c)
{
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QChar(8);
}
