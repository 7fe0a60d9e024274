#include "search/CacheLoader.h"

#include <chrono>

TCacheLoader::TCacheLoader(TSearchCache& Cache, std::string FileName)
    : FThread([this, &Cache, Name = std::move(FileName)] { Run(Cache, Name); }) {}

TCacheLoader::~TCacheLoader() { Stop(); }

void TCacheLoader::Run(TSearchCache& Cache, const std::string& FileName) {
  try {
    FComplete = Cache.LoadCache(FileName, &FCancel);
  } catch (const std::exception& Error) {
    FError = Error.what();
  } catch (...) {
    FError = "The search cache could not be loaded.";
  }
  const std::lock_guard<std::mutex> Lock(FMutex);
  FDone = true;
  FFinished.notify_all();
}

bool TCacheLoader::Wait(unsigned Milliseconds) {
  std::unique_lock<std::mutex> Lock(FMutex);
  return FFinished.wait_for(Lock, std::chrono::milliseconds(Milliseconds), [this] { return FDone.load(); });
}

void TCacheLoader::Stop() {
  FCancel = true;
  if (FThread.joinable()) FThread.join();
}
