# Run by cpack for each package once the files are staged: signs the staged program (sign.sh).
execute_process(COMMAND bash "${CPACK_OCHRELINE_SIGN}" "${CPACK_TEMPORARY_DIRECTORY}/${CPACK_OCHRELINE_PROGRAM}"
                        "${CPACK_NSIS_PACKAGE_NAME}"
                COMMAND_ERROR_IS_FATAL ANY)
