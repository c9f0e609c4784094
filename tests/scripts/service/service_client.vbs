' A late-bound client of QUARENT.QRNOrtivo: configuration, settings and the
' event log, as a script host sees them. Prints one "name=value" line per check.
Option Explicit
Dim ortivo, fallback, all
Set ortivo = CreateObject("QUARENT.QRNOrtivo")

WScript.Echo "ServiceName=[" & ortivo.ServiceName & "]"
WScript.Echo "ControlsAccepted=" & ortivo.ControlsAccepted
WScript.Echo "StartMode=" & ortivo.StartMode
WScript.Echo "Debug=" & ortivo.Debug
WScript.Echo "Running=" & ortivo.Running
WScript.Echo "CurrentStatus=" & ortivo.CurrentStatus

ortivo.ServiceName = "QuarentScript"
ortivo.DisplayName = "Quarent Script Service"
ortivo.StartMode = 2
WScript.Echo "Configured=" & ortivo.ServiceName & "|" & ortivo.DisplayName & "|" & ortivo.StartMode

On Error Resume Next
ortivo.ServiceName = "bad/name"
WScript.Echo "BadName=" & Err.Number & "|" & ortivo.ServiceName
Err.Clear
ortivo.StartTimer 0, 100
WScript.Echo "TimerZero=" & Hex(Err.Number) & "|" & Err.Description
Err.Clear
On Error GoTo 0

ortivo.SaveSetting "Options", "Color", "blue"
ortivo.SaveSetting "Options", "Size", "12"
WScript.Echo "Color=" & ortivo.GetSetting("Options", "Color")
WScript.Echo "Missing=" & ortivo.GetSetting("Options", "Absent", "literal default")
fallback = "variable default"
WScript.Echo "MissingByVariable=" & ortivo.GetSetting("Options", "Absent", fallback)
all = ortivo.GetAllSettings("Options")
WScript.Echo "AllSettingsType=" & VarType(all)

ortivo.DeleteSetting "Options", "Color"
WScript.Echo "AfterDelete=" & ortivo.GetSetting("Options", "Color", "gone")
ortivo.DeleteSetting "Options"
On Error Resume Next
all = ortivo.GetAllSettings("Options")
WScript.Echo "DeletedSection=" & Hex(Err.Number) & "|" & Err.Description
Err.Clear
On Error GoTo 0

WScript.Echo "Logged=" & ortivo.LogEvent(4, 110, "hello from a script")
