# The browser build: build-web/kavorind.{js,wasm,data} beside the page from web/, the default
# content preloaded as the folder /data: build/web-data, which the desktop build writes from
# build/data with the waves made IMA ADPCM (a quarter of the bytes, decoded by SDL as it loads). The page
# mounts the player's own files (scores, replays) from the browser's IndexedDB (IDBFS) and points
# the game's XDG_DATA_HOME at them through ENV.

set(KAVORIND_WEB_DATA "${CMAKE_SOURCE_DIR}/build/web-data" CACHE PATH
    "The content folder preloaded into the browser build")
if(NOT EXISTS "${KAVORIND_WEB_DATA}/Pal.Pal")
    message(FATAL_ERROR "No content in ${KAVORIND_WEB_DATA}: build the desktop game first "
                        "(with libsndfile, which scripts/setup_web.sh installs)")
endif()

# Functions that SDL's audio reaches only through JavaScript and that the linker would drop.
set(library_funcs "${CMAKE_BINARY_DIR}/library_funcs.txt")
file(WRITE "${library_funcs}" "[\"$autoResumeAudioContext\", \"$dynCall\"]")

set(exported "${CMAKE_BINARY_DIR}/exported_functions.txt")
file(WRITE "${exported}" "[\"_main\", \"_kavorind_probe_tick\", \"_kavorind_page_close\"]")

target_link_options(kavorind PRIVATE
    -sALLOW_MEMORY_GROWTH=1
    -sINITIAL_MEMORY=67108864
    -sTOTAL_STACK=1048576
    -sMODULARIZE=1
    -sEXPORT_NAME=createKavorind
    -sEXIT_RUNTIME=1
    -sINVOKE_RUN=0
    -sENVIRONMENT=web
    -sMINIFY_HTML=0
    -lidbfs.js
    "-sEXPORTED_RUNTIME_METHODS=[\"callMain\",\"FS\",\"ENV\",\"HEAPU8\",\"HEAPU32\"]"
    "-sEXPORTED_FUNCTIONS=@${exported}"
    "-sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=@${library_funcs}"
    "--preload-file" "${KAVORIND_WEB_DATA}@/data"
    "--exclude-file" "*.stamp")
set_target_properties(kavorind PROPERTIES SUFFIX ".js")
set_property(TARGET kavorind APPEND PROPERTY LINK_DEPENDS "${KAVORIND_WEB_DATA}/.stamp")

# The page and its script sit beside the build's output, so that build-web/ is the site.
file(GLOB page_files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/web/*)
foreach(page_file IN LISTS page_files)
    get_filename_component(name "${page_file}" NAME)
    configure_file("${page_file}" "${CMAKE_BINARY_DIR}/${name}" COPYONLY)
endforeach()

# The site as it is served: hashed names for the program's files, their sizes for the progress
# bar, the game's icon, and pre-compressed copies of everything (web/serve.py sends them).
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(KAVORIND_WEB_ICON "${CMAKE_SOURCE_DIR}/build/icons/32x32/apps/org.kavorind.kavorind.png" CACHE
    FILEPATH "The page's icon")
add_custom_target(kavorind-site ALL
    COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/cmake/web_site.py ${CMAKE_BINARY_DIR}
            ${KAVORIND_WEB_ICON}
    DEPENDS kavorind
    COMMENT "Hashing and compressing the site's files"
    VERBATIM)
