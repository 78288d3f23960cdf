#include "axes/date_time.h"

#include <cctype>
#include <cmath>
#include <ctime>
#include <vector>

namespace sextant {

namespace {

constexpr std::int64_t KelMsPerDay = 86400000;
// Days from 30 December 1899 to 1 March of year 0, for the civil calendar
// conversion below (which counts from 1 March 0000).
constexpr std::int64_t KelCivilOffset = 693899;

const char* const KelShortMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const KelLongMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                                     "July",    "August",   "September", "October", "November", "December"};
const char* const KelShortDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const KelLongDays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                   "Thursday", "Friday", "Saturday"};

std::int64_t FloorDiv(std::int64_t A, std::int64_t B) {
  std::int64_t q = A / B;
  if ((A % B != 0) && ((A < 0) != (B < 0))) --q;
  return q;
}

// Days since 30 December 1899 of a civil date (days-from-civil).
std::int64_t DaysFromCivil(std::int64_t Y, int M, int D) {
  Y -= M <= 2;
  const std::int64_t era = FloorDiv(Y, 400);
  const std::int64_t yoe = Y - era * 400;
  const std::int64_t doy = (153 * (M + (M > 2 ? -3 : 9)) + 2) / 5 + D - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - KelCivilOffset;
}

void CivilFromDays(std::int64_t Days, std::int64_t& Y, int& M, int& D) {
  const std::int64_t z = Days + KelCivilOffset;
  const std::int64_t era = FloorDiv(z, 146097);
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  D = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  M = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  Y = yoe + era * 400 + (M <= 2);
}

std::string Padded(long long Value, int Width) {
  std::string digits = std::to_string(Value < 0 ? -Value : Value);
  while (static_cast<int>(digits.size()) < Width) digits.insert(digits.begin(), '0');
  return Value < 0 ? "-" + digits : digits;
}

// One piece of a format: a run of one letter, am/pm, or literal text.
struct TToken {
  char Letter = 0;  // lower case; 0 for literal text
  int Count = 0;
  std::string Text;
};

std::vector<TToken> Tokenize(std::string_view F) {
  std::vector<TToken> tokens;
  std::size_t i = 0;
  while (i < F.size()) {
    const char c = F[i];
    if (c == '\'' || c == '"') {
      const std::size_t close = F.find(c, i + 1);
      const std::size_t end = close == std::string_view::npos ? F.size() : close;
      tokens.push_back({0, 0, std::string(F.substr(i + 1, end - i - 1))});
      i = end == F.size() ? end : end + 1;
      continue;
    }
    if (F.size() - i >= 5) {
      std::string five(F.substr(i, 5));
      for (char& ch : five) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
      if (five == "am/pm") {
        tokens.push_back({'a', 1, {}});
        i += 5;
        continue;
      }
    }
    const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower == 'y' || lower == 'm' || lower == 'd' || lower == 'h' || lower == 'n' || lower == 's' ||
        lower == 'z') {
      std::size_t j = i;
      while (j < F.size() && std::tolower(static_cast<unsigned char>(F[j])) == lower) ++j;
      tokens.push_back({lower, static_cast<int>(j - i), {}});
      i = j;
      continue;
    }
    tokens.push_back({0, 0, std::string(1, c)});
    ++i;
  }
  // m and mm are minutes right after an hour or right before seconds.
  char previous = 0;
  for (std::size_t k = 0; k < tokens.size(); ++k) {
    TToken& t = tokens[k];
    if (t.Letter == 0) continue;
    if (t.Letter == 'm' && t.Count <= 2) {
      char next = 0;
      for (std::size_t n = k + 1; n < tokens.size() && next == 0; ++n) next = tokens[n].Letter;
      if (previous == 'h' || next == 's') t.Letter = 'n';
    }
    previous = t.Letter;
  }
  return tokens;
}

}  // namespace

double DateTimeFromUnixSeconds(double Seconds) { return KelUnixEpochDays + Seconds / KelSecondsPerDay; }

double UnixSecondsFromDateTime(double DateTime) { return (DateTime - KelUnixEpochDays) * KelSecondsPerDay; }

double DateTimeFromTimePoint(std::chrono::system_clock::time_point Time) {
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(Time.time_since_epoch()).count();
  // Whole days and the rest apart, so that the fraction keeps its precision.
  const std::int64_t days = FloorDiv(ms, KelMsPerDay);
  return KelUnixEpochDays + static_cast<double>(days) +
         static_cast<double>(ms - days * KelMsPerDay) / KelMsPerDay;
}

