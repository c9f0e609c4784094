# Wine tests of installing the toolkit: the type library entries that every
# way of registering derives, per-user registration, registration-free use and
# the installer packages.
add_wine_test(type_library_entries
  SOURCES installer/type_library_entries_test.cpp
  LIBRARIES quarent_assembly_manifest)
add_wine_test(per_user_registration
  SOURCES installer/per_user_registration_test.cpp
  LIBRARIES quarent_assembly_manifest)
add_wine_test(registration_free NO_GTEST_MAIN
  SOURCES installer/registration_free_test.cpp
  LIBRARIES quarent_assembly_manifest)

# The packages are made once per test run by the 64-bit build, whose tool
# prints the rows of both architectures, beside an older version of each for
# the upgrade test; each build's package test installs its own architecture's.
if(QUARENT_ARCH STREQUAL x64 AND NOT QUARENT_TEST_PACKAGES)
  set(QUARENT_TEST_PACKAGES ${CMAKE_BINARY_DIR}/test-packages)
endif()
set(older_version 0.9)
if(QUARENT_ARCH STREQUAL x64)
  add_test(NAME ${QUARENT_WINE_TEST}.packages
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/installer/make-test-packages.sh ${CMAKE_INSTALL_PREFIX}
            $<TARGET_FILE:registration_text> ${QUARENT_TEST_PACKAGES} ${PROJECT_VERSION} ${older_version})
  declare_wine_test(packages TIMEOUT 900)
  set_property(TEST ${QUARENT_WINE_TEST}.packages APPEND PROPERTY FIXTURES_SETUP quarent_packages)
  add_test(NAME ${QUARENT_WINE_TEST}.packages_missing_dll
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/installer/missing-dll-test.sh ${CMAKE_INSTALL_PREFIX}
            $<TARGET_FILE:registration_text>)
endif()

if(QUARENT_TEST_PACKAGES)
  set(package_environment
    QUARENT_PACKAGE=${QUARENT_TEST_PACKAGES}/QUARENT-Toolkit-${PROJECT_VERSION}-${QUARENT_ARCH}.msi
    QUARENT_OLDER_PACKAGE=${QUARENT_TEST_PACKAGES}/QUARENT-Toolkit-${older_version}-${QUARENT_ARCH}.msi
    QUARENT_PACKAGE_VERSION=${PROJECT_VERSION}
    QUARENT_DIST=${CMAKE_INSTALL_PREFIX})
  # Each case in a prefix of its own, where nothing was installed before.
  add_executable(installer_package installer/package_test.cpp)
  target_link_libraries(installer_package PRIVATE wine_test_support gtest_main)
  function(add_package_test name filter)
    add_test(NAME ${QUARENT_WINE_TEST}.${name} COMMAND installer_package --gtest_filter=${filter})
    declare_wine_test(${name} ${ARGN} TIMEOUT 900 ENVIRONMENT ${package_environment})
    set_property(TEST ${QUARENT_WINE_TEST}.${name} APPEND PROPERTY FIXTURES_REQUIRED quarent_packages)
  endfunction()
  add_package_test(installer_package Package.InstallsRegistersAndRemovesCleanly)
  add_package_test(installer_upgrade Package.MajorUpgradeLeavesOneInstallation)
  if(QUARENT_ARCH STREQUAL x64)
    # The 32-bit script host and regsvr32 beside the 64-bit package.
    add_package_test(installer_package_32bit PackageWith32BitPrograms.* NEEDS_32BIT)
  endif()
endif()
