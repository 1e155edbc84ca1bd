# Writes the help of each vellumor-map command as a help2man include file, so
# that the manual page describes every command, not only the overview.
#   cmake -DTOOL=vellumor-map -DOUTPUT=file.h2m -P CommandHelp.cmake
set(text "[COMMANDS]\n")
foreach(command check render export import diff generate lint fix sight table)
    execute_process(COMMAND ${TOOL} ${command} --help OUTPUT_VARIABLE help RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "${TOOL} ${command} --help failed")
    endif()
    # Roff: a backslash is written \e, and no line may start with a dot or an
    # apostrophe, which would make it a request.
    string(REPLACE "\\" "\\e" help "${help}")
    string(REGEX REPLACE "\n([.'])" "\n\\\\&\\1" help "${help}")
    string(APPEND text ".SS ${command}\n.nf\n${help}.fi\n")
endforeach()
file(WRITE ${OUTPUT} "${text}")
