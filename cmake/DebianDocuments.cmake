# Run by cpack before the Debian package is made (CPACK_PRE_BUILD_SCRIPTS):
# puts what Debian's policy asks of every package into its documentation
# folder, the machine-readable copyright and the changelog compressed as
# dpkg expects (gzip -9n), so that a plain `cmake --install` leaves them out.
# CPACK_PELMORA_DEBIAN_DOCUMENTS names the folder holding the two files ready.
set(doc_dir "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}/share/doc/pelmora")
if(NOT IS_DIRECTORY "${doc_dir}")
  message(FATAL_ERROR "no documentation folder in the package's staging tree: ${doc_dir}")
endif()
file(COPY "${CPACK_PELMORA_DEBIAN_DOCUMENTS}/copyright" DESTINATION "${doc_dir}")
set(overrides_dir "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}/share/lintian/overrides")
file(MAKE_DIRECTORY "${overrides_dir}")
file(COPY_FILE "${CPACK_PELMORA_DEBIAN_DOCUMENTS}/lintian-overrides" "${overrides_dir}/pelmora")
execute_process(
  COMMAND gzip -9nc "${CPACK_PELMORA_DEBIAN_DOCUMENTS}/changelog.Debian"
  OUTPUT_FILE "${doc_dir}/changelog.Debian.gz"
  RESULT_VARIABLE gzip_result)
if(NOT gzip_result EQUAL 0)
  message(FATAL_ERROR "gzip of the Debian changelog failed: ${gzip_result}")
endif()
