// Date-time values as the value lists hold them: days since midnight of
// 30 December 1899, the fraction the time of day (1.5 is 31 December 1899,
// 12:00). The values are read as UTC unless an axis asks for local time.
// Conversions from the clocks users have, the calendar, and the format
// language of date-time labels.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

namespace sextant {

// 1 January 1970 in days since 30 December 1899.
inline constexpr double KelUnixEpochDays = 25569;
inline constexpr double KelSecondsPerDay = 86400;

double DateTimeFromUnixSeconds(double Seconds);
double UnixSecondsFromDateTime(double DateTime);
double DateTimeFromTimePoint(std::chrono::system_clock::time_point Time);
std::chrono::system_clock::time_point TimePointFromDateTime(double DateTime);

// Days of a calendar date (proleptic Gregorian) and time of day.
double EncodeDateTime(int Year, int Month, int Day, int Hour = 0, int Minute = 0, int Second = 0,
                      int Millisecond = 0);

struct TDateTimeParts {
  int Year = 1899;
  int Month = 12;
  int Day = 30;
  int Hour = 0;
  int Minute = 0;
  int Second = 0;
  int Millisecond = 0;
  int DayOfWeek = 6;  // 0 Sunday .. 6 Saturday
};

// The calendar date and time of a value, to the nearest millisecond.
TDateTimeParts DecodeDateTime(double DateTime);

// Milliseconds since 30 December 1899 (the value rounded to them) and back.
std::int64_t DateTimeToMilliseconds(double DateTime);
double DateTimeFromMilliseconds(std::int64_t Milliseconds);

// The offset of the machine's local time from UTC at a UTC value, in days
// (0 where the C library knows no time zone).
double LocalTimeOffset(double UtcDateTime);

// Text of a value in a date-time format. The letters (any case):
//   yyyy yy        year (four digits, the last two)
//   mmmm mmm mm m  month name, short name, two digits, number; directly
//                  after an hour, or before seconds, mm and m are minutes
//   dddd ddd dd d  day name, short name, two digits, number
//   hh h           hour (24-hour clock, or 12-hour with am/pm)
//   nn n           minutes
//   ss s           seconds
//   zzz z          milliseconds
//   am/pm          "am" or "pm", and the hour on the 12-hour clock
// Text in single or double quotes is copied; other characters as they are.
std::string FormatDateTime(std::string_view Format, double DateTime);

}  // namespace sextant
