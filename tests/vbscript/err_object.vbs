' Err object as Windows VBScript 5.8 fills it.
On Error Resume Next

' the description is VBScript's message alone; the name stays out of it
x = undefinedFunction(1)
ok Err.Number = 13, "calling an unknown name: " & Err.Number
ok Err.Description = "Type mismatch", "no name in Description: " & Err.Description
Err.Clear
Set o = New RegExp
o.NoSuchMember = 1
ok Err.Number = 438 And Err.Description = "Object doesn't support this property or method", _
   "438 message alone: " & Err.Description
Err.Clear

' Raise keeps every argument it was given
Err.Raise 5, "Caja", "Importe no válido", "ayuda.chm", 42
ok Err.Number = 5 And Err.Source = "Caja" And Err.Description = "Importe no válido", "number, source, description"
ok Err.HelpFile = "ayuda.chm", "HelpFile: " & Err.HelpFile
ok Err.HelpContext = 42, "HelpContext: " & Err.HelpContext
Err.Clear
ok Err.HelpFile = "" And Err.HelpContext = 0, "Clear empties HelpFile and HelpContext"
Err.Raise 11, , , "otra.chm"
ok Err.Number = 11 And Err.Description = "Division by zero" And Err.HelpFile = "otra.chm", "left-out arguments"
Err.Clear

' HRESULTs map to VBScript's numbers
Err.Raise &h800A000B&
ok Err.Number = 11 And Err.Description = "Division by zero", "VBScript facility: " & Err.Number
Err.Clear
Err.Raise &h8007000E&
ok Err.Number = 7 And Err.Description = "Out of memory", "E_OUTOFMEMORY: " & Err.Number
Err.Clear
Err.Raise &h80020005&
ok Err.Number = 13, "DISP_E_TYPEMISMATCH: " & Err.Number
Err.Clear
Err.Raise &h80070057&
ok Err.Number = 5, "E_INVALIDARG: " & Err.Number
Err.Clear
Err.Raise &h80004001&
ok Err.Number = 445, "E_NOTIMPL: " & Err.Number
Err.Clear
Err.Raise vbObjectError + 513, "Mostrador"
ok Err.Number = vbObjectError + 513, "vbObjectError range stays as given: " & Err.Number
ok Err.Description = "Unknown runtime error", "with no description of its own: " & Err.Description
Err.Clear
Err.Raise 70000
ok Err.Number = 70000, "a number past 65535 that is no HRESULT stays: " & Err.Number
Err.Clear
Err.Number = &h800A0009&
ok Err.Number = 9, "assigning Number maps too: " & Err.Number
Err.Clear
Err.Raise 0
ok Err.Number = 5, "Raise 0 is an invalid call"
Err.Clear
