# The log window's part of the demonstration: a client that logs, filters, saves and shows its dialogs.
add_executable(log_demo ${CMAKE_CURRENT_LIST_DIR}/log_demo.cpp)
target_link_libraries(log_demo PRIVATE BrnLog_client ole32 oleaut32 uuid comctl32)
