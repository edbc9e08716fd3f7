# add_program_resources(<target> DESCRIPTION <text> [ICON <.ico file>])
# Gives a Windows program its application manifest (DPI awareness, common
# controls 6, asInvoker, Windows 7 to 11) and a version resource made from
# the project's version; ICON adds the program's icon where its own
# resource script has none.

function(add_program_resources target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "DESCRIPTION;ICON" "")
  set(PROGRAM_NAME ${target})
  set(PROGRAM_DESCRIPTION ${arg_DESCRIPTION})
  set(PROGRAM_PRODUCT "Lodestar")
  set(PROGRAM_COMPANY "The Lodestar developers")
  set(PROGRAM_COPYRIGHT "Copyright (C) 2026 The Lodestar developers")
  set(parts ${PROJECT_VERSION_MAJOR} ${PROJECT_VERSION_MINOR} ${PROJECT_VERSION_PATCH} ${PROJECT_VERSION_TWEAK} 0 0 0 0)
  list(TRANSFORM parts REPLACE "^$" "0")
  list(SUBLIST parts 0 4 parts)
  list(JOIN parts "," PROGRAM_VERSION_COMMAS)
  list(JOIN parts "." PROGRAM_VERSION_QUAD)
  set(PROGRAM_ICON_LINE "")
  if(arg_ICON)
    set(PROGRAM_ICON_LINE "1 ICON \"${arg_ICON}\"")
  endif()

  set(dir ${CMAKE_CURRENT_BINARY_DIR}/${target}_resources)
  set(PROGRAM_MANIFEST ${dir}/${target}.exe.manifest)
  configure_file(${CMAKE_CURRENT_FUNCTION_LIST_DIR}/program.manifest.in ${PROGRAM_MANIFEST} @ONLY)
  configure_file(${CMAKE_CURRENT_FUNCTION_LIST_DIR}/program.rc.in ${dir}/program.rc @ONLY)
  target_sources(${target} PRIVATE ${dir}/program.rc)
  set_property(SOURCE ${dir}/program.rc APPEND PROPERTY OBJECT_DEPENDS ${PROGRAM_MANIFEST} ${arg_ICON})
endfunction()
