# debian_package.cmake: the install rules of the native programs and their Debian package.
#
# "cpack -G DEB" (tools/test-package-deb.sh) makes quirnctl_VERSION-1_ARCH.deb of quirnctl and
# quirn-sim, stripped, with their manual pages, quirnctl's bash completion, the copyright file
# and the Debian changelog. Included from the top level for a native build only.
include(GNUInstallDirs)

# Installing (and so cpack) builds nothing: whoever packages builds the packaged targets first,
# without having to build every test of the tree.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(QUIRN_DEB_NAME quirnctl)
set(QUIRN_DEB_MAINTAINER "Quirn Mobile Tool maintainers <quirn@vandrel.example>")
set(deb_dir ${CMAKE_BINARY_DIR}/deb)
set(deb_source ${PROJECT_SOURCE_DIR}/packaging/deb)

# The changelog's newest entry is this version's: "quirnctl (2.0.7-1) unstable; ...".
file(STRINGS ${deb_source}/changelog changelog_head LIMIT_COUNT 1)
if(NOT changelog_head MATCHES "^${QUIRN_DEB_NAME} \\(([0-9.]+)-([0-9]+)\\) ")
    message(FATAL_ERROR "packaging/deb/changelog does not start with a ${QUIRN_DEB_NAME} entry")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
    message(FATAL_ERROR "packaging/deb/changelog's newest entry is ${CMAKE_MATCH_1}, the project "
                        "is ${PROJECT_VERSION}: add an entry for this version")
endif()
set(QUIRN_DEB_RELEASE ${CMAKE_MATCH_2})

# The copyright line is the one the programs carry (res/version.h), without its "Copyright (C)".
file(STRINGS ${PROJECT_SOURCE_DIR}/res/version.h copyright_line
     REGEX "^#define QUIRN_COPYRIGHT_TEXT ")
string(REGEX REPLACE "^.*\"Copyright \\(C\\) ([^\"]+)\".*$" "\\1" QUIRN_DEB_COPYRIGHT
       "${copyright_line}")
configure_file(${deb_source}/copyright.in ${deb_dir}/copyright @ONLY)

# Debian wants the manual pages and the changelog compressed with gzip -9n (no name or time
# stamp inside, so the package's bytes do not change with the build's time).
find_program(QUIRN_GZIP gzip REQUIRED)
set(gzipped)
foreach(source IN ITEMS man/quirnctl.1 man/quirn-sim.1 packaging/deb/changelog)
    get_filename_component(name ${source} NAME)
    if(name STREQUAL "changelog")
        set(name changelog.Debian)
    endif()
    add_custom_command(OUTPUT ${deb_dir}/${name}.gz
        COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/${source} ${deb_dir}/${name}
        COMMAND ${QUIRN_GZIP} -9nf ${deb_dir}/${name}
        DEPENDS ${PROJECT_SOURCE_DIR}/${source}
        VERBATIM)
    list(APPEND gzipped ${deb_dir}/${name}.gz)
endforeach()
add_custom_target(quirn_deb_files ALL DEPENDS ${gzipped})

install(TARGETS quirnctl quirn-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${deb_dir}/quirnctl.1.gz ${deb_dir}/quirn-sim.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/completion/quirnctl
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/bash-completion/completions)
install(FILES ${deb_dir}/copyright ${deb_dir}/changelog.Debian.gz
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${QUIRN_DEB_NAME})
install(FILES ${deb_source}/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides RENAME ${QUIRN_DEB_NAME})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${QUIRN_DEB_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_CONTACT ${QUIRN_DEB_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${QUIRN_DEB_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_RELEASE ${QUIRN_DEB_RELEASE})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Depends from the libraries the programs link (dpkg-shlibdeps, of dpkg-dev).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "command-line client of the Quirn pocket router, and a router simulator")
# The extended description; CPack puts the summary above it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "quirnctl reads the Quirn pocket router's status through its web administration
interface (battery, radio strength, connection, WAN address, firmware and the
month's data volume) as text, JSON, Prometheus metrics or a template of the
user's, polls it repeatedly, and reboots the router, puts it to standby,
switches its preferred connection, checks the Internet through it and sets its
first administrator password.
.
quirn-sim is a router simulator on a local address, with scenarios and faults,
for trying quirnctl and scripts without a router.")
include(CPack)
