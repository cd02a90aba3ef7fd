# Resources compiled into the library: translations now, QML pages and images as they arrive.

# Each subsystem keeps its own .ts file per language; lrelease joins them into one catalogue.
file(GLOB mavu_ts_ru CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/qml/translate/ru/*.ts)
file(GLOB mavu_ts_en CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/qml/translate/en/*.ts)
set(mavu_qm_dir ${CMAKE_CURRENT_BINARY_DIR}/translate)

function(mavu_release_catalogue qm_name)
  set(ts_files ${ARGN})
  add_custom_command(
    OUTPUT ${mavu_qm_dir}/${qm_name}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${mavu_qm_dir}
    COMMAND Qt6::lrelease -silent ${ts_files} -qm ${mavu_qm_dir}/${qm_name}
    DEPENDS ${ts_files}
    VERBATIM)
  set_source_files_properties(${mavu_qm_dir}/${qm_name} PROPERTIES
    GENERATED TRUE QT_RESOURCE_ALIAS ${qm_name})
endfunction()

mavu_release_catalogue(mavu.qm ${mavu_ts_ru})
mavu_release_catalogue(mavu_en.qm ${mavu_ts_en})
qt_add_resources(mavucore "mavu_translations"
  PREFIX "/translate"
  FILES ${mavu_qm_dir}/mavu.qm ${mavu_qm_dir}/mavu_en.qm)

# Images, the font and (later) the pages, under the paths the code names.
qt_add_resources(mavucore "mavu_component_images"
  PREFIX "/component"
  BASE ${CMAKE_CURRENT_SOURCE_DIR}/qml
  FILES ${CMAKE_CURRENT_SOURCE_DIR}/qml/image/component/color_line_big.png)
qt_add_resources(mavucore "mavu_font"
  PREFIX "/font"
  BASE ${CMAKE_CURRENT_SOURCE_DIR}/qml
  FILES ${CMAKE_CURRENT_SOURCE_DIR}/qml/font/DejaVuSans.ttf)

# Images the pages draw with (scripts/draw-page-images.py).
file(GLOB mavu_page_component_images CONFIGURE_DEPENDS
  ${CMAKE_CURRENT_SOURCE_DIR}/qml/image/component/*.png ${CMAKE_CURRENT_SOURCE_DIR}/qml/image/component/*.gif)
list(REMOVE_ITEM mavu_page_component_images ${CMAKE_CURRENT_SOURCE_DIR}/qml/image/component/color_line_big.png)
qt_add_resources(mavucore "mavu_page_component_images"
  PREFIX "/component"
  BASE ${CMAKE_CURRENT_SOURCE_DIR}/qml
  FILES ${mavu_page_component_images})
file(GLOB mavu_page_frame_images CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/qml/image/image/*.png)
qt_add_resources(mavucore "mavu_page_frame_images"
  PREFIX "/image"
  BASE ${CMAKE_CURRENT_SOURCE_DIR}/qml
  FILES ${mavu_page_frame_images})
file(GLOB mavu_page_icons CONFIGURE_DEPENDS
  ${CMAKE_CURRENT_SOURCE_DIR}/qml/image/icon/*.png ${CMAKE_CURRENT_SOURCE_DIR}/qml/image/icon/*.ico)
qt_add_resources(mavucore "mavu_page_icons"
  PREFIX "/icon"
  BASE ${CMAKE_CURRENT_SOURCE_DIR}/qml
  FILES ${mavu_page_icons})
# The editor's zoom controls stand under the icon prefix with the component folder's path.
file(GLOB mavu_zoom_images CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/qml/image/component/zoom_*.png)
qt_add_resources(mavucore "mavu_zoom_images"
  PREFIX "/icon"
  BASE ${CMAKE_CURRENT_SOURCE_DIR}/qml
  FILES ${mavu_zoom_images})
qt_add_resources(mavucore "mavu_cursors"
  PREFIX "/cursor"
  BASE ${CMAKE_CURRENT_SOURCE_DIR}/qml
  FILES ${CMAKE_CURRENT_SOURCE_DIR}/qml/image/cursor/cross_cursor.png)

# The pages, their components and scripts, compiled into the library ahead of time under the
# paths the code names (qrc:/qml/qml/...). Compiled at run time instead, each would go through
# Qt's disk cache, whose files a full disk leaves cut and a later start loads and crashes on.
file(GLOB mavu_pages CONFIGURE_DEPENDS
  ${CMAKE_CURRENT_SOURCE_DIR}/qml/qml/*/*.qml ${CMAKE_CURRENT_SOURCE_DIR}/qml/qml/*/*.js)
foreach(page ${mavu_pages})
  file(RELATIVE_PATH alias ${CMAKE_CURRENT_SOURCE_DIR}/qml ${page})
  set_source_files_properties(${page} PROPERTIES QT_RESOURCE_ALIAS ${alias} QT_QML_SKIP_QMLDIR_ENTRY TRUE)
endforeach()
# A library's module puts its URI before every path: "qml" is the paths' first folder. The
# qmldir lists no page (the pages import their folders by path), and the pages use types
# registered from C++ at run time, which neither the type files nor the linter would know of.
qt_add_qml_module(mavucore
  URI qml
  VERSION 1.0
  RESOURCE_PREFIX /
  NO_PLUGIN
  NO_GENERATE_QMLTYPES
  NO_LINT
  QML_FILES ${mavu_pages}
  OUTPUT_TARGETS mavu_page_targets)
# The byte code the run-time compiler made before, so that the pages behave as they did; the
# pages compiled to C++ instead would take a third longer to build, for a few bindings.
set_target_properties(mavucore PROPERTIES QT_QMLCACHEGEN_ARGUMENTS --only-bytecode)
# The compiled pages and their loader need no private header of Qt. Debian ships those apart,
# and CMake refuses the missing folders that Qt6::QmlPrivate names: the public module will do.
foreach(page_target ${mavu_page_targets})
  foreach(property LINK_LIBRARIES INTERFACE_LINK_LIBRARIES)
    get_target_property(libraries ${page_target} ${property})
    if(libraries)
      list(TRANSFORM libraries REPLACE "Qt6::QmlPrivate" "Qt6::Qml")
      set_target_properties(${page_target} PROPERTIES ${property} "${libraries}")
    endif()
  endforeach()
endforeach()

# A copy of a picture under a resource path of its own: prefix, then the relative path.
function(mavu_add_resource_copy name source prefix path)
  set(folder ${CMAKE_CURRENT_BINARY_DIR}/${name})
  configure_file(${source} ${folder}/${path} COPYONLY)
  qt_add_resources(mavucore ${name} PREFIX ${prefix} BASE ${folder} FILES ${folder}/${path})
endfunction()

# The tray icon: the windows' icon under the path the tray reads.
mavu_add_resource_copy(mavu_tray_icon ${CMAKE_CURRENT_SOURCE_DIR}/qml/image/icon/icon.ico "/icon" image/icon.ico)
# The settings store's default avatar address names a folder of its own: the same picture there.
mavu_add_resource_copy(mavu_default_avatar ${CMAKE_CURRENT_SOURCE_DIR}/qml/image/image/avatar_default.png
  "/images" images/avatar_default.png)
