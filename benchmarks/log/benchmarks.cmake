# The log window under a chatty client (Windows build; run under Wine with tests/wine/run-in-prefix.sh).
# The bare list view baseline holds its painting back with the log window's own DeferredPainting.
if(WIN32)
  add_executable(log_throughput_benchmark
    ${CMAKE_CURRENT_LIST_DIR}/log_throughput.cpp
    ${CMAKE_CURRENT_LIST_DIR}/raw_list_view.cpp
    ${CMAKE_SOURCE_DIR}/log/deferred_painting.cpp)
  target_link_libraries(log_throughput_benchmark PRIVATE BrnLog_client log_test_client ole32 oleaut32 uuid comctl32
    wine_test_support)
  set_target_properties(log_throughput_benchmark PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
endif()
