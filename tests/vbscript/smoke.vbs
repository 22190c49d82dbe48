Dim x, y
x = 1 + 2
ok x = 3, "add"
ok getVT(x) = "VT_I2", "vt int"
y = "a" & x
ok y = "a3", "concat " & y
Function fact(n)
  If n <= 1 Then fact = 1 Else fact = n * fact(n - 1)
End Function
ok fact(5) = 120, "fact"
Sub inc(a) : a = a + 1 : End Sub
Dim z : z = 5 : inc z : ok z = 6, "byref"
inc (z) : ok z = 6, "parens byval"
Call inc(z) : ok z = 7, "call byref"
Echo FormatNumber(1234.5), CStr(0.1+0.2), 1/3, DateSerial(2026,3,4)
ok (DateSerial(2026,3,4) + TimeSerial(10, 5, 0)) > Now() Or 1250.5 * 1.16 > "1000", "bench expr"
Dim d : Set d = CreateObject("Scripting.Dictionary")
d.Add "a", 1 : d("b") = 2
ok d.Count = 2, "dict count"
For Each k In d : Echo k, d(k) : Next
On Error Resume Next
x = 1 / 0
ok Err.Number = 11, "div0 " & Err.Number & " " & Err.Description
On Error GoTo 0
Class Foo
  Public v
  Private Sub Class_Initialize : v = 10 : End Sub
  Public Property Get Dbl : Dbl = v * 2 : End Property
  Public Default Function Item(i) : Item = i + v : End Function
End Class
Dim o : Set o = New Foo
ok o.Dbl = 20, "prop"
ok o(5) = 15, "default"
Select Case 5
 Case 1, 2 : ok False, "sel"
 Case 3 To 6 : ok True, "sel"
 Case Else : ok False, "sel"
End Select
Dim arr(3) : arr(2) = "x" : ok UBound(arr) = 3 And arr(2) = "x", "arr"
ReDim b(2, 3) : b(1,2) = 7 : ok b(1,2) = 7, "2d"
i = 0 : Do While i < 10 : i = i + 1 : Loop : ok i = 10, "do"
