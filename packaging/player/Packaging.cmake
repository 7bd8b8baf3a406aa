# The Debian package of a playback PC, lyrabox-player_<version>_<arch>.deb, made
# by the same cpack run as the console's (component "player"). Layout:
#
#   /usr/bin/lyrabox-player
#   /etc/lyrabox-player/setting.ini      songs database and [RoomPlayer] keys (a conffile)
#   /etc/default/lyrabox-player          LISTEN, ROOM, MEDIA of the kiosk (a conffile)
#   /var/lib/lyrabox-player/             the account's home, the kiosk's working directory
#       media/                           the song files, <idlagu>.<extension>
#   /lib/systemd/system/lyrabox-player-kiosk.service, /usr/lib/lyrabox-player/kiosk-session

set(LYRABOX_PLAYER_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR})
set(LYRABOX_PLAYER_STAGE ${LYRABOX_PACKAGE_STAGE}/player)

install(TARGETS lyrabox-player RUNTIME DESTINATION usr/bin COMPONENT player)
install(FILES ${LYRABOX_PLAYER_PACKAGING_DIR}/setting.ini DESTINATION etc/lyrabox-player
        COMPONENT player)
install(FILES ${LYRABOX_PLAYER_PACKAGING_DIR}/lyrabox-player.default DESTINATION etc/default
        RENAME lyrabox-player COMPONENT player)
file(MAKE_DIRECTORY ${LYRABOX_PLAYER_STAGE}/media)
install(DIRECTORY ${LYRABOX_PLAYER_STAGE}/media DESTINATION var/lib/lyrabox-player
        COMPONENT player)
install(FILES ${LYRABOX_PLAYER_PACKAGING_DIR}/lyrabox-player-kiosk.service
        DESTINATION lib/systemd/system COMPONENT player)
install(PROGRAMS ${LYRABOX_PLAYER_PACKAGING_DIR}/kiosk-session
        DESTINATION usr/lib/lyrabox-player COMPONENT player)
install(FILES ${PROJECT_SOURCE_DIR}/player/README.md DESTINATION usr/share/doc/lyrabox-player
        COMPONENT player)
# The player's README points to the simulator's table of answers.
install(FILES ${PROJECT_SOURCE_DIR}/simulator/README.md DESTINATION usr/share/doc/lyrabox-player
        RENAME roomplayer-sim.md COMPONENT player)

file(WRITE ${LYRABOX_PLAYER_STAGE}/conffiles
     "/etc/lyrabox-player/setting.ini\n/etc/default/lyrabox-player\n")

set(CPACK_DEBIAN_PLAYER_PACKAGE_NAME lyrabox-player)
set(CPACK_COMPONENT_PLAYER_DESCRIPTION
    "room player of a karaoke room, for the room's playback PC\n"
    "lyrabox-player plays the songs of one karaoke room on the room's TV and\n"
    "amplifier and answers the room's lyrabox console on the message link:\n"
    "the room's playlist from the songs database, play, pause, next, key,\n"
    "vocal guide, sound modes, volume and microphone. The package holds the\n"
    "player, an example setting.ini and a systemd unit that runs the player\n"
    "full-screen on the TV as the playback PC's kiosk on tty1.")
string(JOIN "" CPACK_COMPONENT_PLAYER_DESCRIPTION ${CPACK_COMPONENT_PLAYER_DESCRIPTION})
set(CPACK_DEBIAN_PLAYER_PACKAGE_SHLIBDEPS ON)
# libmpv, Qt and ALSA come from dpkg-shlibdeps; what the player loads at run
# time is named here: the MySQL driver of Qt SQL for the playlist, OpenGL for
# mpv's video output, a font for the texts on the TV, and the kiosk's X session.
set(CPACK_DEBIAN_PLAYER_PACKAGE_DEPENDS "libqt6sql6-mysql" ${LYRABOX_KIOSK_DEPENDS})
string(JOIN ", " CPACK_DEBIAN_PLAYER_PACKAGE_DEPENDS ${CPACK_DEBIAN_PLAYER_PACKAGE_DEPENDS})
# Defined and empty: the console's Recommends is not the player's.
set(CPACK_DEBIAN_PLAYER_PACKAGE_RECOMMENDS "")
set(CPACK_DEBIAN_PLAYER_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PLAYER_PACKAGE_CONTROL_EXTRA
    ${LYRABOX_PLAYER_STAGE}/conffiles
    ${LYRABOX_PLAYER_PACKAGING_DIR}/postinst
    ${LYRABOX_PLAYER_PACKAGING_DIR}/prerm
    ${LYRABOX_PLAYER_PACKAGING_DIR}/postrm)
set(CPACK_DEBIAN_PLAYER_PACKAGE_CONTROL_STRICT_PERMISSION ON)
