# The Debian package (make deb): everything under ZANTI_PAKET_PREFIX, the
# dependencies read from the binaries by dpkg-shlibdeps.
#
# Another program of the product goes into ZANTI_PAKET_PROGRAMME, another
# document into ZANTI_PAKET_DOKU; nothing else needs to change.
set(ZANTI_PAKET_VERSION 3.3.19) # the newest of the programs it carries
set(ZANTI_PAKET_PROGRAMME Zanti ZantiPC zanti_abrechnung_programm)
set(ZANTI_PAKET_DOKU README.md src/veranstaltung/schema_v1.sql src/veranstaltung/schema_v2.sql
    src/veranstaltung/kassenrolle.sql)

set(paket ${CMAKE_CURRENT_SOURCE_DIR}/paket)
set(doku ${CMAKE_INSTALL_DATADIR}/doc/zanti)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/paket/man)

install(TARGETS ${ZANTI_PAKET_PROGRAMME} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The virtual printer keeps its name in the build folder; installed it
# carries the product's prefix.
install(TARGETS virtueller_drucker RUNTIME DESTINATION libexec/zanti)
file(CREATE_LINK ../libexec/zanti/virtueller_drucker
     ${CMAKE_BINARY_DIR}/paket/zanti-virtueller-drucker SYMBOLIC)
install(FILES ${CMAKE_BINARY_DIR}/paket/zanti-virtueller-drucker DESTINATION ${CMAKE_INSTALL_BINDIR})
install(PROGRAMS ${paket}/zanti-stand DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${paket}/zanti-stand@.service DESTINATION lib/systemd/user)
install(FILES ${paket}/zanti.desktop ${paket}/zantipc.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${paket}/zanti.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${ZANTI_PAKET_DOKU} ${paket}/copyright DESTINATION ${doku})

# Debian wants the changelog and the manual pages packed without a time
# stamp and at the highest level.
find_program(GZIP gzip REQUIRED)
set(gepackt)
foreach(datei changelog man/Zanti.1 man/zanti-stand.1 man/zanti-virtueller-drucker.1)
  set(ziel ${CMAKE_BINARY_DIR}/paket/${datei}.gz)
  add_custom_command(OUTPUT ${ziel}
    COMMAND ${GZIP} -9nc ${paket}/${datei} > ${ziel}
    DEPENDS ${paket}/${datei} VERBATIM)
  list(APPEND gepackt ${ziel})
endforeach()
add_custom_target(paket_dateien ALL DEPENDS ${gepackt})
file(CREATE_LINK Zanti.1.gz ${CMAKE_BINARY_DIR}/paket/man/ZantiPC.1.gz SYMBOLIC)
install(FILES ${CMAKE_BINARY_DIR}/paket/changelog.gz DESTINATION ${doku})
install(FILES ${CMAKE_BINARY_DIR}/paket/man/Zanti.1.gz ${CMAKE_BINARY_DIR}/paket/man/ZantiPC.1.gz
              ${CMAKE_BINARY_DIR}/paket/man/zanti-stand.1.gz
              ${CMAKE_BINARY_DIR}/paket/man/zanti-virtueller-drucker.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zanti)
set(CPACK_PACKAGE_VERSION ${ZANTI_PAKET_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX ${ZANTI_PAKET_PREFIX})
set(CPACK_PACKAGE_CONTACT "Zanti <kasse@zanti.de>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "touch-screen cash register for a club's refreshment stand")
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Zanti and ZantiPC are the register of a club event's refreshment stand:\n"
    "35 article keys on a touch screen, a receipt on an ESC/POS receipt\n"
    "printer (serial, USB or network) with cash drawer, sales counts and a\n"
    "protocol journal. German user interface.\n"
    ".\n"
    "The package also carries a virtual receipt printer for trying it out\n"
    "and zanti-stand, which starts the register full screen at login.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded as plug-ins, so no binary names them: the database drivers (the
# journal's SQLite, the event server's PostgreSQL) and the platforms (a
# screen, or offscreen).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, libqt6sql6-psql, qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
