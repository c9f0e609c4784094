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
endif()

if(QUARENT_TEST_PACKAGES)
  set(package_environment
    QUARENT_PACKAGE=${QUARENT_TEST_PACKAGES}/QUARENT-Toolkit-${PROJECT_VERSION}-${QUARENT_ARCH}.msi
    QUARENT_OLDER_PACKAGE=${QUARENT_TEST_PACKAGES}/QUARENT-Toolkit-${older_version}-${QUARENT_ARCH}.msi
    QUARENT_PACKAGE_VERSION=${PROJECT_VERSION}
    QUARENT_DIST=${CMAKE_INSTALL_PREFIX})
  add_wine_test(installer_package
    SOURCES installer/package_test.cpp
    ARGS --gtest_filter=Package.*
    TIMEOUT 900
    ENVIRONMENT ${package_environment})
  set_property(TEST ${QUARENT_WINE_TEST}.installer_package APPEND PROPERTY FIXTURES_REQUIRED quarent_packages)
  # The 32-bit script host and regsvr32 beside the 64-bit package.
  if(QUARENT_ARCH STREQUAL x64)
    add_test(NAME ${QUARENT_WINE_TEST}.installer_package_32bit
      COMMAND installer_package --gtest_filter=PackageWith32BitPrograms.*)
    declare_wine_test(installer_package_32bit NEEDS_32BIT TIMEOUT 900 ENVIRONMENT ${package_environment})
    set_property(TEST ${QUARENT_WINE_TEST}.installer_package_32bit APPEND PROPERTY FIXTURES_REQUIRED quarent_packages)
  endif()
endif()
