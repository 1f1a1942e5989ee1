# The packages a user installs, written by CPack:
# - Linux: a Debian package (dynamic program, Debian's layout and
#   documentation) and a .tar.gz for any x86-64 Linux (static program, man
#   page, README, LICENSE in one folder);
# - Windows: a zip with tavro.exe, LICENSE.txt and README.txt (CR LF).
# Each generator packs one install component; per_generator.cmake picks it.

set(CPACK_PACKAGE_NAME tavro)
set(CPACK_PACKAGE_VENDOR "The TAVRO developers")
set(CPACK_PACKAGE_CONTACT "TAVRO developers <tavro@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "check a flexible shaft coupling by the rules of DIN 740")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CHECKSUM SHA256)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/per_generator.cmake)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
  set(CPACK_PACKAGE_FILE_NAME tavro-${PROJECT_VERSION}-windows-x86_64)
  configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_BINARY_DIR}/LICENSE.txt
                 @ONLY NEWLINE_STYLE CRLF)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/README.txt ${PROJECT_BINARY_DIR}/README.txt
                 @ONLY NEWLINE_STYLE CRLF)
  install(TARGETS tavro RUNTIME DESTINATION . COMPONENT windows EXCLUDE_FROM_ALL)
  install(FILES ${PROJECT_BINARY_DIR}/LICENSE.txt ${PROJECT_BINARY_DIR}/README.txt
          DESTINATION . COMPONENT windows EXCLUDE_FROM_ALL)
  include(CPack)
  return()
endif()

set(CPACK_GENERATOR DEB TGZ)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
set(CPACK_PACKAGE_FILE_NAME tavro-${PROJECT_VERSION}-linux-x86_64)

# The archive: the program linked statically, so it runs on any x86-64 Linux.
add_executable(tavro_static app/main.cpp)
target_link_libraries(tavro_static PRIVATE tavro_core)
target_link_options(tavro_static PRIVATE -static)
set_target_properties(tavro_static PROPERTIES OUTPUT_NAME tavro
                      RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/static)
install(TARGETS tavro_static RUNTIME DESTINATION . COMPONENT archive EXCLUDE_FROM_ALL)
install(FILES man/tavro.1 README.md LICENSE DESTINATION . COMPONENT archive EXCLUDE_FROM_ALL)

# The Debian package: Debian's policy wants a dynamic program, compressed
# man page and changelog, and the licence in Debian's copyright format.
find_program(GZIP gzip REQUIRED)
foreach(file man/tavro.1 packaging/changelog)
  get_filename_component(name ${file} NAME)
  add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/deb/${name}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/deb
    COMMAND ${GZIP} -9 -n -c ${PROJECT_SOURCE_DIR}/${file} > ${PROJECT_BINARY_DIR}/deb/${name}.gz
    DEPENDS ${PROJECT_SOURCE_DIR}/${file} VERBATIM)
  list(APPEND TAVRO_DEB_FILES ${PROJECT_BINARY_DIR}/deb/${name}.gz)
endforeach()
add_custom_target(deb_files ALL DEPENDS ${TAVRO_DEB_FILES})
install(TARGETS tavro RUNTIME DESTINATION bin COMPONENT deb EXCLUDE_FROM_ALL)
install(FILES ${PROJECT_BINARY_DIR}/deb/tavro.1.gz DESTINATION share/man/man1
        COMPONENT deb EXCLUDE_FROM_ALL)
install(FILES ${PROJECT_BINARY_DIR}/deb/changelog.gz packaging/copyright
        DESTINATION share/doc/tavro COMPONENT deb EXCLUDE_FROM_ALL)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_NAME tavro)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE http://www.example.com/tavro)
# The extended description; CPack puts the summary line above it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "A console program for mechanical engineers: describe one drive train (load
torque, speed, excitation order, moments of inertia, shock and exciting
torques, the coupling's catalogue values and three service factors), and it
computes what the coupling has to carry and prints six verdicts: nominal
torque, shocks from either side, passage through resonance, continuous
alternating torque and damping power. The menu and the results are in
German.")
include(CPack)
