# mdr_add_feature(<name> [DEPENDS <feature>...] [LIBS <library>...])
#
# One feature folder: its logic (*.cpp, *.h beside this call) becomes mdr_<name>, linking Qt Core
# and Sql only; its windows (ui/) become mdr_<name>_ui, the only targets that link Qt Widgets.
# A feature may name only features defined before it, so the order of add_subdirectory is the
# dependency order and a circle cannot be declared. Include directories reach only the targets
# that link a feature: including a header of a feature not depended upon fails to build.
function(mdr_add_feature name)
  cmake_parse_arguments(F "" "" "DEPENDS;LIBS" ${ARGN})
  foreach(dep ${F_DEPENDS})
    if(NOT TARGET mdr_${dep})
      message(FATAL_ERROR "Feature '${name}' depends on '${dep}', which is not defined before it. "
                          "Features depend only on features added earlier (no circles).")
    endif()
  endforeach()

  set(logic mdr_${name})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  list(TRANSFORM F_DEPENDS PREPEND mdr_ OUTPUT_VARIABLE dep_targets)
  if(sources)
    add_library(${logic} STATIC ${sources})
    target_include_directories(${logic} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${logic} PUBLIC ${dep_targets} ${F_LIBS} Qt6::Core Qt6::Sql)
  else()
    # A subsystem whose first classes have not arrived yet: its place in the graph is kept.
    add_library(${logic} INTERFACE)
    target_link_libraries(${logic} INTERFACE ${dep_targets} ${F_LIBS} Qt6::Core Qt6::Sql)
  endif()
  set_property(GLOBAL APPEND PROPERTY MDR_FEATURES ${name})

  # The windows link their own logic and the windows of every feature they build on.
  set(ui_targets "")
  foreach(dep ${F_DEPENDS})
    if(TARGET mdr_${dep}_ui)
      list(APPEND ui_targets mdr_${dep}_ui)
    endif()
  endforeach()
  file(GLOB ui_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/ui/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/ui/*.h
       ${CMAKE_CURRENT_SOURCE_DIR}/ui/*/*.qrc)
  if(ui_sources)
    add_library(${logic}_ui STATIC ${ui_sources})
    target_include_directories(${logic}_ui PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/ui)
    target_link_libraries(${logic}_ui PUBLIC ${logic} ${ui_targets} Qt6::Widgets Qt6::Gui Qt6::PrintSupport)
  elseif(ui_targets)
    # No windows of its own: its ui target is its logic plus the windows below it.
    add_library(${logic}_ui INTERFACE)
    target_link_libraries(${logic}_ui INTERFACE ${logic} ${ui_targets})
  endif()
endfunction()

# Every feature added so far, as targets: logic (mdr_<f>) or windows (mdr_<f>_ui).
function(mdr_feature_targets out suffix)
  get_property(features GLOBAL PROPERTY MDR_FEATURES)
  set(result "")
  foreach(f ${features})
    if(TARGET mdr_${f}${suffix})
      list(APPEND result mdr_${f}${suffix})
    endif()
  endforeach()
  set(${out} ${result} PARENT_SCOPE)
endfunction()
