# The browser's back end: how the program is linked into a page. The game
# blocks in its loops; Asyncify lets those waits yield to the browser. The
# sounds go into the page's file system where the game looks for them.
set(TZ_WEB_DIR ${CMAKE_CURRENT_LIST_DIR})
set(TZ_SOUNDS ${CMAKE_SOURCE_DIR}/resources/sounds)
# The lowest 64 KiB stay unused, as on Windows: the platform tells a
# resource's number from its name's address by that (MAKEINTRESOURCE).
target_link_options(tz_web INTERFACE
    -fexceptions
    -sGLOBAL_BASE=65536
    -sASYNCIFY
    -sASYNCIFY_STACK_SIZE=65536
    -sALLOW_MEMORY_GROWTH=1
    -sINITIAL_MEMORY=33554432
    -sENVIRONMENT=web
    -sINVOKE_RUN=0
    -sFORCE_FILESYSTEM=1
    -sEXPORTED_FUNCTIONS=_main,_malloc,_free
    -sEXPORTED_RUNTIME_METHODS=ccall,FS,addRunDependency,removeRunDependency
    "SHELL:--preload-file ${TZ_SOUNDS}/Klick.wav@/tamzelon/Sounds/Klick.wav"
    "SHELL:--preload-file ${TZ_SOUNDS}/Knall.wav@/tamzelon/Sounds/Knall.wav"
    "SHELL:--preload-file ${TZ_SOUNDS}/Cascade.wav@/tamzelon/Sounds/Cascade.wav")
# The page around the program: copied beside it.
file(GLOB tz_page_files CONFIGURE_DEPENDS ${TZ_WEB_DIR}/page/*)
add_custom_target(tz_page ALL
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${tz_page_files} ${CMAKE_BINARY_DIR}/app
    DEPENDS ${tz_page_files})
# Every part of the room goes in, also those the program never calls itself:
# the page calls them, or they carry the page's side of a call (EM_JS).
target_link_options(tz_web INTERFACE
    "SHELL:-Wl,--whole-archive $<TARGET_FILE:tz_web> -Wl,--no-whole-archive")
