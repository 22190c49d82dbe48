' A name used for the first time as a ByRef argument is declared by that use, so the callee's
' result reaches it (the ADO idiom cn.Execute sql, nAffected relies on it).

Sub SetFive(n)
    n = 5
End Sub

Sub Pair(a, b)
    a = "a" : b = "b"
End Sub

SetFive fresh
ok fresh = 5, "script level: a new name receives the ByRef result"

Sub InsideProcedure()
    SetFive local1
    ok local1 = 5, "procedure: a new name receives the ByRef result"
    Pair newA, newB
    ok newA & newB = "ab", "two new names in one call both receive their results"
    SetFive (local2)
    ok IsEmpty(local2), "in parentheses the new name is still a copy"
End Sub
InsideProcedure
ok IsEmpty(local1), "the procedure's new name stays local"

Set d = CreateObject("Scripting.Dictionary")
d.Add "k", 1
ok d.Exists("k"), "object members still take new names as values"
ok IsEmpty(neverSet), "reading a new name gives Empty"

SetFive vbCrLf
ok vbCrLf = Chr(13) & Chr(10), "a built-in constant is not turned into a variable"
Const Fijo = 1
SetFive Fijo
ok Fijo = 1, "a script constant is not turned into a variable"
