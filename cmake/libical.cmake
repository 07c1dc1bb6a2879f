# pendrik::libical, the iCalendar library that ostavel reads events with. A native Linux build
# takes Debian's headers through pkg-config and loads its library when it is used; the Windows and 32-bit builds cannot, and build libical
# 3.0.16 from Debian's source package instead: at configure time, static, with this build's
# compiler and flags. With the fuzz targets, pendrik::libical_fuzz is libical built with their
# sanitizers, so that the fuzzer finds a crash inside it too.

# Builds the core library of libical in BUILD/libical/NAME with the C flags given, and defines
# TARGET for it. A build whose stamp, the tarball's SHA-256 and the settings, has not changed
# is used again.
function(pendrik_libical target name)
  set(work ${CMAKE_BINARY_DIR}/libical/${name})
  set(prefix ${work}/prefix)
  execute_process(COMMAND bash ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/../scripts/libical-source.sh
    OUTPUT_VARIABLE tarball OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  file(SHA256 ${tarball} sha256)
  # libical is C: its compiler is this build's C compiler where one is set, else the one beside
  # the C++ compiler.
  set(c_compiler ${CMAKE_C_COMPILER})
  if(NOT c_compiler)
    string(REPLACE "clang++" "clang" c_compiler "${CMAKE_CXX_COMPILER}")
    string(REPLACE "g++" "gcc" c_compiler "${c_compiler}")
    string(REPLACE "c++" "cc" c_compiler "${c_compiler}")
  endif()
  # __FILE__ and the debug information name the sources as in Debian's library, ./src/libical/,
  # whatever the build's folder: libical's warnings on stderr are Debian's, and a build elsewhere
  # gives the same bytes. The installation folder, where libical would look for time zones of
  # its own, is written in too: /usr, as in Debian's.
  string(JOIN " " c_flags ${ARGN}
    -ffile-prefix-map=${work}/libical-3.0.16=. -ffile-prefix-map=${work}/build=build)
  set(arguments -G ${CMAKE_GENERATOR} -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
    -DCMAKE_C_COMPILER=${c_compiler} "-DCMAKE_C_FLAGS=${c_flags}"
    -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_INSTALL_LIBDIR=lib
    -DSTATIC_ONLY=ON -DWITH_CXX_BINDINGS=OFF -DICAL_GLIB=OFF -DICAL_BUILD_DOCS=OFF
    -DLIBICAL_BUILD_TESTING=OFF -DGOBJECT_INTROSPECTION=OFF -DICAL_GLIB_VAPI=OFF
    -DCMAKE_DISABLE_FIND_PACKAGE_ICU=ON -DCMAKE_DISABLE_FIND_PACKAGE_BerkeleyDB=ON)
  if(CMAKE_TOOLCHAIN_FILE)
    list(APPEND arguments -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE})
  endif()
  string(JOIN "\n" stamp ${sha256} ${arguments})

  set(built "")
  if(EXISTS ${work}/stamp)
    file(READ ${work}/stamp built)
  endif()
  if(NOT built STREQUAL stamp)
    message(STATUS "Building libical (${name}) in ${work}")
    file(REMOVE_RECURSE ${work})
    file(ARCHIVE_EXTRACT INPUT ${tarball} DESTINATION ${work})
    cmake_host_system_information(RESULT cores QUERY NUMBER_OF_LOGICAL_CORES)
    pendrik_libical_step(${work}/configure.log
      ${CMAKE_COMMAND} -S ${work}/libical-3.0.16 -B ${work}/build ${arguments})
    pendrik_libical_step(${work}/build.log
      ${CMAKE_COMMAND} --build ${work}/build --target ical --parallel ${cores})
    # Only the core library's folder: its library and headers.
    pendrik_libical_step(${work}/install.log
      ${CMAKE_COMMAND} --install ${work}/build/src/libical --prefix ${prefix})
    file(WRITE ${work}/stamp "${stamp}")
  endif()

  # Definitions such as those of time_t's size must be the same in the programs.
  set(definitions ${ARGN})
  list(FILTER definitions INCLUDE REGEX "^-D")
  list(TRANSFORM definitions REPLACE "^-D" "")
  find_package(Threads REQUIRED) # libical locks its time zones with POSIX mutexes
  add_library(${target} STATIC IMPORTED)
  set_target_properties(${target} PROPERTIES
    IMPORTED_LOCATION ${prefix}/lib/${CMAKE_STATIC_LIBRARY_PREFIX}ical${CMAKE_STATIC_LIBRARY_SUFFIX}
    INTERFACE_INCLUDE_DIRECTORIES ${prefix}/include
    INTERFACE_COMPILE_DEFINITIONS "LIBICAL_ICAL_STATIC_DEFINE;${definitions}"
    INTERFACE_LINK_LIBRARIES Threads::Threads)
endfunction()

# Runs a command with its output in LOG, and stops with LOG's path when it fails.
function(pendrik_libical_step log)
  execute_process(COMMAND ${ARGN} OUTPUT_FILE ${log} ERROR_FILE ${log} RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "Building libical failed: see ${log}")
  endif()
endfunction()

# A 32-bit build's libical has 64-bit time and file offsets, as CMakeLists.txt gives the programs.
if(CMAKE_SIZEOF_VOID_P EQUAL 4 AND NOT WIN32)
  set(libical_flags -m32 -D_TIME_BITS=64 -D_FILE_OFFSET_BITS=64)
endif()
if(WIN32 OR CMAKE_SIZEOF_VOID_P EQUAL 4)
  pendrik_libical(pendrik::libical release ${libical_flags})
else()
  # Debian's shared library, loaded when ostavel reads its first calendar file: its headers
  # alone at build time.
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(libical REQUIRED libical)
  set(PENDRIK_LIBICAL_SHARED ON)
  add_library(pendrik_libical_headers INTERFACE)
  target_include_directories(pendrik_libical_headers SYSTEM INTERFACE ${libical_INCLUDE_DIRS})
  target_compile_options(pendrik_libical_headers INTERFACE ${libical_CFLAGS_OTHER})
  add_library(pendrik::libical_headers ALIAS pendrik_libical_headers)
endif()
if(PENDRIK_TESTS AND PENDRIK_FUZZ)
  pendrik_libical(pendrik::libical_fuzz fuzz ${libical_flags}
    -fsanitize=address,undefined -fno-sanitize-recover=all -fsanitize=fuzzer-no-link)
endif()
