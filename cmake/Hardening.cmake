# Hardened programs: the compiler and linker flags Debian builds its packages with, as
# dpkg-buildflags gives them with every hardening feature on (the stack protector,
# _FORTIFY_SOURCE=2, format checks, RELRO and BIND_NOW; Debian's compiler makes PIE by
# default). The programs parse files that users receive from others, so the package and
# the tree `make run` starts are built alike. The build type keeps its own optimisation and
# debugging flags. Sanitizer and fuzz builds go without: their runtimes do the checking,
# and _FORTIFY_SOURCE wants an optimised build, which a Debug build is not.

if(VENTROLUX_SANITIZE OR VENTROLUX_FUZZ)
  set(_hardening_default OFF)
else()
  set(_hardening_default ON)
endif()
option(VENTROLUX_HARDENING "Build with the hardening flags of dpkg-buildflags" ${_hardening_default})

if(VENTROLUX_HARDENING)
  find_program(DPKG_BUILDFLAGS dpkg-buildflags)
  if(NOT DPKG_BUILDFLAGS)
    message(FATAL_ERROR "dpkg-buildflags (Debian package dpkg-dev) is missing; "
                        "install it or configure with -DVENTROLUX_HARDENING=OFF")
  endif()

  # One kind of flags (CPPFLAGS, CXXFLAGS, LDFLAGS) as a list. Run from the source folder,
  # so that the file-prefix map it adds makes the paths in the programs relative to it.
  function(_ventrolux_buildflags kind out)
    execute_process(
      COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all ${DPKG_BUILDFLAGS} --get ${kind}
      WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
      OUTPUT_VARIABLE _flags
      OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    separate_arguments(_flags UNIX_COMMAND "${_flags}")
    set(${out} ${_flags} PARENT_SCOPE)
  endfunction()

  _ventrolux_buildflags(CPPFLAGS _cppflags)
  _ventrolux_buildflags(CXXFLAGS _cxxflags)
  _ventrolux_buildflags(LDFLAGS _ldflags)

  set(_taken)
  foreach(flag IN LISTS _cppflags _cxxflags)
    if(flag MATCHES "^-(O.*|g.*)$")
      continue() # the build type's
    elseif(flag MATCHES "^-D_FORTIFY_SOURCE")
      add_compile_options("$<$<NOT:$<CONFIG:Debug>>:${flag}>")
    else()
      add_compile_options(${flag})
    endif()
    list(APPEND _taken ${flag})
  endforeach()
  add_link_options(${_ldflags})
  list(APPEND _taken ${_ldflags})
  list(JOIN _taken " " _taken)
  message(STATUS "Hardening flags of dpkg-buildflags: ${_taken}")
endif()
