# The product: RemoteControl.exe, a 32-bit Windows program.
enable_language(RC)
add_executable(RemoteControl WIN32
               ${CMAKE_SOURCE_DIR}/src/platform/win32_platform.cpp
               ${CMAKE_SOURCE_DIR}/src/main.cpp
               ${CMAKE_SOURCE_DIR}/resources/remote_control.rc)
target_link_libraries(RemoteControl PRIVATE rc_core
                      ole32 oleaut32 uuid strmiids setupapi hid shell32 advapi32 user32 gdi32 comctl32)
