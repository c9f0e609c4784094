' Creates each component's class by its ProgID, calls one member late bound
' and names what it got: the script host's architecture finds the DLL
' registered for it.
Option Explicit
Dim memory, barcode, logger, service
Set memory = CreateObject("QUARENT.QRNSharedMemory")
WScript.Echo "QUARENT.QRNSharedMemory " & TypeName(memory) & " " & Len(memory.GenerateSafeName())
Set barcode = CreateObject("QUARENT.QRNBarCode")
WScript.Echo "QUARENT.QRNBarCode " & TypeName(barcode) & " " & barcode.IsStringValid("QRN")
Set logger = CreateObject("BrnLog.Log")
WScript.Echo "BrnLog.Log " & TypeName(logger) & " " & logger.IsLogWindow()
Set service = CreateObject("QUARENT.QRNOrtivo")
service.ServiceName = "SideBySide"
WScript.Echo "QUARENT.QRNOrtivo " & TypeName(service) & " " & service.ServiceName
