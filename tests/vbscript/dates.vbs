' Dates: literals, coercion, serials, DateAdd/DateDiff/DatePart, names and text forms (en-us).
Option Explicit
Dim d, s
SetLocale "en-us"

' literals are month/day/year whatever the locale
ok Month(#3/4/2026#) = 3 And Day(#3/4/2026#) = 4, "literal is m/d/y"
ok #2026-03-04# = #3/4/2026#, "ISO literal"
ok #13/4/2026# = DateSerial(2026, 4, 13), "impossible month swaps to d/m/y"
ok getVT(#1/1/2000#) = "VT_DATE", "date literal subtype"
ok CDbl(#1/1/2000#) = 36526 And CDbl(#12/30/1899#) = 0, "serial numbers"
ok CDate(36526) = #1/1/2000#, "CDate of a number"
ok #1/1/2000 12:00# = 36526.5, "time is the fraction"

' DateSerial and TimeSerial normalise out-of-range parts
ok DateSerial(2026, 13, 1) = #1/1/2027#, "month 13"
ok DateSerial(2026, 3, 0) = #2/28/2026#, "day 0 is the last day of the previous month"
ok DateSerial(2024, 2, 30) = #3/1/2024#, "day overflow"
ok DateSerial(2026, 0, 1) = #12/1/2025#, "month 0"
ok DateSerial(2026, -1, 1) = #11/1/2025#, "negative month"
ok Year(DateSerial(26, 1, 1)) = 2026 And Year(DateSerial(99, 1, 1)) = 1999, "two-digit years"
ok TimeSerial(10, 5, 0) = #10:05:00 AM#, "TimeSerial"
ok TimeSerial(25, 0, 0) = #12/31/1899 1:00:00 AM#, "hours past a day (serial 1 is 12/31/1899)"
ok TimeSerial(0, 90, 0) = TimeSerial(1, 30, 0), "minutes overflow"
d = DateSerial(2026, 3, 4) + TimeSerial(10, 5, 0)
ok getVT(d) = "VT_DATE" And Hour(d) = 10 And Minute(d) = 5 And Second(d) = 0, "date + time"
ok Year(d) = 2026 And Month(d) = 3 And Day(d) = 4, "parts"
ok Weekday(d) = 4 And Weekday(d, vbMonday) = 3, "Wednesday"
ok WeekdayName(4) = "Wednesday" And WeekdayName(1, True) = "Sun", "WeekdayName"
ok WeekdayName(1, False, vbMonday) = "Monday", "WeekdayName with first day"
ok MonthName(3) = "March" And MonthName(12, True) = "Dec", "MonthName"

' text forms
ok CStr(#3/4/2026#) = "3/4/2026", "date only"
ok CStr(#3/4/2026 10:05:00#) = "3/4/2026 10:05:00 AM", "date and time"
ok CStr(TimeSerial(15, 0, 0)) = "3:00:00 PM", "time only"
ok CStr(#3/4/2026 0:00:01#) = "3/4/2026 12:00:01 AM", "just after midnight"
ok FormatDateTime(d, vbShortDate) = "3/4/2026", "vbShortDate"
ok FormatDateTime(d, vbLongDate) = "Wednesday, March 4, 2026", "vbLongDate"
ok FormatDateTime(d, vbShortTime) = "10:05", "vbShortTime"
ok FormatDateTime(d, vbLongTime) = "10:05:00 AM", "vbLongTime"
ok FormatDateTime(d) = "3/4/2026 10:05:00 AM", "vbGeneralDate"

' text to date
ok CDate("3/4/2026") = #3/4/2026#, "en-us text is m/d/y"
ok CDate("March 4, 2026") = #3/4/2026#, "month name"
ok CDate("4-Mar-2026") = #3/4/2026#, "day-month name-year"
ok CDate("2026-03-04 10:05") = d, "ISO with time"
ok CDate("10:05 PM") = TimeSerial(22, 5, 0), "time with PM"
ok CDate("12:30 AM") = TimeSerial(0, 30, 0), "12 AM is midnight"
ok DateValue("3/4/2026 10:05") = #3/4/2026#, "DateValue drops the time"
ok TimeValue("3/4/2026 10:05") = TimeSerial(10, 5, 0), "TimeValue drops the date"
ok IsDate("3/4/2026") And IsDate("2026-02-28") And IsDate(#1/1/2000#), "IsDate true"
ok Not IsDate("2026-02-30") And Not IsDate("hello") And Not IsDate(5), "IsDate false"

' coercion in expressions
ok #3/4/2026# + 1 = #3/5/2026#, "add days"
ok #3/4/2026# + "1" = #3/5/2026#, "add a numeric string"
ok #3/4/2026# = "3/4/2026", "date literal against a string literal converts the string"
s = "3/4/2026" : d = #3/4/2026#
ok Not (d = s), "date variable against string variable: numbers sort first"
ok d = CDate(s), "CDate makes them comparable"
ok d - 1 < d, "subtraction"

' DateAdd
ok DateAdd("d", 1, #3/4/2026#) = #3/5/2026#, "add a day"
ok DateAdd("m", 1, #1/31/2026#) = #2/28/2026#, "month end clamps"
ok DateAdd("m", -1, #3/31/2024#) = #2/29/2024#, "leap year clamp"
ok DateAdd("yyyy", 1, #2/29/2024#) = #2/28/2025#, "year from leap day"
ok DateAdd("q", 1, #11/15/2025#) = #2/15/2026#, "quarter"
ok DateAdd("ww", 2, #3/4/2026#) = #3/18/2026#, "weeks"
ok DateAdd("h", 25, #3/4/2026#) = #3/5/2026 1:00:00 AM#, "hours"
ok DateAdd("n", -30, #3/4/2026#) = #3/3/2026 11:30:00 PM#, "minutes back over midnight"
ok DateAdd("s", 90, #3/4/2026#) = #3/4/2026 12:01:30 AM#, "seconds"

' DateDiff counts boundaries crossed
ok DateDiff("d", #1/1/2026#, #3/1/2026#) = 59, "days"
ok DateDiff("d", #3/1/2026#, #1/1/2026#) = -59, "negative days"
ok DateDiff("d", #3/4/2026 23:00#, #3/5/2026 01:00#) = 1, "days ignore the time"
ok DateDiff("m", #1/31/2026#, #2/1/2026#) = 1, "month boundary"
ok DateDiff("yyyy", #12/31/2025#, #1/1/2026#) = 1, "year boundary"
ok DateDiff("q", #3/31/2026#, #4/1/2026#) = 1, "quarter boundary"
ok DateDiff("h", #3/4/2026 23:59#, #3/5/2026 0:01#) = 1, "hour boundary"
ok DateDiff("n", #3/4/2026 10:00#, #3/4/2026 11:30#) = 90, "minutes"
ok DateDiff("s", #3/4/2026 10:00#, #3/4/2026 10:01#) = 60, "seconds"
ok DateDiff("w", #3/4/2026#, #3/24/2026#) = 2, "whole weeks"
ok DateDiff("ww", #3/7/2026#, #3/8/2026#) = 1, "Sundays crossed (Saturday to Sunday)"
ok getVT(DateDiff("d", #1/1/2026#, #1/2/2026#)) = "VT_I4", "DateDiff is Long"

' DatePart
ok DatePart("q", #5/1/2026#) = 2 And DatePart("y", #2/1/2026#) = 32, "quarter and day of year"
ok DatePart("w", #3/4/2026#) = 4 And DatePart("ww", #1/1/2026#) = 1, "weekday and week"
ok DatePart("ww", #1/4/2026#) = 2, "the first Sunday starts week 2"
ok DatePart("yyyy", d) = 2026 And DatePart("h", #3/4/2026 17:45#) = 17, "year and hour"

On Error Resume Next
d = DateAdd("x", 1, Now)
ok Err.Number = 5, "unknown interval"
Err.Clear
d = CDate("not a date")
ok Err.Number = 13, "CDate of text that is no date"
Err.Clear
d = DateSerial(10000, 1, 1)
ok Err.Number = 5, "year out of range"
On Error GoTo 0

' the clock
ok Now >= Date And Now < Date + 1, "Now is today"
ok Time < 1 And Date = Int(Now), "Date and Time split Now"
ok Timer >= 0 And Timer < 86400, "Timer"

' day zero prints as a time of day
ok CStr(CDate(0)) = "12:00:00 AM" And CStr(#12/30/1899 6:00#) = "6:00:00 AM", "serial 0 is midnight"

' week numbers under the three first-week rules (1 Jan 2021 was a Friday)
ok DatePart("ww", #1/1/2021#) = 1, "vbFirstJan1: the week of 1 January is week 1"
ok DatePart("ww", #1/1/2021#, vbMonday, vbFirstFourDays) = 53, "ISO-style: 1 Jan 2021 is in week 53 of 2020"
ok DatePart("ww", #1/4/2021#, vbMonday, vbFirstFourDays) = 1, "ISO-style week 1 starts on Monday 4 January"
ok DatePart("ww", #1/9/2021#, vbSunday, vbFirstFullWeek) = 1, "first full week starts Sunday 3 January"
ok DatePart("ww", #3/4/2026#, vbMonday, vbFirstFourDays) = 10, "ISO week of 4 March 2026"
