// Both architectures' DLLs registered on one 64-bit Windows: each registration
// sits in its own registry view with its own type library platform, and
// unregistering either leaves the other's classes registered and creatable by
// ProgID from a script host of that architecture.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "brnlog_registration.h"
#include "com_client.h"
#include "each_class_script.h"
#include "processes.h"
#include "qrnbc10_registration.h"
#include "qrnntsrv_registration.h"
#include "qrnshrmem_registration.h"
#include "registration_check.h"

namespace {

struct Component {
  const wchar_t* dll;
  quarent::ArrayView<quarent::ClassRegistration> (*registration)();
};

const Component kComponents[] = {
    {L"QRNShrMem.dll", &quarent::RegistrationOfQRNShrMem},
    {L"QRNBC10.dll", &quarent::RegistrationOfQRNBC10},
    {L"BrnLog.dll", &quarent::RegistrationOfBrnLog},
    {L"QRNNTSrv.dll", &quarent::RegistrationOfQRNNTSrv},
};

void ExpectEach(REGSAM view, bool registered) {
  for (const Component& component : kComponents) {
    SCOPED_TRACE(test::Narrow(component.dll) + (view == KEY_WOW64_32KEY ? " (32-bit view)" : " (64-bit view)"));
    const std::wstring path =
        view == KEY_WOW64_32KEY ? test::PeerProgram(component.dll) : test::BesideProgram(component.dll);
    if (registered) {
      test::ExpectRegistered(component.registration(), path, view);
    } else {
      test::ExpectUnregistered(component.registration(), path, view);
    }
  }
}

void RegisterEach(bool peer, bool unregister) {
  for (const Component& component : kComponents) {
    SCOPED_TRACE(test::Narrow(component.dll));
    ASSERT_EQ(0, peer ? test::RegisterPeerServer(component.dll, unregister)
                      : test::RegisterServer(component.dll, unregister));
  }
}

TEST(SideBySide, EachArchitectureKeepsItsRegistrationWhenTheOtherIsRemoved) {
  ASSERT_FALSE(test::PeerFolder().empty()) << "needs the 32-bit build's folder in QUARENT_PEER_BIN";
  RegisterEach(/*peer=*/false, /*unregister=*/false);
  RegisterEach(/*peer=*/true, /*unregister=*/false);
  ExpectEach(KEY_WOW64_64KEY, true);
  ExpectEach(KEY_WOW64_32KEY, true);
  EXPECT_EQ(test::kEveryClassCreated, test::CreateEachClassByScript(L"system32"));
  EXPECT_EQ(test::kEveryClassCreated, test::CreateEachClassByScript(L"syswow64"));

  // The 32-bit DLLs go; the 64-bit ones stay registered and creatable.
  RegisterEach(/*peer=*/true, /*unregister=*/true);
  ExpectEach(KEY_WOW64_32KEY, false);
  ExpectEach(KEY_WOW64_64KEY, true);
  EXPECT_EQ(test::kEveryClassCreated, test::CreateEachClassByScript(L"system32"));

  // And the other way round.
  RegisterEach(/*peer=*/true, /*unregister=*/false);
  RegisterEach(/*peer=*/false, /*unregister=*/true);
  ExpectEach(KEY_WOW64_64KEY, false);
  ExpectEach(KEY_WOW64_32KEY, true);
  EXPECT_EQ(test::kEveryClassCreated, test::CreateEachClassByScript(L"syswow64"));
}

}  // namespace
