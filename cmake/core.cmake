# The portable core, one static library per layer. Layers point down only: platform, then scene,
# then the windows (saver and settings_dialog, which do not see each other), then startup. Each
# library sees its own folder and the folders of the layers below it, and nothing else: an include
# that points up or sideways does not compile.

# dusk_layer_include(<library> <folder>): <library> and its users see "<folder>/..." and no more.
function(dusk_layer_include name folder)
  set(root ${CMAKE_BINARY_DIR}/layers/${folder})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC COPY_ON_ERROR)
  target_include_directories(${name} PUBLIC ${root})
endfunction()

# dusk_layer(<library> <folder> [<library of a lower layer>...])
function(dusk_layer name folder)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp)
  add_library(${name} STATIC ${sources})
  dusk_layer_include(${name} ${folder})
  target_link_libraries(${name} PUBLIC ${ARGN})
endfunction()

dusk_layer(dusk_platform platform)
dusk_layer(dusk_scene scene dusk_platform)
dusk_layer(dusk_saver saver dusk_scene)
dusk_layer(dusk_dialog settings_dialog dusk_scene)
dusk_layer(dusk_startup startup dusk_saver dusk_dialog)

# Everything a host links.
add_library(duskcore INTERFACE)
target_link_libraries(duskcore INTERFACE dusk_startup)
