' Comparison rules: subtypes, literals against variables, Empty, Null, dates.
Option Explicit
Dim s, n, e, b

' a number literal converts a string variable to a number
s = "10"
ok s = 10, "string variable = number literal"
ok s > 9, "'10' > 9 numerically"
ok 10 = s, "number literal on the left"

' a string literal converts a number variable to text
n = 10
ok n = "10", "number variable = string literal"
ok Not (n > "9"), "10 > '9' compares as text: '10' < '9'"
ok 1250.5 * 1.16 > "1000", "expression against a string literal compares as text"

' two variables: numbers sort before strings
s = "100" : n = 1000
ok s > n, "string variable > number variable"
ok Not (s = n), "'100' <> 100 between variables"
n = 100
ok Not (s = n), "equal digits are still unequal between variables"
ok CStr(n) = s, "CStr makes them comparable"

' strings compare binary (case-sensitive, ordinal)
ok "a" > "B", "lower case after upper case"
ok "abc" < "abd", "ordinal"
ok Not ("a" = "A"), "case-sensitive equality"
ok "" < "a", "empty string first"

' Empty is 0 against numbers and "" against strings
ok e = 0, "Empty = 0"
ok e = "", "Empty = empty string"
ok e < 1, "Empty < 1"
ok Not (e = "0"), "Empty <> '0'"
ok IsEmpty(e), "still Empty"

' Booleans are -1 and 0
b = True
ok b = -1, "True = -1"
ok Not (b = 1), "True <> 1"
ok "True" = True, "string literal compared with a Boolean literal"
ok True < False, "True (-1) < False (0)"

' Null in a comparison yields Null
Dim z : z = Null
ok IsNull(z = 1), "Null = 1 is Null"
ok IsNull(z <> z), "Null <> Null is Null"
ok IsNull(1 < z), "1 < Null is Null"
ok IsNull("a" & "b" = z), "string = Null is Null"

' numbers of different subtypes compare by value
ok CByte(5) = 5.0, "Byte = Double"
ok CCur(1.5) = 1.5, "Currency = Double"
ok CLng(2) = CInt(2), "Long = Integer"
ok 0.1 + 0.2 <> 0.3, "binary floating point is not decimal"

' dates compare as numbers
ok DateSerial(2026, 3, 4) > DateSerial(2026, 3, 3), "later date is greater"
ok DateSerial(2026, 3, 4) = #3/4/2026#, "literal is month/day/year"
ok #3/4/2026# < #3/4/2026 10:00#, "time of day counts"
ok CDate("2026-03-04") = #3/4/2026#, "ISO text"
Dim dt : dt = #1/1/2000#
ok dt = 36526, "date = its serial number"

' Is compares object identity only
Dim o1, o2
Set o1 = CreateObject("Scripting.Dictionary")
Set o2 = o1
ok o1 Is o2, "same object"
ok Not (o1 Is CreateObject("Scripting.Dictionary")), "different objects"
Set o2 = Nothing
ok o2 Is Nothing, "Nothing"

' StrComp with both compare modes
ok StrComp("abc", "ABC") = 1, "binary: lower > upper"
ok StrComp("abc", "ABC", vbTextCompare) = 0, "text compare"
ok StrComp("a", "b") = -1, "less"
ok IsNull(StrComp(Null, "b")), "StrComp with Null"

' Select Case uses the same rules
s = "5"
Select Case s
    Case 5: ok True, "Select: literal number converts the string"
    Case Else: ok False, "Select: literal number converts the string"
End Select

' constants are literals too
Const LIMIT = 100
s = "50"
ok s < LIMIT, "a numeric Const converts the string variable"
n = 50
Const LABEL = "50"
ok n = LABEL, "a text Const converts the number variable"

' a text variable against a number or date literal converts; text that does not convert is a mismatch
Function CmpErr(expr)
    On Error Resume Next
    Dim r : r = Eval(expr)
    CmpErr = Err.Number
End Function
Dim txt, num
txt = "abc" : num = "12"
ok CmpErr("txt = 5") = 13 And CmpErr("txt < 5") = 13 And CmpErr("5 <> txt") = 13, "text variable against a number literal"
ok CmpErr("txt = #1/1/2000#") = 13, "text variable against a date literal"
ok num = 12 And num < 100 And 100 > num, "numeric text variable converts"
Call ok(("abc" = 5) = False And ("abc" > 5) = True, "two literals: numbers sort before texts")
' True and False convert no text: numbers sort before texts
Dim tv : tv = "True"
Call ok(("true" = True) = False And ("True" > False) = True, "Boolean literals against text")
Call ok((tv = True) = False And (tv > True) = True, "Boolean literal against a text variable")
Call ok((1 = True) = False And (-1 = True) = True, "Boolean literals against numbers still compare as numbers")
' Single against Double compares at Single precision
ok CSng(0.1) = 0.1 And 0.1 = CSng(0.1), "CSng(0.1) = 0.1"
ok CSng(1.1) = 1.1 And CSng(2.5) > 2.4 And Not (CSng(0.1) < 0.1), "Single precision both ways"
ok CDbl(CSng(0.1)) <> 0.1, "once converted to Double the Single value differs"
