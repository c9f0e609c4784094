# Barcode benchmarks (included from benchmarks/CMakeLists.txt by both builds): on the host the
# encoders against Zint, on Windows DrawToDC against plain GDI (run under Wine).
if(NOT WIN32)
  # Figures must come from optimised code without sanitizers, which the host build puts on
  # every target: drop them here and build the measured libraries again for the benchmarks.
  foreach(property COMPILE_OPTIONS LINK_OPTIONS)
    get_property(options DIRECTORY PROPERTY ${property})
    list(REMOVE_ITEM options ${QUARENT_SANITIZE})
    set_property(DIRECTORY PROPERTY ${property} ${options})
  endforeach()

  # add_benchmark_library(<library>): <library>_for_benchmarks, the same sources and public include
  # folders as <library>, built without sanitizers.
  function(add_benchmark_library library)
    get_target_property(sources ${library} SOURCES)
    get_target_property(folder ${library} SOURCE_DIR)
    set(paths)
    foreach(source IN LISTS sources)
      if(IS_ABSOLUTE ${source})
        list(APPEND paths ${source})
      else()
        list(APPEND paths ${folder}/${source})
      endif()
    endforeach()
    add_library(${library}_for_benchmarks STATIC ${paths})
    target_include_directories(${library}_for_benchmarks PUBLIC
      $<TARGET_PROPERTY:${library},INTERFACE_INCLUDE_DIRECTORIES>)
    target_compile_features(${library}_for_benchmarks PUBLIC cxx_std_17)
  endfunction()

  find_path(ZINT_INCLUDE_DIR zint.h)
  find_library(ZINT_LIBRARY zint)
  if(ZINT_INCLUDE_DIR AND ZINT_LIBRARY)
    add_benchmark_library(barcode_encoders)
    add_executable(barcode_encoders_benchmark ${CMAKE_CURRENT_LIST_DIR}/barcode_encoders.cpp)
    target_include_directories(barcode_encoders_benchmark PRIVATE ${ZINT_INCLUDE_DIR})
    target_link_libraries(barcode_encoders_benchmark PRIVATE barcode_encoders_for_benchmarks ${ZINT_LIBRARY})
  else()
    message(STATUS "Zint not found (package libzint-dev): barcode_encoders_benchmark is skipped")
  endif()
endif()

if(WIN32)
  add_executable(barcode_draw_benchmark ${CMAKE_CURRENT_LIST_DIR}/draw_to_dc.cpp)
  target_link_libraries(barcode_draw_benchmark PRIVATE QRNBC10_client barcode_encoders ole32 oleaut32 uuid gdi32)
  set_target_properties(barcode_draw_benchmark PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
endif()
