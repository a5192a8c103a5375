# The VST 3 bundle: hosts find the module as
# Halvane.vst3/Contents/<architecture>-linux/Halvane.so. The install step
# puts the bundle where hosts look for the user's plug-ins.
# Contents/Resources/moduleinfo.json describes the class without loading it.
set(HALVANE_VST3_BUNDLE ${CMAKE_BINARY_DIR}/Halvane.vst3)
set(HALVANE_VST3_BINARY_DIR ${HALVANE_VST3_BUNDLE}/Contents/${CMAKE_SYSTEM_PROCESSOR}-linux)
set(HALVANE_VST3_MODULE ${HALVANE_VST3_BINARY_DIR}/Halvane.so CACHE INTERNAL "The module inside the VST 3 bundle")
# The class list, for hosts that read it instead of loading the module; it
# repeats what the factory answers, which the test host checks.
configure_file(${CMAKE_SOURCE_DIR}/cmake/moduleinfo.json.in
               ${HALVANE_VST3_BUNDLE}/Contents/Resources/moduleinfo.json @ONLY)
add_custom_command(
  OUTPUT ${HALVANE_VST3_MODULE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${HALVANE_VST3_BINARY_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:Halvane> ${HALVANE_VST3_MODULE}
  DEPENDS Halvane
  COMMENT "Building the VST 3 bundle Halvane.vst3")
add_custom_target(halvane_vst3_bundle ALL DEPENDS ${HALVANE_VST3_MODULE})
install(DIRECTORY ${HALVANE_VST3_BUNDLE} DESTINATION $ENV{HOME}/.vst3 USE_SOURCE_PERMISSIONS)
