# Windows build (MinGW-w64, i686 or x86_64 by the toolchain file): the component
# DLLs and the test clients that run under Wine. Everything is linked statically
# so that a DLL imports only system DLLs.
enable_language(RC)

# x86 or x64: names the folders of this architecture's install tree and tests.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(QUARENT_ARCH x64)
else()
  set(QUARENT_ARCH x86)
endif()

# Win32 structures are customarily filled partly ({sizeof s}), the rest zero.
add_compile_options(-Wall -Wextra -Wno-unknown-pragmas -Wno-missing-field-initializers)
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501 WINVER=0x0501)
add_link_options(-static -static-libgcc -static-libstdc++)

set(QUARENT_WINE_RUNNER ${CMAKE_SOURCE_DIR}/tests/wine/run-in-prefix.sh)
set(CMAKE_CROSSCOMPILING_EMULATOR ${QUARENT_WINE_RUNNER})
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
add_subdirectory(${QUARENT_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

include(${CMAKE_CURRENT_LIST_DIR}/ComComponent.cmake)

add_subdirectory(common)
add_subdirectory(sharedmem)
add_subdirectory(barcode)
add_subdirectory(log)
add_subdirectory(service)
add_subdirectory(installer)
add_subdirectory(tests/wine)
add_subdirectory(demo)
add_subdirectory(benchmarks)
