# Conformance measurement: every public test cartridge beside the repository run through
# wrenfold-headless, with a pass / fail / no-verdict table in the test's output. Labelled
# "conformance" so the gating presets leave it out; it never fails (a missing folder skips).
add_test(NAME conformance_testroms
         COMMAND ${CMAKE_CURRENT_LIST_DIR}/run_testroms.sh
                 $<TARGET_FILE:wrenfold-headless> ${WRENFOLD_SHARED_DIR}/testroms)
set_tests_properties(conformance_testroms PROPERTIES
                     LABELS conformance
                     SKIP_RETURN_CODE 77
                     TIMEOUT 7200)
# The CPU cartridges once more on the full core, which runs the undocumented opcodes.
add_test(NAME conformance_testroms_full_core
         COMMAND ${CMAKE_CURRENT_LIST_DIR}/run_testroms.sh
                 $<TARGET_FILE:wrenfold-headless> ${WRENFOLD_SHARED_DIR}/testroms)
set_tests_properties(conformance_testroms_full_core PROPERTIES
                     LABELS conformance
                     SKIP_RETURN_CODE 77
                     TIMEOUT 7200
                     ENVIRONMENT "WRENFOLD_CONFORMANCE_CORE=full;WRENFOLD_CONFORMANCE_ONLY=cpu")
