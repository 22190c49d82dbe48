' Control flow: If forms, loops and their exits, Select Case, With, separators.
Option Explicit
Dim i, j, n, s, log

' single-line and block If
If 1 < 2 Then s = "yes" Else s = "no"
ok s = "yes", "single-line If/Else"
If 1 > 2 Then s = "a" : s = s & "b" Else s = "c" : s = s & "d"
ok s = "cd", "several statements in a single-line Else"
n = 0
If n = 0 Then
    s = "zero"
ElseIf n = 1 Then
    s = "one"
Else
    s = "many"
End If
ok s = "zero", "block If"
n = 5
If n = 0 Then
    s = "zero"
ElseIf n < 10 Then
    s = "small"
Else
    s = "big"
End If
ok s = "small", "ElseIf"
If Null Then s = "null is true" Else s = "null is false"
ok s = "null is false", "Null condition is false"
If "True" Then s = "text true"
ok s = "text true", "a condition may be text"
If 2 Then s = "nonzero"
ok s = "nonzero", "any non-zero number is true"
If 1 And 2 Then s = "bitwise true" Else s = "bitwise false"
ok s = "bitwise false", "And is bitwise: 1 And 2 = 0"

' Do loops in all forms
n = 0 : Do While n < 5 : n = n + 1 : Loop
ok n = 5, "Do While"
n = 0 : Do Until n = 5 : n = n + 1 : Loop
ok n = 5, "Do Until"
n = 10 : Do : n = n + 1 : Loop While n < 5
ok n = 11, "Do ... Loop While runs once"
n = 10 : Do : n = n + 1 : Loop Until True
ok n = 11, "Do ... Loop Until"
n = 0
Do
    n = n + 1
    If n = 7 Then Exit Do
Loop
ok n = 7, "Exit Do"
n = 0
While n < 3
    n = n + 1
Wend
ok n = 3, "While ... Wend"

' nested loops and exits
log = ""
For i = 1 To 3
    For j = 1 To 3
        If j = 2 Then Exit For
        log = log & i & j & " "
    Next
Next
ok log = "11 21 31 ", "Exit For leaves the inner loop only"
log = ""
For i = 1 To 3
    Do
        log = log & i
        Exit Do
    Loop
    If i = 2 Then Exit For
Next
ok log = "12", "Exit Do inside For, then Exit For"
n = 0
For Each i In Array(1, 2, 3, 4)
    If i = 3 Then Exit For
    n = n + i
Next
ok n = 3, "Exit For in For Each"

Function FirstOver(limit)
    Dim k
    For k = 1 To 100
        If k * k > limit Then
            FirstOver = k
            Exit Function
        End If
    Next
End Function
ok FirstOver(50) = 8, "Exit Function from inside a loop"

' Select Case
Function Kind(x)
    Select Case x
        Case 0
            Kind = "zero"
        Case 1, 2, 3
            Kind = "small"
        Case 4 To 9
            Kind = "medium"
        Case Is >= 10, -1
            Kind = "big or minus one"
        Case Else
            Kind = "other"
    End Select
End Function
Function Letter(x)
    Select Case x
        Case "a" To "m"
            Letter = "early letter"
        Case Else
            Letter = "other"
    End Select
End Function
ok Kind(0) = "zero" And Kind(2) = "small" And Kind(7) = "medium", "Select lists and ranges"
ok Kind(50) = "big or minus one" And Kind(-1) = "big or minus one", "Is and a list"
ok Letter("c") = "early letter" And Letter("z") = "other", "text ranges"
ok Kind(-5) = "other", "Case Else"
Select Case Null
    Case Null: s = "matched null"
    Case Else: s = "no match"
End Select
ok s = "no match", "Null never matches"
n = 0
Select Case 3
    Case 1: n = 1
    Case 3: n = 3
    Case 3: n = 33
End Select
ok n = 3, "first matching Case only"

' With on a Dictionary, nested With
Dim d : Set d = CreateObject("Scripting.Dictionary")
With d
    .Add "a", 1
    .Add "b", 2
    ok .Count = 2, "With calls"
End With

' statement separators, continuation and comments
n = 1 : n = n + 1 : n = n * 10 ' comment after code
ok n = 20, "colon separators"
n = 1 + _
    2 + _
    3
ok n = 6, "continued lines"
REM whole-line comment
ok True, "Rem"
