' A late-bound client of BrnLog.Log: logs messages at several levels and
' categories, with values, and reads the filter state back. Prints one line
' per reading for the test that runs it.
Option Explicit

Dim log, reading
Set log = CreateObject("BrnLog.Log")
WScript.Echo "IsLogWindow before " & log.IsLogWindow()
log.LogMessage "before the window", 1
log.CategoryEnable "Early", 0
WScript.Echo "MessageImage " & log.MessageImage

log.CreateLogWindow
WScript.Echo "IsLogWindow " & log.IsLogWindow()
log.LogCaption "Script log"
log.LogMessage "hello from a script", 1
log.LogMessageCategory "disk almost full", "Disk", 2
log.LogMessageValue "temperature", 21.5, "Sensor", 1
reading = 99
log.LogMessageValue "reading", reading, "Sensor", 3

log.CategoryEnable "Disk", 0
WScript.Echo "Disk " & log.CategoryIsEnabled("Disk")
WScript.Echo "Sensor " & log.CategoryIsEnabled("Sensor")
WScript.Echo "Fresh " & log.CategoryIsEnabled("Fresh")
WScript.Echo "disk " & log.CategoryIsEnabled("disk")

log.LevelEnable 3, 0
WScript.Echo "Level 3 " & log.LevelIsEnabled(3)
WScript.Echo "Level 259 " & log.LevelIsEnabled(259)
WScript.Echo "Level 1 " & log.LevelIsEnabled(1)
log.LevelEnable -5, 0
WScript.Echo "Level 0 " & log.LevelIsEnabled(0)

log.CategoryLimits "Sensor", 20, 3, 100, 1
log.MessageImage = 3
WScript.Echo "MessageImage " & log.MessageImage
log.ContextMenuEnabled = 0
WScript.Echo "ContextMenuEnabled " & log.ContextMenuEnabled
log.SetColumnHeaderText 1, "Reading"
log.ClearLogWindow

log.RemoveLogWindow
WScript.Echo "IsLogWindow after " & log.IsLogWindow()
