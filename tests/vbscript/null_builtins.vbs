' Null handed to built-ins: functions taking a date return Null for a Null date; those whose
' parameters are texts or plain numbers fail with "Invalid use of Null" (94).
Function ErrOf(expr)
    On Error Resume Next
    Dim r : r = Eval(expr)
    ErrOf = Err.Number
End Function
Function IsNullOf(expr)
    On Error Resume Next
    IsNullOf = False
    IsNullOf = IsNull(Eval(expr))
End Function

Dim d, row, nullRows, errRows
d = #3/4/2026 10:05:00#

' a Null date gives Null
nullRows = Array("DateAdd(""q"", 1, Null)", "DateAdd(""d"", 5, Null)", "DateAdd(""h"", 1, Null)", _
    "DateDiff(""d"", Null, d)", "DateDiff(""m"", d, Null)", "DatePart(""yyyy"", Null)", _
    "Year(Null)", "Month(Null)", "Day(Null)", "Hour(Null)", "Minute(Null)", "Second(Null)", "Weekday(Null)", _
    "Left(Null, 1)", "Mid(Null, 1)", "Right(Null, 2)", "LCase(Null)", "UCase(Null)", "Trim(Null)", _
    "Len(Null)", "InStr(Null, ""a"")", "InStr(""a"", Null)", "StrComp(Null, ""a"")", _
    "Abs(Null)", "Int(Null)", "Fix(Null)")
For Each row In nullRows
    ok IsNullOf(row), row & " is Null"
Next

' texts and numbers that may not be Null
errRows = Array("DateAdd(""d"", Null, d)", "Replace(Null, ""a"", ""b"")", "Replace(""abc"", Null, ""b"")", _
    "Replace(""abc"", ""a"", Null)", "InStrRev(Null, ""a"")", "InStrRev(""abc"", Null)", "Sgn(Null)", _
    "DateValue(Null)", "TimeValue(Null)", "Join(Null)", "Join(Null, "","")", "Filter(Null, ""a"")", _
    "Split(Null)", "StrReverse(Null)", "CStr(Null)", "CLng(Null)", "CDate(Null)", "Space(Null)", _
    "MonthName(Null)", "Chr(Null)", "Sqr(Null)", "DateSerial(Null, 1, 1)", "TimeSerial(1, Null, 1)")
For Each row In errRows
    ok ErrOf(row) = 94, row & " fails with 94, got " & ErrOf(row)
Next

' arrays are still required where Null is not the problem
ok ErrOf("Join(5)") = 13 And ErrOf("Filter(""x"", ""a"")") = 13, "a non-array is a type mismatch"
ok DateAdd("q", 1, d) = #6/4/2026 10:05:00#, "DateAdd still adds"
