# What a system installation carries besides the program: the AppStream
# metainfo, the manual page and the Debian documentation files.

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
