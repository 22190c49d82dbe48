' Statements Windows VBScript 5.8 runs that once stopped here.
Option Explicit
Dim x(1), arr, trail, i, k, h, o, w, n, grid

' an array held in an array element is written through both indexes
x(0) = Array(1, 2)
x(0)(1) = 5
ok x(0)(1) = 5 And x(0)(0) = 1, "x(0)(1) = 5"
arr = x(0)
x(0)(0) = 9
ok arr(0) = 1 And x(0)(0) = 9, "the inner array is a value: a copy taken before stays"
ReDim grid(1)
grid(1) = Array(Array(0, 0), Array(0, 0))
grid(1)(1)(0) = "c"
ok grid(1)(1)(0) = "c", "three levels"
Class Table
    Private m
    Private Sub Class_Initialize : m = Array(10, 20, 30) : End Sub
    Public Default Property Get Row(r) : Row = m(r) : End Property
    Public Property Let Row(r, v) : m(r) = v : End Property
    Public Property Get Items : Items = m : End Property
End Class
Set h = New Table
Dim tables(0)
Set tables(0) = h
tables(0)(1) = 25
ok h(1) = 25, "element holding an object: its default member is written"
Set grid(1)(0)(1) = h
ok IsObject(grid(1)(0)(1)) And grid(1)(0)(1)(1) = 25, "Set through nested indexes keeps the object"

' Property Let receives an object itself when the object has no default member
Class Holder
    Private m
    Public Property Let P(v)
        If IsObject(v) Then m = "object " & TypeName(v) Else m = "value " & v
    End Property
    Public Property Get P : P = m : End Property
    Public Sub SetInside(v) : P = v : End Sub
End Class
Class NoDefault
    Public a
End Class
Set h = New Holder
Set o = New NoDefault
h.P = o
ok h.P = "object NoDefault", "obj.P = other through Property Let: " & h.P
h.P = 3
ok h.P = "value 3", "plain values as before"
h.SetInside o
ok h.P = "object NoDefault", "P = other inside the class"
On Error Resume Next
n = o
ok Err.Number = 438, "assigning such an object to a variable still fails: " & Err.Number
Err.Clear
On Error GoTo 0

' Stop is a breakpoint: without a debugger it does nothing
trail = "a"
Stop
trail = trail & "b"
ok trail = "ab", "Stop goes on"

' Execute "Dim" inside a procedure declares a local there
Dim v : v = "global"
Function Declares()
    Execute "Dim v : v = 3"
    v = v + 1
    Declares = v
End Function
ok Declares() = 4, "Execute Dim declares a procedure local"
ok v = "global", "the global of the same name is untouched"
Sub DeclaresArray()
    Execute "Dim cells(2)"
    cells(2) = "z"
    ok UBound(cells) = 2 And cells(2) = "z", "Execute Dim of an array"
End Sub
DeclaresArray

' LBound/UBound look through a default member that returns an array
Class Listing
    Public Default Property Get Items : Items = Array(1, 2, 3) : End Property
End Class
Set w = New Listing
ok UBound(w) = 2 And LBound(w) = 0, "bounds of a default member's array"

' MsgBox constants
ok vbMsgBoxHelpButton = 16384 And vbMsgBoxSetForeground = 65536, "vbMsgBoxHelpButton, vbMsgBoxSetForeground"
ok vbMsgBoxRight = 524288 And vbMsgBoxRtlReading = 1048576, "vbMsgBoxRight, vbMsgBoxRtlReading"

' a failing block header under On Error Resume Next: VBScript goes on into the block
On Error Resume Next
trail = ""
For i = 1 To CInt("x")
    trail = trail & "for"
Next
ok trail = "for" And Err.Number = 13, "For header: " & trail & " " & Err.Number
Err.Clear
trail = ""
For Each k In 42
    trail = trail & "each"
Next
ok trail = "each" And Err.Number = 451, "For Each header: " & trail & " " & Err.Number
Err.Clear
trail = ""
With 1 / 0
    trail = trail & "with"
End With
ok trail = "with" And Err.Number = 11, "With header: " & trail & " " & Err.Number
Err.Clear
trail = ""
Select Case 1 / 0
    Case 1
        trail = "case"
    Case Else
        trail = "else"
End Select
ok trail = "case" And Err.Number = 11, "Select Case header: " & trail & " " & Err.Number
Err.Clear
trail = ""
For i = 1 To 3
    For Each k In 42
        trail = trail & i
        Exit For
    Next
Next
ok trail = "123", "Exit For inside leaves only the inner loop: " & trail
Err.Clear

' With needs an object
With 42
    trail = "entered"
End With
ok Err.Number = 424, "With 42 is 'Object required': " & Err.Number
Err.Clear
On Error GoTo 0
