' Each of the four components, late bound, as any script host's client uses
' them. Where the DLL is found: the registry view of the host's architecture.
Option Explicit
Dim memory, barcode, logger, service, settings
Set memory = CreateObject("QUARENT.QRNSharedMemory")
memory.Create 64, "ArchitectureDemo"
WScript.Echo "  QRNSharedMemory: section """ & memory.Name & """ of " & memory.Size & " bytes, MeFirst " & memory.MeFirst
memory.Delete

Set barcode = CreateObject("QUARENT.QRNBarCode")
barcode.BarStyle = 5
barcode.Caption = "QRN-64"
WScript.Echo "  QRNBarCode: Caption """ & barcode.Caption & """ valid for Code 39: " & barcode.IsStringValid("QRN-64")

Set logger = CreateObject("BrnLog.Log")
logger.LogMessage "logged from a script", 1
WScript.Echo "  Log: a message logged without a window; IsLogWindow " & logger.IsLogWindow()

Set service = CreateObject("QUARENT.QRNOrtivo")
service.ServiceName = "QuarentArchitectures"
service.SaveSetting "Demo", "Written", "by a script"
settings = service.GetSetting("Demo", "Written", "")
WScript.Echo "  QRNOrtivo: setting read back """ & settings & """"
service.DeleteSetting "Demo"
