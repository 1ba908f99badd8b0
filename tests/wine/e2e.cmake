# End-to-end scenarios of RemoteControl.exe under Wine: the virtual tuner,
# the stand-in applications, the program driven through them, the demo and
# the screenshots (tests/wine/e2e_*.sh). Each scenario makes its own Wine
# prefix and virtual display, cleans up after itself and stops by itself.
set(RC_E2E_DIR ${CMAKE_SOURCE_DIR}/tests/wine)
foreach(name tuner standin families power replug sleep hold shutdown mouse mce user_apps user_apps_unicode closed_by_hand launchkey switching monitor key_maps osd screenshots demo)
  add_test(NAME e2e_${name} COMMAND bash ${RC_E2E_DIR}/e2e_${name}.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(e2e_${name} PROPERTIES RUN_SERIAL TRUE TIMEOUT 600 LABELS e2e)
endforeach()
# Two scenarios again with the on-screen display on: keys reach the
# application in front exactly as without it.
foreach(name user_apps launchkey)
  add_test(NAME e2e_${name}_osd COMMAND bash ${RC_E2E_DIR}/e2e_${name}.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(e2e_${name}_osd PROPERTIES RUN_SERIAL TRUE TIMEOUT 600 LABELS e2e
                       ENVIRONMENT E2E_SHOW_BUTTONS=1)
endforeach()
# The same families with stand-in libraries whose entry points are cdecl.
add_test(NAME e2e_families_cdecl
         COMMAND bash ${RC_E2E_DIR}/e2e_families.sh ${CMAKE_BINARY_DIR} --cdecl)
set_tests_properties(e2e_families_cdecl PROPERTIES RUN_SERIAL TRUE TIMEOUT 600 LABELS e2e)

# The installer of the build, under Wine: one case per test, each in a fresh prefix.
foreach(case install settings logon upgrade uninstall held)
  add_test(NAME e2e_installer_${case}
           COMMAND bash ${RC_E2E_DIR}/e2e_installer.sh ${CMAKE_BINARY_DIR} ${case})
  set_tests_properties(e2e_installer_${case} PROPERTIES RUN_SERIAL TRUE TIMEOUT 300 LABELS e2e)
endforeach()
