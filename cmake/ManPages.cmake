# Manual pages for vellumor and vellumor-map, made from their --help by
# help2man at build time, so that they never fall behind the programs.
find_program(HELP2MAN help2man)
if(NOT HELP2MAN)
    message(WARNING "help2man not found: no manual pages (Debian package help2man)")
    return()
endif()

set(VELLUMOR_MAN_DIR ${CMAKE_BINARY_DIR}/man)
file(MAKE_DIRECTORY ${VELLUMOR_MAN_DIR})
set(offscreen ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen)

add_custom_command(OUTPUT ${VELLUMOR_MAN_DIR}/vellumor-map-commands.h2m
    COMMAND ${offscreen} ${CMAKE_COMMAND} -DTOOL=$<TARGET_FILE:vellumor-map>
        -DOUTPUT=${VELLUMOR_MAN_DIR}/vellumor-map-commands.h2m
        -P ${PROJECT_SOURCE_DIR}/cmake/CommandHelp.cmake
    DEPENDS vellumor-map ${PROJECT_SOURCE_DIR}/cmake/CommandHelp.cmake
    VERBATIM)
add_custom_command(OUTPUT ${VELLUMOR_MAN_DIR}/vellumor-map.1
    COMMAND ${offscreen} ${HELP2MAN} --no-info --section=1
        "--name=check, draw, export, import and compare Vellumor maps"
        --include=${VELLUMOR_MAN_DIR}/vellumor-map-commands.h2m
        --output=${VELLUMOR_MAN_DIR}/vellumor-map.1 $<TARGET_FILE:vellumor-map>
    DEPENDS vellumor-map ${VELLUMOR_MAN_DIR}/vellumor-map-commands.h2m
    VERBATIM)
add_custom_command(OUTPUT ${VELLUMOR_MAN_DIR}/vellumor.1
    COMMAND ${offscreen} ${HELP2MAN} --no-info --section=1
        "--name=draw tile maps for role-playing games"
        --output=${VELLUMOR_MAN_DIR}/vellumor.1 $<TARGET_FILE:vellumor>
    DEPENDS vellumor
    VERBATIM)
add_custom_target(vellumor_manpages ALL
    DEPENDS ${VELLUMOR_MAN_DIR}/vellumor.1 ${VELLUMOR_MAN_DIR}/vellumor-map.1)

install(FILES ${VELLUMOR_MAN_DIR}/vellumor.1 ${VELLUMOR_MAN_DIR}/vellumor-map.1
    DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
