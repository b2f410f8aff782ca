# SPDX-FileCopyrightText: 2026 Pokopin developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Run by CPack on its staging folder before it builds the Debian package.
# Debian keeps games in /usr/games, while a source install uses bin/, which
# is on PATH for every prefix (~/.local/bin too). The data stays reachable
# as ../share/pokopin from either folder. /usr/games is not on every
# session's PATH (root's, systemd's), so the menu entry names the program
# by its full path.
file(GLOB _staged_programs "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/usr/bin/pokopin"
     "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/usr/bin/pokopin")
foreach(_program IN LISTS _staged_programs)
    get_filename_component(_bin "${_program}" DIRECTORY)
    get_filename_component(_usr "${_bin}" DIRECTORY)
    file(MAKE_DIRECTORY "${_usr}/games")
    file(RENAME "${_program}" "${_usr}/games/pokopin")
    file(GLOB _left "${_bin}/*")
    if(NOT _left)
        file(REMOVE_RECURSE "${_bin}")
    endif()
    file(GLOB _entries "${_usr}/share/applications/*.desktop")
    foreach(_entry IN LISTS _entries)
        file(READ "${_entry}" _text)
        string(REGEX REPLACE "\nExec=pokopin" "\nExec=/usr/games/pokopin" _text "${_text}")
        file(WRITE "${_entry}" "${_text}")
    endforeach()
endforeach()
