' Procedures: ByRef by default, ByVal, parentheses in calls, Exit, recursion, hoisting.
Option Explicit
Dim v, w

Sub AddOne(n)
    n = n + 1
End Sub

Sub AddOneByVal(ByVal n)
    n = n + 1
End Sub

Sub AddBoth(a, ByVal b)
    a = a + 1
    b = b + 1
End Sub

Function Twice(ByRef n)
    n = n * 2
    Twice = n
End Function

v = 1 : AddOne v
ok v = 2, "ByRef is the default"
v = 1 : AddOneByVal v
ok v = 1, "ByVal keeps the caller's variable"
v = 1 : AddOne (v)
ok v = 1, "parentheses around the argument pass a copy"
v = 1 : Call AddOne(v)
ok v = 2, "Call with parentheses passes by reference"
v = 1 : Call AddOne((v))
ok v = 1, "extra parentheses with Call pass a copy"
v = 1 : w = 1 : AddBoth v, w
ok v = 2 And w = 1, "mixed ByRef and ByVal"
v = 1 : w = 1 : AddBoth (v), w
ok v = 1 And w = 1, "first argument in parentheses, then more arguments"
v = 3
ok Twice(v) = 6 And v = 6, "function arguments are ByRef too"
v = 3
ok Twice((v)) = 6 And v = 3, "parenthesized function argument"
v = 3
ok Twice(v + 0) = 6 And v = 3, "expressions are copies"
AddOne 5
ok True, "a literal passed ByRef is a temporary"

' Function result and Exit
Function Sign(x)
    Sign = 0
    If x > 0 Then Sign = 1 : Exit Function
    If x < 0 Then Sign = -1
End Function
ok Sign(5) = 1 And Sign(-3) = -1 And Sign(0) = 0, "Exit Function keeps the value"

Function NoAssign()
End Function
ok IsEmpty(NoAssign()), "function without assignment returns Empty"

Sub EarlyExit(ByRef log)
    log = log & "a"
    Exit Sub
    log = log & "b"
End Sub
Dim logText : logText = ""
EarlyExit logText
ok logText = "a", "Exit Sub"

' recursion and a function reading its own result variable
Function Fib(n)
    If n < 2 Then
        Fib = n
    Else
        Fib = Fib(n - 1) + Fib(n - 2)
    End If
End Function
ok Fib(15) = 610, "recursion"

Function Acc(n)
    Acc = 10
    Acc = Acc + n
End Function
ok Acc(5) = 15, "reading the result variable"

' wrong argument count
On Error Resume Next
AddOne
ok Err.Number = 450, "missing argument: 450, got " & Err.Number
Err.Clear
Call AddBoth(1)
ok Err.Number = 450, "too few arguments"
On Error GoTo 0

' For bounds and step are evaluated once
Dim calls : calls = 0
Function Limit()
    calls = calls + 1
    Limit = 3
End Function
Dim i, count : count = 0
For i = 1 To Limit()
    count = count + 1
Next
ok count = 3 And calls = 1, "For bound evaluated once"
ok i = 4, "counter is one step past the bound"
Dim hi : hi = 3 : count = 0
For i = 1 To hi
    hi = 10
    count = count + 1
Next
ok count = 3, "changing the bound variable does not extend the loop"
count = 0
For i = 1 To 10
    i = i + 1
    count = count + 1
Next
ok count = 5, "changing the counter inside the body does"
count = 0
For i = 10 To 1 Step -3
    count = count + 1
Next
ok count = 4 And i = -2, "negative step"
count = 0
For i = 1 To 0
    count = count + 1
Next
ok count = 0 And i = 1, "empty range"
count = 0
For i = 0 To 1 Step 0.25
    count = count + 1
Next
ok count = 5, "fractional step"

' Dim is hoisted: a variable may be used before its Dim
hoisted = 5
Dim hoisted
ok hoisted = 5, "script-level Dim is hoisted"
Function UsesLater()
    later = 2
    UsesLater = later * 2
    Dim later
End Function
ok UsesLater() = 4, "procedure-level Dim is hoisted"

' procedures defined after their first call at script level
ok DefinedBelow() = "below", "procedures are known before the code runs"
Function DefinedBelow()
    DefinedBelow = "below"
End Function

' local variables shadow globals; undeclared names in a Sub are local
Dim shadow : shadow = "global"
Sub Shadowing()
    Dim shadow
    shadow = "local"
End Sub
Shadowing
ok shadow = "global", "local Dim shadows the global"

' array elements pass by reference too
Sub Swap(p, q)
    Dim tmp : tmp = p : p = q : q = tmp
End Sub
Dim pair : pair = Array("a", "b")
Swap pair(0), pair(1)
ok pair(0) = "b" And pair(1) = "a", "array elements are ByRef arguments"
Swap (pair(0)), pair(1)
ok pair(0) = "b" And pair(1) = "b", "a parenthesized element is a copy"
Dim grid2(1, 1) : grid2(1, 0) = 5
AddOne grid2(1, 0)
ok grid2(1, 0) = 6, "elements of two dimensions"
