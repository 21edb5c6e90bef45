#pragma once
// The events panel's text for the time left until an event.
#include <QColor>
#include <QString>

// The unit words of the remaining-time text, from the events panel's language section.
struct TTimeUnits
{
    QString STR_DEN, STR_DNU, STR_DNY;          // 1 day, 5 and more days, 2 to 4 days
    QString STR_HODINA, STR_HODIN, STR_HODINY;  // 1 hour, 0 or 5 and more hours, 2 to 4 hours
    QString STR_MINUTA, STR_MINUT, STR_MINUTY;  // 1 minute, 0 or 5 and more minutes, 2 to 4 minutes
};

// What a remaining-time label shows.
struct TZbyvajiciCas
{
    QString Text;
    QColor Color;       // invalid: the label's normal text colour
    bool Blink = false; // less than an hour left: the label blinks
};

// Days, hours and minutes left ("1 den 1 hodina 0 minut "): the days part only when there
// are days, the hours part when there are days or hours, the minutes part always, each as
// number, blank, unit, blank. Green with days left, orange with hours, red (and blinking)
// with minutes only.
TZbyvajiciCas ZobrazZbyvajiciCas(int minutes, const TTimeUnits &units);
