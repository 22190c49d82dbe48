' Arithmetic: result subtypes, overflow promotion, integer division, rounding.
Option Explicit
Dim x

' literal subtypes
ok getVT(1) = "VT_I2", "small literal is Integer"
ok getVT(32767) = "VT_I2", "Integer upper bound"
ok getVT(32768) = "VT_I4", "past Integer is Long"
ok getVT(-32768) = "VT_I4", "negated literal 32768 stays Long"
ok getVT(2147483648) = "VT_R8", "past Long is Double"
ok getVT(1.5) = "VT_R8", "decimal literal is Double"
ok getVT(&HFF) = "VT_I2", "hex literal"
ok &HFFFF = -1, "&HFFFF is the Integer -1"
ok &H10000 = 65536, "wider hex is Long"
ok &O17 = 15, "octal"

' overflow promotes instead of failing
x = 32767 + 1
ok x = 32768 And getVT(x) = "VT_I4", "Integer + Integer overflows to Long"
x = 2147483647 + 1
ok x = 2147483648, "Long overflow to Double"
ok getVT(x) = "VT_R8", "Long + Long overflows to Double"
x = 200 * 200
ok getVT(x) = "VT_I4", "Integer * Integer promotes"
ok getVT(CByte(200) + CByte(100)) = "VT_I2", "Byte + Byte past 255 is Integer"
ok getVT(CByte(2) + CByte(3)) = "VT_UI1", "Byte + Byte stays Byte"

' mixed subtypes
ok getVT(1 + 1.5) = "VT_R8", "Integer + Double"
ok getVT(CSng(1) + 1) = "VT_R4", "Single + Integer"
ok getVT(CSng(1) + CLng(1)) = "VT_R8", "Single + Long is Double"
ok getVT(CCur(1) + 1) = "VT_CY", "Currency + Integer"
ok getVT(CCur(1) + 1.5) = "VT_R8", "Currency + Double"
ok getVT(True + True) = "VT_I2", "Boolean + Boolean"
ok True + True = -2, "True is -1"
ok getVT(Empty + Empty) = "VT_I2", "Empty + Empty is Integer 0"
ok getVT(#1/1/2000# + 1) = "VT_DATE", "Date + number"
ok getVT(#1/2/2000# - #1/1/2000#) = "VT_R8", "Date - Date"
ok #1/2/2000# - #1/1/2000# = 1, "one day"
ok getVT(10 / 2) = "VT_R8", "division is Double"
ok 10 / 4 = 2.5, "division keeps fractions"
ok 2 ^ 10 = 1024 And getVT(2 ^ 2) = "VT_R8", "power is Double"
ok -2 ^ 2 = 4 And -3 ^ 2 = 9, "negation binds tighter than power in VBScript"
ok 2 ^ -2 ^ 2 = 0.0625 And -(3 ^ 2) = -9, "signed exponent; parentheses still decide"
ok 2 ^ -1 = 0.5, "negative exponent"
ok 2 ^ 3 ^ 2 = 64, "power is left-associative"

' + with strings
ok "1" + "2" = "12", "string + string concatenates"
ok "1" + 2 = 3, "string + number adds"
ok getVT("1" + 2) = "VT_R8", "string operand becomes Double"
ok 1 & 2 = "12", "& concatenates numbers"
ok getVT(1 & 2) = "VT_BSTR", "& gives a string"
ok "a" + Empty = "a", "string + Empty"

' integer division and Mod round their operands (half to even) first
ok 7 \ 2 = 3, "7 \ 2"
ok -7 \ 2 = -3, "truncates toward zero"
ok 7.5 \ 2 = 4, "7.5 rounds to 8 first"
ok 6.5 \ 2 = 3, "6.5 rounds to 6 first"
ok 5.5 Mod 3 = 0, "5.5 rounds to 6"
ok 10 Mod 3 = 1, "Mod"
ok -10 Mod 3 = -1, "Mod keeps the dividend's sign"
ok 10 Mod -3 = 1, "divisor sign ignored"
ok getVT(10 \ 3) = "VT_I2", "Integer \ Integer"
ok getVT(100000 \ 3) = "VT_I4", "Long \ Integer"
ok getVT(7.9 \ 2) = "VT_I4", "Double operands give Long"
ok 1 + 2 * 3 = 7, "precedence * before +"
ok 10 - 2 - 3 = 5, "left-associative -"
ok 2 * 3 Mod 4 = 2, "* before Mod"
ok 7 \ 2 * 2 = 1, "* before \: 7 \ 4"
ok 5 Mod 3 + 1 = 3, "Mod before +"

' banker's rounding in CInt, CLng and Round
ok CInt(2.5) = 2, "CInt(2.5) to even"
ok CInt(3.5) = 4, "CInt(3.5) to even"
ok CInt(-2.5) = -2, "CInt(-2.5) to even"
ok CLng(1.5) = 2, "CLng(1.5)"
ok CInt(2.6) = 3, "CInt rounds"
ok Round(2.5) = 2, "Round(2.5)"
ok Round(3.5) = 4, "Round(3.5)"
ok Round(0.125, 2) = 0.12, "Round to two places, half to even"
ok Round(0.135, 2) = 0.14, "Round to two places, half to even (odd)"
ok Round(2.675, 2) = 2.68, "decimal halves, not binary"
ok Round(-1.5) = -2, "negative half"
ok Round(1.2345, 3) = 1.234, "three places"
ok getVT(Round(2)) = "VT_I2", "Round keeps Integer"
ok Int(-2.5) = -3, "Int floors"
ok Fix(-2.5) = -2, "Fix truncates"
ok Int(2.9) = 2 And getVT(Int(2.9)) = "VT_R8", "Int keeps Double"

' errors
On Error Resume Next
x = 1 / 0
ok Err.Number = 11, "division by zero"
Err.Clear
x = 0 / 0
ok Err.Number = 6, "0/0 overflows"
Err.Clear
x = 5 \ 0
ok Err.Number = 11, "integer division by zero"
Err.Clear
x = 5 Mod 0
ok Err.Number = 11, "Mod by zero"
Err.Clear
x = CInt(40000)
ok Err.Number = 6, "CInt overflow"
Err.Clear
x = CByte(-1)
ok Err.Number = 6, "CByte overflow"
Err.Clear
x = "abc" + 1
ok Err.Number = 13, "text that is no number"
Err.Clear
x = (-8) ^ 0.5
ok Err.Number = 5, "root of a negative number"
Err.Clear
x = Sqr(-1)
ok Err.Number = 5, "Sqr of a negative number"
On Error GoTo 0

' unary minus
ok getVT(-CInt(5)) = "VT_I2", "negated Integer"
ok getVT(-Empty) = "VT_I2", "negated Empty"
ok -True = 1, "negated True"
ok Abs(-5) = 5 And Sgn(-5) = -1 And Sgn(0) = 0, "Abs and Sgn"

' wide hex literals are Longs even when their value is small
ok getVT(&HFFFFFFFF) = "VT_I4" And &HFFFFFFFF = -1, "&HFFFFFFFF is the Long -1"
ok Hex(&HFFFFFFFF) = "FFFFFFFF" And Hex(&HFFFF) = "FFFF", "Hex keeps the width"
ok getVT(&HFF&) = "VT_I4", "& suffix makes a Long"
