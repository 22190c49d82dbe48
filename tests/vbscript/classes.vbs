' Classes: fields, Property Get/Let/Set, Default, Me, Initialize/Terminate, visibility.
Option Explicit
Dim log : log = ""

Class Account
    Public Owner
    Private m_balance
    Private m_items()

    Private Sub Class_Initialize()
        m_balance = 0
        ReDim m_items(-1)
        log = log & "init;"
    End Sub

    Private Sub Class_Terminate()
        log = log & "term;"
    End Sub

    Public Property Get Balance()
        Balance = m_balance
    End Property

    Public Property Let Balance(v)
        If v < 0 Then Err.Raise 5
        m_balance = v
    End Property

    Public Default Property Get Item(i)
        Item = m_items(i)
    End Property

    Public Property Let Item(i, v)
        m_items(i) = v
    End Property

    Public Sub Deposit(amount)
        Me.Balance = Balance + amount
        Add "deposit " & amount
    End Sub

    Private Sub Add(text)
        ReDim Preserve m_items(UBound(m_items) + 1)
        m_items(UBound(m_items)) = text
    End Sub

    Public Function Count()
        Count = UBound(m_items) + 1
    End Function

    Public Function Self()
        Set Self = Me
    End Function
End Class

Class Node
    Public Value
    Public NextNode
    Private Sub Class_Initialize
        Set NextNode = Nothing
    End Sub
    Public Property Set Link(n)
        Set NextNode = n
    End Property
    Public Property Get Link
        Set Link = NextNode
    End Property
End Class

Dim a : Set a = New Account
ok log = "init;", "Class_Initialize runs on New"
ok TypeName(a) = "Account" And IsObject(a), "TypeName of an instance"
a.Owner = "Ana"
ok a.Owner = "Ana", "public field"
a.Deposit 100
a.Deposit 50
ok a.Balance = 150, "Property Get after Deposit"
ok a.Count() = 2 And a(1) = "deposit 50", "default property with an index"
a(0) = "changed"
ok a.Item(0) = "changed", "Property Let with an index through the default"
ok a.Self() Is a, "Me"

On Error Resume Next
a.Balance = -1
ok Err.Number = 5, "Err.Raise inside Property Let"
ok a.Balance = 150, "value unchanged after the error"
Err.Clear
a.Add "x"
ok Err.Number = 438, "private member from outside: 438"
Err.Clear
a.m_balance = 5
ok Err.Number = 438, "private field from outside"
Err.Clear
Dim n : n = New Account
ok Err.Number = 450 Or Err.Number = 438, "assigning an object without Set uses its default member"
Err.Clear
On Error GoTo 0

' Property Set and linked objects
Dim first, second
Set first = New Node : first.Value = 1
Set second = New Node : second.Value = 2
Set first.Link = second
ok first.Link.Value = 2, "Property Set and chained members"
ok first.NextNode.NextNode Is Nothing, "Nothing in a field"

' Class_Terminate runs when the last reference goes
log = ""
Set a = Nothing
ok log = "term;", "Class_Terminate on the last release: " & log
log = ""
Sub MakeLocal()
    Dim tmp : Set tmp = New Account
End Sub
MakeLocal
ok log = "init;term;", "a local object dies with its procedure: " & log

' With
Dim acc : Set acc = New Account
With acc
    .Owner = "Luis"
    .Deposit 10
    ok .Balance = 10 And .Owner = "Luis", "With block members"
End With

' two instances do not share state
Dim x, y
Set x = New Node : Set y = New Node
x.Value = "x" : y.Value = "y"
ok x.Value = "x" And y.Value = "y", "separate instances"
ok Not (x Is y), "different identities"
