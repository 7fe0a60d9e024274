#pragma once
// A form of 300 by 200 to put controls on, with the general error report recording instead of showing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/Application.h"

struct TFormFixture : ::testing::Test {
  void SetUp() override {
    Application().Initialize();
    Application().OnException = [this](const std::exception& Error) { Errors.push_back(Error.what()); };
    Form.SetBounds(0, 0, 300, 200);
  }
  void TearDown() override { Application().OnException = nullptr; }
  TForm Form;
  std::vector<std::string> Errors;
};
