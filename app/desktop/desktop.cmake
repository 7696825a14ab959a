# What `cmake --install` puts in the XDG places, and what the Debian package is made of: the
# executable, the desktop entry, the icon at 48 x 48 and 256 x 256, the AppStream metainfo, the
# manual page, and the package's copyright and changelog. CPack's DEB generator packs exactly
# these rules (`cpack -G DEB`, as scripts/package runs it); dpkg-shlibdeps finds the
# dependencies.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
include(GNUInstallDirs)
set(desktop_source ${PROJECT_SOURCE_DIR}/app/desktop)
set(desktop_build ${CMAKE_BINARY_DIR}/desktop)
set(desktop_doc ${CMAKE_INSTALL_DATADIR}/doc/mp3klingtal)
set(desktop_outputs "")

foreach(size 48 256)
    set(png ${desktop_build}/${size}/mp3klingtal.png)
    add_custom_command(OUTPUT ${png}
                       COMMAND ${CMAKE_COMMAND} -E make_directory ${desktop_build}/${size}
                       COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/tools/images/make_icon.py
                               ${png} ${size}
                       DEPENDS ${PROJECT_SOURCE_DIR}/tools/images/make_icon.py
                       COMMENT "Drawing the ${size} x ${size} desktop icon")
    list(APPEND desktop_outputs ${png})
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# Manual pages and changelogs go compressed at the highest level, without a name or a time
# stamp in the gzip header, so the package is the same from every build.
foreach(text mp3klingtal.1 changelog)
    configure_file(${desktop_source}/${text}.in ${desktop_build}/${text} @ONLY)
    add_custom_command(OUTPUT ${desktop_build}/${text}.gz
                       COMMAND sh -c "gzip -9n <\"$0\" >\"$1\"" ${desktop_build}/${text}
                               ${desktop_build}/${text}.gz
                       DEPENDS ${desktop_build}/${text} VERBATIM)
    list(APPEND desktop_outputs ${desktop_build}/${text}.gz)
endforeach()
add_custom_target(desktop_files ALL DEPENDS ${desktop_outputs})

# Folders the rules create are 755 whatever the umask of the build.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
    GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
install(TARGETS mp3klingtal RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${desktop_source}/mp3klingtal.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${desktop_source}/org.example.mp3klingtal.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${desktop_build}/mp3klingtal.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${desktop_source}/copyright ${desktop_build}/changelog.gz DESTINATION ${desktop_doc})

# --- the Debian package ----------------------------------------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mp3klingtal)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # mp3klingtal_<version>_<architecture>.deb
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Klingtal-Team <klingtal@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The small captions are set to fit a narrow font; without it they fall back to a smaller one.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-urw-base35)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "small MP3 player with a German user interface")
# The summary above is the first line of the package's description; this is the rest.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "One small window plays every MP3 file of a folder, optionally with its
subfolders, in order, repeated or at random, and shows position, length,
song number, total playing time, bitrate and sampling rate. The folder is
chosen with the folder button or dropped onto the window. The player drives
the system's master volume and mute, shows a song's ID3 tag (v1 or v2) and remembers
its settings.")
include(CPack)
