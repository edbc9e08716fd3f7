# nlohmann/json (Debian nlohmann-json3-dev), header-only, for both builds.
# The Windows build must not see the host's /usr/include, so both builds
# include it through a directory that holds only a link to its folder.
find_path(NLOHMANN_JSON_ROOT nlohmann/json.hpp PATHS /usr/include /usr/local/include NO_CMAKE_FIND_ROOT_PATH)
if(NOT NLOHMANN_JSON_ROOT)
  message(FATAL_ERROR "nlohmann/json.hpp not found: install nlohmann-json3-dev (scripts/install-deps.sh)")
endif()
set(NLOHMANN_JSON_LINK_DIR ${CMAKE_BINARY_DIR}/nlohmann_json_include)
file(MAKE_DIRECTORY ${NLOHMANN_JSON_LINK_DIR})
file(CREATE_LINK ${NLOHMANN_JSON_ROOT}/nlohmann ${NLOHMANN_JSON_LINK_DIR}/nlohmann SYMBOLIC)
add_library(nlohmann_json_headers INTERFACE)
target_include_directories(nlohmann_json_headers SYSTEM INTERFACE ${NLOHMANN_JSON_LINK_DIR})
