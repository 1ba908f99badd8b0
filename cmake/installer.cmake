# The installer, RemoteControl-<version>-setup.exe in the build folder, made
# with NSIS (makensis, Debian package nsis) from installer/remote_control.nsi.
# The 32-bit build makes the product's installer; the 64-bit build makes a
# 64-bit one of its own program, which the tests run under 64-bit Wine.
find_program(RC_MAKENSIS makensis)
set(RC_SETUP ${CMAKE_BINARY_DIR}/RemoteControl-${PROJECT_VERSION}-setup.exe)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(RC_NSIS_TARGET amd64-unicode)
else()
  set(RC_NSIS_TARGET x86-unicode)
endif()
if(NOT RC_MAKENSIS)
  message(STATUS "makensis not found (Debian package nsis): no installer")
  return()
endif()
# The example key maps go in when the source tree has them; the list file
# changes (and the installer is made again) when they come or go.
file(GLOB RC_SETUP_EXTRAS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/applications.ini)
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/installer_extras.txt CONTENT "${RC_SETUP_EXTRAS}\n")
add_custom_command(
  OUTPUT ${RC_SETUP}
  COMMAND ${RC_MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION} -DPROGRAM=$<TARGET_FILE:RemoteControl>
          -DSOURCE=${CMAKE_SOURCE_DIR} -DOUTFILE=${RC_SETUP} -DTARGET=${RC_NSIS_TARGET}
          ${CMAKE_SOURCE_DIR}/installer/remote_control.nsi
  DEPENDS RemoteControl ${CMAKE_SOURCE_DIR}/installer/remote_control.nsi
          ${CMAKE_SOURCE_DIR}/resources/README.txt ${CMAKE_SOURCE_DIR}/LICENSE.txt
          ${CMAKE_SOURCE_DIR}/resources/remote.ico ${CMAKE_BINARY_DIR}/installer_extras.txt
          ${RC_SETUP_EXTRAS}
  COMMENT "Making the installer RemoteControl-${PROJECT_VERSION}-setup.exe"
  VERBATIM)
add_custom_target(installer ALL DEPENDS ${RC_SETUP})
