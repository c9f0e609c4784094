# Wine tests of BrnLog.dll (included from tests/wine/CMakeLists.txt).
set(log_test_dir ${CMAKE_CURRENT_LIST_DIR})
add_library(log_test_client STATIC ${log_test_dir}/log_client.cpp)
target_include_directories(log_test_client PUBLIC ${log_test_dir})
target_link_libraries(log_test_client PUBLIC wine_test_support BrnLog_client comctl32)

add_wine_test(log_object_test SOURCES ${log_test_dir}/log_object_test.cpp LIBRARIES log_test_client)
add_wine_test(log_window_test SOURCES ${log_test_dir}/log_window_test.cpp LIBRARIES log_test_client)
add_wine_test(log_reentrancy_test SOURCES ${log_test_dir}/log_reentrancy_test.cpp LIBRARIES log_test_client)
add_wine_test(log_dialogs_test SOURCES ${log_test_dir}/log_dialogs_test.cpp LIBRARIES log_test_client)
add_wine_test(log_interface_test SOURCES ${log_test_dir}/log_interface_test.cpp LIBRARIES log_test_client)

# The script is read from the source tree through Wine's Z: drive.
string(REPLACE "/" "\\" log_script "Z:${CMAKE_SOURCE_DIR}/tests/scripts/log/log_client.vbs")
add_wine_test(log_script_test SOURCES ${log_test_dir}/log_script_test.cpp LIBRARIES log_test_client
  NO_GTEST_MAIN ARGS ${log_script})
