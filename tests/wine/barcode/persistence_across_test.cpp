// A control saved by one architecture's control loads in the other's and saves
// the same bytes again, in each form: stream, storage (its Contents stream) and
// property bag, both ways. Runs in a 64-bit Windows with the 32-bit build as
// its peer (see barcode_persistence_peer).
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "com_client.h"
#include "persistence_support.h"
#include "processes.h"
#include "test_container.h"

namespace {

std::vector<BYTE> FileBytes(const std::wstring& path) {
  std::ifstream file(path.c_str(), std::ios::binary);
  return std::vector<BYTE>((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

// The Contents stream of a saved storage, where the control keeps its bytes.
std::vector<BYTE> ContentsOf(const std::wstring& path) {
  IStorage* storage = nullptr;
  if (FAILED(StgOpenStorage(path.c_str(), nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0, &storage))) return {};
  IStream* contents = nullptr;
  std::vector<BYTE> bytes;
  if (SUCCEEDED(storage->OpenStream(L"Contents", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, &contents))) {
    bytes = test::StreamBytes(contents);
    contents->Release();
  }
  storage->Release();
  return bytes;
}

std::wstring NewFolder(const std::wstring& name) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + name;
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

TEST(PersistenceAcrossArchitectures, EachFormLoadsInTheOtherAndSavesTheSameBytes) {
  test::Apartment apartment;
  ASSERT_TRUE(test::RegisterBarCodeServer());
  if (!test::PeerFolder().empty()) {
    ASSERT_EQ(0, test::RegisterPeerServer(L"QRNBC10.dll"));
  }
  const std::wstring own = L"\"" + test::BesideProgram(L"barcode_persistence_peer.exe") + L"\" ";
  const std::wstring peer = L"\"" + test::PeerProgram(L"barcode_persistence_peer.exe") + L"\" ";
  const struct {
    const char* name;
    std::wstring saver;
    std::wstring loader;
  } directions[] = {
      {"saved by the peer, loaded here", peer, own},
      {"saved here, loaded by the peer", own, peer},
  };
  int round = 0;
  for (const auto& direction : directions) {
    SCOPED_TRACE(direction.name);
    const std::wstring saved = NewFolder(L"saved" + std::to_wstring(round));
    const std::wstring resaved = NewFolder(L"resaved" + std::to_wstring(round));
    ++round;
    ASSERT_EQ(0, test::RunProcess(direction.saver + L"save \"" + saved + L"\""));
    ASSERT_EQ(0, test::RunProcess(direction.loader + L"resave \"" + saved + L"\" \"" + resaved + L"\""));

    const std::vector<BYTE> stream = FileBytes(saved + L"\\stream.bin");
    EXPECT_GT(stream.size(), 40u);
    EXPECT_EQ(stream, FileBytes(resaved + L"\\stream.bin"));
    EXPECT_EQ(stream, ContentsOf(saved + L"\\storage.stg"));
    EXPECT_EQ(stream, ContentsOf(resaved + L"\\storage.stg"));
    const std::vector<BYTE> bag = FileBytes(saved + L"\\bag.txt");
    EXPECT_GT(bag.size(), 100u);
    EXPECT_EQ(bag, FileBytes(resaved + L"\\bag.txt"));
  }
}

}  // namespace
