# add_native_resources(<target> <rc_file>)
#
# The native build has no resource compiler: this turns the MENU resources of
# a resource script (with the ids of its #define lines and of the headers it
# includes with "...") into a C++ table that LoadMenuA finds, compiled as the
# object library <target>_resources.
#   - <target> names an existing executable: the table is linked into it.
#   - otherwise <target> is a new name: the object library is created under
#     that name; link it into each executable that loads the resources.
# An object library, because the table registers itself at start-up and
# nothing refers to it, so a static library member would be dropped.
function(add_native_resources target rc_file)
  get_filename_component(rc "${rc_file}" ABSOLUTE)
  set(script "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/rc_to_table.cmake")
  if(TARGET ${target})
    set(library ${target}_resources)
  else()
    set(library ${target})
  endif()
  set(table "${CMAKE_CURRENT_BINARY_DIR}/${library}_table.cpp")
  add_custom_command(
    OUTPUT "${table}"
    COMMAND "${CMAKE_COMMAND}" "-DRC_FILE=${rc}" "-DOUTPUT=${table}" "-DDEPFILE=${table}.d" -P "${script}"
    DEPENDS "${rc}" "${script}"
    DEPFILE "${table}.d"
    COMMENT "Generating the resource table of ${rc_file}"
    VERBATIM)
  add_library(${library} OBJECT "${table}")
  target_include_directories(${library} PRIVATE "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/src/desktop")
  target_link_libraries(${library} PRIVATE platform project_warnings)
  if(TARGET ${target} AND NOT library STREQUAL target)
    target_link_libraries(${target} PRIVATE ${library})
  endif()
endfunction()
