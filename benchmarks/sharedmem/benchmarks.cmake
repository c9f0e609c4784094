# Read/Write throughput of QRNSharedMemory against the same copies made
# directly on the platform (Windows program, run under Wine).
if(WIN32)
  add_executable(sharedmem_benchmark ${CMAKE_CURRENT_LIST_DIR}/sharedmem_benchmark.cpp)
  target_link_libraries(sharedmem_benchmark PRIVATE QRNShrMem_client wine_test_support)
endif()
