# Native Linux build: portable cores and their unit tests under AddressSanitizer
# and UndefinedBehaviorSanitizer; fuzz targets when the compiler is clang.
option(QUARENT_CROSS_BUILD "Also build the Windows DLLs and their Wine tests" ON)

set(QUARENT_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
add_compile_options(-Wall -Wextra ${QUARENT_SANITIZE})
add_link_options(${QUARENT_SANITIZE})

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  set(QUARENT_FUZZING ON)
else()
  set(QUARENT_FUZZING OFF)
  message(STATUS "Fuzz targets need clang; they are skipped with ${CMAKE_CXX_COMPILER_ID}")
endif()

quarent_watch_components(${CMAKE_SOURCE_DIR})
foreach(component IN LISTS QUARENT_COMPONENTS)
  if(EXISTS ${CMAKE_SOURCE_DIR}/${component}/CMakeLists.txt)
    add_subdirectory(${component})
  endif()
endforeach()
add_subdirectory(tests/unit)
if(QUARENT_FUZZING)
  add_subdirectory(tests/fuzz)
endif()
if(EXISTS ${CMAKE_SOURCE_DIR}/benchmarks/CMakeLists.txt)
  add_subdirectory(benchmarks)
endif()

if(QUARENT_CROSS_BUILD)
  include(ExternalProject)
  set(QUARENT_CROSS_DIR ${CMAKE_BINARY_DIR}/cross)
  ExternalProject_Add(windows
    SOURCE_DIR ${CMAKE_SOURCE_DIR}
    BINARY_DIR ${QUARENT_CROSS_DIR}
    CMAKE_GENERATOR ${CMAKE_GENERATOR}
    CMAKE_ARGS
      -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/mingw-i686.cmake
      -DCMAKE_BUILD_TYPE=Release
      -DCMAKE_INSTALL_PREFIX=${CMAKE_BINARY_DIR}/dist
    BUILD_ALWAYS ON
    USES_TERMINAL_BUILD ON
    INSTALL_COMMAND ${CMAKE_COMMAND} --install ${QUARENT_CROSS_DIR})

  # The Wine tests are all declared in one directory of the cross build; ctest
  # picks them up from there once that build has been configured.
  set(cross_tests ${QUARENT_CROSS_DIR}/tests/wine/CTestTestfile.cmake)
  file(WRITE ${CMAKE_BINARY_DIR}/WineTests.cmake
    "if(EXISTS \"${cross_tests}\")\n  include(\"${cross_tests}\")\nendif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${CMAKE_BINARY_DIR}/WineTests.cmake)
endif()
