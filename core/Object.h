#pragma once
// The root of the classes that raise events, and the plain notification event. Nothing here fails.
#include <functional>

class TBitmap;  // the Win32 toolkit's 32-bit bitmap, named here only so that objects can offer one

// Root of every class that raises events: an event's first argument is its sender.
class TObject {
 public:
  virtual ~TObject() = default;
  // The pixels this object shows when a cell or a glyph draws it: the toolkit's bitmaps and pictures
  // answer, anything else (and an empty picture) null.
  virtual TBitmap* PictureBitmap() { return nullptr; }
};

using TNotifyEvent = std::function<void(TObject* Sender)>;
