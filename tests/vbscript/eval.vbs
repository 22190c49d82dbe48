' Eval, Execute, ExecuteGlobal and GetRef.
Dim g : g = 10

ok Eval("1 + 2 * 3") = 7, "Eval an expression"
ok Eval("g * 2") = 20, "Eval sees globals"
ok Eval("g = 10") = True, "= in Eval compares"
Execute "g = 11"
ok g = 11, "= in Execute assigns"
ExecuteGlobal "Function Added(x) : Added = x + 1 : End Function"
ok Added(1) = 2, "ExecuteGlobal defines procedures"
ExecuteGlobal "Dim newGlobal : newGlobal = ""made"""
ok newGlobal = "made", "ExecuteGlobal defines variables"

Function LocalEval()
    Dim local : local = 5
    LocalEval = Eval("local * 3")
End Function
ok LocalEval() = 15, "Eval sees the locals of the calling procedure"

Function LocalExecute()
    Dim local : local = 1
    Execute "local = local + 41"
    LocalExecute = local
End Function
ok LocalExecute() = 42, "Execute runs in the calling scope"

Sub Greet(name, ByRef out)
    out = "hola " & name
End Sub
Dim f, res
Set f = GetRef("Added")
ok f(41) = 42, "GetRef call"
ok TypeName(f) = "Object", "GetRef is an object"

On Error Resume Next
res = Eval("1 +")
ok Err.Number = 1002 Or Err.Number = 1023, "syntax error in Eval: " & Err.Number
Err.Clear
res = Eval("Nope(1)")
ok Err.Number = 13, "unknown function in Eval"
Err.Clear
Set f = GetRef("NoSuchProcedure")
ok Err.Number = 5, "GetRef of an unknown name"
On Error GoTo 0

ok ScriptEngine = "VBScript" And ScriptEngineMajorVersion = 5, "engine identity"
