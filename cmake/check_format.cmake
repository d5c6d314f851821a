# Fails when a source file differs from what clang-format makes of it.
file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR}
  ${SOURCE_DIR}/base/*.cpp ${SOURCE_DIR}/base/*.h
  ${SOURCE_DIR}/registry/*.cpp ${SOURCE_DIR}/registry/*.h
  ${SOURCE_DIR}/ui/*.cpp ${SOURCE_DIR}/ui/*.h
  ${SOURCE_DIR}/frame/*.cpp ${SOURCE_DIR}/frame/*.h
  ${SOURCE_DIR}/settings/*.cpp ${SOURCE_DIR}/settings/*.h
  ${SOURCE_DIR}/diag/*.cpp ${SOURCE_DIR}/diag/*.h
  ${SOURCE_DIR}/web/*.cpp ${SOURCE_DIR}/web/*.h
  ${SOURCE_DIR}/setup/*.cpp ${SOURCE_DIR}/setup/*.h
  ${SOURCE_DIR}/engine/*.cpp ${SOURCE_DIR}/engine/*.h
  ${SOURCE_DIR}/scene/*.cpp ${SOURCE_DIR}/scene/*.h
  ${SOURCE_DIR}/lists/*.cpp ${SOURCE_DIR}/lists/*.h
  ${SOURCE_DIR}/music/*.cpp ${SOURCE_DIR}/music/*.h
  ${SOURCE_DIR}/picture/*.cpp ${SOURCE_DIR}/picture/*.h
  ${SOURCE_DIR}/linux/*.cpp ${SOURCE_DIR}/linux/*.h
  ${SOURCE_DIR}/tools/*.cpp ${SOURCE_DIR}/tools/*.h
  ${SOURCE_DIR}/tests/*.cpp ${SOURCE_DIR}/tests/*.h)
list(LENGTH sources count)
if(count EQUAL 0)
  message(FATAL_ERROR "no sources found under ${SOURCE_DIR}")
endif()
execute_process(
  COMMAND ${CLANG_FORMAT} --dry-run --Werror ${sources}
  WORKING_DIRECTORY ${SOURCE_DIR}
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "clang-format: the files above differ from the project's style")
endif()
message(STATUS "clang-format: ${count} files follow the project's style")
