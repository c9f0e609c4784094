# Wine tests of the barcode control QRNBC10 (included from tests/wine/CMakeLists.txt).
add_library(barcode_test_support STATIC
  ${CMAKE_CURRENT_LIST_DIR}/canvas.cpp
  ${CMAKE_CURRENT_LIST_DIR}/persistence_support.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_container.cpp)
target_include_directories(barcode_test_support PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(barcode_test_support PUBLIC wine_test_support QRNBC10_client)

add_wine_test(barcode_control_properties
  SOURCES barcode/control_properties_test.cpp
  LIBRARIES barcode_test_support version)

add_wine_test(barcode_control_container
  SOURCES barcode/control_container_test.cpp
  LIBRARIES barcode_test_support)

add_wine_test(barcode_control_drawing
  SOURCES barcode/control_drawing_test.cpp
  LIBRARIES barcode_test_support barcode_encoders)

add_wine_test(barcode_control_persistence
  SOURCES barcode/control_persistence_test.cpp
  LIBRARIES barcode_test_support)

add_wine_test(barcode_property_page
  SOURCES barcode/property_page_test.cpp
  LIBRARIES barcode_test_support)

# The rendered bitmaps are read back by zbar's decoder on the Linux side.
add_wine_helper(barcode_scan_render
  SOURCES barcode/scan_render.cpp
  LIBRARIES barcode_test_support)
add_test(NAME ${QUARENT_WINE_TEST}.barcode_scan
  COMMAND ${CMAKE_CURRENT_LIST_DIR}/scan-check.sh ${QUARENT_WINE_RUNNER} $<TARGET_FILE:barcode_scan_render>
          ${CMAKE_CURRENT_BINARY_DIR}/barcode_scan)
declare_wine_test(barcode_scan)

# Saved forms across architectures: the peer program is built in both, and the
# 64-bit build's test runs the 32-bit one beside its own.
add_wine_helper(barcode_persistence_peer
  SOURCES barcode/persistence_peer.cpp
  LIBRARIES barcode_test_support)
target_link_options(barcode_persistence_peer PRIVATE -municode)
if(QUARENT_PEER_BIN)
  add_wine_test(barcode_persistence_across NEEDS_32BIT
    SOURCES barcode/persistence_across_test.cpp
    LIBRARIES barcode_test_support
    ENVIRONMENT QUARENT_PEER_BIN=${QUARENT_PEER_BIN})
  add_dependencies(barcode_persistence_across barcode_persistence_peer)
endif()
