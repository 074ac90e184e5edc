# Run by CPack on the staged files before it packs them: Debian keeps the programs of a package in
# section games in /usr/games (its policy, 11.11), where a plain installation uses bin/.
if(CPACK_GENERATOR STREQUAL "DEB")
    set(staged ${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX})
    if(IS_DIRECTORY ${staged}/bin)
        file(RENAME ${staged}/bin ${staged}/games)
    endif()
endif()
