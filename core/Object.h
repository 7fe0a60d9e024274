#pragma once
#include <functional>

// Root of every class that raises events: an event's first argument is its sender.
class TObject {
 public:
  virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject* Sender)>;