std::chrono::system_clock::time_point TimePointFromDateTime(double DateTime) {
  const std::int64_t ms = DateTimeToMilliseconds(DateTime) - static_cast<std::int64_t>(KelUnixEpochDays) * KelMsPerDay;
  return std::chrono::system_clock::time_point(
      std::chrono::duration_cast<std::chrono::system_clock::duration>(std::chrono::milliseconds(ms)));
}

double EncodeDateTime(int Year, int Month, int Day, int Hour, int Minute, int Second, int Millisecond) {
  const std::int64_t days = DaysFromCivil(Year, Month, Day);
  const std::int64_t ms = ((Hour * 60LL + Minute) * 60 + Second) * 1000 + Millisecond;
  return DateTimeFromMilliseconds(days * KelMsPerDay + ms);
}

std::int64_t DateTimeToMilliseconds(double DateTime) {
  return static_cast<std::int64_t>(std::llround(DateTime * KelMsPerDay));
}

double DateTimeFromMilliseconds(std::int64_t Milliseconds) {
  const std::int64_t days = FloorDiv(Milliseconds, KelMsPerDay);
  return static_cast<double>(days) + static_cast<double>(Milliseconds - days * KelMsPerDay) / KelMsPerDay;
}

TDateTimeParts DecodeDateTime(double DateTime) {
  TDateTimeParts p;
  if (!std::isfinite(DateTime) || std::fabs(DateTime) > 1e9) return p;
  const std::int64_t ms = DateTimeToMilliseconds(DateTime);
  const std::int64_t days = FloorDiv(ms, KelMsPerDay);
  std::int64_t rest = ms - days * KelMsPerDay;
  std::int64_t year = 0;
  CivilFromDays(days, year, p.Month, p.Day);
  p.Year = static_cast<int>(year);
  p.Millisecond = static_cast<int>(rest % 1000);
  rest /= 1000;
  p.Second = static_cast<int>(rest % 60);
  rest /= 60;
  p.Minute = static_cast<int>(rest % 60);
  p.Hour = static_cast<int>(rest / 60);
  // 30 December 1899 was a Saturday.
  p.DayOfWeek = static_cast<int>(((days % 7) + 7 + 6) % 7);
  return p;
}

double LocalTimeOffset(double UtcDateTime) {
  const double seconds = UnixSecondsFromDateTime(UtcDateTime);
  if (!(std::fabs(seconds) < 1e13)) return 0;
  const std::time_t t = static_cast<std::time_t>(std::floor(seconds));
  std::tm local{};
  std::tm utc{};
  const std::tm* l = std::localtime(&t);
  if (!l) return 0;
  local = *l;
  const std::tm* u = std::gmtime(&t);
  if (!u) return 0;
  utc = *u;
  auto days = [](const std::tm& T) {
    return EncodeDateTime(T.tm_year + 1900, T.tm_mon + 1, T.tm_mday, T.tm_hour, T.tm_min, T.tm_sec);
  };
  return days(local) - days(utc);
}

std::string FormatDateTime(std::string_view Format, double DateTime) {
  const TDateTimeParts p = DecodeDateTime(DateTime);
  const std::vector<TToken> tokens = Tokenize(Format);
  bool twelveHours = false;
  for (const TToken& t : tokens) twelveHours |= t.Letter == 'a';
  std::string out;
  for (const TToken& t : tokens) {
    switch (t.Letter) {
      case 0: out += t.Text; break;
      case 'y': out += t.Count <= 2 ? Padded(((p.Year % 100) + 100) % 100, 2) : Padded(p.Year, 4); break;
      case 'm':
        if (t.Count >= 4)
          out += KelLongMonths[p.Month - 1];
        else if (t.Count == 3)
          out += KelShortMonths[p.Month - 1];
        else
          out += Padded(p.Month, t.Count);
        break;
      case 'd':
        if (t.Count >= 4)
          out += KelLongDays[p.DayOfWeek];
        else if (t.Count == 3)
          out += KelShortDays[p.DayOfWeek];
        else
          out += Padded(p.Day, t.Count);
        break;
      case 'h': {
        int hour = p.Hour;
        if (twelveHours) hour = hour % 12 == 0 ? 12 : hour % 12;
        out += Padded(hour, std::min(t.Count, 2));
        break;
      }
      case 'n': out += Padded(p.Minute, std::min(t.Count, 2)); break;
      case 's': out += Padded(p.Second, std::min(t.Count, 2)); break;
      case 'z': out += Padded(p.Millisecond, t.Count >= 3 ? 3 : 1); break;
      case 'a': out += p.Hour < 12 ? "am" : "pm"; break;
      default: break;
    }
  }
  return out;
}

}  // namespace sextant
