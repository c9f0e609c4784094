# Demonstration programs of QRNNTSrv: a service built on QUARENT.QRNOrtivo and
# a controller that drives it through the service control manager.
add_executable(quarent_demo_service ${CMAKE_CURRENT_LIST_DIR}/demo_service.cpp)
target_link_libraries(quarent_demo_service PRIVATE QRNNTSrv_client ole32 oleaut32 uuid)
add_executable(quarent_demo_controller ${CMAKE_CURRENT_LIST_DIR}/demo_controller.cpp)
target_link_libraries(quarent_demo_controller PRIVATE advapi32)
configure_file(${CMAKE_CURRENT_LIST_DIR}/demo_settings.vbs ${CMAKE_BINARY_DIR}/bin/quarent_demo_settings.vbs
  COPYONLY)
