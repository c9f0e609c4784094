# Service object benchmarks (Windows build; run under Wine after registering QRNNTSrv.dll).
if(WIN32)
  add_executable(service_benchmark ${CMAKE_CURRENT_LIST_DIR}/service_benchmark.cpp)
  target_link_libraries(service_benchmark PRIVATE QRNNTSrv_client ole32 oleaut32 uuid wine_test_support)
endif()
