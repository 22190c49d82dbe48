' Operator precedence, literals and logical operators as Windows VBScript 5.8 evaluates them.
Function ErrOf(expr)
    On Error Resume Next
    Dim r : r = Eval(expr)
    ErrOf = Err.Number
End Function

' negation binds tighter than ^
ok -3 ^ 2 = 9 And getVT(-3 ^ 2) = "VT_R8", "-3 ^ 2 is 9"
Dim three : three = 3
ok -three ^ 2 = 9 And 2 ^ -three = 0.125, "with variables too"
ok 2 * -3 ^ 2 = 18 And 10 - -2 ^ 2 = 6, "inside larger expressions"

' hexadecimal and octal literals
ok &H8000 = -32768 And getVT(&H8000) = "VT_I2", "&H8000 is the Integer -32768"
ok &HFFFF = -1 And getVT(&HFFFF) = "VT_I2", "&HFFFF is -1"
ok &h10& = 16 And getVT(&h10&) = "VT_I4", "&h10& is a Long"
ok &H8000& = 32768 And getVT(&H10000) = "VT_I4", "a trailing & or a wide value gives a Long"
ok &O17 = 15 And &17 = 15, "octal"
Dim hi : hi = "!"
ok "x" &hi = "x!", """x"" &hi is the & operator"
ok ErrOf("1e99999") = 6, "1e99999 overflows: " & ErrOf("1e99999")
ok ErrOf("-1e400") = 6, "so does -1e400"
ok 1e308 > 0 And 1.5e-300 > 0, "large literals within range"
ok 10000000000000000000000000 = 1e25, "long digit strings read whole"

' Empty in logical operators is a Long
ok getVT(Empty And Empty) = "VT_I4" And getVT(Not Empty) = "VT_I4", "Empty And Empty, Not Empty"
Call ok((Not Empty) = -1 And getVT(Empty Or 1) = "VT_I4" And getVT(Empty Xor True) = "VT_I4", "Empty with others")
ok getVT(1 And 1) = "VT_I2" And getVT(True And True) = "VT_BOOL", "others keep their types"

' Boolean texts in logical operators
Call ok((Not "#FALSE#") = True And (Not "#TRUE#") = False, "Not ""#FALSE#""")
Call ok((Not "False") = True And ("True" And True) = True And ("#TRUE#" Or False) = True, "Boolean texts")
ok ErrOf("Not ""abc""") = 13, "other text is a type mismatch"

' conversions
ok CByte(True) = 255 And getVT(CByte(True)) = "VT_UI1" And CByte(False) = 0, "CByte(True) is 255"
ok ErrOf("CByte(-1)") = 6 And ErrOf("CByte(256)") = 6, "CByte still overflows outside 0-255"
ok Round(True) = True And getVT(Round(True)) = "VT_BOOL" And getVT(Round(False)) = "VT_BOOL", "Round keeps Boolean"
ok Round(2.5) = 2 And Round(3.5) = 4, "Round of numbers unchanged"

' precedence from Imp (loosest) to * and / (tightest), left to right within a level
ok 1 + 2 * 3 ^ 2 = 19 And 2 * 3 Mod 4 = 2 And 7 \ 2 * 3 = 1 And 10 Mod 4 \ 2 = 0, "arithmetic levels"
ok 10 - 4 - 3 = 3 And 64 / 4 / 2 = 8 And 2 ^ 3 ^ 2 = 64, "left to right"
ok "a" & 1 + 2 = "a3" And ("a" & 1 = "a1"), "& below +, above ="
Call ok((True Or False And False) = True And (False Imp True Eqv False) = True And (5 Xor 3 Or 1) = 6, "logical levels")
Call ok((Not 1 = 2) = True And (Not 0 And 1) = 1 And (Not False Or True) = True, "Not over a comparison, under And/Or")
Dim pa, pb : pa = 1 : pb = 2
Call ok((pa + Not pb = 3 Or False) = (pa + (Not (pb = 3))) Or False, "Not inside a sum takes the comparison after it")
Call ok((1 < 2 = True) = True And (3 > 2 > 1) = False, "comparisons chain left to right")
