# Helpers shared by the Wine test clients (included from tests/wine/CMakeLists.txt).
add_library(wine_test_support STATIC
  ${CMAKE_CURRENT_LIST_DIR}/allocation_counter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/com_client.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dialog_watcher.cpp
  ${CMAKE_CURRENT_LIST_DIR}/each_class_script.cpp
  ${CMAKE_CURRENT_LIST_DIR}/event_recorder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/import_hook.cpp
  ${CMAKE_CURRENT_LIST_DIR}/processes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/registration_check.cpp
  ${CMAKE_CURRENT_LIST_DIR}/registry_reader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/registry_tree.cpp
  ${CMAKE_CURRENT_LIST_DIR}/type_library_reader.cpp)
target_include_directories(wine_test_support PUBLIC ${CMAKE_CURRENT_LIST_DIR} ${CMAKE_SOURCE_DIR})
target_link_libraries(wine_test_support PUBLIC gtest quarent_class_registration ole32 oleaut32 uuid advapi32 user32 gdi32)
target_compile_definitions(wine_test_support PRIVATE QUARENT_TEST_SCRIPTS="${CMAKE_SOURCE_DIR}/tests/scripts")
