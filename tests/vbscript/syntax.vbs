' Source forms Windows VBScript 5.8 accepts, and the numbers of syntax errors in Eval and Execute.
Dim r, o, trail

' one-line procedure and block ends after a statement on the same line
Sub OneLine() r = "sub" End Sub
OneLine
ok r = "sub", "Sub f() x = 1 End Sub"
Function Twice(n) Twice = n * 2 End Function
ok Twice(4) = 8, "one-line Function"
If r = "sub" Then
    trail = "then" End If
ok trail = "then", "statement followed by End If"
If r = "x" Then trail = "a" Else trail = "b" End If
ok trail = "b", "single-line If closed by End If"
Select Case r
    Case "sub" trail = "case" End Select
ok trail = "case", "statement followed by End Select"

' members named like keywords after a dot
Set o = CreateObject("Scripting.Dictionary")
o.Add "rem", 1
ok o.Exists("rem"), "o.Add ""rem"" ..."
Class Kw
    Public [rem], [end], [next]
End Class
Set o = New Kw
o.rem = "comment?" ' a real comment follows
o.end = "e" : o.next = "n"
ok o.rem = "comment?" And o.end = "e" And o.next = "n", "obj.rem, obj.end, obj.next"
Class Soft
    Public Step, Property, [Error]
End Class
Set o = New Soft
o.Step = 2 : o.Property = "p" : o.Error = "e"
ok o.Step = 2 And o.Property = "p" And o.Error = "e", "members named like soft keywords, bracketed or not"
Rem a comment line still works
r = 1 : Rem and after a colon

' a continued line starting with .Member continues the expression
Set o = New Kw
o.rem = "joined"
r = o _
    .rem
ok r = "joined", "continuation then .Member"
With o
    r = Len(.rem _
        & .rem)
End With
ok r = 12, "inside With"

' &h before a letter that is no hex digit
Dim hi : hi = "!"
ok "x" &hi = "x!", """x"" &hi"
ok &hA = 10 And &HFF = 255, "hex literals"

' syntax errors inside Eval and Execute are "Syntax error" (1002)
Function CompileErr(kind, text)
    On Error Resume Next
    If kind = "eval" Then
        r = Eval(text)
    ElseIf kind = "global" Then
        ExecuteGlobal text
    Else
        Execute text
    End If
    CompileErr = Err.Number & " " & Err.Description
End Function
ok CompileErr("eval", "1 +") = "1002 Syntax error", "Eval(""1 +""): " & CompileErr("eval", "1 +")
ok CompileErr("eval", "(1") = "1002 Syntax error", "Eval(""(1""): " & CompileErr("eval", "(1")
ok CompileErr("exec", "x = = 1") = "1002 Syntax error", "Execute: " & CompileErr("exec", "x = = 1")
ok CompileErr("exec", "If") = "1002 Syntax error", "Execute ""If"""
ok CompileErr("global", "Sub") = "1002 Syntax error", "ExecuteGlobal ""Sub"""
ok CompileErr("eval", "1 / 0") = "11 Division by zero", "run-time errors keep their numbers"
