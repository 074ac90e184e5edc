# The Windows build (./windows.sh): the game a windowed program, the tools console programs, each
# with the icon and the version in its resources. The icon is drawn by the native build and made
# into an .ico by windows.sh; without one the programs carry only their version.
enable_language(RC)
set(KAVORIND_WINDOWS_ICON "" CACHE FILEPATH "The icon (.ico) put into the Windows programs")

set_target_properties(kavorind PROPERTIES WIN32_EXECUTABLE ON)
set(KAVORIND_RC_VERSION "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},0")
if(KAVORIND_WINDOWS_ICON)
    file(TO_CMAKE_PATH "${KAVORIND_WINDOWS_ICON}" icon_path)
    set(KAVORIND_RC_ICON "1 ICON \"${icon_path}\"")
else()
    set(KAVORIND_RC_ICON "")
endif()

foreach(program_and_description
        "kavorind|Kavorind" "kavorind-data|Kavorind content tool"
        "kavorind-content|Kavorind default content writer" "kavorind-sim|Kavorind headless runner")
    string(REPLACE "|" ";" pair "${program_and_description}")
    list(GET pair 0 KAVORIND_RC_PROGRAM)
    list(GET pair 1 KAVORIND_RC_DESCRIPTION)
    if(TARGET ${KAVORIND_RC_PROGRAM})
        set(rc_file ${CMAKE_BINARY_DIR}/resources/${KAVORIND_RC_PROGRAM}.rc)
        configure_file(${CMAKE_SOURCE_DIR}/dist/windows/program.rc.in ${rc_file} @ONLY)
        target_sources(${KAVORIND_RC_PROGRAM} PRIVATE ${rc_file})
        if(KAVORIND_WINDOWS_ICON)
            set_property(SOURCE ${rc_file} APPEND PROPERTY OBJECT_DEPENDS ${KAVORIND_WINDOWS_ICON})
        endif()
    endif()
endforeach()

if(KAVORIND_TESTS)
    add_subdirectory(tests/windows)
endif()
