# The MSI package's identity, for a version: the upgrade code names Quorvale for ever; the
# product code is a name-based (SHA-1) UUID of the upgrade code and the version, so that the
# same version always has the same code (a winget manifest can name it before the build) and
# each new version a new one, which a major upgrade needs.
# Usage: cmake -DVERSION=1.0.4 -P msi-codes.cmake   (prints UPGRADE_CODE=... PRODUCT_CODE=...)
if(NOT VERSION MATCHES "^[0-9]+\\.[0-9]+\\.[0-9]+$")
    message(FATAL_ERROR "msi-codes: VERSION must be MAJOR.MINOR.PATCH, not '${VERSION}'")
endif()
set(upgrade_code "34ECFB57-E34D-4A40-94E3-4D695FB71D93")
string(UUID product_code NAMESPACE "${upgrade_code}" NAME "Quorvale ${VERSION}" TYPE SHA1 UPPER)
execute_process(COMMAND "${CMAKE_COMMAND}" -E echo
    "UPGRADE_CODE={${upgrade_code}} PRODUCT_CODE={${product_code}}")
