# Packs the staged zip tree, run with cmake -P in the staging folder:
#   ZIP    the zip program      TREE   the tree's folder name      OUT   the zip to write
# The same tree makes the same zip: its files in sorted order, no extra fields, and with
# SOURCE_DATE_EPOCH set every file dated then (zip stores local times: run it with TZ=UTC).
cmake_minimum_required(VERSION 3.20)

file(GLOB_RECURSE files RELATIVE "${CMAKE_CURRENT_BINARY_DIR}" LIST_DIRECTORIES false "${TREE}/*")
list(SORT files)
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  execute_process(COMMAND touch -h -d "@$ENV{SOURCE_DATE_EPOCH}" ${files} COMMAND_ERROR_IS_FATAL ANY)
endif()
string(REPLACE ";" "\n" list "${files}\n")
file(WRITE "${OUT}.files" "${list}")
file(REMOVE "${OUT}")
execute_process(COMMAND "${ZIP}" -q -X -D "${OUT}" -@ INPUT_FILE "${OUT}.files" COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE "${OUT}.files")
