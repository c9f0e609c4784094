' The shared memory object as a script host sees it.
Option Explicit
Dim memory
Set memory = CreateObject("QUARENT.QRNSharedMemory")
WScript.Echo "  [script] Create(256, ""DemoPrices"") = " & memory.Create(256, "DemoPrices")
WScript.Echo "  [script] MeFirst = " & memory.MeFirst & ", Size = " & memory.Size & ", Name = " & memory.Name
WScript.Echo "  [script] MemLock = " & memory.MemLock() & ", MemUnlock = " & memory.MemUnlock()
WScript.Echo "  [script] a fresh unique name: " & memory.GenerateSafeName()
WScript.Echo "  [script] Delete = " & memory.Delete() & ", IsCreated = " & memory.IsCreated
