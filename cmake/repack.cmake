# Run by CPack after it has made a package, when SOURCE_DATE_EPOCH is set: makes the package
# again from the same staged files so that its bytes depend on the sources alone. CPack of
# CMake 3.25 writes the time of the run into gzip headers, the .deb's control archive and ar
# members and the zip's change times, and the builder as owner; here GNU tar, gzip -n, zip -X
# and dpkg-deb write SOURCE_DATE_EPOCH, UTC and root instead.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  return()
endif()
set(stage ${CPACK_TEMPORARY_DIRECTORY})
set(package ${CPACK_PACKAGE_FILES})
get_filename_component(top ${stage} DIRECTORY)
get_filename_component(name ${stage} NAME)
file(REMOVE ${package}) # zip would add to it

set(tree ${stage})
if(CPACK_GENERATOR STREQUAL "DEB")
  set(tree ${top}/deb)
  file(MAKE_DIRECTORY ${tree}/DEBIAN)
  file(RENAME ${stage}/usr ${tree}/usr)
  file(COPY ${stage}/control ${stage}/md5sums DESTINATION ${tree}/DEBIAN)
endif()
# No trace of the builder's umask or of the time of the build.
execute_process(COMMAND chmod -R u+rwX,go=rX ${tree} COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND find ${tree} -exec touch -h -d @$ENV{SOURCE_DATE_EPOCH} {} +
  COMMAND_ERROR_IS_FATAL ANY)

if(CPACK_GENERATOR STREQUAL "DEB")
  execute_process(COMMAND dpkg-deb --root-owner-group --build ${tree} ${package}
    OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
elseif(CPACK_GENERATOR STREQUAL "TGZ")
  # Files only, no folders: extracted into /usr/local, it leaves the folders there as they are.
  set(ENV{LC_ALL} C)
  execute_process(
    COMMAND find ${name} -type f
    COMMAND sort
    COMMAND tar --no-recursion -T - --format=gnu --owner=0 --group=0 --numeric-owner -cf -
    COMMAND gzip -9n
    WORKING_DIRECTORY ${top} OUTPUT_FILE ${package} COMMAND_ERROR_IS_FATAL ANY)
elseif(CPACK_GENERATOR STREQUAL "ZIP")
  set(ENV{TZ} UTC0) # a zip's times are local times
  execute_process(COMMAND find ${name} -type f COMMAND sort COMMAND zip -X -D -9 -q ${package} -@
    WORKING_DIRECTORY ${top} COMMAND_ERROR_IS_FATAL ANY)
else()
  message(FATAL_ERROR "No reproducible ${CPACK_GENERATOR} package")
endif()
