' Null propagation, three-valued logic and Empty.
Option Explicit
Dim z, e
z = Null

ok IsNull(z + 1) And IsNull(z * 0) And IsNull(1 - z) And IsNull(z / 2), "arithmetic propagates Null"
ok IsNull(z \ 2) And IsNull(z Mod 2) And IsNull(z ^ 2) And IsNull(-z), "\, Mod, ^ and negation too"
Call ok(("a" & z) = "a" And IsNull(z & z), "& treats one Null as empty")
ok IsNull(Not z), "Not Null is Null"
Call ok((z And False) = False, "Null And False is False")
ok IsNull(z And True), "Null And True is Null"
Call ok((z Or True) = True, "Null Or True is True")
ok IsNull(z Or False), "Null Or False is Null"
ok IsNull(z Xor True) And IsNull(z Eqv False), "Xor and Eqv with Null are Null"
Call ok((False Imp z) = True, "False Imp Null is True")
ok IsNull(True Imp z), "True Imp Null is Null"
Call ok((z Imp True) = True, "Null Imp True is True")
ok IsNull(z Imp False), "Null Imp False is Null"
Call ok((z And 0) = 0, "Null And 0 is 0")
ok IsNull(z And 5), "Null And 5 is Null"

' logical operators are bitwise on numbers and never short-circuit
Call ok((5 And 3) = 1 And (5 Or 3) = 7 And (5 Xor 3) = 6, "bitwise on Integers")
Call ok((Not 0) = -1 And (Not 5) = -6, "Not is bitwise")
ok getVT(True And True) = "VT_BOOL" And getVT(1 And True) = "VT_I2", "result subtypes"
Call ok((True Eqv True) = True And (True Imp False) = False, "Eqv and Imp")
Dim calls : calls = 0
Function Touch(v)
    calls = calls + 1
    Touch = v
End Function
If Touch(False) And Touch(True) Then calls = calls + 100
ok calls = 2, "And evaluates both sides"
calls = 0
If Touch(True) Or Touch(False) Then calls = calls + 10
ok calls = 12, "Or evaluates both sides"

' conversions of Null
On Error Resume Next
Dim x
x = CStr(z)
ok Err.Number = 94, "CStr(Null) is invalid use of Null"
Err.Clear
x = CInt(z)
ok Err.Number = 94, "CInt(Null)"
Err.Clear
x = Len(z)
ok Err.Number = 0 And IsNull(x), "Len(Null) is Null without error"
On Error GoTo 0
ok IsNull(UCase(z)) And IsNull(Trim(z)) And IsNull(Year(z)), "string and date functions pass Null"
ok VarType(z) = vbNull And TypeName(z) = "Null" And getVT(z) = "VT_NULL", "Null's type"

' Empty
ok IsEmpty(e) And VarType(e) = vbEmpty And TypeName(e) = "Empty", "Empty's type"
ok e + 1 = 1 And e & "x" = "x" And getVT(e * 1) = "VT_I2", "Empty is 0 and empty text"
e = Empty
ok IsEmpty(e) And Not IsNull(e), "Empty keyword"
ok Not IsEmpty(""), "empty text is not Empty"
