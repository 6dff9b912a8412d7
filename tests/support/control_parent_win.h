#pragma once
// The controls' tests put their controls on a shown popup window of their own, which
// goes with each test.
#include <windows.h>

#include <gtest/gtest.h>

class ControlParentTest : public ::testing::Test {
protected:
  void SetUp() override {
    FParent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 10, 20, 400, 100, nullptr, nullptr, nullptr,
                              nullptr);
    ASSERT_NE(FParent, nullptr);
  }
  void TearDown() override { DestroyWindow(FParent); }
  HWND FParent = nullptr;
};
