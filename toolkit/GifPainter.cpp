#include "toolkit/GifPainter.h"

#include "toolkit/ErrorReport.h"

namespace {
const wchar_t* const PainterClass = L"TorvaneGifPainter";
constexpr UINT FrameMessage = WM_APP + 1;
}  // namespace

TGifPainter::TGifPainter(std::vector<int> DelaysMs, int Shown, int Showings, std::function<void(int)> OnFrame)
    : FDelays(std::move(DelaysMs)),
      FShown(Shown),
      FShowings(Showings),
      FOnFrame(std::move(OnFrame)),
      FWindow(PainterClass, &TGifPainter::WindowProc, this) {
  if (!FWindow.Handle() || FDelays.empty()) {
    FRunning = false;
    return;
  }
  FThread = std::thread([this] { Execute(); });
}

// The window goes after the thread has ended (members go in reverse order), and with it a frame
// message still waiting in the queue.
TGifPainter::~TGifPainter() {
  SetEvent(FStop.Get());
  if (FThread.joinable()) FThread.join();
}

void TGifPainter::Execute() {
  const int Count = int(FDelays.size());
  int Frame = FShown, Played = 0;
  for (;;) {
    if (WaitForSingleObject(FStop.Get(), DWORD(FDelays[std::size_t(Frame)])) != WAIT_TIMEOUT) break;
    int Next = Frame + 1;
    if (Next == Count) {
      if (FShowings > 0 && ++Played >= FShowings) break;  // the last frame stays
      Next = 0;
    }
    if (!PostMessageW(FWindow.Handle(), FrameMessage, WPARAM(Next), 0)) break;
    HANDLE Events[2] = {FStop.Get(), FShownEvent.Get()};
    if (WaitForMultipleObjects(2, Events, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) break;
    Frame = Next;
  }
  FRunning = false;
}

LRESULT CALLBACK TGifPainter::WindowProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam) {
  if (Message != FrameMessage) return DefWindowProcW(Window, Message, WParam, LParam);
  auto* Painter = TMessageWindow::OwnerOf<TGifPainter>(Window);
  if (!Painter) return 0;
  // A copy: the handler may stop the animation, and with it this painter.
  const std::function<void(int)> OnFrame = Painter->FOnFrame;
  if (OnFrame) ReportingErrors([&] { OnFrame(int(WParam)); });
  // The handler may have stopped and destroyed the painter (through its picture): look it up again.
  if (auto* Still = TMessageWindow::OwnerOf<TGifPainter>(Window)) SetEvent(Still->FShownEvent.Get());
  return 0;
}
