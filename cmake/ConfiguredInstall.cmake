# ochre_install_configured(SOURCE DESTINATION NAME [GZIP]): installs SOURCE as DESTINATION/NAME with the
# project's @VARIABLES@ filled in at configure time and ${CMAKE_INSTALL_PREFIX} at install time, since a
# package installs under its own prefix, not the build tree's. GZIP compresses it as Debian wants its
# manual pages and changelogs: at most, and without a name or time stamp, so rebuilds are identical.
function(ochre_install_configured source destination name)
    cmake_parse_arguments(ARG "GZIP" "" "" ${ARGN})
    get_filename_component(source "${source}" ABSOLUTE)
    set(staged "${CMAKE_CURRENT_BINARY_DIR}/${name}.in")
    configure_file("${source}" "${staged}" @ONLY)
    set(target "\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${destination}/${name}")
    # Read by all, whatever the umask the source was checked out with.
    set(code "configure_file(\"${staged}\" \"${target}\" FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)\n")
    if(ARG_GZIP)
        string(APPEND code "execute_process(COMMAND gzip -9nf \"${target}\" COMMAND_ERROR_IS_FATAL ANY)\n")
        string(APPEND target ".gz")
    endif()
    string(APPEND code "message(STATUS \"Installing: ${target}\")")
    install(CODE "${code}")
endfunction()
