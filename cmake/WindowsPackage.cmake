# The Windows download: Kalvior-<version>-win64.zip with the VST 3 bundle, the
# VST 2 DLL and the install text, rebuilt whenever the module is.

file(STRINGS "${PROJECT_SOURCE_DIR}/params/version.h" versionLine REGEX "kVersion = \"[^\"]*\"")
string(REGEX MATCH "\"([^\"]*)\"" unused "${versionLine}")
set(KALVIOR_VERSION "${CMAKE_MATCH_1}")
file(STRINGS "${PROJECT_SOURCE_DIR}/params/version.h" vendorLine REGEX "kVendor = \"[^\"]*\"")
string(REGEX MATCH "\"([^\"]*)\"" unused "${vendorLine}")
set(KALVIOR_VENDOR "${CMAKE_MATCH_1}")

set(KALVIOR_WINDOWS_ZIP "${CMAKE_BINARY_DIR}/Kalvior-${KALVIOR_VERSION}-win64.zip")
set(stage "${CMAKE_BINARY_DIR}/package")
set(installText "${CMAKE_BINARY_DIR}/package-install.txt")
# Windows editors show the text with CR LF line ends.
configure_file("${PROJECT_SOURCE_DIR}/cmake/windows-install.txt" "${installText}" @ONLY NEWLINE_STYLE CRLF)

add_custom_command(
    OUTPUT "${KALVIOR_WINDOWS_ZIP}"
    COMMAND "${CMAKE_COMMAND}" -E rm -rf "${stage}"
    COMMAND "${CMAKE_COMMAND}" -E make_directory "${stage}"
    COMMAND "${CMAKE_COMMAND}" -E copy_directory "${KALVIOR_BUNDLE_DIR}" "${stage}/Kalvior.vst3"
    COMMAND "${CMAKE_COMMAND}" -E copy "${KALVIOR_VST2_DLL}" "${stage}/Kalvior.dll"
    COMMAND "${CMAKE_COMMAND}" -E copy "${installText}" "${stage}/INSTALL.txt"
    COMMAND "${CMAKE_COMMAND}" -E rm -f "${KALVIOR_WINDOWS_ZIP}"
    COMMAND "${CMAKE_COMMAND}" -E chdir "${stage}" "${CMAKE_COMMAND}" -E tar cf "${KALVIOR_WINDOWS_ZIP}" --format=zip
            Kalvior.vst3 Kalvior.dll INSTALL.txt
    DEPENDS Kalvior kalvior_module_info "${installText}"
    COMMENT "Packing ${KALVIOR_WINDOWS_ZIP}"
    VERBATIM)
add_custom_target(kalvior_windows_package ALL DEPENDS "${KALVIOR_WINDOWS_ZIP}")
