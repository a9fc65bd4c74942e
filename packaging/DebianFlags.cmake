# Debian's build flags, hardening included, as dpkg-buildflags gives them (it reads DEB_BUILD_MAINT_OPTIONS).
# scripts/package.sh has the package's build include this after project().
foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(COMMAND dpkg-buildflags --get ${kind} OUTPUT_VARIABLE debian_${kind}
        OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
endforeach()
string(APPEND CMAKE_CXX_FLAGS " ${debian_CPPFLAGS} ${debian_CXXFLAGS}")
string(APPEND CMAKE_EXE_LINKER_FLAGS " ${debian_LDFLAGS}")
