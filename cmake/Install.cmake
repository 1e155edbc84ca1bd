# Installs Vellumor as a desktop program: the editor and vellumor-map, the
# launcher and the file managers' "Show at the table" for a map, the
# software-centre description, the icon in every size the desktop asks for,
# the sample maps, and for the command line the manual pages
# and the bash completion of vellumor-map. File managers learn the file type of
# maps, with its icon, and draw their thumbnails with vellumor-map. The caches
# built from these (mime.cache, icon-theme.cache) are the system's to update.
include(GNUInstallDirs)

set(VELLUMOR_APP_ID org.vellumor.Vellumor)
set(VELLUMOR_DESKTOP_DIR ${PROJECT_SOURCE_DIR}/desktop)

install(TARGETS vellumor vellumor-map RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${VELLUMOR_DESKTOP_DIR}/${VELLUMOR_APP_ID}.desktop
    ${VELLUMOR_DESKTOP_DIR}/${VELLUMOR_APP_ID}.Table.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${VELLUMOR_DESKTOP_DIR}/${VELLUMOR_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 32 48 64 128 256)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/vellumor-${size}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
        RENAME ${VELLUMOR_APP_ID}.png)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/application-x-vellumor-map-${size}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/mimetypes
        RENAME application-x-vellumor-map.png)
endforeach()
install(FILES ${VELLUMOR_DESKTOP_DIR}/vellumor.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${VELLUMOR_DESKTOP_DIR}/vellumor.thumbnailer
    DESTINATION ${CMAKE_INSTALL_DATADIR}/thumbnailers)
install(FILES
    ${PROJECT_SOURCE_DIR}/examples/town.map
    ${PROJECT_SOURCE_DIR}/examples/castle.map
    ${PROJECT_SOURCE_DIR}/examples/desert-fort.map
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vellumor/examples)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/README.md
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vellumor)
install(FILES ${VELLUMOR_DESKTOP_DIR}/completion/vellumor-map
    DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
include(${CMAKE_CURRENT_LIST_DIR}/ManPages.cmake)
