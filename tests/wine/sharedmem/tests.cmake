# Wine tests of QRNShrMem.dll.
add_wine_helper(sharedmem_peer
  SOURCES sharedmem/peer_main.cpp sharedmem/shared_memory_client.cpp sharedmem/stress_record.cpp
  LIBRARIES QRNShrMem_client)

add_wine_test(sharedmem_registration
  SOURCES sharedmem/registration_test.cpp
  LIBRARIES QRNShrMem_client)
add_wine_test(sharedmem_interface
  SOURCES sharedmem/interface_test.cpp sharedmem/dispatch_test.cpp sharedmem/shared_memory_client.cpp
  LIBRARIES QRNShrMem_client)
add_wine_test(sharedmem_events
  SOURCES sharedmem/events_test.cpp sharedmem/shared_memory_client.cpp
  LIBRARIES QRNShrMem_client)
add_wine_test(sharedmem_processes
  SOURCES sharedmem/processes_test.cpp sharedmem/shared_memory_client.cpp sharedmem/stress_record.cpp
  LIBRARIES QRNShrMem_client)
add_dependencies(sharedmem_processes sharedmem_peer)
target_link_options(sharedmem_peer PRIVATE -municode)
add_wine_test(sharedmem_script
  SOURCES sharedmem/script_test.cpp
  LIBRARIES QRNShrMem_client)
target_compile_definitions(sharedmem_script PRIVATE
  SCRIPT_FOLDER="${CMAKE_SOURCE_DIR}/tests/scripts/sharedmem")

# The same processes test with 32-bit peers in a 64-bit Windows: one section,
# one lock and the same offsets and bytes across architectures.
if(QUARENT_PEER_BIN)
  add_test(NAME ${QUARENT_WINE_TEST}.sharedmem_processes_with_32bit_peers COMMAND sharedmem_processes)
  declare_wine_test(sharedmem_processes_with_32bit_peers NEEDS_32BIT ENVIRONMENT QUARENT_PEER_BIN=${QUARENT_PEER_BIN})
endif()
