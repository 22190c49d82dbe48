' Conversion functions, type tests, VarType and TypeName.
Option Explicit
Dim x

ok CBool(1) = True And CBool(0) = False And CBool("True") = True And CBool("0") = False, "CBool"
ok CBool(-0.5) = True, "non-zero is True"
ok CByte(255) = 255 And getVT(CByte(1)) = "VT_UI1", "CByte"
ok CCur(1.23456) = 1.2346 And getVT(CCur(1)) = "VT_CY", "CCur keeps four decimals"
ok CCur(0.00005) = 0.0000 And CCur(0.00015) = 0.0002, "CCur rounds half to even"
ok CDbl("1.5") = 1.5 And getVT(CDbl(1)) = "VT_R8", "CDbl"
ok CInt("12") = 12 And getVT(CInt(1.4)) = "VT_I2", "CInt"
ok CLng("  42  ") = 42 And getVT(CLng(1)) = "VT_I4", "CLng with spaces"
ok getVT(CSng(1.5)) = "VT_R4" And CSng(1.5) = 1.5, "CSng"
ok CStr(12) = "12" And CStr(True) = "True" And CStr(-1.5) = "-1.5", "CStr"
ok CStr(Empty) = "" And getVT(CStr(Empty)) = "VT_BSTR", "CStr(Empty)"
ok CInt(True) = -1 And CLng(False) = 0, "Booleans convert to -1 and 0"
ok CLng("&H10") = 16 And CLng("&O10") = 8, "hex and octal text"
ok CDbl("1e3") = 1000 And CDbl("-2.5E-1") = -0.25, "exponents"
ok CDbl("$1,234.50") = 1234.5, "currency symbol and grouping"

ok IsNumeric("12") And IsNumeric(" 1.5 ") And IsNumeric("-3") And IsNumeric("1e5"), "IsNumeric true"
ok IsNumeric(5) And IsNumeric(Empty) And IsNumeric(True), "numbers, Empty and Booleans are numeric"
ok Not IsNumeric("abc") And Not IsNumeric("") And Not IsNumeric(Null) And Not IsNumeric("1.2.3"), "IsNumeric false"
ok Not IsNumeric(#1/1/2000#), "dates are not numeric"
ok IsObject(CreateObject("Scripting.Dictionary")) And Not IsObject(5), "IsObject"
ok IsObject(Nothing), "Nothing is an object"

ok VarType(1) = vbInteger And VarType(100000) = vbLong And VarType(1.5) = vbDouble, "VarType numbers"
ok VarType("") = vbString And VarType(True) = vbBoolean And VarType(Now) = vbDate, "VarType others"
ok VarType(CCur(1)) = vbCurrency And VarType(CByte(1)) = vbByte And VarType(CSng(1)) = vbSingle, "VarType narrow"
ok VarType(Nothing) = vbObject, "VarType of Nothing"
ok TypeName(1) = "Integer" And TypeName(1.5) = "Double" And TypeName("") = "String", "TypeName"
ok TypeName(CCur(1)) = "Currency" And TypeName(Now) = "Date" And TypeName(Nothing) = "Nothing", "TypeName others"
ok TypeName(CreateObject("Scripting.Dictionary")) = "Dictionary", "TypeName of an object"

On Error Resume Next
x = CInt("abc")
ok Err.Number = 13, "CInt of text"
Err.Clear
x = CLng(3000000000)
ok Err.Number = 6, "CLng overflow"
Err.Clear
x = CBool("maybe")
ok Err.Number = 13, "CBool of text"
Err.Clear
x = CDate("31/31/2020")
ok Err.Number = 13, "CDate of an impossible date"
On Error GoTo 0
