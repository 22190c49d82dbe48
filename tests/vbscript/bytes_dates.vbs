' Byte-string functions over a text's UTF-16 bytes, and date arithmetic across 30/12/1899.
Function ErrOf(expr)
    On Error Resume Next
    Dim r : r = Eval(expr)
    ErrOf = Err.Number
End Function

ok LenB("A") = 2 And LenB("") = 0 And LenB("Año") = 6, "LenB counts two bytes per character"
ok IsNull(LenB(Null)), "LenB(Null) is Null"
ok LeftB("AB", 2) = "A" And LeftB("AB", 4) = "AB" And LeftB("AB", 10) = "AB", "LeftB"
ok RightB("AB", 2) = "B" And MidB("ABC", 3, 2) = "B" And MidB("ABC", 3) = "BC", "RightB, MidB"
ok MidB("ABC", 7) = "" And ErrOf("MidB(""A"", 0)") = 5, "MidB past the end, start 0"
ok InStrB("AB", "B") = 3 And InStrB("ABAB", "B") = 3 And InStrB(4, "ABAB", "B") = 7, "InStrB is a byte position"
ok InStrB("AB", "C") = 0 And InStrB("AB", "") = 1, "InStrB not found, empty"
ok AscB("A") = 65 And AscB(ChrW(&H20AC)) = &HAC, "AscB is the first byte"
ok ErrOf("AscB("""")") = 5, "AscB of empty text"
ok ChrB(65) = "A" And ErrOf("ChrB(256)") = 5 And ErrOf("ChrB(-1)") = 5, "ChrB takes 0-255"

' the time of day runs forward on both sides of 30/12/1899
ok DateDiff("d", #12/29/1899 12:00#, #12/31/1899 06:00#) = 2, "days across the epoch"
ok DateDiff("h", #12/29/1899 12:00#, #12/30/1899 06:00#) = 18, "hours across the epoch"
ok DateDiff("h", #12/30/1899 06:00#, #12/29/1899 12:00#) = -18, "and back: the sign is kept"
ok DateDiff("n", #12/29/1899 23:30#, #12/30/1899 00:15#) = 45, "minutes across midnight of the epoch"
ok DateDiff("s", #12/28/1899 00:00:10#, #12/28/1899 00:00:40#) = 30, "seconds before the epoch"
ok DateAdd("h", 18, #12/29/1899 12:00#) = #12/30/1899 06:00#, "DateAdd across the epoch"
ok DateAdd("n", -45, #12/30/1899 00:15#) = #12/29/1899 23:30#, "DateAdd backwards across it"
ok DateAdd("s", 30, #12/28/1899 00:00:10#) = #12/28/1899 00:00:40#, "DateAdd before the epoch"
ok ErrOf("DateDiff(""s"", #1/1/100#, #12/31/9999#)") = 6, "a difference beyond a Long overflows"
ok DateDiff("s", #1/1/2000#, #1/1/2060#) = 1893456000, "large but within a Long"
