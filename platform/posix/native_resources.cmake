# add_native_resources(<target> <rc_file>)
#
# Compiles a resource script with MinGW's resource compiler, as the Windows
# build does, into a binary .res whose bytes the object library
# <target>_resources hands to the console desktop at start-up, for LoadMenuA.
#   - <target> names an existing executable: the library is linked into it.
#   - otherwise <target> is a new name: the object library is created under
#     that name; link it into each executable that loads the resources.
# An object library, because the data registers itself at start-up and
# nothing refers to it, so a static library member would be dropped.
find_program(WINDRES x86_64-w64-mingw32-windres)
if(NOT WINDRES)
  message(FATAL_ERROR "x86_64-w64-mingw32-windres not found: the native build compiles resource scripts "
                      "with it. Install binutils-mingw-w64-x86-64 (and g++-mingw-w64-x86-64 for its preprocessor).")
endif()

function(add_native_resources target rc_file)
  get_filename_component(rc "${rc_file}" ABSOLUTE)
  get_filename_component(rc_dir "${rc}" DIRECTORY)
  if(TARGET ${target})
    set(library ${target}_resources)
  else()
    set(library ${target})
  endif()
  set(res "${CMAKE_CURRENT_BINARY_DIR}/${library}.res")
  set(embed "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/embed_res.cmake")
  # The preprocessor lists the headers the script includes, for rebuilds.
  add_custom_command(
    OUTPUT "${res}.cpp"
    BYPRODUCTS "${res}"
    COMMAND "${WINDRES}" -O res -I "${rc_dir}" -i "${rc}" -o "${res}"
            --preprocessor-arg=-MMD --preprocessor-arg=-MF --preprocessor-arg=${res}.d
            --preprocessor-arg=-MT --preprocessor-arg=${res}.cpp
    COMMAND "${CMAKE_COMMAND}" "-DRES=${res}" "-DOUTPUT=${res}.cpp" -P "${embed}"
    DEPENDS "${rc}" "${embed}"
    DEPFILE "${res}.d"
    COMMENT "Compiling the resources of ${rc_file}"
    VERBATIM)
  add_library(${library} OBJECT "${res}.cpp")
  target_include_directories(${library} PRIVATE "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/src/desktop")
  target_link_libraries(${library} PRIVATE platform project_warnings)
  if(TARGET ${target} AND NOT library STREQUAL target)
    target_link_libraries(${target} PRIVATE ${library})
  endif()
endfunction()
