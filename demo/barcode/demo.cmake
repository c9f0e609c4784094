# Barcode demonstration: every style rendered through DrawToDC into an image file.
add_executable(barcode_demo ${CMAKE_CURRENT_LIST_DIR}/barcode_demo.cpp)
target_link_libraries(barcode_demo PRIVATE QRNBC10_client ole32 oleaut32 uuid gdi32)
