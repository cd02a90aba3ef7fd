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

# Page components, the overlay page and the images they draw with (scripts/draw-page-images.py).
file(GLOB mavu_page_components CONFIGURE_DEPENDS
  ${CMAKE_CURRENT_SOURCE_DIR}/qml/qml/Components/*.qml
  ${CMAKE_CURRENT_SOURCE_DIR}/qml/qml/Components/*.js)
qt_add_resources(mavucore "mavu_page_components"
  PREFIX "/qml"
  BASE ${CMAKE_CURRENT_SOURCE_DIR}/qml
  FILES ${mavu_page_components}
        ${CMAKE_CURRENT_SOURCE_DIR}/qml/qml/Window/SurfaceWindow.qml
        ${CMAKE_CURRENT_SOURCE_DIR}/qml/qml/Window/SurfaceSelectorMacWindow.qml
        ${CMAKE_CURRENT_SOURCE_DIR}/qml/qml/Window/EditPonoramPage.qml)
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

# The pages of the program's small windows.
qt_add_resources(mavucore "mavu_window_pages"
  PREFIX "/qml"
  BASE ${CMAKE_CURRENT_SOURCE_DIR}/qml
  FILES
    ${CMAKE_CURRENT_SOURCE_DIR}/qml/qml/Window/MessagePage.qml
    ${CMAKE_CURRENT_SOURCE_DIR}/qml/qml/Window/ErrorDialog.qml
    ${CMAKE_CURRENT_SOURCE_DIR}/qml/qml/Window/SettingPage.qml
    ${CMAKE_CURRENT_SOURCE_DIR}/qml/qml/Window/RegistrationPage.qml
    ${CMAKE_CURRENT_SOURCE_DIR}/qml/qml/Window/UploadPage.qml
    ${CMAKE_CURRENT_SOURCE_DIR}/qml/qml/Window/LastUploadPage.qml
    ${CMAKE_CURRENT_SOURCE_DIR}/qml/qml/Window/ProxyPage.qml
    ${CMAKE_CURRENT_SOURCE_DIR}/qml/qml/Window/MainToolPage.qml
    ${CMAKE_CURRENT_SOURCE_DIR}/qml/qml/Window/AudioImagePlayer.qml)
file(GLOB mavu_settings_pages CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/qml/qml/Settings/*.qml)
qt_add_resources(mavucore "mavu_settings_pages"
  PREFIX "/qml"
  BASE ${CMAKE_CURRENT_SOURCE_DIR}/qml
  FILES ${mavu_settings_pages})

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
