' SetLocale: separators, date order and names follow the locale in conversions and formats.
Option Explicit
Dim old, d

ok SetLocale("en-us") >= 0, "SetLocale returns the previous LCID"
ok GetLocale() = 1033, "en-us is 1033"
old = SetLocale(2058)
ok old = 1033 And GetLocale() = 2058, "LCID form; returns the previous one"
ok SetLocale("es-mx") = 2058, "name form"

' es-mx: day/month/year, period decimal, comma thousands, Spanish names
d = DateSerial(2026, 3, 4)
ok CStr(d) = "04/03/2026", "short date in es-mx: " & CStr(d)
ok CDate("04/03/2026") = #3/4/2026#, "text is d/m/y in es-mx"
ok CDate("4 de marzo de 2026") = #3/4/2026#, "Spanish month name"
ok MonthName(3) = "marzo" And MonthName(1, True) = "ene", "Spanish month names"
ok WeekdayName(4) = "miércoles", "Spanish weekday names"
ok FormatDateTime(d, vbLongDate) = "miércoles, 04 de marzo de 2026", "long date: " & FormatDateTime(d, vbLongDate)
ok IsDate("31/12/2026") And Not IsDate("31/13/2026"), "IsDate follows the locale"
ok CStr(1234.5) = "1234.5" And CDbl("1,234.5") = 1234.5, "period decimal"
ok FormatNumber(1234567.891, 2) = "1,234,567.89", "FormatNumber es-mx"
ok FormatCurrency(1234.5) = "$1,234.50", "FormatCurrency es-mx"
ok FormatCurrency(-1234.5) = "-$1,234.50", "negative currency es-mx"
ok IsNumeric("1,234.50") And Not IsNumeric("1.234,50"), "IsNumeric es-mx"

' es-es: comma decimal
SetLocale "es-es"
ok CStr(1234.5) = "1234,5", "comma decimal in CStr"
ok CDbl("1.234,5") = 1234.5, "CDbl reads the locale's separators"
ok FormatNumber(1234.5, 2) = "1.234,50", "FormatNumber es-es"
ok IsNumeric("1,5") And CDbl("1,5") = 1.5, "IsNumeric es-es"
ok 1.5 & "" = "1,5", "& uses the locale"
ok CStr(#3/4/2026#) = "04/03/2026", "es-es date"

' en-us
SetLocale 1033
ok CStr(1234.5) = "1234.5" And CStr(#3/4/2026#) = "3/4/2026", "back to en-us"
ok FormatNumber(1234.5) = "1,234.50", "FormatNumber default digits"
ok FormatNumber(0.5, 0) = "1" And FormatNumber(1.5, 0) = "2" And FormatNumber(2.5, 0) = "3", "FormatNumber rounds halves away from zero"
ok FormatNumber(1.005, 2) = "1.01", "decimal halves"
ok FormatNumber(-0.001, 2) = "0.00", "negative zero prints as zero"
ok FormatNumber(0.5, 2, vbFalse) = ".50", "no leading digit"
ok FormatNumber(-5, 1, , vbTrue) = "(5.0)", "parentheses for negatives"
ok FormatNumber(1234567, 0, , , vbFalse) = "1234567", "no grouping"
ok FormatNumber("1234.5", 1) = "1,234.5", "numeric text"
ok FormatCurrency(1234.5) = "$1,234.50", "FormatCurrency"
ok FormatCurrency(-3) = "($3.00)", "negative currency en-us"
ok FormatPercent(0.256) = "25.60%" And FormatPercent(0.5, 0) = "50%", "FormatPercent"
ok CStr(1E+20) = "1E+20" And CStr(0.00001) = "1E-05" And CStr(123456789012345) = "123456789012345", "scientific forms"
ok CStr(1 / 3) = "0.333333333333333", "15 significant digits"
ok CStr(CSng(1 / 3)) = "0.3333333", "Single has 7"
ok CStr(CCur(1.5)) = "1.5" And CStr(CCur(2)) = "2", "Currency text"

On Error Resume Next
SetLocale "xx-nowhere"
ok Err.Number = 5, "unknown locale"
On Error GoTo 0

' every locale of VBScript's chart, by short name or LCID; formats follow the locale
Function LocaleErr(l)
    On Error Resume Next
    SetLocale l
    LocaleErr = Err.Number
End Function
SetLocale "it-it"
ok GetLocale() = 1040 And CStr(1234.5) = "1234,5" And MonthName(3) = "marzo", "it-it"
ok CDate("4/3/2026") = #3/4/2026#, "it-it reads day/month/year"
SetLocale 3084
ok GetLocale() = 3084 And CDbl("1,5") = 1.5 And MonthName(1) = "janvier", "fr-ca by LCID"
ok CDate("2026-03-04") = #3/4/2026#, "fr-ca reads year-month-day"
SetLocale "sv-se"
ok GetLocale() = 1053 And CStr(#3/4/2026#) = "2026-03-04" And WeekdayName(1) = "söndag", "sv-se"
SetLocale "nl-nl"
ok GetLocale() = 1043 And WeekdayName(1) = "zondag" And CStr(0.5) = "0,5", "nl-nl"
SetLocale "pt-pt"
ok GetLocale() = 2070 And MonthName(3) = "março", "pt-pt"
SetLocale "ja"
ok GetLocale() = 1041 And CStr(1234.5) = "1234.5", "ja"
SetLocale "de-ch"
ok GetLocale() = 2055 And CStr(1234.5) = "1234.5" And MonthName(3) = "März", "de-ch keeps a period decimal"
SetLocale "en-au"
ok GetLocale() = 3081 And Left(CStr(#3/4/2026#), 2) = "4/", "en-au is day first"
ok SetLocale("es-co") = 3081 And GetLocale() = 9226, "SetLocale returns the previous LCID"
ok LocaleErr("xx-yy") = 5 And LocaleErr(99999) = 5 And LocaleErr("") = 5, "unknown locales are refused"
ok GetLocale() = 9226, "a refused locale keeps the current one"
SetLocale 1033
