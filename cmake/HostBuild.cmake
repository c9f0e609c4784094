# Native Linux build: portable cores and their unit tests under AddressSanitizer
# and UndefinedBehaviorSanitizer; fuzz targets when the compiler is clang.
option(QUARENT_CROSS_BUILD "Also build the Windows DLLs and their Wine tests" ON)

set(QUARENT_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
add_compile_options(-Wall -Wextra ${QUARENT_SANITIZE})
add_link_options(${QUARENT_SANITIZE})

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${QUARENT_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  set(QUARENT_FUZZING ON)
else()
  set(QUARENT_FUZZING OFF)
  message(STATUS "Fuzz targets need clang; they are skipped with ${CMAKE_CXX_COMPILER_ID}")
endif()

add_subdirectory(common)
add_subdirectory(sharedmem)
add_subdirectory(barcode)
add_subdirectory(log)
add_subdirectory(service)
add_subdirectory(tests/unit)
if(QUARENT_FUZZING)
  add_subdirectory(tests/fuzz)
endif()
add_subdirectory(benchmarks)

# The Windows cross builds, one per architecture, each with its own install tree
# under dist/<Component>/<x86|x64>/. The 64-bit build comes second and is told
# where the 32-bit programs are, for the tests in which both take part.
if(QUARENT_CROSS_BUILD)
  include(ExternalProject)
  set(cross_root ${CMAKE_BINARY_DIR}/cross)
  set(wine_test_files)
  foreach(arch x86 x64)
    if(arch STREQUAL x86)
      set(toolchain mingw-i686.cmake)
      set(extra_arguments)
      set(depends)
    else()
      set(toolchain mingw-x86_64.cmake)
      set(extra_arguments -DQUARENT_PEER_BIN=${cross_root}/x86/bin)
      set(depends DEPENDS windows-x86)
    endif()
    ExternalProject_Add(windows-${arch}
      SOURCE_DIR ${CMAKE_SOURCE_DIR}
      BINARY_DIR ${cross_root}/${arch}
      CMAKE_GENERATOR ${CMAKE_GENERATOR}
      CMAKE_ARGS
        -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/${toolchain}
        -DCMAKE_BUILD_TYPE=Release
        -DCMAKE_INSTALL_PREFIX=${CMAKE_BINARY_DIR}/dist
        -DQUARENT_GTEST_SOURCE=${QUARENT_GTEST_SOURCE}
        -DQUARENT_WINE_INCLUDE=${QUARENT_WINE_INCLUDE}
        -DQUARENT_TEST_PACKAGES=${cross_root}/test-packages
        ${extra_arguments}
      ${depends}
      BUILD_ALWAYS ON
      USES_TERMINAL_BUILD ON
      INSTALL_COMMAND ${CMAKE_COMMAND} --install ${cross_root}/${arch})
    list(APPEND wine_test_files ${cross_root}/${arch}/tests/wine/CTestTestfile.cmake)
  endforeach()

  # The Wine tests are all declared in one directory of each cross build; ctest
  # picks them up from there once that build has been configured.
  set(include_lines)
  foreach(file IN LISTS wine_test_files)
    string(APPEND include_lines "if(EXISTS \"${file}\")\n  include(\"${file}\")\nendif()\n")
  endforeach()
  file(WRITE ${CMAKE_BINARY_DIR}/WineTests.cmake "${include_lines}")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${CMAKE_BINARY_DIR}/WineTests.cmake)
endif()
