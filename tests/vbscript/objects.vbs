' Scripting.Dictionary, VBScript.RegExp and Scripting.FileSystemObject text files.
Option Explicit
Dim d, k, keys, items, re, m, ms, fso, f, path, text, lines

Set d = CreateObject("Scripting.Dictionary")
ok TypeName(d) = "Dictionary" And d.Count = 0, "new Dictionary"
d.Add "uno", 1
d.Add "dos", 2
d("tres") = 3
ok d.Count = 3 And d("dos") = 2 And d.Item("tres") = 3, "Add, default Item and Item"
ok d.Exists("uno") And Not d.Exists("UNO"), "keys are case-sensitive by default"
keys = d.Keys : items = d.Items
ok Join(keys, ",") = "uno,dos,tres" And items(2) = 3, "insertion order"
text = ""
For Each k In d
    text = text & k & "=" & d(k) & ";"
Next
ok text = "uno=1;dos=2;tres=3;", "For Each gives the keys"
d.Remove "dos"
ok d.Count = 2 And Not d.Exists("dos"), "Remove"
d.Key("uno") = "one"
ok d.Exists("one") And d("one") = 1, "renaming a key"
ok IsEmpty(d("missing")) And d.Exists("missing"), "reading a missing key adds it"
d(1) = "number key"
ok d(1) = "number key" And Not d.Exists("1"), "number and text keys differ"
d.RemoveAll
ok d.Count = 0, "RemoveAll"
d.CompareMode = vbTextCompare
d.Add "Clave", "x"
ok d.Exists("CLAVE"), "text compare mode"
Set d("obj") = CreateObject("Scripting.Dictionary")
ok IsObject(d("obj")), "objects as items"
On Error Resume Next
d.Add "clave", "y"
ok Err.Number = 457, "duplicate key in text mode"
Err.Clear
d.Remove "nothing here"
ok Err.Number = 32811, "removing a missing key"
On Error GoTo 0

' RegExp
Set re = New RegExp
re.Pattern = "(\d+)-(\d+)"
ok re.Test("tel 55-1234"), "Test"
ok Not re.Test("none"), "Test without match"
Set ms = re.Execute("a 1-2 b 33-44")
ok ms.Count = 1, "without Global only the first match"
re.Global = True
Set ms = re.Execute("a 1-2 b 33-44")
ok ms.Count = 2, "Global finds all"
Set m = ms(1)
ok m.Value = "33-44" And m.FirstIndex = 8 And m.Length = 5, "Match members"
ok m.SubMatches(0) = "33" And m.SubMatches(1) = "44" And m.SubMatches.Count = 2, "SubMatches"
ok TypeName(ms) = "IMatchCollection2" And TypeName(m.SubMatches) = "ISubMatches", "match list type names"
text = ""
For Each m In ms
    text = text & m & ";"
Next
ok text = "1-2;33-44;", "For Each over matches, default Value"
ok re.Replace("1-2 and 3-4", "$2-$1") = "2-1 and 4-3", "Replace with groups"
re.Global = False
ok re.Replace("1-2 and 3-4", "x") = "x and 3-4", "Replace first only"
Set re = CreateObject("VBScript.RegExp")
re.Pattern = "^abc$"
re.IgnoreCase = True
ok re.Test("ABC"), "IgnoreCase"
re.Pattern = "^b"
re.MultiLine = True
ok re.Test("a" & vbLf & "b"), "MultiLine"
On Error Resume Next
re.Pattern = "(unclosed"
text = re.Test("x")
ok Err.Number = 5017, "bad pattern: " & Err.Number
On Error GoTo 0

' FileSystemObject text files
Set fso = CreateObject("Scripting.FileSystemObject")
path = fso.BuildPath(".", "vbs_objects_test.txt")
If fso.FileExists(path) Then fso.DeleteFile path
ok Not fso.FileExists(path), "no file yet"
Set f = fso.CreateTextFile(path, True)
f.WriteLine "línea uno"
f.Write "dos"
f.WriteBlankLines 1
f.WriteLine "tres"
f.Close
Set f = fso.OpenTextFile(path)
text = f.ReadAll
f.Close
Set f = fso.CreateTextFile(path, True)
f.Write "€" & Chr(150)
f.Close
Set f = fso.OpenTextFile(path)
ok f.Read(2) = Chr(128) & ChrW(8211), "ANSI files keep Windows-1252 characters"
f.Close
Set f = fso.CreateTextFile(path, True)
f.Write text
f.Close
ok fso.FileExists(path), "CreateTextFile"
Set f = fso.OpenTextFile(path, 1)
lines = 0
Do Until f.AtEndOfStream
    text = f.ReadLine
    lines = lines + 1
    If lines = 1 Then ok text = "línea uno", "ReadLine keeps accents"
Loop
f.Close
ok lines = 3, "three lines"
Set f = fso.OpenTextFile(path, 8)
f.WriteLine "cuatro"
f.Close
Set f = fso.OpenTextFile(path)
text = f.ReadAll
f.Close
ok text = "línea uno" & vbCrLf & "dos" & vbCrLf & "tres" & vbCrLf & "cuatro" & vbCrLf, "append and ReadAll"
' arguments a reader could misuse: each is an error, never a read outside the text
Function StreamErr(op)
    On Error Resume Next
    Dim s : Set s = fso.OpenTextFile(path)
    Select Case op
        Case "skip" : s.Skip -5 : Dim x : x = s.AtEndOfLine
        Case "read" : x = s.Read(-1)
        Case "blank" : s.Close : Set s = fso.OpenTextFile(path, 8) : s.WriteBlankLines -1
        Case "noargs" : s.Skip
    End Select
    StreamErr = Err.Number
    s.Close
End Function
ok StreamErr("skip") = 5 And StreamErr("read") = 5 And StreamErr("blank") = 5, "negative Skip, Read, WriteBlankLines"
ok StreamErr("noargs") = 450, "Skip without its count"
On Error Resume Next
k = d.HashVal
ok Err.Number = 450, "Dictionary.HashVal without a key: " & Err.Number
Err.Clear
k = d.Item()
ok Err.Number = 450, "Item without a key: " & Err.Number
Err.Clear
On Error GoTo 0
ok fso.GetFileName("/a/b/c.txt") = "c.txt" And fso.GetExtensionName("c.tar.gz") = "gz", "path helpers"
ok fso.GetBaseName("/a/b/c.txt") = "c", "GetBaseName"
ok fso.FolderExists(fso.GetSpecialFolder(2)), "temporary folder"
ok Right(fso.GetTempName, 4) = ".tmp", "GetTempName"
fso.DeleteFile path
ok Not fso.FileExists(path), "DeleteFile"
On Error Resume Next
Set f = fso.OpenTextFile(path)
ok Err.Number = 53, "file not found"
Err.Clear
Set f = fso.CreateTextFile(path)
f.Close
Set f = fso.CreateTextFile(path, False)
ok Err.Number = 58, "file already exists"
Err.Clear
Set f = fso.OpenTextFile(path)
text = f.ReadLine
ok Err.Number = 62, "input past end of file"
f.Close
fso.DeleteFile path
On Error GoTo 0
