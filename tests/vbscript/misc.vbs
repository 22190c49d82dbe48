' Assorted rules stored scripts lean on.
Dim x, y, s

' user procedures override built-ins of the same name
Function Trim(t)
    Trim = "[" & t & "]"
End Function
ok Trim("a") = "[a]", "a user Function hides the built-in"

' a Function called without parentheses or arguments
Function Answer
    Answer = 42
End Function
x = Answer
ok x = 42 And Answer + 1 = 43, "calling without parentheses"

' constants
Const RATE = 0.16, NAME = "IVA"
Const NEG = -5
ok RATE * 100 = 16 And NAME = "IVA" And NEG = -5, "Const values"
On Error Resume Next
RATE = 1
ok Err.Number = 501 And RATE = 0.16, "assigning a constant is illegal"
Err.Clear
vbCrLf = "x"
ok Err.Number = 501, "built-in constants are read-only"
Err.Clear
On Error GoTo 0
Function UsesLocalConst()
    Const K = 3
    UsesLocalConst = K * 2
End Function
ok UsesLocalConst() = 6, "procedure Const"

' Nothing and object errors
Set x = Nothing
On Error Resume Next
y = x.Count
ok Err.Number = 424, "member of Nothing: Object required"
Err.Clear
Set y = 5
ok Err.Number = 424, "Set needs an object"
Err.Clear
y = 1 Is 2
ok Err.Number = 424, "Is needs objects"
On Error GoTo 0

' Exit Property and Property Get with parameters
Class Table
    Private m_cells(2, 2)
    Public Property Get Cell(r, c)
        If r > 2 Then
            Cell = "out"
            Exit Property
        End If
        Cell = m_cells(r, c)
    End Property
    Public Property Let Cell(r, c, v)
        m_cells(r, c) = v
    End Property
End Class
Dim t : Set t = New Table
t.Cell(1, 2) = "x"
ok t.Cell(1, 2) = "x" And t.Cell(5, 0) = "out", "indexed properties and Exit Property"

' string building and comparisons of mixed values
s = ""
For x = 1 To 5
    s = s & x
Next
ok s = "12345", "appending numbers"
s = Null
s = s & "a"
ok s = "a", "appending to Null"
ok Len(String(1000, "a") & String(1000, "b")) = 2000, "long strings"

' identifiers: any case, underscores, digits, soft keywords as names
Dim My_Var2, step, preserve
my_var2 = 1 : MY_VAR2 = My_Var2 + 1
ok my_VAR2 = 2, "names ignore case"
step = 3 : preserve = 4
ok step + preserve = 7, "Step and Preserve as variable names"
Dim [my name]
[my name] = "brackets"
ok [my name] = "brackets", "bracketed identifiers"

' numbers in text
ok CStr(1.0) = "1" And CStr(100) = "100" And CStr(-0.5) = "-0.5", "number text"
ok CStr(1E+15) = "1E+15" And CStr(123456789.123) = "123456789.123", "large numbers"
ok 0.1 * 3 <> 0.3 And CStr(0.1 * 3) = "0.3", "15 digits hide binary noise in text"
ok 1E3 = 1000 And .5 = 0.5, "exponent and leading dot"

' Randomize and Rnd
Randomize 42
x = Rnd
ok x >= 0 And x < 1, "Rnd in [0, 1)"
ok Rnd(0) = x, "Rnd(0) repeats the last value"
ok Int(Rnd * 6) + 1 <= 6, "dice"
ok RGB(255, 0, 0) = vbRed And RGB(0, 0, 255) = vbBlue, "RGB"

' without Option Explicit an undeclared name assigned in a procedure is local to it
Sub MakesLocal()
    implicitLocal = 5
End Sub
MakesLocal
ok IsEmpty(implicitLocal), "implicit variables in procedures are local"
implicitGlobal = 1
Sub TouchesGlobal()
    implicitGlobal = implicitGlobal + 1
End Sub
TouchesGlobal
ok implicitGlobal = 2, "an existing script-level variable is shared"
