' On Error Resume Next, On Error GoTo 0 and the Err object.
Dim x, trail

' the failing statement is skipped, the next one runs
On Error Resume Next
x = 1
x = 1 / 0
ok x = 1, "failed assignment leaves the variable"
ok Err.Number = 11, "Err.Number"
ok Err.Description = "Division by zero", "Err.Description: " & Err.Description
ok Err.Source = "Microsoft VBScript runtime error", "Err.Source"
Err.Clear
ok Err.Number = 0 And Err.Description = "", "Err.Clear"

' a failing If condition resumes into the Then branch
trail = ""
If 1 / 0 = 5 Then
    trail = trail & "then"
Else
    trail = trail & "else"
End If
ok trail = "then", "error in an If condition runs the Then block: " & trail
trail = ""
If CInt("x") Then trail = "single-line then" Else trail = "single-line else"
ok trail = "single-line then", "single-line If too: " & trail
trail = ""
If False Then
    trail = "first"
ElseIf 1 / 0 Then
    trail = "elseif"
Else
    trail = "else"
End If
ok trail = "elseif", "error in ElseIf resumes into its block"
Err.Clear

' a failing While condition enters the loop body
Dim n : n = 0
Do While CLng("x") > 0
    n = n + 1
    If n >= 3 Then Exit Do
Loop
ok n = 3, "error in a Do While condition enters the body"
Err.Clear

' errors inside a called procedure without a handler come back to the caller's handler
Function Fails()
    Fails = 1
    x = 1 / 0
    Fails = 2
End Function
x = 0
x = Fails()
ok Err.Number = 11, "error from a callee"
ok x = 0, "the caller's statement is abandoned"
Err.Clear

' a callee with its own handler continues inside itself
Function Survives()
    On Error Resume Next
    Survives = 1
    x = 1 / 0
    Survives = 2
End Function
ok Survives() = 2, "callee resumes after its own error"

' On Error GoTo 0 clears Err and turns the handler off
x = 1 / 0
On Error GoTo 0
ok Err.Number = 0, "On Error GoTo 0 clears Err"

' Err.Raise with defaults and with own texts
On Error Resume Next
Err.Raise 5
ok Err.Number = 5 And Err.Description = "Invalid procedure call or argument", "Err.Raise 5"
Err.Raise vbObjectError + 100, "MyApp", "my message"
ok Err.Number = vbObjectError + 100, "user error number"
ok Err.Source = "MyApp" And Err.Description = "my message", "user source and description"
Err.Raise 9999
ok Err.Description = "Unknown runtime error", "unknown number"
Err.Clear

' VBScript's numbers for common faults
Dim arr(2), d
x = arr(5)
ok Err.Number = 9, "subscript out of range"
Err.Clear
x = Nothing.Foo
ok Err.Number = 424 Or Err.Number = 91, "member of Nothing"
Err.Clear
Set d = CreateObject("Scripting.Dictionary")
d.NoSuchMethod
ok Err.Number = 438, "unknown member: 438"
Err.Clear
x = CreateObject("No.Such.Thing")
ok Err.Number = 429, "unknown ProgID: 429"
Err.Clear
x = UnknownFunction(1)
ok Err.Number = 13, "unknown function: 13"
Err.Clear
x = CLng(Null)
ok Err.Number = 94, "Invalid use of Null"
Err.Clear
Set x = 5
ok Err.Number = 424, "Set with a non-object"
Err.Clear
x = Mid("abc", 0)
ok Err.Number = 5, "invalid argument"
Err.Clear
Dim fixed(3)
ReDim fixed(5)
ok Err.Number = 10, "fixed array"
Err.Clear
d.Add "k", 1
d.Add "k", 2
ok Err.Number = 457, "duplicate key"
Err.Clear

' Err is a global object, and its default member is Number
Err.Raise 13
ok Err = 13, "Err defaults to Number"
Err.Number = 0
ok Err.Number = 0, "Number is writable"
On Error GoTo 0

' Exit Sub and Exit Function clear Err; reaching End Function does not
Function FailsThenExits()
    On Error Resume Next
    Dim y : y = 1 / 0
    Exit Function
End Function
Function FailsThenEnds()
    On Error Resume Next
    Dim y : y = 1 / 0
End Function
On Error Resume Next
FailsThenExits
ok Err.Number = 0, "Exit Function cleared Err"
FailsThenEnds
ok Err.Number = 11, "the error stays visible after End Function"
Err.Clear
On Error GoTo 0
