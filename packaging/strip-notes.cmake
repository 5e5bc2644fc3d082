# Run by CPack on its staging directory before it builds the package: removes the sections a stripped
# Debian binary does not carry, as dh_strip does.
file(GLOB_RECURSE staged LIST_DIRECTORIES false "${CPACK_TEMPORARY_DIRECTORY}/*")
foreach(file IN LISTS staged)
    file(READ "${file}" magic LIMIT 4 HEX)
    if(magic STREQUAL "7f454c46") # ELF
        execute_process(COMMAND "${CPACK_OCHRELINE_STRIP}" --remove-section=.comment --remove-section=.note "${file}"
                        COMMAND_ERROR_IS_FATAL ANY)
    endif()
endforeach()
