# Wine tests of QRNNTSrv.dll (included from tests/wine/CMakeLists.txt).
set(service_test_dir ${CMAKE_CURRENT_LIST_DIR})

add_library(service_test_support STATIC
  ${service_test_dir}/ortivo_client.cpp
  ${service_test_dir}/event_log_seam.cpp)
target_include_directories(service_test_support PUBLIC ${service_test_dir})
target_link_libraries(service_test_support PUBLIC wine_test_support QRNNTSrv_client)

add_wine_test(service_object_test
  SOURCES ${service_test_dir}/service_object_test.cpp
  LIBRARIES service_test_support)

add_wine_test(service_settings_test
  SOURCES ${service_test_dir}/service_settings_test.cpp
  LIBRARIES service_test_support)

add_wine_test(service_event_log_test
  SOURCES ${service_test_dir}/service_event_log_test.cpp
  LIBRARIES service_test_support)

add_wine_test(service_runtime_test
  SOURCES ${service_test_dir}/service_runtime_test.cpp
  LIBRARIES service_test_support)

add_wine_helper(service_host_program
  SOURCES ${service_test_dir}/service_host_program.cpp
  LIBRARIES service_test_support)

add_wine_test(service_manager_test
  SOURCES ${service_test_dir}/service_manager_test.cpp
  LIBRARIES service_test_support service_core)
add_dependencies(service_manager_test service_host_program)

# The script client runs from the bin folder, beside the test program.
configure_file(${CMAKE_SOURCE_DIR}/tests/scripts/service/service_client.vbs
  ${CMAKE_BINARY_DIR}/bin/service_client.vbs COPYONLY)
add_wine_test(service_script_test
  SOURCES ${service_test_dir}/service_script_test.cpp
  LIBRARIES service_test_support)

# Wine's ReportEventA traces what it is given; the probe's entry must show up
# there with type 1 (error), id 0x6D (109) and its insertion string.
add_wine_test(service_event_trace_test NO_GTEST_MAIN
  SOURCES ${service_test_dir}/event_trace_probe.cpp
  LIBRARIES service_test_support
  ENVIRONMENT WINEDEBUG=-all,+eventlog,fixme+advapi)
set_tests_properties(${QUARENT_WINE_TEST}.service_event_trace_test PROPERTIES
  PASS_REGULAR_EXPRESSION "ReportEventA \\([0-9A-Fa-f]+,0x0001,0x0000,0x0000006d,[^\n]*\n[^\n]*ReportEventW[^\n]*\n[^\n]*eventlog:ReportEventW L\"probe text\"[^\n]*\n[^\n]*LogEvent 0x00000000 -1")

add_wine_test(service_install_test
  SOURCES ${service_test_dir}/service_install_test.cpp
  LIBRARIES service_test_support)

# The same object in a double-byte system code page (932).
add_wine_test(service_code_page_test
  SOURCES ${service_test_dir}/service_code_page_test.cpp
  LIBRARIES service_test_support
  ENVIRONMENT LC_ALL=ja_JP.UTF-8)
