# The layers of the program, lowest first. Each line: the folder under src/, its library, the
# folders it may use directly (what those may use is allowed too), and the Qt modules it may
# link beyond Core and Sql. A folder never uses one above it or a sibling window folder.
# The libraries are built from this table (tarmela_layer_library), the build refuses a link
# line that leaves it (tarmela_check_link_lines), and the layers test refuses an #include that
# leaves it (cmake/CheckIncludes.cmake, which also knows tests/support and bench/).
set(TARMELA_LAYERS
  # folder        library               may use                          Qt beyond Core, Sql
  "store          tarmela_store         -                                -"
  "compute        tarmela_compute       store                            -"
  "sheets         tarmela_sheets        compute                          -"
  "drawing        tarmela_drawing       compute                          Gui"
  "formation      tarmela_formation     drawing                          Gui"
  "export         tarmela_export        drawing,sheets                   Gui"
  "settings       tarmela_settings      export                           -"
  "ui/common      tarmela_ui_common     settings,formation               Gui,Widgets,PrintSupport,Svg"
  "ui/sheets      tarmela_ui_sheets     ui/common                        Gui,Widgets,PrintSupport"
  "ui/formation   tarmela_ui_formation  ui/common                        Gui,Widgets,PrintSupport"
  "ui/pages       tarmela_ui_pages      ui/common                        Gui,Widgets,PrintSupport"
  "ui/export      tarmela_ui_export     ui/common                        Gui,Widgets,PrintSupport"
  "app            tarmela_app           ui/sheets,ui/formation,ui/pages,ui/export  Gui,Widgets,PrintSupport"
  "cli            tarmela_cli_core      settings,formation               Gui"
)

# Splits the table: TARMELA_LAYER_FOLDERS, and per folder F the variables
# TARMELA_LIB_<F>, TARMELA_USES_<F> (direct), TARMELA_ALLOWED_<F> (every folder below it) and
# TARMELA_QT_<F>, where <F> is the folder with "/" as "_".
macro(tarmela_read_layers)
  set(TARMELA_LAYER_FOLDERS)
  foreach(_line IN LISTS TARMELA_LAYERS)
    string(REGEX MATCHALL "[^ ]+" _f "${_line}")
    list(GET _f 0 _folder)
    list(GET _f 1 _lib)
    list(GET _f 2 _uses)
    list(GET _f 3 _qt)
    string(REPLACE "/" "_" _key "${_folder}")
    string(REPLACE "," ";" _uses "${_uses}")
    string(REPLACE "," ";" _qt "${_qt}")
    list(REMOVE_ITEM _uses "-")
    list(REMOVE_ITEM _qt "-")
    set(_allowed ${_uses})
    foreach(_u IN LISTS _uses)
      string(REPLACE "/" "_" _ukey "${_u}")
      if(NOT DEFINED TARMELA_LIB_${_ukey})
        message(FATAL_ERROR "Layer table: ${_folder} uses ${_u}, which is not listed above it")
      endif()
      list(APPEND _allowed ${TARMELA_ALLOWED_${_ukey}})
    endforeach()
    list(REMOVE_DUPLICATES _allowed)
    list(APPEND TARMELA_LAYER_FOLDERS ${_folder})
    set(TARMELA_LIB_${_key} ${_lib})
    set(TARMELA_USES_${_key} ${_uses})
    set(TARMELA_ALLOWED_${_key} ${_allowed})
    set(TARMELA_QT_${_key} ${_qt})
  endforeach()
endmacro()
tarmela_read_layers()

# Builds the current folder's library from every source in it (resources in .qrc files too),
# so that a new file needs no CMake edit; exclude names files (e.g. main.cpp) that belong to an executable instead.
function(tarmela_layer_library)
  cmake_parse_arguments(arg "" "" "EXCLUDE" ${ARGN})
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR}/src ${CMAKE_CURRENT_SOURCE_DIR})
  string(REPLACE "/" "_" key "${folder}")
  if(NOT DEFINED TARMELA_LIB_${key})
    message(FATAL_ERROR "src/${folder} is not in the layer table (cmake/Layers.cmake)")
  endif()
  set(lib ${TARMELA_LIB_${key}})
  file(GLOB sources CONFIGURE_DEPENDS *.cpp *.h *.qrc)
  foreach(name IN LISTS arg_EXCLUDE)
    list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/${name})
  endforeach()
  if(NOT sources MATCHES "\\.cpp(;|$)")
    # A folder still waiting for its first source: an empty unit keeps the library linkable.
    set(empty ${CMAKE_CURRENT_BINARY_DIR}/${lib}_empty.cpp)
    file(CONFIGURE OUTPUT ${empty} CONTENT "// ${lib} has no sources yet.\n")
    list(APPEND sources ${empty})
  endif()
  add_library(${lib} STATIC ${sources})
  # Moc runs again when a file joins or leaves the folder: by itself it notices only changes
  # to the files it already knew, and a new window's meta-object would be missing.
  if(DEFINED TARMELA_SOURCES_${lib} AND NOT "${TARMELA_SOURCES_${lib}}" STREQUAL "${sources}")
    file(REMOVE ${CMAKE_CURRENT_BINARY_DIR}/${lib}_autogen/timestamp)
  endif()
  set(TARMELA_SOURCES_${lib} "${sources}" CACHE INTERNAL "")
  target_include_directories(${lib} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${lib} PUBLIC Qt6::Core Qt6::Sql PRIVATE tarmela_warnings)
  foreach(used IN LISTS TARMELA_USES_${key})
    string(REPLACE "/" "_" ukey "${used}")
    target_link_libraries(${lib} PUBLIC ${TARMELA_LIB_${ukey}})
  endforeach()
  foreach(module IN LISTS TARMELA_QT_${key})
    target_link_libraries(${lib} PUBLIC Qt6::${module})
  endforeach()
endfunction()

# Fails the configuration when a layer's library links a library of a layer it may not use,
# or a Qt module its line does not name (the engine stays free of widgets).
function(tarmela_check_link_lines)
  foreach(folder IN LISTS TARMELA_LAYER_FOLDERS)
    string(REPLACE "/" "_" key "${folder}")
    set(lib ${TARMELA_LIB_${key}})
    set(ok tarmela_warnings)
    foreach(a IN LISTS TARMELA_ALLOWED_${key})
      string(REPLACE "/" "_" akey "${a}")
      list(APPEND ok ${TARMELA_LIB_${akey}})
    endforeach()
    set(qt Core Sql ${TARMELA_QT_${key}})
    list(JOIN TARMELA_ALLOWED_${key} ", " allowed_text)
    list(JOIN qt ", " qt_text)
    get_target_property(linked ${lib} LINK_LIBRARIES)
    foreach(l IN LISTS linked)
      if(l MATCHES "^tarmela_" AND NOT l IN_LIST ok)
        message(FATAL_ERROR "${lib} (src/${folder}) must not link ${l}: it may use only "
                            "${allowed_text} (cmake/Layers.cmake)")
      endif()
      if(l MATCHES "^Qt6?::(.+)$" AND NOT CMAKE_MATCH_1 IN_LIST qt)
        message(FATAL_ERROR "${lib} (src/${folder}) must not link ${l}: its layer links "
                            "Qt ${qt_text} only (cmake/Layers.cmake)")
      endif()
    endforeach()
  endforeach()
endfunction()
