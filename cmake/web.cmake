# The browser build: build-web/kavorind.{js,wasm,data} beside the page from web/, the default
# content (build/data, which the desktop build writes) preloaded as the folder /data. The page
# mounts the player's own files (scores, replays) from the browser's IndexedDB (IDBFS) and points
# the game's XDG_DATA_HOME at them through ENV.

set(KAVORIND_WEB_CONTENT "${CMAKE_SOURCE_DIR}/build/data" CACHE PATH
    "The content folder preloaded into the browser build")
if(NOT EXISTS "${KAVORIND_WEB_CONTENT}/Pal.Pal")
    message(FATAL_ERROR "No content in ${KAVORIND_WEB_CONTENT}: build the desktop game first")
endif()

# Functions that SDL's audio reaches only through JavaScript and that the linker would drop.
set(library_funcs "${CMAKE_BINARY_DIR}/library_funcs.txt")
file(WRITE "${library_funcs}" "[\"$autoResumeAudioContext\", \"$dynCall\"]")

set(exported "${CMAKE_BINARY_DIR}/exported_functions.txt")
file(WRITE "${exported}" "[\"_main\", \"_kavorind_probe_tick\", \"_kavorind_page_close\"]")

target_link_options(kavorind PRIVATE
    -sASYNCIFY
    -sASYNCIFY_STACK_SIZE=65536
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
    "--preload-file" "${KAVORIND_WEB_CONTENT}@/data"
    "--exclude-file" "*.stamp")
set_target_properties(kavorind PROPERTIES SUFFIX ".js")
set_property(TARGET kavorind APPEND PROPERTY LINK_DEPENDS "${KAVORIND_WEB_CONTENT}/.stamp")

# The page and its script sit beside the build's output, so that build-web/ is the site.
file(GLOB page_files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/web/*)
foreach(page_file IN LISTS page_files)
    get_filename_component(name "${page_file}" NAME)
    configure_file("${page_file}" "${CMAKE_BINARY_DIR}/${name}" COPYONLY)
endforeach()
