# What a system installation carries besides the program: the AppStream
# metainfo, the manual page and the Debian documentation files; then the
# settings of the Debian package that scripts/package makes with CPack.

# Manual page and changelog are installed compressed with gzip -9n: the best
# compression and no name or time in the header, as Debian asks.
find_program(TRIVYRHNIK_GZIP gzip REQUIRED)
set(_compressed)
foreach(_pair "docs/trivyrhnik.1:trivyrhnik.1" "packaging/changelog:changelog")
    string(REPLACE ":" ";" _pair "${_pair}")
    list(GET _pair 0 _source)
    list(GET _pair 1 _name)
    set(_copy ${CMAKE_CURRENT_BINARY_DIR}/packaging/${_name})
    add_custom_command(OUTPUT ${_copy}.gz
        COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/${_source} ${_copy}
        COMMAND ${TRIVYRHNIK_GZIP} -9nf ${_copy}
        DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${_source}
        VERBATIM)
    list(APPEND _compressed ${_copy}.gz)
endforeach()
add_custom_target(trivyrhnik_compressed_docs ALL DEPENDS ${_compressed})
# Building the program alone is enough for an installation.
add_dependencies(trivyrhnik trivyrhnik_compressed_docs)

install(FILES resources/org.example.Trivyrhnik.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/packaging/trivyrhnik.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES packaging/copyright ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME trivyrhnik)
set(CPACK_PACKAGE_VENDOR "The Trivyrhnik developers")
set(CPACK_PACKAGE_CONTACT "The Trivyrhnik developers <trivyrhnik@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "plane analytic geometry of a triangle, worked step by step")
set(CPACK_PACKAGE_DESCRIPTION
"A teaching program for plane analytic geometry with a Bulgarian user
interface. The pupil clicks three points onto the drawing surface and the
program writes a worked solution about their triangle: the determinant and
the area, the sides and their line equations, the midpoints, the perimeter,
Heron's formula, both radii, the type of the triangle and the circumcentre
by Cramer's rule. The midpoints, the outline and the circles are drawn.

The decimal separator of the report follows the regional settings.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://example.org/trivyrhnik/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries from dpkg-shlibdeps; the window's font (Times New Roman,
# matched by Liberation Serif) is not a linked library.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-liberation)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
