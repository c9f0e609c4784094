#pragma once
// Dispatching the calling thread's pending window messages in the middle of a
// logging call or a Refresh, so the client's windows and the log window stay
// responsive.
#include <windows.h>

#include <optional>

namespace quarent::brnlog {

class MessagePump {
 public:
  MessagePump() = default;
  MessagePump(const MessagePump&) = delete;
  MessagePump& operator=(const MessagePump&) = delete;
  // Posts a quit message taken from the queue again, with its exit code, so
  // the client's own message loop still sees it.
  ~MessagePump();

  // Dispatches pending messages until the queue is empty.
  void DispatchAll();
  // Dispatches one pending message, if there is one; returns false when there is none.
  bool DispatchOne();

 private:
  std::optional<WPARAM> quitCode_;
};

}  // namespace quarent::brnlog
