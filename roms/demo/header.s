; iNES header of wrenfold_demo: mapper 0 (NROM-256), 32 KB PRG ROM, 8 KB CHR ROM, vertical
; mirroring (two name tables side by side for horizontal scrolling).
.segment "HEADER"
    .byte "NES", $1A
    .byte 2                 ; PRG ROM in 16 KB units
    .byte 1                 ; CHR ROM in 8 KB units
    .byte %00000001         ; mapper 0 low nibble, vertical mirroring, no battery, no trainer
    .byte %00000000         ; mapper 0 high nibble
    .res 8, 0
