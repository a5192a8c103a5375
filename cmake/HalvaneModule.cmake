# The plug-in module: the hosts library linked into one shared object that
# shows hosts nothing but its entry points.
file(WRITE ${CMAKE_BINARY_DIR}/generated/HalvaneModule.cpp "// The module consists of the hosts library.\n")
add_library(Halvane MODULE ${CMAKE_BINARY_DIR}/generated/HalvaneModule.cpp)
set_target_properties(Halvane PROPERTIES PREFIX "" OUTPUT_NAME Halvane)
target_link_libraries(Halvane PRIVATE halvane_hosts)
target_link_options(Halvane PRIVATE
  -Wl,--undefined=GetPluginFactory -Wl,--undefined=ModuleEntry -Wl,--undefined=ModuleExit
  -Wl,--version-script=${CMAKE_SOURCE_DIR}/cmake/Halvane.version)
set_property(TARGET Halvane APPEND PROPERTY LINK_DEPENDS ${CMAKE_SOURCE_DIR}/cmake/Halvane.version)
