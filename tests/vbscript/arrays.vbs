' Arrays: fixed and dynamic, ReDim Preserve, several dimensions, value semantics, For Each.
Option Explicit
Dim a, b, fixed(2), grid(1, 2), dyn(), i, total, v

ok IsArray(fixed) And UBound(fixed) = 2 And LBound(fixed) = 0, "fixed array bounds"
ok IsEmpty(fixed(0)), "elements start Empty"
ok UBound(grid, 1) = 1 And UBound(grid, 2) = 2, "bounds per dimension"
grid(1, 2) = "corner"
ok grid(1, 2) = "corner" And IsEmpty(grid(0, 2)), "two dimensions"
ok TypeName(fixed) = "Variant()" And getVT(fixed) = "VT_ARRAY|VT_VARIANT", "type of an array"
ok VarType(fixed) = vbArray + vbVariant, "VarType 8204"

a = Array(1, "two", 3.5)
ok UBound(a) = 2 And a(1) = "two", "Array()"
b = a
b(0) = 100
ok a(0) = 1 And b(0) = 100, "assignment copies the array"
a = Array()
ok UBound(a) = -1, "empty Array()"

ReDim dyn(2)
dyn(0) = "a" : dyn(2) = "c"
ReDim Preserve dyn(4)
ok UBound(dyn) = 4 And dyn(0) = "a" And dyn(2) = "c" And IsEmpty(dyn(4)), "ReDim Preserve keeps the values"
ReDim Preserve dyn(1)
ok UBound(dyn) = 1 And dyn(0) = "a", "ReDim Preserve can shrink"
ReDim dyn(3)
ok IsEmpty(dyn(0)), "ReDim without Preserve clears"
ReDim m(1, 1)
m(1, 1) = 4
ReDim Preserve m(1, 3)
ok m(1, 1) = 4 And UBound(m, 2) = 3, "Preserve may change the last dimension"

total = 0
For Each v In Array(1, 2, 3, 4)
    total = total + v
Next
ok total = 10, "For Each over an array"
total = 0
For Each v In grid
    If Not IsEmpty(v) Then total = total + 1
Next
ok total = 1, "For Each over two dimensions"
a = Array(1, 2, 3)
For Each v In a
    v = v * 10
Next
ok a(0) = 1, "the loop variable is a copy"

Sub Fill(arr)
    arr(0) = "filled"
End Sub
a = Array(1, 2)
Fill a
ok a(0) = "filled", "arrays pass ByRef"
Sub FillCopy(ByVal arr)
    arr(0) = "copy"
End Sub
FillCopy a
ok a(0) = "filled", "ByVal copies the array"

Function MakeArray(n)
    Dim r() : ReDim r(n - 1)
    For i = 0 To n - 1 : r(i) = i * i : Next
    MakeArray = r
End Function
a = MakeArray(4)
ok UBound(a) = 3 And a(3) = 9, "function returning an array"
ok MakeArray(3)(2) = 4, "indexing a call result"

fixed(1) = 5
Erase fixed
ok UBound(fixed) = 2 And IsEmpty(fixed(1)), "Erase clears a fixed array"
Erase dyn
On Error Resume Next
i = UBound(dyn)
ok Err.Number = 9, "Erase frees a dynamic array"
Err.Clear
i = a(10)
ok Err.Number = 9, "index past the end"
Err.Clear
i = a(-1)
ok Err.Number = 9, "negative index"
Err.Clear
i = grid(1)
ok Err.Number = 9, "wrong number of indexes"
Err.Clear
ReDim Preserve m(2, 3)
ok Err.Number = 9, "Preserve cannot change the first dimension"
Err.Clear
i = UBound(5)
ok Err.Number = 13, "UBound of a number"
Err.Clear
For Each v In 5
Next
ok Err.Number = 451, "For Each over a number"
On Error GoTo 0

Dim e1(1), e2(1)
e1(0) = 1 : e2(0) = 2
Erase e1, e2
ok IsEmpty(e1(0)) And IsEmpty(e2(0)), "Erase several arrays"

On Error Resume Next
ReDim huge(100000, 100000)
ok Err.Number = 7, "an array too large for memory: Out of memory"
Err.Clear
Dim big : big = Space(2000000000)
ok Err.Number = 14, "text too long: Out of string space"
On Error GoTo 0
