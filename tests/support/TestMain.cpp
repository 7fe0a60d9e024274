// The test programs' entry: like the program's own, it hands the platform's services to the core
// before anything runs.
#include <gtest/gtest.h>

#include "platform/Platform.h"

int main(int Count, char** Values) {
  InstallPlatformServices();
  testing::InitGoogleTest(&Count, Values);
  return RUN_ALL_TESTS();
}
