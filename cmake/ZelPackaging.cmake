# What `cpack` makes from an installed build (scripts/package drives it):
# - on Linux, Debian packages, one per installed part: libzel<SOVERSION> (the shared
#   library), libzel-dev (headers, CMake package, pkg-config file), zelgen (the tool, its
#   manual page, bash completion, README and examples) and python3-zel (the module), each
#   with its copyright file; and a .tar.gz of the whole installed tree;
# - from the MinGW-w64 cross build, a Windows .zip: zel.dll and zelgen.exe side by side
#   in bin/ (the toolchain links the GCC runtime into them, so no MinGW DLL is needed),
#   the import library, headers, CMake package, README and examples.
# Debian packages install under /usr: configure such a build with
# -DCMAKE_INSTALL_PREFIX=/usr, so that the library goes to the multiarch folder.

# README and example looks travel with the tool; the copyright file with every package.
if(WIN32)
  install(FILES README.md DESTINATION . COMPONENT tools)
  install(FILES packaging/copyright DESTINATION . COMPONENT tools)
  install(DIRECTORY examples/looks/ DESTINATION examples COMPONENT tools
    FILES_MATCHING PATTERN "*.cube")
else()
  install(FILES README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zelgen COMPONENT tools)
  install(DIRECTORY examples/looks/ DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zelgen/examples
    COMPONENT tools FILES_MATCHING PATTERN "*.cube")
endif()

set(zel_soversion ${PROJECT_VERSION_MAJOR})
set(zel_deb_names runtime libzel${zel_soversion} dev libzel-dev tools zelgen python python3-zel)
set(zel_components runtime dev)
if(TARGET zelgen)
  list(APPEND zel_components tools)
endif()
if(TARGET zel_python)
  list(APPEND zel_components python)
endif()
if(NOT WIN32)
  foreach(component IN LISTS zel_components)
    list(FIND zel_deb_names ${component} at)
    math(EXPR at "${at} + 1")
    list(GET zel_deb_names ${at} package)
    install(FILES packaging/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package}
      COMPONENT ${component})
  endforeach()
endif()

set(CPACK_PACKAGE_NAME zel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "the zel developers")
set(CPACK_PACKAGE_CONTACT "zel developers <zel-devel@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_RESOURCE_FILE_README ${PROJECT_SOURCE_DIR}/README.md)
set(CPACK_COMPONENTS_ALL ${zel_components})
set(CPACK_COMPONENT_DEV_DEPENDS runtime)
set(CPACK_COMPONENT_TOOLS_DEPENDS runtime)
set(CPACK_COMPONENT_PYTHON_DEPENDS runtime)
# An archive holds the whole installed tree in one file.
set(CPACK_ARCHIVE_COMPONENT_INSTALL OFF)
set(CPACK_STRIP_FILES ON)

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME zel-${PROJECT_VERSION}-win64)
else()
  set(CPACK_GENERATOR "DEB;TGZ")
  set(CPACK_DEB_COMPONENT_INSTALL ON)
  set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # The library's package tells the packages built against it which version to depend on.
  set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
  set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
  # libzel is found in the build tree; the packages that need it depend on libzel0 by
  # their component dependencies, with the exact version.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${PROJECT_BINARY_DIR})
  set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://example.org/zel")
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME libzel${zel_soversion})
  set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
  set(CPACK_DEBIAN_RUNTIME_DESCRIPTION "camera look files from creative looks - shared library\n\
The zel library turns a creative look (a 3D LUT) into the binary look file a camera\n\
loads, through a C++ and a C interface.")
  set(CPACK_DEBIAN_DEV_PACKAGE_NAME libzel-dev)
  set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
  set(CPACK_DEBIAN_DEV_DESCRIPTION "camera look files from creative looks - development files\n\
Headers of the C++ and C interfaces, the CMake package (find_package(zel)) and the\n\
pkg-config file of the zel library.")
  set(CPACK_DEBIAN_TOOLS_PACKAGE_NAME zelgen)
  set(CPACK_DEBIAN_TOOLS_PACKAGE_SECTION graphics)
  set(CPACK_DEBIAN_TOOLS_DESCRIPTION "camera look files from creative looks - command-line tool\n\
zelgen makes a camera look file from a .cube 3D LUT, shows what a look file holds\n\
and checks how closely the camera renders the look.")
  set(CPACK_DEBIAN_PYTHON_PACKAGE_NAME python3-zel)
  set(CPACK_DEBIAN_PYTHON_PACKAGE_SECTION python)
  set(CPACK_DEBIAN_PYTHON_DESCRIPTION "camera look files from creative looks - Python module\n\
The Python module zel reads .cube files into numpy arrays, makes look files and\n\
shows what they hold.")
  if(TARGET zel_python)
    # The compiled module serves the one Python version it was built for.
    math(EXPR next_minor "${Python_VERSION_MINOR} + 1")
    set(CPACK_DEBIAN_PYTHON_PACKAGE_DEPENDS
      "python3 (>= ${Python_VERSION_MAJOR}.${Python_VERSION_MINOR}), python3 (<< ${Python_VERSION_MAJOR}.${next_minor}), python3-numpy")
  endif()
endif()

include(CPack)
