# The Windows build: the Win32 side of the platform seam, RemoteControl.exe
# with its resources, and wintool for the scripted tests under Wine.
enable_language(RC)

set(RC_WIN32_LIBRARIES ole32 oleaut32 uuid strmiids setupapi hid shell32 advapi32 user32 gdi32 wtsapi32 comctl32 comdlg32)

add_library(rc_win32 STATIC ${CMAKE_SOURCE_DIR}/src/platform/win32_platform.cpp)
target_include_directories(rc_win32 PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(rc_win32 PUBLIC ${RC_WIN32_LIBRARIES})

# The version header and the manifest carry the project's version; the
# resource compiler finds them in generated/.
set(RC_GENERATED ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_SOURCE_DIR}/resources/version.h.in ${RC_GENERATED}/version.h @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/resources/remote_control.manifest.in
               ${RC_GENERATED}/remote_control.manifest @ONLY)
set(RC_RESOURCES ${CMAKE_SOURCE_DIR}/resources/remote_control.rc)
set_source_files_properties(${RC_RESOURCES} PROPERTIES OBJECT_DEPENDS
    "${CMAKE_SOURCE_DIR}/resources/resource.h;${CMAKE_SOURCE_DIR}/resources/remote.ico;${CMAKE_SOURCE_DIR}/resources/shutdown.ico;${RC_GENERATED}/version.h;${RC_GENERATED}/remote_control.manifest")

add_executable(RemoteControl WIN32 ${CMAKE_SOURCE_DIR}/src/main.cpp ${RC_RESOURCES})
target_include_directories(RemoteControl PRIVATE ${CMAKE_SOURCE_DIR}/resources ${RC_GENERATED})
target_link_libraries(RemoteControl PRIVATE rc_core rc_win32)

add_executable(wintool ${CMAKE_SOURCE_DIR}/tools/wintool/wintool.cpp)
target_link_libraries(wintool PRIVATE user32)

# How the tests run the Windows programs: the Wine loader for this build's
# word size, and the folder of its Wine prefixes.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(RC_WINE_LOADER_DEFAULT /usr/lib/wine/wine64)
  set(RC_WINEARCH win64)
else()
  set(RC_WINE_LOADER_DEFAULT wine)
  set(RC_WINEARCH win32)
endif()
set(RC_WINE_LOADER ${RC_WINE_LOADER_DEFAULT} CACHE STRING "Wine loader that runs this build's programs")
set(RC_WINE_DIR ${CMAKE_BINARY_DIR}/wine)
configure_file(${CMAKE_SOURCE_DIR}/tests/wine/wine_env.sh.in ${CMAKE_BINARY_DIR}/wine_env.sh @ONLY)

include(${CMAKE_SOURCE_DIR}/cmake/installer.cmake)
