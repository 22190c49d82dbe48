' Option Explicit: undeclared names fail with 500 when read or assigned, at any level.
Option Explicit
Dim declared, r

On Error Resume Next
r = undeclaredRead + 1
ok Err.Number = 500, "reading an undeclared name"
ok Err.Description = "Variable is undefined", "Err.Description is VBScript's message alone: " & Err.Description
Err.Clear
undeclaredWrite = 1
ok Err.Number = 500, "assigning an undeclared name"
Err.Clear

Sub Inner()
    localUndeclared = 5
End Sub
Inner
ok Err.Number = 500, "inside a procedure too"
Err.Clear
On Error GoTo 0

declared = 1
ok declared = 1, "declared names work"
ExecuteGlobal "Dim lateGlobal : lateGlobal = 2"
ok lateGlobal = 2, "names declared by ExecuteGlobal"
