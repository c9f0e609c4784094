# add_com_component(<name>
#     IDL <file.idl> RC <file.rc> REGISTRATION <file.cpp> [DEF <file.def>]
#     SOURCES <files...> LIBRARIES <libs...>)
#
# Builds <name>.dll, an in-process component server: the IDL is compiled by widl
# into <name>.tlb (embedded by the .rc as TYPELIB resource 1), <name>_h.h and
# <name>_i.c (the interface and class identifiers); cmake/complete-typelib.pl then
# adds to the type library what widl cannot write (enumeration member help
# strings, OLE_COLOR parameters). REGISTRATION is the file that describes how
# the classes are registered; it becomes <name>_registration, which the DLL, its
# test clients and the registry listing share. The install step copies the
# DLL with the IDL, type library and generated header/identifiers into
# <name>/<x86|x64>/.
# The type library is built for the DLL's architecture (SYS_WIN32 or SYS_WIN64),
# importing the standard OLE library of the same architecture.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(QUARENT_WIDL_FLAGS --win64 -D_WIN64 -L/usr/lib/x86_64-linux-gnu/wine/x86_64-windows)
else()
  set(QUARENT_WIDL_FLAGS --win32 -L/usr/lib/i386-linux-gnu/wine/i386-windows)
endif()
list(APPEND QUARENT_WIDL_FLAGS -I${QUARENT_WINE_INCLUDE})

function(add_com_component name)
  cmake_parse_arguments(ARG "" "IDL;RC;DEF;REGISTRATION" "SOURCES;LIBRARIES" ${ARGN})
  set(gen ${CMAKE_CURRENT_BINARY_DIR}/generated)
  file(MAKE_DIRECTORY ${gen})
  get_filename_component(idl ${ARG_IDL} ABSOLUTE)
  add_custom_command(
    OUTPUT ${gen}/${name}.tlb ${gen}/${name}_h.h ${gen}/${name}_i.c
    COMMAND ${QUARENT_WIDL} ${QUARENT_WIDL_FLAGS} -I${CMAKE_CURRENT_SOURCE_DIR}
            -t -T ${gen}/${name}.tlb -h -H ${gen}/${name}_h.h -u -U ${gen}/${name}_i.c ${idl}
    COMMAND perl ${CMAKE_SOURCE_DIR}/cmake/fix-typelib-guid.pl ${idl} ${gen}/${name}.tlb
    COMMAND perl ${CMAKE_SOURCE_DIR}/cmake/complete-typelib.pl ${idl} ${gen}/${name}.tlb
    DEPENDS ${idl} ${CMAKE_SOURCE_DIR}/cmake/fix-typelib-guid.pl ${CMAKE_SOURCE_DIR}/cmake/complete-typelib.pl
    COMMENT "widl ${name}.idl")

  get_filename_component(rc ${ARG_RC} ABSOLUTE)
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${gen}/${name}.tlb)
  if(ARG_DEF)
    get_filename_component(def ${ARG_DEF} ABSOLUTE)
  else()
    set(def ${CMAKE_SOURCE_DIR}/common/component.def)
  endif()

  # The identifiers it refers to come from <name>_i.c in whatever links it.
  add_library(${name}_registration STATIC ${ARG_REGISTRATION} ${gen}/${name}_h.h)
  target_include_directories(${name}_registration PUBLIC ${gen} ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${name}_registration PUBLIC quarent_class_registration)

  add_library(${name} SHARED ${ARG_SOURCES} ${rc} ${def} ${gen}/${name}_i.c
    $<TARGET_OBJECTS:quarent_module_entry>)
  set_target_properties(${name} PROPERTIES PREFIX "" OUTPUT_NAME ${name} QUARENT_TYPE_LIBRARY ${gen}/${name}.tlb)
  target_include_directories(${name} PRIVATE ${gen} ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${name}_registration quarent_common ${ARG_LIBRARIES})
  target_link_options(${name} PRIVATE -Wl,--kill-at -Wl,--enable-stdcall-fixup)

  # Test clients bind early through the generated header and identifiers.
  add_library(${name}_client INTERFACE)
  target_include_directories(${name}_client INTERFACE ${gen})
  target_sources(${name}_client INTERFACE ${gen}/${name}_i.c)
  target_link_libraries(${name}_client INTERFACE ${name}_registration)
  add_dependencies(${name}_client ${name})

  # Each architecture's folder is complete in itself: the 64-bit type library and
  # header differ from the 32-bit ones where the interface carries addresses.
  install(TARGETS ${name} RUNTIME DESTINATION ${name}/${QUARENT_ARCH} LIBRARY DESTINATION ${name}/${QUARENT_ARCH})
  install(FILES ${idl} ${gen}/${name}.tlb ${gen}/${name}_h.h ${gen}/${name}_i.c DESTINATION ${name}/${QUARENT_ARCH})
endfunction()
