# Makes the packages of a build configured with PENDRIK_PACKAGES, in BUILD/packages: the .deb
# and the .tar.gz of the Linux build, the .zip of the Windows build in BUILD/windows, and
# SHA256SUMS. Every time stamp in them is SOURCE_DATE_EPOCH, the time of the last commit unless
# set, so that every clean build of a commit gives the same bytes.
# Usage: cmake -D build=BUILD -D source=SOURCE -P make-packages.cmake
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  execute_process(COMMAND git log -1 --format=%ct WORKING_DIRECTORY ${source}
    OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${source} is no git checkout: set SOURCE_DATE_EPOCH")
  endif()
  set(ENV{SOURCE_DATE_EPOCH} ${epoch})
endif()

set(packages ${build}/packages)
file(REMOVE_RECURSE ${packages})
foreach(config IN ITEMS ${build} ${build}/windows)
  execute_process(COMMAND ${CMAKE_CPACK_COMMAND} --config ${config}/CPackConfig.cmake -B ${packages}
    COMMAND_ERROR_IS_FATAL ANY)
endforeach()
file(REMOVE_RECURSE ${packages}/_CPack_Packages)

file(GLOB files RELATIVE ${packages} ${packages}/*)
set(sums "")
foreach(file IN LISTS files)
  file(SHA256 ${packages}/${file} sum)
  string(APPEND sums "${sum}  ${file}\n")
endforeach()
file(WRITE ${packages}/SHA256SUMS "${sums}")
