# Installs Vellumor as a desktop program: the editor and vellumor-map, the
# launcher, the software-centre description, the icon in every size the
# desktop asks for, the sample maps, and for the command line the manual pages
# and the bash completion of vellumor-map.
include(GNUInstallDirs)

set(VELLUMOR_APP_ID org.vellumor.Vellumor)
set(VELLUMOR_DESKTOP_DIR ${PROJECT_SOURCE_DIR}/desktop)

install(TARGETS vellumor vellumor-map RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${VELLUMOR_DESKTOP_DIR}/${VELLUMOR_APP_ID}.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${VELLUMOR_DESKTOP_DIR}/${VELLUMOR_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 32 48 64 128 256)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/vellumor-${size}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
        RENAME ${VELLUMOR_APP_ID}.png)
endforeach()
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
