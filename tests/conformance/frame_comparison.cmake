# Picture measurement: every cartridge we have compared frame by frame with the reference core
# (scripts/compare-frames.sh --all). The table goes to the build folder; the one kept in the
# repository (tests/frame_comparison/table.md) is refreshed by running the script by hand.
# Labelled "conformance": it never gates, and it skips when the reference core is absent.
add_test(NAME conformance_frame_comparison
         COMMAND ${PROJECT_SOURCE_DIR}/scripts/compare-frames.sh --all
                 --bin ${CMAKE_BINARY_DIR}/bin
                 --table ${CMAKE_BINARY_DIR}/frame_comparison/table.md
                 --out ${CMAKE_BINARY_DIR}/frame_comparison)
set_tests_properties(conformance_frame_comparison PROPERTIES
                     LABELS conformance
                     SKIP_RETURN_CODE 77
                     TIMEOUT 3600)
