#include "message_pump.h"

namespace quarent::brnlog {

MessagePump::~MessagePump() {
  if (quitCode_) PostQuitMessage(static_cast<int>(*quitCode_));
}

void MessagePump::DispatchAll() {
  while (DispatchOne()) {
  }
}

bool MessagePump::DispatchOne() {
  MSG message;
  if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) return false;
  if (message.message == WM_QUIT) {
    quitCode_ = message.wParam;
    return true;
  }
  TranslateMessage(&message);
  try {
    DispatchMessageA(&message);
  } catch (...) {
    // A client's window procedure threw; the log carries on.
  }
  return true;
}

}  // namespace quarent::brnlog
