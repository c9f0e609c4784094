' Late-bound client of QUARENT.QRNSharedMemory, as a script host sees it.
Option Explicit

Dim first, second, name, ok
Set first = CreateObject("QUARENT.QRNSharedMemory")
Set second = CreateObject("QUARENT.QRNSharedMemory.1")

WScript.Echo "defaults: AutoLock=" & first.AutoLock & " FireEvents=" & first.FireEvents & _
    " Size=" & first.Size & " MeFirst=" & first.MeFirst & " IsCreated=" & first.IsCreated & _
    " Name=[" & first.Name & "]"

name = first.GenerateSafeName()
WScript.Echo "safe name: length " & Len(name) & ", braces " & (Left(name, 1) = "{" And Right(name, 1) = "}")

WScript.Echo "first Create: " & first.Create(128, name) & ", MeFirst=" & first.MeFirst & ", Size=" & first.Size
WScript.Echo "second Create: " & second.Create(128, name) & ", MeFirst=" & second.MeFirst
WScript.Echo "same name: " & (first.Name = second.Name)

first.AutoLock = False
WScript.Echo "AutoLock now " & first.AutoLock
WScript.Echo "MemLock " & first.MemLock() & " " & first.MemLock() & ", MemUnlock " & first.MemUnlock() & " " & first.MemUnlock()

On Error Resume Next
ok = first.ReadVB(0, 4, 0, 0)
WScript.Echo "ReadVB of address 0: error " & Hex(Err.Number)
Err.Clear
On Error GoTo 0

WScript.Echo "Delete: " & first.Delete() & " then " & first.Delete() & ", IsCreated=" & first.IsCreated & ", Size=" & first.Size
WScript.Echo "second still holds it: " & second.IsCreated & ", Name matches " & (second.Name = name)

On Error Resume Next
ok = second.Create(0, name & "x")
WScript.Echo "Create of size 0 for a new name: error " & Hex(Err.Number) & ", IsCreated=" & second.IsCreated
