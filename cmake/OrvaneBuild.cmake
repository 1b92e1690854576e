# One interface target carries the language level, warnings and Qt defines for every target of ours.
add_library(orvane_build INTERFACE)
target_compile_features(orvane_build INTERFACE cxx_std_20)
target_compile_options(orvane_build INTERFACE
  -Wall -Wextra -Wshadow -Wold-style-cast -Wnon-virtual-dtor -Woverloaded-virtual
  $<$<BOOL:${ORVANE_WERROR}>:-Werror>)
target_compile_definitions(orvane_build INTERFACE
  QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
  QT_USE_QSTRINGBUILDER)

if(ORVANE_SANITIZE)
  target_compile_options(orvane_build INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer
                                                -fno-sanitize-recover=undefined)
  target_link_options(orvane_build INTERFACE -fsanitize=address,undefined)
endif()

# orvane_add_library(<name> [PUBLIC deps...] SOURCES ...)
function(orvane_add_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC;PRIVATE" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_link_libraries(${name} PUBLIC orvane_build ${ARG_PUBLIC} PRIVATE ${ARG_PRIVATE})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
endfunction()
