# The portable core library: startup/, platform/, scene/, saver/, settings_dialog/.
file(GLOB DUSK_CORE_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/platform/*.cpp
  ${CMAKE_SOURCE_DIR}/startup/*.cpp
  ${CMAKE_SOURCE_DIR}/scene/*.cpp
  ${CMAKE_SOURCE_DIR}/saver/*.cpp
  ${CMAKE_SOURCE_DIR}/settings_dialog/*.cpp)
add_library(duskcore STATIC ${DUSK_CORE_SOURCES})
target_include_directories(duskcore PUBLIC ${CMAKE_SOURCE_DIR})
