#include "log_object.h"

#include "common/automation_types.h"
#include "common/com_ptr.h"
#include "common/error_info.h"
#include "list_view.h"
#include "variant_value.h"

namespace quarent::brnlog {
namespace {

constexpr DISPID kClickId = -600;
constexpr size_t kMaxColumnTitleBytes = 259;

// Runs `body`; nothing thrown leaves the interface, and every call succeeds.
template <class Body>
HRESULT Guarded(Body&& body) {
  try {
    body();
  } catch (...) {
    // Out of memory for a copy or a table entry: the call leaves things as they are.
  }
  return S_OK;
}

std::optional<std::u16string> CategoryOrNone(BSTR category) {
  std::optional<std::u16string> name = TextOfBstr(category);
  if (!name) return std::u16string(kNoCategory);
  return name;
}

}  // namespace

Log::Log(IUnknown* outer) : ComObject(outer), events_(*this, DIID__ILogEvents, lock_), window_(*this, text_) {}

Log::~Log() {
  window_.Close();
  events_.DisconnectAll();
}

HRESULT Log::CreateInstance(IUnknown* outer, REFIID iid, void** object) {
  return CreateComObject<Log>(outer, iid, object);
}

void* Log::FindInterface(REFIID iid) {
  if (IsEqualIID(iid, IID_ILog) || IsEqualIID(iid, IID_IDispatch)) return static_cast<ILog*>(this);
  if (IsEqualIID(iid, IID_IConnectionPointContainer)) return static_cast<IConnectionPointContainer*>(this);
  if (IsEqualIID(iid, IID_IProvideClassInfo) || IsEqualIID(iid, IID_IProvideClassInfo2)) {
    return static_cast<IProvideClassInfo2*>(this);
  }
  return nullptr;
}

void Log::RaiseClick(int16_t button) {
  VARIANT argument;
  V_VT(&argument) = VT_I2;
  V_I2(&argument) = button;
  events_.RaiseEvent(kClickId, &argument, 1);
}

void Log::Accept(BSTR text, const LogValue* value, BSTR category, short level) {
  if (!window_.Exists()) return;
  // The client may drop its last reference from a message dispatched below.
  ComPtr<IUnknown> keepAlive(ControllingUnknown());
  WindowFilterMenu menu = window_.FilterMenu();
  const std::optional<size_t> stored =
      filters_.AcceptMessage(TextOfBstr(text), CategoryOrNone(category), level, messageImage_, value, menu);
  if (stored) window_.ShowLoggedMessage(*stored);
}

STDMETHODIMP Log::CreateLogWindow(short* windowNum) {
  // One window per object, so no window numbers: 0.
  if (windowNum) *windowNum = 0;
  return Guarded([&] { window_.Create(); });
}

STDMETHODIMP Log::ClearLogWindow() {
  return Guarded([&] { window_.Clear(); });
}

STDMETHODIMP Log::LogMessage(BSTR Msg, short Level) { return LogMessageCategory(Msg, nullptr, Level); }

STDMETHODIMP Log::LogCaption(BSTR caption) {
  return Guarded([&] {
    if (window_.Exists()) window_.SetCaption(ToAnsi(caption));
  });
}

STDMETHODIMP Log::LogShowWindow(brnShowWindow command) {
  if (window_.Exists()) window_.Show(static_cast<int>(command));
  return S_OK;
}

STDMETHODIMP Log::LogMessageCategory(BSTR Msg, BSTR Category, short Level) {
  return Guarded([&] { Accept(Msg, nullptr, Category, Level); });
}

STDMETHODIMP Log::RemoveLogWindow() {
  window_.Close();
  return S_OK;
}

STDMETHODIMP Log::IsLogWindow(short* isLogWindow) {
  if (isLogWindow) *isLogWindow = window_.Exists() ? 1 : 0;
  return S_OK;
}

STDMETHODIMP Log::LogMessageValue(BSTR Msg, VARIANT Value, BSTR Category, short Level) {
  return Guarded([&] {
    if (!window_.Exists()) return;
    const LogValue value = ValueOfVariant(Value);
    Accept(Msg, &value, Category, Level);
  });
}

STDMETHODIMP Log::CategoryLimits(BSTR Category, VARIANT lower, brnLimitsConstants lowerType, VARIANT upper,
                                 brnLimitsConstants upperType) {
  return Guarded([&] {
    if (!window_.Exists()) return;
    Limits limits;
    limits.lower = ValueOfVariant(lower);
    limits.lowerCondition = static_cast<int16_t>(lowerType);
    limits.upper = ValueOfVariant(upper);
    limits.upperCondition = static_cast<int16_t>(upperType);
    WindowFilterMenu menu = window_.FilterMenu();
    filters_.SetLimits(TextOfBstr(Category), std::move(limits), menu);
  });
}

STDMETHODIMP Log::CategoryEnable(BSTR Category, LONG OnOff) {
  return Guarded([&] {
    if (!window_.Exists()) return;
    WindowFilterMenu menu = window_.FilterMenu();
    const size_t index = filters_.FindOrAddCategory(*CategoryOrNone(Category), menu);
    filters_.SetCategoryFilter(index, OnOff != 0 ? FilterMode::kOn : FilterMode::kOff, menu);
  });
}

STDMETHODIMP Log::CategoryIsEnabled(BSTR Category, LONG* pRet) {
  return Guarded([&] {
    if (!window_.Exists()) return;
    WindowFilterMenu menu = window_.FilterMenu();
    const size_t index = filters_.FindOrAddCategory(*CategoryOrNone(Category), menu);
    if (pRet) *pRet = filters_.Categories()[index].enabled;
  });
}

STDMETHODIMP Log::LevelEnable(short Level, LONG OnOff) {
  return Guarded([&] {
    if (!window_.Exists()) return;
    WindowFilterMenu menu = window_.FilterMenu();
    const size_t index = filters_.FindOrAddLevel(Level < 0 ? 0 : Level, menu);
    filters_.SetLevelFilter(index, OnOff != 0 ? FilterMode::kOn : FilterMode::kOff, menu);
  });
}

STDMETHODIMP Log::LevelIsEnabled(short Level, LONG* pRet) {
  return Guarded([&] {
    if (!window_.Exists()) return;
    WindowFilterMenu menu = window_.FilterMenu();
    const size_t index = filters_.FindOrAddLevel(Level < 0 ? 0 : Level, menu);
    if (pRet) *pRet = filters_.Levels()[index].enabled;
  });
}

STDMETHODIMP Log::get_MessageImage(brnImageIndex* pVal) {
  // Only values that name an image read back; others leave pVal alone.
  if (pVal && messageImage_ >= -1 && messageImage_ <= 4) *pVal = static_cast<brnImageIndex>(messageImage_ + 1);
  return S_OK;
}

STDMETHODIMP Log::put_MessageImage(brnImageIndex newVal) {
  messageImage_ = static_cast<int16_t>(static_cast<int>(newVal) - 1);
  return S_OK;
}

STDMETHODIMP Log::SetColumnHeaderText(brnColumnHeaders Column, BSTR newText) {
  return Guarded([&] {
    if (!window_.Exists()) return;
    const int column = static_cast<int>(Column);
    std::string title;
    if (newText != nullptr) {
      title = ToAnsi(newText);
    } else if (const UINT defaultId = list_view::DefaultTitleId(column)) {
      const std::wstring text = LoadModuleString(defaultId);
      title = ToAnsi(text.c_str(), static_cast<UINT>(text.size()));
    }
    window_.SetColumnTitle(column, std::string(LimitAnsiText(title, kMaxColumnTitleBytes, text_)));
  });
}

STDMETHODIMP Log::get_ContextMenuEnabled(LONG* pVal) {
  if (pVal) *pVal = contextMenuEnabled_;
  return S_OK;
}

STDMETHODIMP Log::put_ContextMenuEnabled(LONG newVal) {
  contextMenuEnabled_ = newVal;
  return S_OK;
}

}  // namespace quarent::brnlog
