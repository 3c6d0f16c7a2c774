# The Debian package of the Linux programs (make dist): the Qt program,
# velnorka-cli, menu entry, icon, AppStream metainfo, man pages, and the
# copyright and changelog files that Debian asks for.
set(VELNORKA_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/${PROJECT_NAME})
set(generated ${PROJECT_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${generated})

# Debian's copyright format: the licence text indented, empty lines as " .".
file(READ ${PROJECT_SOURCE_DIR}/LICENSE licence)
string(REGEX REPLACE "\n$" "" licence "${licence}")
string(REGEX REPLACE "\n\n" "\n.\n" licence "${licence}")
string(REGEX REPLACE "\n" "\n " licence "${licence}")
file(READ ${PROJECT_SOURCE_DIR}/packaging/debian/copyright.in copyright)
file(WRITE ${generated}/copyright "${copyright} ${licence}\n")

execute_process(COMMAND date -u -R -d "${VELNORKA_RELEASE_DATE} 12:00"
                OUTPUT_VARIABLE VELNORKA_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE)
configure_file(${PROJECT_SOURCE_DIR}/packaging/debian/changelog.in ${generated}/changelog @ONLY)

# Compressed without a time stamp, as Debian wants them.
set(compressed)
foreach(source docs/velnorka-cli.1 docs/velnorka.1 ${generated}/changelog)
  get_filename_component(name ${source} NAME)
  get_filename_component(source ${source} ABSOLUTE BASE_DIR ${PROJECT_SOURCE_DIR})
  if(name MATCHES "\\.1$")
    configure_file(${source} ${generated}/${name} @ONLY)
  endif()
  add_custom_command(OUTPUT ${generated}/${name}.gz
    COMMAND gzip -9nc ${generated}/${name} > ${generated}/${name}.gz
    DEPENDS ${generated}/${name}
    VERBATIM)
  list(APPEND compressed ${generated}/${name}.gz)
endforeach()
add_custom_target(velnorka_package_files ALL DEPENDS ${compressed})

install(FILES ${generated}/velnorka-cli.1.gz ${generated}/velnorka.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${generated}/copyright ${generated}/changelog.gz DESTINATION ${VELNORKA_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VENDOR "Velnorka developers")
set(CPACK_PACKAGE_CONTACT "Velnorka developers <velnorka@velnorka.cz>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "worksheets of rounding exercises with an answer key")
# The long description; CPack puts the summary above it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Velnorka writes worksheets of rounding exercises for Czech schools: whole
numbers, decimal numbers or a mix, with the answer key below. The sheet
appears in one text box, from where a button copies it for pasting into a
document. The package holds the desktop program (Qt 6) and velnorka-cli,
which prints the same sheets on the command line.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://velnorka.cz/)
# Dependencies from the libraries the programs link (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/package)
include(CPack)
