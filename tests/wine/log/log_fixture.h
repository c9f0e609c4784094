#pragma once
// A Log object created by ProgID in a single-threaded apartment, for each test.
#include <gtest/gtest.h>

#include "com_client.h"
#include "log_client.h"

namespace logtest {

class LogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(apartment_.Status()));
    ASSERT_TRUE(RegisterBrnLog());
    log_ = CreateLog();
    ASSERT_NE(log_, nullptr);
  }

  void TearDown() override {
    PumpMessages();
    if (log_) log_->Release();
    PumpMessages();
  }

  // Opens the log window and finds it and its list view.
  void OpenWindow() {
    short number = -1;
    ASSERT_EQ(log_->CreateLogWindow(&number), S_OK);
    window_ = FindLogWindow();
    ASSERT_NE(window_, nullptr);
    list_ = ListViewOf(window_);
    ASSERT_NE(list_, nullptr);
    PumpMessages();
  }

  HRESULT Log(const char* text, short level = 0) { return log_->LogMessage(Text(text), level); }
  HRESULT LogIn(const char* text, const char* category, short level = 0) {
    return log_->LogMessageCategory(Text(text), Text(category), level);
  }
  HRESULT LogValue(const char* text, VARIANT value, const char* category, short level = 0) {
    return log_->LogMessageValue(Text(text), value, Text(category), level);
  }

  test::Apartment apartment_;
  ILog* log_ = nullptr;
  HWND window_ = nullptr;
  HWND list_ = nullptr;
};

// A VT_I4 / VT_I2 / VT_R8 variant.
inline VARIANT I4(long number) {
  VARIANT value;
  VariantInit(&value);
  V_VT(&value) = VT_I4;
  V_I4(&value) = number;
  return value;
}
inline VARIANT I2(short number) {
  VARIANT value;
  VariantInit(&value);
  V_VT(&value) = VT_I2;
  V_I2(&value) = number;
  return value;
}
inline VARIANT R8(double number) {
  VARIANT value;
  VariantInit(&value);
  V_VT(&value) = VT_R8;
  V_R8(&value) = number;
  return value;
}

}  // namespace logtest
