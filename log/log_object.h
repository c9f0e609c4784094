#pragma once
// Log: the log object with its one log window, its message store and its
// category and level tables. Apartment threaded: every call and every Click
// event runs on the thread that created it. Every operation succeeds; one that
// needs the log window does nothing at all while there is none.
#include <windows.h>

#include "BrnLog_h.h"
#include "common/com_object.h"
#include "common/connection_point.h"
#include "common/dispatch.h"
#include "model/filter_model.h"
#include "log_window.h"
#include "windows_text.h"

namespace quarent::brnlog {

class Log : public ComObject<DualInterface<ILog>, ConnectionPointContainer, ProvideClassInfoFor<::Log, _ILogEvents>>,
            private LogWindowOwner {
 public:
  explicit Log(IUnknown* outer);
  ~Log() override;

  // Class factory entry.
  static HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object);

  STDMETHODIMP CreateLogWindow(short* windowNum) override;
  STDMETHODIMP ClearLogWindow() override;
  STDMETHODIMP LogMessage(BSTR Msg, short Level) override;
  STDMETHODIMP LogCaption(BSTR caption) override;
  STDMETHODIMP LogShowWindow(brnShowWindow command) override;
  STDMETHODIMP LogMessageCategory(BSTR Msg, BSTR Category, short Level) override;
  STDMETHODIMP RemoveLogWindow() override;
  STDMETHODIMP IsLogWindow(short* isLogWindow) override;
  STDMETHODIMP LogMessageValue(BSTR Msg, VARIANT Value, BSTR Category, short Level) override;
  STDMETHODIMP CategoryLimits(BSTR Category, VARIANT lower, brnLimitsConstants lowerType, VARIANT upper,
                              brnLimitsConstants upperType) override;
  STDMETHODIMP CategoryEnable(BSTR Category, LONG OnOff) override;
  STDMETHODIMP CategoryIsEnabled(BSTR Category, LONG* pRet) override;
  STDMETHODIMP LevelEnable(short Level, LONG OnOff) override;
  STDMETHODIMP LevelIsEnabled(short Level, LONG* pRet) override;
  STDMETHODIMP get_MessageImage(brnImageIndex* pVal) override;
  STDMETHODIMP put_MessageImage(brnImageIndex newVal) override;
  STDMETHODIMP SetColumnHeaderText(brnColumnHeaders Column, BSTR newText) override;
  STDMETHODIMP get_ContextMenuEnabled(LONG* pVal) override;
  STDMETHODIMP put_ContextMenuEnabled(LONG newVal) override;

 protected:
  void* FindInterface(REFIID iid) override;
  size_t ConnectionPointCount() override { return 1; }
  ConnectionPoint& ConnectionPointAt(size_t) override { return events_; }

 private:
  // LogWindowOwner
  FilterModel& Filters() override { return filters_; }
  int32_t ContextMenuSetting() const override { return contextMenuEnabled_; }
  void RaiseClick(int16_t button) override;
  IUnknown* Identity() override { return ControllingUnknown(); }

  // Logs a message with `value` (null: logged without one) when a window exists.
  void Accept(BSTR text, const LogValue* value, BSTR category, short level);

  CriticalSection lock_;  // guards the sink list
  ConnectionPoint events_;
  WindowsText text_;
  FilterModel filters_;
  int16_t messageImage_ = -1;  // brnImageIndex minus 1
  int32_t contextMenuEnabled_ = 1;
  LogWindow window_;
};

}  // namespace quarent::brnlog
