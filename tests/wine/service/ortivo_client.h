#pragma once
// What the service tests share as clients of QUARENT.QRNOrtivo.
#include <windows.h>
#include <winsvc.h>
#undef StartService

#include <gtest/gtest.h>

#include <string>

#include "QRNNTSrv_h.h"
#include "com_client.h"
#include "common/com_ptr.h"

namespace test {

using quarent::ComPtr;

// Registers QRNNTSrv.dll in this test's prefix (once per process).
void RegisterServiceComponent();

// Creates the object by its ProgID; null (with the status in `status`) on failure.
ComPtr<IOrtivo> CreateOrtivo(HRESULT* status = nullptr);

// Takes an [out] string and frees it.
std::wstring TakeString(BSTR text);

// HMODULE of QRNNTSrv.dll once an object has loaded it.
HMODULE ServiceModule();

// Clears the thread's error information.
void ClearErrorInfo();

// Expects the thread's error information to be `text` from IOrtivo and the
// class's ProgID (and takes it).
void ExpectErrorText(const wchar_t* text);

// Pumps this thread's messages for `milliseconds`.
void PumpMessages(DWORD milliseconds);

// A test that drives one object of the class from this thread's apartment,
// with the component registered. A fixture that adds to SetUp calls this
// one first and returns if it failed.
class OrtivoTest : public ::testing::Test {
 protected:
  void SetUp() override;

  // Gives the object `name` as its ServiceName.
  void UseServiceName(const wchar_t* name);

  void ExpectErrorText1500() { ExpectErrorText(L"Access Denied or Invalid Parameters"); }

  Apartment apartment;
  ComPtr<IOrtivo> ortivo;
};

}  // namespace test
