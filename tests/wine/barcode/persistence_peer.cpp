// Second process for the persistence test across architectures: saves a
// control in each of its three forms, or loads saved forms into fresh
// controls and saves them again.
//
//   barcode_persistence_peer save <folder>         stream.bin, storage.stg and
//                                                  bag.txt of a changed control
//   barcode_persistence_peer resave <from> <to>    each form of <from> loaded and
//                                                  saved again into <to>
// The control must be registered for this program's architecture. Exit code
// 0 when every step succeeded; the failing step is printed otherwise.
#include <windows.h>
#include <olectl.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "com_client.h"
#include "persistence_support.h"
#include "test_container.h"

namespace {

bool Failed(const char* step, HRESULT status) {
  if (SUCCEEDED(status)) return false;
  std::printf("%s: %s\n", step, test::Hex(status).c_str());
  return true;
}

std::vector<BYTE> ReadFileBytes(const std::wstring& path) {
  std::ifstream file(path.c_str(), std::ios::binary);
  return std::vector<BYTE>((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

bool WriteFileBytes(const std::wstring& path, const std::vector<BYTE>& bytes) {
  std::ofstream file(path.c_str(), std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return file.good();
}

std::string Hex(const BYTE* bytes, size_t count) {
  static const char digits[] = "0123456789abcdef";
  std::string text;
  for (size_t index = 0; index < count; ++index) {
    text += digits[bytes[index] >> 4];
    text += digits[bytes[index] & 15];
  }
  return text;
}

std::vector<BYTE> FromHex(const std::string& text) {
  std::vector<BYTE> bytes;
  for (size_t index = 0; index + 1 < text.size(); index += 2) {
    bytes.push_back(static_cast<BYTE>(std::stoi(text.substr(index, 2), nullptr, 16)));
  }
  return bytes;
}

// A property bag as text, one value a line in the order written:
// name, variant type and the value's bytes in hex (the text of a scalar as
// UTF-16, a font object as its own saved stream).
HRESULT BagToText(test::MemoryBag& bag, std::string* text) {
  std::ostringstream lines;
  for (const std::wstring& name : bag.writeOrder) {
    VARIANT& value = bag.values[name];
    std::vector<BYTE> bytes;
    if (value.vt == VT_DISPATCH || value.vt == VT_UNKNOWN) {
      IPersistStream* persist = nullptr;
      HRESULT status = value.punkVal->QueryInterface(IID_IPersistStream, reinterpret_cast<void**>(&persist));
      if (FAILED(status)) return status;
      IStream* stream = test::StreamOf({});
      status = persist->Save(stream, TRUE);
      persist->Release();
      bytes = test::StreamBytes(stream);
      stream->Release();
      if (FAILED(status)) return status;
    } else {
      VARIANT converted;
      VariantInit(&converted);
      const HRESULT status = VariantChangeTypeEx(&converted, &value, LOCALE_INVARIANT, 0, VT_BSTR);
      if (FAILED(status)) return status;
      const BYTE* start = reinterpret_cast<const BYTE*>(converted.bstrVal);
      bytes.assign(start, start + SysStringByteLen(converted.bstrVal));
      VariantClear(&converted);
    }
    lines << test::Narrow(name) << '\t' << value.vt << '\t' << Hex(bytes.data(), bytes.size()) << '\n';
  }
  *text = lines.str();
  return S_OK;
}

HRESULT BagFromText(const std::string& text, test::MemoryBag& bag) {
  std::istringstream lines(text);
  std::string name;
  VARTYPE type = VT_EMPTY;
  std::string hex;
  while (std::getline(lines, name, '\t') && lines >> type && lines.ignore(1) && std::getline(lines, hex)) {
    const std::vector<BYTE> bytes = FromHex(hex);
    VARIANT value;
    VariantInit(&value);
    if (type == VT_DISPATCH || type == VT_UNKNOWN) {
      IFontDisp* font = test::MakeFont(L"Arial");
      IPersistStream* persist = nullptr;
      HRESULT status = font->QueryInterface(IID_IPersistStream, reinterpret_cast<void**>(&persist));
      if (SUCCEEDED(status)) {
        IStream* stream = test::StreamOf(bytes);
        status = persist->Load(stream);
        stream->Release();
        persist->Release();
      }
      if (FAILED(status)) {
        font->Release();
        return status;
      }
      value.vt = VT_DISPATCH;
      value.pdispVal = font;
    } else {
      VARIANT textValue;
      textValue.vt = VT_BSTR;
      textValue.bstrVal = SysAllocStringByteLen(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<UINT>(bytes.size()));
      const HRESULT status = VariantChangeTypeEx(&value, &textValue, LOCALE_INVARIANT, 0, type);
      VariantClear(&textValue);
      if (FAILED(status)) return status;
    }
    const std::wstring wideName(name.begin(), name.end());
    bag.writeOrder.push_back(wideName);
    bag.Set(wideName.c_str(), value);
  }
  return S_OK;
}

HRESULT SaveStorage(IQRNBarCode* control, const std::wstring& path) {
  IStorage* storage = nullptr;
  HRESULT status = StgCreateDocfile(path.c_str(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, &storage);
  if (FAILED(status)) return status;
  IPersistStorage* persist = nullptr;
  status = control->QueryInterface(IID_IPersistStorage, reinterpret_cast<void**>(&persist));
  if (SUCCEEDED(status)) {
    status = persist->Save(storage, FALSE);
    if (SUCCEEDED(status)) persist->SaveCompleted(nullptr);
    persist->Release();
  }
  if (SUCCEEDED(status)) status = storage->Commit(STGC_DEFAULT);
  storage->Release();
  return status;
}

HRESULT SaveStream(IQRNBarCode* control, const std::wstring& path) {
  IPersistStreamInit* persist = nullptr;
  HRESULT status = control->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&persist));
  if (FAILED(status)) return status;
  IStream* stream = test::StreamOf({});
  status = persist->Save(stream, TRUE);
  persist->Release();
  const std::vector<BYTE> bytes = test::StreamBytes(stream);
  stream->Release();
  if (FAILED(status)) return status;
  return WriteFileBytes(path, bytes) ? S_OK : E_FAIL;
}

HRESULT SaveBag(IQRNBarCode* control, const std::wstring& path) {
  test::MemoryBag bag;
  IPersistPropertyBag* persist = nullptr;
  HRESULT status = control->QueryInterface(IID_IPersistPropertyBag, reinterpret_cast<void**>(&persist));
  if (FAILED(status)) return status;
  status = persist->Save(&bag, TRUE, TRUE);
  persist->Release();
  std::string text;
  if (SUCCEEDED(status)) status = BagToText(bag, &text);
  if (FAILED(status)) return status;
  return WriteFileBytes(path, std::vector<BYTE>(text.begin(), text.end())) ? S_OK : E_FAIL;
}

HRESULT LoadStream(IQRNBarCode* control, const std::wstring& path) {
  IPersistStreamInit* persist = nullptr;
  HRESULT status = control->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&persist));
  if (FAILED(status)) return status;
  IStream* stream = test::StreamOf(ReadFileBytes(path));
  status = persist->Load(stream);
  stream->Release();
  persist->Release();
  return status;
}

HRESULT LoadStorage(IQRNBarCode* control, const std::wstring& path) {
  IStorage* storage = nullptr;
  HRESULT status = StgOpenStorage(path.c_str(), nullptr, STGM_READWRITE | STGM_SHARE_EXCLUSIVE, nullptr, 0, &storage);
  if (FAILED(status)) return status;
  IPersistStorage* persist = nullptr;
  status = control->QueryInterface(IID_IPersistStorage, reinterpret_cast<void**>(&persist));
  if (SUCCEEDED(status)) {
    status = persist->Load(storage);
    persist->HandsOffStorage();
    persist->Release();
  }
  storage->Release();
  return status;
}

HRESULT LoadBag(IQRNBarCode* control, const std::wstring& path) {
  const std::vector<BYTE> text = ReadFileBytes(path);
  test::MemoryBag bag;
  HRESULT status = BagFromText(std::string(text.begin(), text.end()), bag);
  if (FAILED(status)) return status;
  IPersistPropertyBag* persist = nullptr;
  status = control->QueryInterface(IID_IPersistPropertyBag, reinterpret_cast<void**>(&persist));
  if (FAILED(status)) return status;
  status = persist->Load(&bag, nullptr);
  persist->Release();
  return status;
}

// The three forms, each saved to and loaded from a file of its own.
struct Form {
  const char* name;
  const wchar_t* file;
  HRESULT (*save)(IQRNBarCode*, const std::wstring&);
  HRESULT (*load)(IQRNBarCode*, const std::wstring&);
};
const Form kForms[] = {
    {"stream", L"\\stream.bin", &SaveStream, &LoadStream},
    {"storage", L"\\storage.stg", &SaveStorage, &LoadStorage},
    {"property bag", L"\\bag.txt", &SaveBag, &LoadBag},
};

int Save(const std::wstring& folder) {
  test::HostedControl control(false);
  if (!test::ChangeEverything(control)) {
    std::printf("the control refused a value\n");
    return 1;
  }
  for (const Form& form : kForms) {
    if (Failed(form.name, form.save(control.Get(), folder + form.file))) return 1;
  }
  return 0;
}

int Resave(const std::wstring& from, const std::wstring& to) {
  for (const Form& form : kForms) {
    test::HostedControl control(false);
    if (Failed(form.name, form.load(control.Get(), from + form.file))) return 1;
    if (Failed(form.name, form.save(control.Get(), to + form.file))) return 1;
  }
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  test::Apartment apartment;
  if (argc == 3 && std::wstring(argv[1]) == L"save") return Save(argv[2]);
  if (argc == 4 && std::wstring(argv[1]) == L"resave") return Resave(argv[2], argv[3]);
  return 2;
}
