# The VST 3 bundle: hosts find the module as
# Halvane.vst3/Contents/x86_64-linux/Halvane.so on Linux and as
# Halvane.vst3/Contents/x86_64-win/Halvane.vst3 (the DLL under the bundle's
# own name) on Windows. On Linux the install step puts the bundle where
# hosts look for the user's plug-ins.
# Contents/Resources/moduleinfo.json describes the class without loading it.
set(HALVANE_VST3_BUNDLE ${CMAKE_BINARY_DIR}/Halvane.vst3)
if(WIN32)
  set(HALVANE_VST3_BINARY_DIR ${HALVANE_VST3_BUNDLE}/Contents/${CMAKE_SYSTEM_PROCESSOR}-win)
  set(vst3_binary_name Halvane.vst3)
else()
  set(HALVANE_VST3_BINARY_DIR ${HALVANE_VST3_BUNDLE}/Contents/${CMAKE_SYSTEM_PROCESSOR}-linux)
  set(vst3_binary_name Halvane.so)
endif()
set(HALVANE_VST3_MODULE ${HALVANE_VST3_BINARY_DIR}/${vst3_binary_name} CACHE INTERNAL "The module inside the VST 3 bundle")
# The class list, for hosts that read it instead of loading the module; it
# repeats what the factory answers, which the test host checks.
configure_file(${CMAKE_SOURCE_DIR}/cmake/moduleinfo.json.in
               ${HALVANE_VST3_BUNDLE}/Contents/Resources/moduleinfo.json @ONLY)
# The bundle's binary is refreshed whenever the module is linked (the
# module's own build gives both).
add_custom_command(TARGET Halvane POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E make_directory ${HALVANE_VST3_BINARY_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:Halvane> ${HALVANE_VST3_MODULE}
  COMMENT "Building the VST 3 bundle Halvane.vst3")
# The name scripts build the bundle by.
add_custom_target(halvane_vst3_bundle ALL DEPENDS Halvane)
if(NOT WIN32)
  install(DIRECTORY ${HALVANE_VST3_BUNDLE} DESTINATION $ENV{HOME}/.vst3 USE_SOURCE_PERMISSIONS)
endif()
