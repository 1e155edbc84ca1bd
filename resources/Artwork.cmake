# Compiles the program's pictures into a target as Qt resources, at the same
# paths they have below resources/ (":/symbols/symbol01.bmp"). The pictures are
# written by tools/artgen from the sources in resources/art.
set(VELLUMOR_RESOURCES_DIR "${CMAKE_CURRENT_LIST_DIR}")

function(vellumor_add_artwork target)
    set(files)
    foreach(code RANGE 1 64)
        string(LENGTH "${code}" digits)
        if(digits EQUAL 1)
            set(code "0${code}")
        endif()
        list(APPEND files "symbols/symbol${code}.bmp")
    endforeach()
    foreach(size 16 32 48 64 128 256)
        list(APPEND files "icons/vellumor-${size}.png")
    endforeach()
    foreach(name new open save)
        list(APPEND files "toolbar/${name}.bmp" "toolbar/${name}@2x.bmp")
    endforeach()
    list(APPEND files "about/emblem.png" "about/company-logo.png")
    list(TRANSFORM files PREPEND "${VELLUMOR_RESOURCES_DIR}/")
    qt_add_resources(${target} "vellumor_artwork"
        PREFIX "/"
        BASE "${VELLUMOR_RESOURCES_DIR}"
        OPTIONS --no-compress
        FILES ${files})
endfunction()
