' A script client of QUARENT.QRNOrtivo: configures the service object, keeps
' settings in the registry and writes entries to the application event log.
Option Explicit
Dim ortivo, all
Set ortivo = CreateObject("QUARENT.QRNOrtivo")
ortivo.ServiceName = "QuarentDemo"
ortivo.DisplayName = "QUARENT Demo Service"
ortivo.StartMode = 2
WScript.Echo "Configured the service object: name " & ortivo.ServiceName & ", display name """ & _
    ortivo.DisplayName & """, start mode " & ortivo.StartMode & " (automatic)"

ortivo.SaveSetting "Database", "Server", "db.example.local"
ortivo.SaveSetting "Database", "Port", "5432"
WScript.Echo "Saved two settings in HKLM\SYSTEM\CurrentControlSet\Services\QuarentDemo\Database"
WScript.Echo "Read back: Server = " & ortivo.GetSetting("Database", "Server") & _
    ", Port = " & ortivo.GetSetting("Database", "Port")
WScript.Echo "A missing setting gives its default: Timeout = " & ortivo.GetSetting("Database", "Timeout", "30")
all = ortivo.GetAllSettings("Database")
WScript.Echo "GetAllSettings returns an array of strings (VarType " & VarType(all) & ")"

WScript.Echo "Event log entry (information, message 110) written: " & _
    ortivo.LogEvent(4, 110, "The demo service object is configured.")
WScript.Echo "Event log entry (error, message 109) written: " & ortivo.LogEvent(1, 109, "Nothing is wrong, this is a demo.")
ortivo.DeleteSetting "Database"
WScript.Echo "Deleted the section Database again"
