#pragma once
// The worker behind one playing GIF animation. It only keeps time: it waits the shown frame's delay,
// posts the next frame's number to a message-only window of its own, waits until the user-interface
// thread has shown that frame, and goes on; after the last showing it ends. It never touches a
// picture or a window of the program, so the picture may stop it (and wait for it) at any moment.
#include <windows.h>

#include <atomic>
#include <functional>
#include <thread>
#include <vector>

#include "toolkit/HandleGuards.h"
#include "toolkit/MessageWindow.h"

class TGifPainter {
 public:
  // Starts at once, on the user-interface thread, with frame Shown on the screen. DelaysMs holds
  // each frame's time; Showings is how many times the whole animation plays (0: for ever). OnFrame
  // runs on the user-interface thread with the frame to show.
  TGifPainter(std::vector<int> DelaysMs, int Shown, int Showings, std::function<void(int Frame)> OnFrame);
  // Stops the worker and waits for it; a frame it posted but that was not yet shown is dropped.
  ~TGifPainter();
  TGifPainter(const TGifPainter&) = delete;
  TGifPainter& operator=(const TGifPainter&) = delete;

  // False once the worker has ended (stopped, or the last showing is over).
  bool Running() const { return FRunning; }

 private:
  static LRESULT CALLBACK WindowProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam);
  void Execute();

  std::vector<int> FDelays;
  int FShown;
  int FShowings;
  std::function<void(int)> FOnFrame;
  TMessageWindow FWindow;
  TEventHandle FStop{true, false};         // manual reset: set once, stops the worker
  TEventHandle FShownEvent{false, false};  // auto reset: the posted frame is on the screen
  std::atomic<bool> FRunning{true};
  std::thread FThread;
};
