# Read by cpack once for each of its generators. The zip is the portable
# copy: the installed files in a folder of the zip's own name, and the file
# that tells the program it was unpacked, not installed.
if(CPACK_GENERATOR STREQUAL "ZIP")
    set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_FILE_NAME}-portable")
    set(CPACK_INSTALLED_DIRECTORIES "${CPACK_DALVERO_PORTABLE_FOLDER};.")
endif()
