#pragma once

#include <QDate>
#include <QString>

// The Japanese name of a public holiday by the holiday law ("成人の日", "振替休日", "休日" for a
// day between two holidays, ...), or empty text when the day is none. Covers 1948 to 2099: the
// holidays with the years they held, the Monday holidays, the equinox days by the usual
// astronomical approximation, the substitute days and the days between two holidays, and the
// one-off days of the imperial ceremonies and the moves of 2020 and 2021.
QString JapaneseHolidayName(const QDate& day);

// The colour, as 0xRRGGBB, that a day's date and weekday are written in wherever the program
// shows days: Sundays, public holidays and the office's own days off red, Saturdays blue, other
// days black.
unsigned dayRgb(const QDate& day, bool officeDayOff = false);

// What a day is called where the program names it (the grid's tooltip, the sheet's remarks): its
// public holiday, the name of the office's own day off, or both; empty text for neither.
QString dayNote(const QDate& day, const QString& officeDayOff = {});
// The colour of a weekday (Qt::DayOfWeek) that is no holiday.
unsigned weekdayRgb(int dayOfWeek);
