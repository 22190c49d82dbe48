' String built-ins with ordinary and edge arguments.
Option Explicit
Dim a

ok Len("abc") = 3 And Len("") = 0, "Len"
ok Len(12345) = 5, "Len of a number is the length of its text"
ok IsNull(Len(Null)), "Len(Null)"
ok Left("abcdef", 2) = "ab" And Left("ab", 5) = "ab" And Left("ab", 0) = "", "Left"
ok Right("abcdef", 2) = "ef" And Right("ab", 5) = "ab", "Right"
ok Mid("abcdef", 2, 3) = "bcd" And Mid("abcdef", 4) = "def" And Mid("abc", 5) = "", "Mid"
ok IsNull(Left(Null, 2)) And IsNull(Mid(Null, 1)), "Null passes through"
ok UCase("ñandú") = "ÑANDÚ" And LCase("ABC") = "abc", "case with accents"
ok Trim("  a b  ") = "a b" And LTrim("  a ") = "a " And RTrim(" a  ") = " a", "trims"
ok Trim(vbTab & "a") = vbTab & "a", "Trim removes spaces only"
ok InStr("abcabc", "c") = 3, "InStr"
ok InStr(4, "abcabc", "c") = 6, "InStr with start"
ok InStr("abc", "") = 1, "empty search text"
ok InStr("abc", "x") = 0, "not found"
ok InStr(1, "ABC", "b", vbTextCompare) = 2, "text compare"
ok InStr("ABC", "b") = 0, "binary compare by default"
ok IsNull(InStr(Null, "a")), "InStr with Null"
ok InStr(10, "abc", "a") = 0, "start past the end"
ok InStrRev("abcabc", "b") = 5, "InStrRev"
ok InStrRev("abcabc", "b", 4) = 2, "InStrRev with start"
ok Replace("a-b-c", "-", "+") = "a+b+c", "Replace"
ok Replace("a-b-c", "-", "+", 1, 1) = "a+b-c", "Replace count"
ok Replace("a-b-c", "-", "+", 3) = "b+c", "Replace start drops the prefix"
ok Replace("aAa", "a", "x", 1, -1, vbTextCompare) = "xxx", "Replace text compare"
ok Replace("abc", "", "x") = "abc", "empty find text"
ok Space(3) = "   " And String(3, "ab") = "aaa" And String(2, 65) = "AA", "Space and String"
ok StrReverse("abc") = "cba", "StrReverse"
ok Asc("A") = 65 And AscW("€") = 8364 And Asc("€") = 128, "Asc and AscW"
ok Chr(65) = "A" And ChrW(8364) = "€" And Chr(128) = "€", "Chr and ChrW"
ok Chr(13) & Chr(10) = vbCrLf, "vbCrLf"
a = Split("a,b,,c", ",")
ok UBound(a) = 3 And a(2) = "" And a(3) = "c", "Split keeps empty fields"
a = Split("a b c")
ok UBound(a) = 2, "Split on spaces by default"
a = Split("a,b,c", ",", 2)
ok UBound(a) = 1 And a(1) = "b,c", "Split limit"
a = Split("")
ok UBound(a) = -1, "Split of empty text is an empty array"
a = Split("aXbxc", "x", -1, vbTextCompare)
ok UBound(a) = 2, "Split text compare"
ok Join(Array("a", "b", "c"), "-") = "a-b-c" And Join(Array("a", "b")) = "a b", "Join"
a = Filter(Array("apple", "banana", "cherry"), "an")
ok UBound(a) = 0 And a(0) = "banana", "Filter"
a = Filter(Array("apple", "banana", "cherry"), "an", False)
ok UBound(a) = 1, "Filter exclude"
ok "a" & Null & "b" = "ab", "& treats Null as empty"
ok IsNull(Null & Null), "Null & Null is Null"
ok "x" & 1.5 = "x1.5" And "x" & True = "xTrue", "& formats numbers and Booleans"
ok "He said ""hi""" = "He said " & Chr(34) & "hi" & Chr(34), "doubled quotes"
ok "ab" & _
   "cd" = "abcd", "line continuation"
Rem a comment statement
ok LCase(Hex(255)) = "ff" And Hex(-1) = "FFFF" And Hex(65536) = "10000" And Oct(8) = "10", "Hex and Oct"
ok Escape("a b") = "a%20b" And Unescape("a%20b") = "a b", "Escape and Unescape"

On Error Resume Next
a = Left("abc", -1)
ok Err.Number = 5, "negative length"
Err.Clear
a = Asc("")
ok Err.Number = 5, "Asc of empty text"
Err.Clear
a = Chr(256)
ok Err.Number = 5, "Chr out of range"
On Error GoTo 0

