#pragma once
// Loads the search cache on a thread of its own, so that a window shows itself and answers input while
// a large cache file is read.
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "search/SearchCache.h"

// Starts loading at construction. Until Done() answers true, nobody else may touch the cache; after
// it, the cache is the caller's again. Destroying the loader stops the reading and waits for the thread.
class TCacheLoader {
 public:
  TCacheLoader(TSearchCache& Cache, std::string FileName);
  ~TCacheLoader();
  TCacheLoader(const TCacheLoader&) = delete;
  TCacheLoader& operator=(const TCacheLoader&) = delete;

  bool Done() const { return FDone.load(); }
  // Waits up to Milliseconds for the end of the load; true once it is over.
  bool Wait(unsigned Milliseconds);
  // Asks the reading to stop and waits for the thread; the cache then holds part of the file at most.
  void Stop();

  // Once done: the whole file was read (or there was none), and the message of a failure, if any.
  bool Complete() const { return FComplete; }
  const std::string& Error() const { return FError; }

 private:
  void Run(TSearchCache& Cache, const std::string& FileName);

  std::atomic<bool> FCancel{false};
  std::atomic<bool> FDone{false};
  std::mutex FMutex;
  std::condition_variable FFinished;
  bool FComplete = false;
  std::string FError;
  std::thread FThread;  // last: started once everything it uses exists
};
