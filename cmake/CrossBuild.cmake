# Windows build (MinGW-w64 i686): the component DLLs and the test clients that
# run under Wine. Everything is linked statically so that a DLL imports only
# system DLLs.
enable_language(RC)

# Win32 structures are customarily filled partly ({sizeof s}), the rest zero.
add_compile_options(-Wall -Wextra -Wno-unknown-pragmas -Wno-missing-field-initializers)
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501 WINVER=0x0501)
add_link_options(-static -static-libgcc -static-libstdc++)

set(QUARENT_WINE_RUNNER ${CMAKE_SOURCE_DIR}/tests/wine/run-in-prefix.sh)
set(CMAKE_CROSSCOMPILING_EMULATOR ${QUARENT_WINE_RUNNER})
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

include(${CMAKE_CURRENT_LIST_DIR}/ComComponent.cmake)

quarent_watch_components(${CMAKE_SOURCE_DIR})
foreach(component IN LISTS QUARENT_COMPONENTS)
  if(EXISTS ${CMAKE_SOURCE_DIR}/${component}/CMakeLists.txt)
    add_subdirectory(${component})
  endif()
endforeach()
add_subdirectory(tests/wine)
if(EXISTS ${CMAKE_SOURCE_DIR}/demo/CMakeLists.txt)
  add_subdirectory(demo)
endif()
if(EXISTS ${CMAKE_SOURCE_DIR}/benchmarks/CMakeLists.txt)
  add_subdirectory(benchmarks)
endif()
