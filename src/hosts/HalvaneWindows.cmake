# Halvane.dll: the same module as a Windows library, loaded by VST 2.4 hosts
# as it is and by VST 3 hosts from its bundle.

# The module definition file lists every export; nothing else leaves the
# library. An entry of a host format is listed once that format's bridge is
# part of the sources; "main" is the VST 2.4 entry under its older name,
# the same code as VSTPluginMain.
set(halvane_exports InitDll ExitDll HalvaneAudioEffectPluginInterface KLibraryDLLInitialize)
file(GLOB vst2_exports ${CMAKE_CURRENT_SOURCE_DIR}/vst2/*Exports.cpp)
file(GLOB vst3_exports ${CMAKE_CURRENT_SOURCE_DIR}/vst3/*Exports.cpp)
if(vst2_exports)
  list(APPEND halvane_exports VSTPluginMain "main=VSTPluginMain")
endif()
if(vst3_exports)
  list(APPEND halvane_exports GetPluginFactory)
endif()
list(JOIN halvane_exports "\n    " export_lines)
set(definition_file ${CMAKE_CURRENT_BINARY_DIR}/Halvane.def)
file(CONFIGURE OUTPUT ${definition_file} CONTENT "EXPORTS\n    ${export_lines}\n")
target_sources(Halvane PRIVATE ${definition_file})
set_property(TARGET Halvane APPEND PROPERTY LINK_DEPENDS ${definition_file})

# The VST 3 bundle holds the same library under the bundle's name.
set(vst3_bundle_binary ${CMAKE_BINARY_DIR}/Halvane.vst3/Contents/x86_64-win/Halvane.vst3)
add_custom_command(TARGET Halvane POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/Halvane.vst3/Contents/x86_64-win
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:Halvane> ${vst3_bundle_binary}
  COMMENT "VST 3 bundle Halvane.vst3")
