# The Debian packages: `cpack` in a build tree makes the console tablet's
# lyrabox_<version>_<arch>.deb (component "lyrabox") and the playback PC's
# lyrabox-player_<version>_<arch>.deb (component "player", player/Packaging.cmake).
# Layout on the tablet:
#
#   /usr/bin/lyrabox, /usr/bin/roomplayer-sim
#   /etc/lyrabox/setting.ini             the venue's settings (a conffile)
#   /usr/share/lyrabox/gambar/           default skin, loading picture, artwork
#   /var/lib/lyrabox/                    the program folder, the console's working directory:
#       setting.ini  -> ../../../etc/lyrabox/setting.ini
#       tools/gambar -> ../../../../usr/share/lyrabox/gambar
#       log/                             written by the kiosk account
#   /lib/systemd/system/lyrabox-kiosk.service, /usr/lib/lyrabox/kiosk-session
#
# The links are relative so that the package unpacked anywhere (dpkg-deb -x)
# is a program folder that runs as it is.

set(LYRABOX_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR})
set(LYRABOX_PACKAGE_STAGE ${CMAKE_BINARY_DIR}/packaging)
set(LYRABOX_PROGRAM_FOLDER var/lib/lyrabox)
# Every install rule below without a component of its own is the console's.
set(CMAKE_INSTALL_DEFAULT_COMPONENT_NAME lyrabox)

install(TARGETS lyrabox roomplayer-sim RUNTIME DESTINATION usr/bin)

install(FILES ${LYRABOX_PACKAGING_DIR}/setting.ini DESTINATION etc/lyrabox)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/assets/gambar/ DESTINATION usr/share/lyrabox/gambar)

file(MAKE_DIRECTORY ${LYRABOX_PACKAGE_STAGE}/program/tools ${LYRABOX_PACKAGE_STAGE}/program/log)
file(CREATE_LINK ../../../etc/lyrabox/setting.ini
     ${LYRABOX_PACKAGE_STAGE}/program/setting.ini SYMBOLIC)
file(CREATE_LINK ../../../../usr/share/lyrabox/gambar
     ${LYRABOX_PACKAGE_STAGE}/program/tools/gambar SYMBOLIC)
install(FILES ${LYRABOX_PACKAGE_STAGE}/program/setting.ini DESTINATION ${LYRABOX_PROGRAM_FOLDER})
install(FILES ${LYRABOX_PACKAGE_STAGE}/program/tools/gambar
        DESTINATION ${LYRABOX_PROGRAM_FOLDER}/tools)
install(DIRECTORY ${LYRABOX_PACKAGE_STAGE}/program/log DESTINATION ${LYRABOX_PROGRAM_FOLDER})

install(FILES ${LYRABOX_PACKAGING_DIR}/lyrabox-kiosk.service DESTINATION lib/systemd/system)
install(PROGRAMS ${LYRABOX_PACKAGING_DIR}/kiosk-session DESTINATION usr/lib/lyrabox)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/docs/skin.md
        DESTINATION usr/share/doc/lyrabox)

file(WRITE ${LYRABOX_PACKAGE_STAGE}/conffiles "/etc/lyrabox/setting.ini\n")

set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL lyrabox player)
set(CPACK_PACKAGE_NAME lyrabox)
set(CPACK_DEBIAN_LYRABOX_PACKAGE_NAME lyrabox)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}.${LYRABOX_BUILD_NUMBER}")
set(CPACK_PACKAGE_CONTACT "lyrabox maintainers <lyrabox@localhost>")
# Each package's description starts with its own summary line.
set(CPACK_COMPONENT_LYRABOX_DESCRIPTION
    "touch-screen console of a karaoke room\n"
    "lyrabox is the console that stands in one karaoke room of a venue: guests\n"
    "search the song catalogue, fill the room's playlist, control the room's\n"
    "player and order food and drinks. The package holds the console, its\n"
    "default skin, an example setting.ini, the room-player simulator and a\n"
    "systemd unit that runs the console as the tablet's kiosk on tty1.")
string(JOIN "" CPACK_COMPONENT_LYRABOX_DESCRIPTION ${CPACK_COMPONENT_LYRABOX_DESCRIPTION})
# Installed at the root, not under /usr/local: the layout above is absolute.
set(CPACK_PACKAGING_INSTALL_PREFIX /)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The Qt and C++ libraries the binaries link come from dpkg-shlibdeps; what
# they load at run time is named here: the MySQL driver of Qt SQL, the QML
# modules and fonts the skin uses, OpenGL for the skin's view, and the kiosk's
# X session (server, touch input, xinit, a logind session for rootless X).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What a kiosk of ours needs at run time, the console's and the player's alike:
# a font, OpenGL, the X session on tty1 and its account.
set(LYRABOX_KIOSK_DEPENDS
    "fonts-dejavu-core"
    "libgl1-mesa-dri"
    "xserver-xorg-core"
    "xserver-xorg-input-libinput"
    "xinit"
    "libpam-systemd"
    "adduser")
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6sql6-mysql"
    "qml6-module-qtquick"
    "qml6-module-qtquick-window"
    "qml6-module-qtqml-workerscript"
    ${LYRABOX_KIOSK_DEPENDS})
string(JOIN ", " CPACK_DEBIAN_PACKAGE_DEPENDS ${CPACK_DEBIAN_PACKAGE_DEPENDS})
# The console sets the clock with ntpdate and runs on without it.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "ntpsec-ntpdate")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${LYRABOX_PACKAGE_STAGE}/conffiles
    ${LYRABOX_PACKAGING_DIR}/postinst
    ${LYRABOX_PACKAGING_DIR}/prerm
    ${LYRABOX_PACKAGING_DIR}/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The player's package overrides the console's fields above where they differ.
include(${LYRABOX_PACKAGING_DIR}/player/Packaging.cmake)
include(CPack)
