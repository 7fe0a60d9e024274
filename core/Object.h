#pragma once
// The root of the classes that raise events, and the plain notification event. Nothing here fails.
#include <functional>

// Root of every class that raises events: an event's first argument is its sender.
class TObject {
 public:
  virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject* Sender)>;
