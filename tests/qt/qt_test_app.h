// One QApplication for a Qt test executable, created before the first test
// (GoogleTest's main is used, so the application lives in an environment).
#pragma once

#include <QApplication>
#include <gtest/gtest.h>

#include <memory>

namespace sextant::testing {

class QtApplicationEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "sextant_test";
    static char* argv[] = {name, nullptr};
    FApp = std::make_unique<QApplication>(argc, argv);
  }
  void TearDown() override { FApp.reset(); }

 private:
  std::unique_ptr<QApplication> FApp;
};

inline ::testing::Environment* const kQtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

}  // namespace sextant::testing
