# What `cmake --install` puts where, and the package that programs outside the tree
# find it by (`find_package(zeKalendo)` or `pkg-config zekalendo`).
#
#   lib/                 libzeplatform.so.M, libzeqt.so.M (versioned, SONAME .so.M)
#   lib/zekalendo/       the component library, which the registry entries point at
#   include/zekalendo/   the public headers, included as "frame/..." from that root
#   bin/                 the tools
#   lib/cmake/zeKalendo/ the CMake package; lib/pkgconfig/ the pkg-config files
#
# Every installed binary finds its neighbours through a RUNPATH relative to itself
# ($ORIGIN), so a prefix can be moved or unpacked anywhere; the build folder never
# appears in an installed file.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(ZE_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/zekalendo)
set(ZE_INSTALL_COMPONENTDIR ${CMAKE_INSTALL_LIBDIR}/zekalendo)
set(ZE_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/zeKalendo)
set(ZE_INSTALL_PKGCONFIGDIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
# The build tree keeps CMake's absolute build RPATH, so that the tests may copy a
# program elsewhere and still run it against the build's libraries; installing
# replaces it with the relative one.

# The RUNPATH of a binary installed in DESTINATION that needs the libraries in LIBDIR.
function(ze_origin_runpath out destination)
  file(RELATIVE_PATH rel /${destination} /${CMAKE_INSTALL_LIBDIR})
  if(rel STREQUAL "")
    set(${out} "$ORIGIN" PARENT_SCOPE)
  else()
    set(${out} "$ORIGIN/${rel}" PARENT_SCOPE)
  endif()
endfunction()

# Installs a library of the project and exports it as zeKalendo::NAME (an alias of the
# same name serves the tree itself, so examples read alike inside and out).
#   ze_install_library(TARGET NAME name [COMPONENTS] [HEADERS folder...])
# COMPONENTS puts it in the component library's folder instead of lib/. HEADERS are
# source folders (relative to the top) whose headers go under the include root.
function(ze_install_library target)
  cmake_parse_arguments(I "COMPONENTS" "NAME" "HEADERS" ${ARGN})
  set(destination ${CMAKE_INSTALL_LIBDIR})
  if(I_COMPONENTS)
    set(destination ${ZE_INSTALL_COMPONENTDIR})
  endif()
  ze_origin_runpath(runpath ${destination})
  set_target_properties(${target} PROPERTIES
    VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR}
    EXPORT_NAME ${I_NAME} INSTALL_RPATH "${runpath}")
  target_include_directories(${target} INTERFACE $<INSTALL_INTERFACE:${ZE_INSTALL_INCLUDEDIR}>)
  add_library(zeKalendo::${I_NAME} ALIAS ${target})
  install(TARGETS ${target} EXPORT zeKalendoTargets
          LIBRARY DESTINATION ${destination} ARCHIVE DESTINATION ${destination})
  foreach(folder ${I_HEADERS})
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/${folder}/ DESTINATION ${ZE_INSTALL_INCLUDEDIR}/${folder}
            FILES_MATCHING PATTERN "*.h")
  endforeach()
endfunction()

# Installs a program of the project into bin/.
function(ze_install_tool target)
  ze_origin_runpath(runpath ${CMAKE_INSTALL_BINDIR})
  set_target_properties(${target} PROPERTIES INSTALL_RPATH "${runpath}")
  install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endfunction()

# A pkg-config file from cmake/NAME.pc.in. Its prefix is found from the file's own
# place (${pcfiledir}), so the installed tree stays relocatable.
function(ze_install_pkgconfig name)
  file(RELATIVE_PATH ZE_PC_PREFIX /${ZE_INSTALL_PKGCONFIGDIR} /)
  string(REGEX REPLACE "/$" "" ZE_PC_PREFIX "${ZE_PC_PREFIX}")
  configure_file(${PROJECT_SOURCE_DIR}/cmake/${name}.pc.in
                 ${PROJECT_BINARY_DIR}/pkgconfig/${name}.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/pkgconfig/${name}.pc DESTINATION ${ZE_INSTALL_PKGCONFIGDIR})
endfunction()

# The package files; called once, after every library has been declared.
function(ze_install_package)
  install(FILES ${PROJECT_BINARY_DIR}/generated/ze_version.h DESTINATION ${ZE_INSTALL_INCLUDEDIR})
  install(EXPORT zeKalendoTargets NAMESPACE zeKalendo:: DESTINATION ${ZE_INSTALL_CMAKEDIR})
  set(ZE_COMPONENT_LIBRARY
      ${ZE_INSTALL_COMPONENTDIR}/libzeKalendo.so.${PROJECT_VERSION_MAJOR})
  configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/zeKalendoConfig.cmake.in
    ${PROJECT_BINARY_DIR}/package/zeKalendoConfig.cmake
    INSTALL_DESTINATION ${ZE_INSTALL_CMAKEDIR} PATH_VARS ZE_COMPONENT_LIBRARY)
  write_basic_package_version_file(${PROJECT_BINARY_DIR}/package/zeKalendoConfigVersion.cmake
    VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
  install(FILES ${PROJECT_BINARY_DIR}/package/zeKalendoConfig.cmake
                ${PROJECT_BINARY_DIR}/package/zeKalendoConfigVersion.cmake
          DESTINATION ${ZE_INSTALL_CMAKEDIR})
  ze_install_pkgconfig(zekalendo)
  if(TARGET zeqt)
    ze_install_pkgconfig(zekalendo-qt)
  endif()
endfunction()
