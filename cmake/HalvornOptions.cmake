# Common compile options for every target of the project.
add_library(halvorn_options INTERFACE)
target_compile_options(halvorn_options INTERFACE -Wall -Wextra)
target_compile_definitions(halvorn_options INTERFACE
  QT_NO_CAST_FROM_ASCII QT_USE_QSTRINGBUILDER
  HALVORN_VERSION="${PROJECT_VERSION}")
if(HALVORN_SANITIZE)
  target_compile_options(halvorn_options INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(halvorn_options INTERFACE -fsanitize=address,undefined)
endif()

# halvorn_library(<folder> SOURCES ... [LINKS ...]) makes halvorn_<folder>.
function(halvorn_library folder)
  cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC_LINKS;PRIVATE_LINKS" ${ARGN})
  add_library(halvorn_${folder} STATIC ${ARG_SOURCES})
  # Batches of sources compiled as one: the Qt headers are read once per batch.
  set_target_properties(halvorn_${folder} PROPERTIES UNITY_BUILD ${HALVORN_UNITY}
    UNITY_BUILD_BATCH_SIZE 8)
  target_include_directories(halvorn_${folder} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(halvorn_${folder}
    PUBLIC halvorn_options ${ARG_PUBLIC_LINKS} PRIVATE ${ARG_PRIVATE_LINKS})
endfunction()

# halvorn_test(<name> SOURCES ... LINKS ...) makes one test executable registered with ctest.
function(halvorn_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINKS;ENV;DEFINITIONS;DEPENDS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  # Paths of programs the tests start, as $<TARGET_FILE:...> definitions.
  target_compile_definitions(${name} PRIVATE ${ARG_DEFINITIONS})
  if(ARG_DEPENDS)
    add_dependencies(${name} ${ARG_DEPENDS})
  endif()
  target_link_libraries(${name} PRIVATE halvorn_options halvorn_testsupport ${ARG_LINKS}
    GTest::gtest GTest::gmock)
  include(GoogleTest)
  gtest_discover_tests(${name}
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;${ARG_ENV}"
    DISCOVERY_TIMEOUT 60)
endfunction()

# halvorn_folder_library(<folder> PUBLIC_LINKS ... PRIVATE_LINKS ...): every .cpp of the
# folder goes into halvorn_<folder>.
function(halvorn_folder_library folder)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  halvorn_library(${folder} SOURCES ${sources} ${ARGN})
endfunction()

# halvorn_folder_tests(<folder> LINKS ...): every *_test.cpp of the folder in one executable.
function(halvorn_folder_tests folder)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  halvorn_test(${folder}_tests SOURCES ${sources} ${ARGN})
endfunction()
